#include "ledger/journal_fold.h"

#include <cstring>

namespace ltb::ledger {
namespace {

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

// Mixes the four words so that the upper bits (the place in the index) and
// the lower ones (kept beside it) both depend on every word.
uint64_t HashOf(const uint64_t key[4]) {
  uint64_t h = key[0] * 0x9E3779B97F4A7C15ull ^ key[1];
  h = (h ^ h >> 29) * 0xBF58476D1CE4E5B9ull ^ key[2];
  h = (h ^ h >> 29) * 0x94D049BB133111EBull ^ key[3];
  h = (h ^ h >> 31) * 0x9E3779B97F4A7C15ull;
  return h ^ h >> 32;
}

// |v| of a 64-bit value in 64 bits, exact also for the most negative one.
uint64_t Magnitude64(int64_t v) {
  return v < 0 ? uint64_t{0} - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
}

bool SameKey(const uint64_t a[4], const uint64_t b[4]) {
  return a[0] == b[0] && a[1] == b[1] && a[2] == b[2] && a[3] == b[3];
}

// Places of a new fold's index: room for the keys of a small ledger.
constexpr size_t kFirstPlaces = 4096;

// An index place: the upper half of the hash and the position plus 1.
uint64_t PlaceValue(uint64_t hash, size_t position) {
  return (hash & 0xFFFFFFFF00000000ull) | (position + 1);
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

void JournalFold::GrowIndex() {
  const size_t places = index_.empty() ? kFirstPlaces : 2 * index_.size();
  index_.assign(places, 0);
  const size_t mask = places - 1;
  for (size_t p = 0; p < entries_.size(); ++p) {
    const uint64_t hash = HashOf(entries_[p].key_);
    size_t i = hash & mask;
    while (index_[i] != 0) i = (i + 1) & mask;
    index_[i] = PlaceValue(hash, p);
  }
}

int64_t JournalFold::PositionOf(const uint64_t key[4], uint64_t hash) {
  const size_t mask = index_.size() - 1;
  const uint64_t tag = hash & 0xFFFFFFFF00000000ull;
  size_t i = hash & mask;
  for (; index_[i] != 0; i = (i + 1) & mask) {
    const uint64_t place = index_[i];
    if ((place & 0xFFFFFFFF00000000ull) != tag) continue;
    const size_t p = (place & 0xFFFFFFFFull) - 1;
    if (SameKey(entries_[p].key_, key)) return static_cast<int64_t>(p);
  }
  // A new key.
  if (entries_.size() >= maxEntries_) {
    GiveUp();
    return -1;
  }
  const size_t p = entries_.size();
  FoldedEntry& s = entries_.emplace_back();  // all zero
  std::memcpy(s.key_, key, sizeof s.key_);
  if (2 * entries_.size() > index_.size()) {
    GrowIndex();
  } else {
    index_[i] = PlaceValue(hash, p);
  }
  return static_cast<int64_t>(p);
}

void JournalFold::GiveUp() {
  givenUp_ = true;
  entries_ = {};
  index_ = {};
  wide_ = {};
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
  if (index_.empty()) GrowIndex();
  uint64_t keys[kBatch][4];
  uint64_t hashes[kBatch];
  const size_t mask = index_.size() - 1;
  for (size_t k = 0; k < n; ++k) {
    PackKey(entries[k], keys[k]);
    hashes[k] = HashOf(keys[k]);
    __builtin_prefetch(&index_[hashes[k] & mask]);
  }
  int64_t positions[kBatch];
  for (size_t k = 0; k < n; ++k) {
    positions[k] = PositionOf(keys[k], hashes[k]);
    if (positions[k] < 0) return;
  }
  for (size_t k = 0; k < n; ++k) {
    FoldedEntry& s = entries_[static_cast<size_t>(positions[k])];
    ++s.count_;
    for (int side = 0; side < 2; ++side) {
      const JournalSide& v = entries[k].side[side];
      // Nearly always every sum stays within 64 bits: added here at once.
      uint64_t magnitude, total;
      int64_t amount, tax;
      if (!__builtin_add_overflow(Magnitude64(v.amount), Magnitude64(v.tax), &magnitude) &&
          !__builtin_add_overflow(s.magnitude_[side], magnitude, &total) &&
          !__builtin_add_overflow(s.amount_[side], v.amount, &amount) &&
          !__builtin_add_overflow(s.tax_[side], v.tax, &tax)) {
        s.amount_[side] = amount;
        s.tax_[side] = tax;
        s.magnitude_[side] = total;
      } else {
        AddToSide(s, side, v.amount, v.tax, Magnitude(v.amount) + Magnitude(v.tax));
      }
    }
  }
}

void JournalFold::Merge(JournalFold& other) {
  if (!other.complete()) GiveUp();
  if (givenUp_) return;
  if (index_.empty()) GrowIndex();
  entries_.reserve(entries_.size() + other.entries_.size());
  for (const FoldedEntry& o : other.entries_) {
    const int64_t p = PositionOf(o.key_, HashOf(o.key_));
    if (p < 0) return;
    FoldedEntry& s = entries_[static_cast<size_t>(p)];
    s.count_ += o.count_;
    for (int side = 0; side < 2; ++side) {
      AddToSide(s, side, o.amount_[side], o.tax_[side], o.magnitude_[side]);
    }
    if (o.wide_ != 0) {
      const FoldedSums& add = other.wide_[o.wide_ - 1];
      FoldedSums& w = WideOf(s);
      for (int side = 0; side < 2; ++side) {
        w.amount[side] += add.amount[side];
        w.tax[side] += add.tax[side];
        w.magnitude[side] += add.magnitude[side];
      }
    }
  }
  other.entries_ = {};
  other.index_ = {};
  other.wide_ = {};
}

void JournalFold::Finish() { index_ = {}; }

}  // namespace ltb::ledger
