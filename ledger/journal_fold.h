// The journal of a dataset folded for the summing walks: entries that agree
// in everything a walk or a search condition reads besides the amounts (the
// month slot and each side's account, department, tax category, rate and
// business type) become one folded entry with the exact sums of their
// amounts and taxes.
//
// A walk that sums over folded entries gets the totals of a walk over the
// single entries. It also gets the same answer on overflow as long as the
// sum of the magnitudes it visits stays inside the 64-bit range: no partial
// sum of a walk in entry order can then leave it. Above that, a walk goes
// over the single entries in entry order instead (JournalCache::ForEach),
// so an overflow is found exactly where it happens.
//
// The number of folded entries grows with the ledger's accounts,
// departments and rates, not with its entries; a fold that would grow past
// its maximum (kMaxEntries unless told) is given up (complete() false) and
// every walk then goes over the single entries.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "ledger/journal_entry.h"

namespace ltb::ledger {

using WideSum = __int128;
using WideMagnitude = unsigned __int128;

// The exact sums of a folded entry, per side.
struct FoldedSums {
  WideSum amount[2] = {0, 0}, tax[2] = {0, 0};
  WideMagnitude magnitude[2] = {0, 0};  // sum of |amount| + |tax|
};

// A folded entry: its key, its count and its running sums (64-bit, with the
// parts that left 64 bits kept aside by the fold: read them with
// JournalFold::SumsOf).
class FoldedEntry {
 public:
  // The key as an entry whose amounts and taxes are 0.
  JournalEntry Key() const;
  int64_t count() const { return count_; }

 private:
  friend class JournalFold;
  uint64_t key_[4];
  int64_t count_;
  int64_t amount_[2], tax_[2];
  uint64_t magnitude_[2];
  uint32_t wide_;  // position in the fold's wide sums plus 1; 0 none
};

class JournalFold {
 public:
  static constexpr size_t kMaxEntries = size_t{1} << 18;
  // Entries added in one AddBatch at most.
  static constexpr size_t kBatch = 32;

  explicit JournalFold(size_t maxEntries = kMaxEntries) : maxEntries_(maxEntries) {}

  void Add(const JournalEntry& e) { AddBatch(&e, 1); }
  // Adds n <= kBatch entries; faster than one by one, as the places of all
  // of them are looked up at once.
  void AddBatch(const JournalEntry* entries, size_t n);
  // Adds every folded entry of `other` (which is left empty).
  void Merge(JournalFold& other);
  // Ends the adding; the lookup table is let go.
  void Finish();

  // False when the fold was given up for having too many distinct keys.
  bool complete() const { return !givenUp_; }
  // In the order their keys first came.
  const std::vector<FoldedEntry>& entries() const { return entries_; }
  FoldedSums SumsOf(const FoldedEntry& f) const;

 private:
  // The position in entries_ of the entry with this key, made when new;
  // -1 when the fold is given up.
  int64_t PositionOf(const uint64_t key[4], uint64_t hash);
  FoldedSums& WideOf(FoldedEntry& s);
  // Adds to the running sums of one side; what would leave 64 bits goes to
  // the entry's wide sums.
  void AddToSide(FoldedEntry& s, int side, int64_t amount, int64_t tax, WideMagnitude magnitude);
  void GrowIndex();
  void GiveUp();

  size_t maxEntries_;
  std::vector<FoldedEntry> entries_;
  // Open addressing over entries_, at most half full: per place the upper
  // half of the key's hash and the entry's position plus 1 (0: free).
  std::vector<uint64_t> index_;
  std::vector<FoldedSums> wide_;
  bool givenUp_ = false;
};

// |v| of a 64-bit value, exact also for the most negative one.
inline WideMagnitude Magnitude(int64_t v) {
  return v < 0 ? WideMagnitude(0) - WideMagnitude(WideSum(v)) : WideMagnitude(v);
}

// True when a walk whose visited magnitudes sum to `m` cannot leave the
// 64-bit range in any order of adding (also after adding `start`).
inline bool FitsEveryPartialSum(WideMagnitude m, int64_t start = 0) {
  return m + Magnitude(start) <= WideMagnitude(INT64_MAX);
}

}  // namespace ltb::ledger
