// SumTax: the tax-return figures per rate and business type, from the
// journal sides in the range, routed by the tax-category table.
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

    JournalEntryFilter inRange(range);
    for (const JournalEntry& e : journal->entries()) {
      if (!inRange.Matches(e)) continue;
      for (int s = 0; s < 2; ++s) {
        const JournalSide& side = e.side[s];
        const TaxCategory* cat = FindTaxCategory(side.category);
        if (side.account == 0 || cat == nullptr || cat->provisional) continue;
        int block = BlockOf(rates, rateCount, side.rate);
        if (block < 0) continue;
        int sign = SideSign(*cat, s == 0 ? BookSide::kDebit : BookSide::kCredit);
        if (!AddSide(rates[block], cat->rate, sign, side)) return kWalkOverflow;
        if (businessTypes == nullptr || cat->businessType.excluded == 0) continue;
        for (int i = 6 * block; i < 6 * block + 6; ++i) {
          StTAXREPORTBUSINESSTYPEINFO& bt = businessTypes[i];
          if (bt.Type() == side.businessType && bt.Rate() == side.rate) {
            if (!AddSide(bt, cat->businessType, sign, side)) return kWalkOverflow;
            break;
          }
        }
      }
    }
    return host::kOk;
  }

 private:
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
