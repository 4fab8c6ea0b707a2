// SumTax: the tax-return figures per rate and business type, from the
// journal sides in the range, routed by the tax-category table.
#include <cstring>
#include <map>
#include <utility>

#include "ledger/dataset_record.h"
#include "ledger/rule_common.h"
#include "ledger/tax_categories.h"
#include "ledger/walker_factory.h"

namespace ltb::ledger {
namespace {

using host::StTAXREPORTBUSINESSTYPEINFO;
using host::StTAXREPORTRATEINFO;

// Adds sign * value to the int64 at `off` of a record, checked.
template <typename Record>
bool AddField(Record& r, size_t off, int sign, int64_t value) {
  if (off == 0) return true;
  int64_t signedValue, acc = r.I64(off);
  if (!Signed(sign, value, &signedValue) || !AddChecked(acc, signedValue)) return false;
  r.SetI64(off, acc);
  return true;
}

// Adds one side's excluded, tax and included amounts to the three fields.
template <typename Record>
bool AddSide(Record& r, const CategoryFields& f, int sign, const JournalSide& s) {
  int64_t included;
  if (!Included(s, &included)) return false;
  return AddField(r, f.excluded, sign, s.amount) && AddField(r, f.tax, sign, s.tax) &&
         AddField(r, f.included, sign, included);
}

// The sums of one walk over folded entries, per record field, exact.
class WideFields {
 public:
  void Add(uint8_t* record, size_t off, int sign, WideSum value) {
    if (off != 0) sums_[{record, off}] += sign * value;
  }
  // Writes start + sum into every field; false (writing nothing) when a
  // walk over the single entries could have left the 64-bit range on the
  // way, i.e. when the magnitudes visited do not fit beside a field's start.
  bool WriteIfExact(WideMagnitude visited) const {
    for (const auto& [field, sum] : sums_) {
      if (!FitsEveryPartialSum(visited, Read(field))) return false;
    }
    for (const auto& [field, sum] : sums_) {
      const int64_t value = static_cast<int64_t>(Read(field) + sum);
      std::memcpy(field.first + field.second, &value, sizeof value);
    }
    return true;
  }

 private:
  static int64_t Read(const std::pair<uint8_t*, size_t>& field) {
    int64_t v;
    std::memcpy(&v, field.first + field.second, sizeof v);
    return v;
  }
  std::map<std::pair<uint8_t*, size_t>, WideSum> sums_;
};

class LedgerRuleShohizeiShinkoku : public LedgerWalker<host::ClRuleShohizeiShinkoku> {
 public:
  using LedgerWalker::LedgerWalker;

  // The filing class does not change the figures: the caller decides what
  // the class makes of them.
  long SumTax(uint8_t, const host::StFINDINFO* range, StTAXREPORTRATEINFO* rates,
              StTAXREPORTBUSINESSTYPEINFO* businessTypes) override {
    if (rates == nullptr) return kWalkBadArgument;
    long status = host::kOk;
    auto journal = AcquireJournal(binding_, &status);
    if (!journal) return status;
    // The number of rate blocks the caller allocated for this dataset.
    const int rateCount = LoadTaxRateCount(binding_.db(), binding_.Dataset());
    if (rateCount <= 0) return kWalkReadFailed;

    if (const JournalFold* fold = journal->fold();
        fold && SumFolded(*fold, range, rates, rateCount, businessTypes)) {
      return host::kOk;
    }

    JournalEntryFilter inRange(range);
    long result = host::kOk;
    if (!journal->ForEach([&](const JournalEntry& e) {
          result = AddEntry(e, inRange, rates, rateCount, businessTypes);
          return result == host::kOk;
        })) {
      return kWalkReadFailed;
    }
    return result;
  }

 private:
  // The single-entry walk: adds the entry's sides, checked; kWalkOverflow
  // at the first sum that leaves the 64-bit range.
  static long AddEntry(const JournalEntry& e, JournalEntryFilter& inRange,
                       StTAXREPORTRATEINFO* rates, int rateCount,
                       StTAXREPORTBUSINESSTYPEINFO* businessTypes) {
    if (!inRange.Matches(e)) return host::kOk;
    for (int s = 0; s < 2; ++s) {
      const JournalSide& side = e.side[s];
      const TaxCategory* cat = FindTaxCategory(side.category);
      if (side.account == 0 || cat == nullptr || cat->provisional) continue;
      int block = BlockOf(rates, rateCount, side.rate);
      if (block < 0) continue;
      int sign = SideSign(*cat, s == 0 ? BookSide::kDebit : BookSide::kCredit);
      if (!AddSide(rates[block], cat->rate, sign, side)) return kWalkOverflow;
      StTAXREPORTBUSINESSTYPEINFO* bt = BusinessTypeOf(businessTypes, block, *cat, side);
      if (bt && !AddSide(*bt, cat->businessType, sign, side)) return kWalkOverflow;
    }
    return host::kOk;
  }

  // The walk over folded entries: the same routing, with exact sums. False
  // (the records untouched) when only the single-entry walk can tell where
  // a sum would leave the 64-bit range.
  static bool SumFolded(const JournalFold& fold, const host::StFINDINFO* range,
                        StTAXREPORTRATEINFO* rates, int rateCount,
                        StTAXREPORTBUSINESSTYPEINFO* businessTypes) {
    JournalEntryFilter inRange(range);
    WideFields fields;
    WideMagnitude visited = 0;
    for (const FoldedEntry& f : fold.entries()) {
      const JournalEntry key = f.Key();
      if (!inRange.Matches(key)) continue;
      const FoldedSums sums = fold.SumsOf(f);
      for (int s = 0; s < 2; ++s) {
        const JournalSide& side = key.side[s];
        const TaxCategory* cat = FindTaxCategory(side.category);
        if (side.account == 0 || cat == nullptr || cat->provisional) continue;
        int block = BlockOf(rates, rateCount, side.rate);
        if (block < 0) continue;
        visited += sums.magnitude[s];
        const int sign = SideSign(*cat, s == 0 ? BookSide::kDebit : BookSide::kCredit);
        auto add = [&](uint8_t* record, const CategoryFields& c) {
          fields.Add(record, c.excluded, sign, sums.amount[s]);
          fields.Add(record, c.tax, sign, sums.tax[s]);
          fields.Add(record, c.included, sign, sums.amount[s] + sums.tax[s]);
        };
        add(rates[block].bytes, cat->rate);
        StTAXREPORTBUSINESSTYPEINFO* bt = BusinessTypeOf(businessTypes, block, *cat, side);
        if (bt) add(bt->bytes, cat->businessType);
      }
    }
    return fields.WriteIfExact(visited);
  }

  // The business-type record a sales side adds to: the first of its rate
  // block with the side's type and rate; null for none.
  static StTAXREPORTBUSINESSTYPEINFO* BusinessTypeOf(StTAXREPORTBUSINESSTYPEINFO* businessTypes,
                                                     int block, const TaxCategory& cat,
                                                     const JournalSide& side) {
    if (businessTypes == nullptr || cat.businessType.excluded == 0) return nullptr;
    for (int i = 6 * block; i < 6 * block + 6; ++i) {
      StTAXREPORTBUSINESSTYPEINFO& bt = businessTypes[i];
      if (bt.Type() == side.businessType && bt.Rate() == side.rate) return &bt;
    }
    return nullptr;
  }

  static int BlockOf(const StTAXREPORTRATEINFO* rates, int count, int32_t rate) {
    if (rate == 0) return -1;
    for (int b = 0; b < count; ++b) {
      if (rates[b].Rate() == rate) return b;
    }
    return -1;
  }
};

}  // namespace

std::unique_ptr<host::ClRuleShohizeiShinkoku> NewLedgerRuleShohizeiShinkoku(LedgerDb& db) {
  return std::make_unique<LedgerRuleShohizeiShinkoku>(db);
}

}  // namespace ltb::ledger
