#include "ledger/journal_fold.h"

#include <cstring>

namespace ltb::ledger {
namespace {

// Slots of a new fold: room for the keys of a small ledger without growing.
constexpr size_t kFirstSlots = 4096;

uint64_t Pack(int32_t low, int32_t high) {
  return static_cast<uint32_t>(low) | static_cast<uint64_t>(static_cast<uint32_t>(high)) << 32;
}

// Everything of an entry that folded entries agree in, in four words.
void PackKey(const JournalEntry& e, uint64_t key[4]) {
  const JournalSide &d = e.side[0], &c = e.side[1];
  key[0] = Pack(d.account, d.department);
  key[1] = Pack(c.account, c.department);
  key[2] = Pack(d.rate, c.rate);
  key[3] = static_cast<uint16_t>(e.slot) | uint64_t{d.category} << 16 | uint64_t{c.category} << 24 |
           uint64_t{d.businessType} << 32 | uint64_t{c.businessType} << 40;
}

JournalEntry UnpackKey(const uint64_t key[4]) {
  JournalEntry e;
  JournalSide &d = e.side[0], &c = e.side[1];
  d.account = static_cast<int32_t>(static_cast<uint32_t>(key[0]));
  d.department = static_cast<int32_t>(static_cast<uint32_t>(key[0] >> 32));
  c.account = static_cast<int32_t>(static_cast<uint32_t>(key[1]));
  c.department = static_cast<int32_t>(static_cast<uint32_t>(key[1] >> 32));
  d.rate = static_cast<int32_t>(static_cast<uint32_t>(key[2]));
  c.rate = static_cast<int32_t>(static_cast<uint32_t>(key[2] >> 32));
  e.slot = static_cast<int16_t>(static_cast<uint16_t>(key[3]));
  d.category = static_cast<uint8_t>(key[3] >> 16);
  c.category = static_cast<uint8_t>(key[3] >> 24);
  d.businessType = static_cast<uint8_t>(key[3] >> 32);
  c.businessType = static_cast<uint8_t>(key[3] >> 40);
  return e;
}

uint64_t HashOf(const uint64_t key[4]) {
  uint64_t h = 0x9E3779B97F4A7C15ull;
  for (int i = 0; i < 4; ++i) {
    h = (h ^ key[i]) * 0xBF58476D1CE4E5B9ull;
    h ^= h >> 31;
  }
  h *= 0x94D049BB133111EBull;
  return h ^ (h >> 29);
}

bool SameKey(const uint64_t a[4], const uint64_t b[4]) {
  return a[0] == b[0] && a[1] == b[1] && a[2] == b[2] && a[3] == b[3];
}

}  // namespace

JournalEntry FoldedEntry::Key() const { return UnpackKey(key_); }

FoldedSums& JournalFold::WideOf(FoldedEntry& s) {
  if (s.wide_ == 0) {
    wide_.emplace_back();
    s.wide_ = static_cast<uint32_t>(wide_.size());
  }
  return wide_[s.wide_ - 1];
}

FoldedSums JournalFold::SumsOf(const FoldedEntry& f) const {
  FoldedSums sums = f.wide_ ? wide_[f.wide_ - 1] : FoldedSums{};
  for (int side = 0; side < 2; ++side) {
    sums.amount[side] += f.amount_[side];
    sums.tax[side] += f.tax_[side];
    sums.magnitude[side] += f.magnitude_[side];
  }
  return sums;
}

FoldedEntry* JournalFold::Place(const uint64_t key[4], uint64_t hash) {
  size_t mask = slots_.size() - 1;
  size_t i = hash & mask;
  for (; slots_[i].count_ != 0; i = (i + 1) & mask) {
    if (SameKey(slots_[i].key_, key)) return &slots_[i];
  }
  // A new key.
  if (used_ >= maxEntries_) {
    GiveUp();
    return nullptr;
  }
  if ((used_ + 1) * 4 > slots_.size() * 3) {
    Rehash(slots_.size() * 2);
    mask = slots_.size() - 1;
    for (i = hash & mask; slots_[i].count_ != 0;) i = (i + 1) & mask;
  }
  ++used_;
  FoldedEntry& s = slots_[i];
  std::memcpy(s.key_, key, sizeof s.key_);
  return &s;
}

void JournalFold::Rehash(size_t size) {
  std::vector<FoldedEntry> old = std::move(slots_);
  slots_.assign(size, FoldedEntry{});
  const size_t mask = size - 1;
  for (const FoldedEntry& s : old) {
    if (s.count_ == 0) continue;
    size_t i = HashOf(s.key_) & mask;
    while (slots_[i].count_ != 0) i = (i + 1) & mask;
    slots_[i] = s;
  }
}

void JournalFold::GiveUp() {
  givenUp_ = true;
  slots_ = {};
  wide_ = {};
  used_ = 0;
}

void JournalFold::AddToSide(FoldedEntry& s, int side, int64_t amount, int64_t tax,
                            WideMagnitude magnitude) {
  int64_t r;
  if (__builtin_add_overflow(s.amount_[side], amount, &r)) {
    WideOf(s).amount[side] += WideSum(s.amount_[side]) + amount;
    r = 0;
  }
  s.amount_[side] = r;
  if (__builtin_add_overflow(s.tax_[side], tax, &r)) {
    WideOf(s).tax[side] += WideSum(s.tax_[side]) + tax;
    r = 0;
  }
  s.tax_[side] = r;
  uint64_t total;
  if (magnitude > WideMagnitude(UINT64_MAX) ||
      __builtin_add_overflow(s.magnitude_[side], static_cast<uint64_t>(magnitude), &total)) {
    WideOf(s).magnitude[side] += WideMagnitude(s.magnitude_[side]) + magnitude;
    total = 0;
  }
  s.magnitude_[side] = total;
}

void JournalFold::AddBatch(const JournalEntry* entries, size_t n) {
  if (givenUp_) return;
  if (slots_.empty()) Rehash(kFirstSlots);
  uint64_t keys[kBatch][4];
  uint64_t hashes[kBatch];
  const size_t mask = slots_.size() - 1;
  for (size_t k = 0; k < n; ++k) {
    PackKey(entries[k], keys[k]);
    hashes[k] = HashOf(keys[k]);
    const FoldedEntry* at = &slots_[hashes[k] & mask];
    __builtin_prefetch(at);
    __builtin_prefetch(reinterpret_cast<const char*>(at) + 64);
  }
  for (size_t k = 0; k < n; ++k) {
    FoldedEntry* s = Place(keys[k], hashes[k]);
    if (s == nullptr) return;
    ++s->count_;
    for (int side = 0; side < 2; ++side) {
      const JournalSide& v = entries[k].side[side];
      AddToSide(*s, side, v.amount, v.tax, Magnitude(v.amount) + Magnitude(v.tax));
    }
  }
}

void JournalFold::Merge(JournalFold& other) {
  if (!other.complete()) GiveUp();
  if (givenUp_) return;
  if (slots_.empty()) Rehash(kFirstSlots);
  for (const FoldedEntry& o : other.slots_) {
    if (o.count_ == 0) continue;
    FoldedEntry* s = Place(o.key_, HashOf(o.key_));
    if (s == nullptr) return;
    s->count_ += o.count_;
    for (int side = 0; side < 2; ++side) {
      AddToSide(*s, side, o.amount_[side], o.tax_[side], o.magnitude_[side]);
    }
    if (o.wide_ != 0) {
      const FoldedSums& add = other.wide_[o.wide_ - 1];
      FoldedSums& w = WideOf(*s);
      for (int side = 0; side < 2; ++side) {
        w.amount[side] += add.amount[side];
        w.tax[side] += add.tax[side];
        w.magnitude[side] += add.magnitude[side];
      }
    }
  }
  other.slots_ = {};
  other.wide_ = {};
  other.used_ = 0;
}

void JournalFold::Finish() {
  if (finished_ || givenUp_) return;
  finished_ = true;
  // The used places to the front, in table order; the table is not looked
  // up any more.
  size_t next = 0;
  for (size_t i = 0; i < slots_.size(); ++i) {
    if (slots_[i].count_ != 0) slots_[next++] = slots_[i];
  }
  slots_.resize(next);
  slots_.shrink_to_fit();
}

}  // namespace ltb::ledger
