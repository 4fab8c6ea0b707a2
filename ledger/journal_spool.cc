#include "ledger/journal_spool.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace ltb::ledger {
namespace {

// The most bytes one encoded entry takes: the flags, the slot and two sides
// of at most 37 bytes each.
constexpr size_t kMaxEntryBytes = 96;

// Flags of an encoded entry. The sides are written in the order "first,
// second": the credit side first when the debit side's amount is the credit
// side's amount plus tax (a sale and its counter side), else the debit side
// first. A value that follows from another is not written.
enum : uint8_t {
  kFirstTaxZero = 1,
  kSecondTaxZero = 2,
  kSecondSameDepartment = 4,
  kSecondAmountIsFirstIncluded = 8,  // second.amount == first.amount + first.tax
  kCreditFirst = 16,
  kFirstPlain = 32,  // category, rate and business type all 0
  kSecondPlain = 64,
};

void PutVarint(uint8_t*& out, uint64_t v) {
  while (v >= 0x80) {
    *out++ = static_cast<uint8_t>(v | 0x80);
    v >>= 7;
  }
  *out++ = static_cast<uint8_t>(v);
}
void PutSigned(uint8_t*& out, int64_t v) {
  PutVarint(out, (static_cast<uint64_t>(v) << 1) ^ static_cast<uint64_t>(v >> 63));
}

uint64_t GetVarint(const uint8_t*& p) {
  uint64_t v = *p & 0x7F;
  int shift = 7;
  while (*p++ & 0x80) {
    v |= static_cast<uint64_t>(*p & 0x7F) << shift;
    shift += 7;
  }
  return v;
}
int64_t GetSigned(const uint8_t*& p) {
  const uint64_t v = GetVarint(p);
  return static_cast<int64_t>((v >> 1) ^ (~(v & 1) + 1));
}

bool Plain(const JournalSide& s) { return s.category == 0 && s.rate == 0 && s.businessType == 0; }

// True with *sum when a + b stays in range.
bool SumOf(int64_t a, int64_t b, int64_t* sum) { return !__builtin_add_overflow(a, b, sum); }

// Writes the entry at `out` (room for kMaxEntryBytes) and moves past it.
void Encode(const JournalEntry& e, uint8_t*& out) {
  int64_t included = 0;
  const bool creditFirst =
      SumOf(e.credit().amount, e.credit().tax, &included) && included == e.debit().amount;
  const JournalSide& first = creditFirst ? e.credit() : e.debit();
  const JournalSide& second = creditFirst ? e.debit() : e.credit();
  uint8_t flags = creditFirst ? kCreditFirst : 0;
  if (first.tax == 0) flags |= kFirstTaxZero;
  if (second.tax == 0) flags |= kSecondTaxZero;
  if (second.department == first.department) flags |= kSecondSameDepartment;
  if (SumOf(first.amount, first.tax, &included) && included == second.amount) {
    flags |= kSecondAmountIsFirstIncluded;
  }
  if (Plain(first)) flags |= kFirstPlain;
  if (Plain(second)) flags |= kSecondPlain;

  *out++ = flags;
  PutSigned(out, e.slot);
  auto side = [&](const JournalSide& s, bool plain, bool writeDepartment, bool writeAmount,
                  bool writeTax) {
    PutSigned(out, s.account);
    if (writeDepartment) PutSigned(out, s.department);
    if (!plain) {
      *out++ = s.category;
      PutSigned(out, s.rate);
      *out++ = s.businessType;
    }
    if (writeAmount) PutSigned(out, s.amount);
    if (writeTax) PutSigned(out, s.tax);
  };
  side(first, flags & kFirstPlain, true, true, !(flags & kFirstTaxZero));
  side(second, flags & kSecondPlain, !(flags & kSecondSameDepartment),
       !(flags & kSecondAmountIsFirstIncluded), !(flags & kSecondTaxZero));
}

// Reads the side written by Encode's `side`: account, department (unless
// *department is given), category, rate and type (unless plain), amount
// (unless *amount is given) and tax (unless zero).
void DecodeSide(const uint8_t*& p, JournalSide* s, bool plain, const int32_t* department,
                const int64_t* amount, bool taxZero) {
  s->account = static_cast<int32_t>(GetSigned(p));
  s->department = department ? *department : static_cast<int32_t>(GetSigned(p));
  if (plain) {
    s->category = 0;
    s->rate = 0;
    s->businessType = 0;
  } else {
    s->category = *p++;
    s->rate = static_cast<int32_t>(GetSigned(p));
    s->businessType = *p++;
  }
  s->amount = amount ? *amount : GetSigned(p);
  s->tax = taxZero ? 0 : GetSigned(p);
}

void Decode(const uint8_t*& p, JournalEntry* e) {
  const uint8_t flags = *p++;
  e->slot = static_cast<int16_t>(GetSigned(p));
  JournalSide& first = e->side[flags & kCreditFirst ? 1 : 0];
  JournalSide& second = e->side[flags & kCreditFirst ? 0 : 1];
  DecodeSide(p, &first, flags & kFirstPlain, nullptr, nullptr, flags & kFirstTaxZero);
  // Only set when the sum was in range at encoding.
  const int64_t included =
      static_cast<int64_t>(static_cast<uint64_t>(first.amount) + static_cast<uint64_t>(first.tax));
  DecodeSide(p, &second, flags & kSecondPlain,
             flags & kSecondSameDepartment ? &first.department : nullptr,
             flags & kSecondAmountIsFirstIncluded ? &included : nullptr, flags & kSecondTaxZero);
}

// The folders tried for the temporary file, in order.
std::vector<std::string> TempFolders() {
  std::vector<std::string> folders;
  const char* tmp = std::getenv("TMPDIR");
  if (tmp && *tmp) folders.emplace_back(tmp);
  folders.emplace_back("/var/tmp");
  folders.emplace_back("/tmp");
  return folders;
}

// An unnamed file for the spilled blocks, readable by nobody else and gone
// when closed; -1 when no folder takes one.
int OpenSpillFile() {
  for (const std::string& folder : TempFolders()) {
    int fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd >= 0) return fd;
    // A file system without unnamed files: a fresh name, removed at once.
    std::string name = folder + "/ltb-journal-XXXXXX";
    fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd >= 0) {
      ::unlink(name.c_str());
      return fd;
    }
  }
  return -1;
}

}  // namespace

JournalSpool::JournalSpool(size_t memoryBudget) : memoryBudget_(memoryBudget) {}

JournalSpool::~JournalSpool() {
  if (fd_ >= 0) ::close(fd_);
}

void JournalSpool::Append(const JournalEntry& e) {
  if (currentSize_ + kMaxEntryBytes > current_.size()) {
    if (currentSize_ > 0) StoreBlock();
    if (current_.size() < kBlockBytes) current_.resize(kBlockBytes);
  }
  uint8_t* at = current_.data() + currentSize_;
  Encode(e, at);
  currentSize_ = static_cast<size_t>(at - current_.data());
  ++entries_;
}

void JournalSpool::Finish() {
  if (currentSize_ > 0) StoreBlock();
  current_ = {};
}

void JournalSpool::StoreBlock() {
  Block block;
  block.size = currentSize_;
  if (inMemory_ + currentSize_ <= memoryBudget_ ||
      !WriteToFile(current_.data(), currentSize_, &block.fileOffset)) {
    inMemory_ += currentSize_;
    block.fileOffset = -1;
    block.bytes.assign(current_.begin(), current_.begin() + static_cast<ptrdiff_t>(currentSize_));
  }
  currentSize_ = 0;
  blocks_.push_back(std::move(block));
}

bool JournalSpool::WriteToFile(const uint8_t* bytes, size_t size, int64_t* offset) {
  if (fd_ < 0) {
    if (fileRefused_) return false;
    fd_ = OpenSpillFile();
    if (fd_ < 0) {
      fileRefused_ = true;
      return false;
    }
  }
  size_t done = 0;
  while (done < size) {
    const ssize_t n = ::pwrite(fd_, bytes + done, size - done,
                               static_cast<off_t>(fileBytes_ + static_cast<int64_t>(done)));
    if (n < 0 && errno == EINTR) continue;
    // A full disk: this block and the rest stay in memory.
    if (n <= 0) {
      fileRefused_ = true;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  *offset = fileBytes_;
  fileBytes_ += static_cast<int64_t>(size);
  return true;
}

JournalSpool::Reader::Reader(const JournalSpool& spool) : spool_(spool) {}

bool JournalSpool::Reader::LoadBlock() {
  if (block_ >= spool_.blocks_.size()) return false;
  const Block& b = spool_.blocks_[block_++];
  if (b.fileOffset < 0) {
    at_ = b.bytes.data();
    end_ = at_ + b.size;
    return true;
  }
  buffer_.resize(b.size);
  size_t done = 0;
  while (done < b.size) {
    const ssize_t n = ::pread(spool_.fd_, buffer_.data() + done, b.size - done,
                              static_cast<off_t>(b.fileOffset + static_cast<int64_t>(done)));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      failed_ = true;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  at_ = buffer_.data();
  end_ = at_ + b.size;
  return true;
}

bool JournalSpool::Reader::Next(JournalEntry* e) {
  while (at_ == end_) {
    if (failed_ || !LoadBlock()) return false;
  }
  Decode(at_, e);
  return true;
}

}  // namespace ltb::ledger
