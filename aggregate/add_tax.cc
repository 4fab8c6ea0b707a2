#include "aggregate/add_tax.h"

#include <algorithm>

#include "aggregate/classification_codes.h"
#include "aggregate/search_condition.h"
#include "host/scoped_walk.h"

namespace ltb::aggregate {
namespace {

// Rate codes of the three rate blocks, in hundredths of a percent.
constexpr int32_t kRateCodes[kReportRates] = {800, 500, 300};
// The securities figure of every block but the last is reported twenty-fold.
constexpr int32_t kSecuritiesFactor = 20;
constexpr long kOldRate = 300;

}  // namespace

AddTax::AddTax(host::HostLibrary& host, ui::ProgressView* view) : host_(host), progress_(view) {}

AddTax::~AddTax() = default;

void AddTax::ClearFindCondition() {
  for (auto& item : findCondition_) item.Clear();
}

void AddTax::Close() {
  progress_.Close();
  accounts_.Clear();
}

bool AddTax::WalkSummed(long status) {
  if (status == host::kSumOverflow) overflowed_ = true;
  return status == host::kOk;
}

bool AddTax::Accumulate(int64_t* total, const TaxDecimal& value) {
  TaxDecimal sum = TaxDecimal::FromAmount(*total);
  sum.Add(value);
  if (!sum.ToAmount(total)) {
    overflowed_ = true;
    return false;
  }
  return true;
}

bool AddTax::Accumulate(int64_t* total, int64_t amount) {
  return Accumulate(total, TaxDecimal::FromAmount(amount));
}

std::unique_ptr<host::ClAccPeriod> AddTax::SelectedPeriod() {
  std::unique_ptr<host::ClAccPeriod> period;
  host::ClSetMgr* setMgr = host_.DataMgr().GetSetMgr();
  if (!setMgr) return period;
  auto* dataSet = dynamic_cast<host::ClSetData*>(setMgr->GetSetObject(host::kSetData, 1));
  if (!dataSet) return period;
  dataSet->GetAccPeriod(&period);
  return period;
}

int AddTax::CollectTaxReport(TaxTotals& totals) {
  host::ClSetShohizei* taxSet = host::TaxSettingsSet(host_.DataMgr());
  if (!taxSet) return 0;
  const long rates = taxSet->GetTaxRateCount();
  // The host fills as many blocks as it has rates: never hand it arrays
  // that are shorter.
  if (rates < 0 || totals.RateInfo.size() < static_cast<size_t>(rates) ||
      totals.BusinessTypeInfo.size() < static_cast<size_t>(rates) * kBusinessTypes) {
    return 0;
  }
  const size_t blocks = static_cast<size_t>(rates);
  for (size_t r = 0; r < std::min<size_t>(blocks, kReportRates); ++r) {
    totals.RateInfo[r].SetRate(kRateCodes[r]);
  }
  for (size_t r = 0; r < blocks; ++r) {
    progress_.CycleActivityBar();
    for (int t = 0; t < kBusinessTypes; ++t) {
      auto& entry = totals.BusinessTypeInfo[r * kBusinessTypes + t];
      entry.SetRate(totals.RateInfo[r].Rate());
      entry.SetType(static_cast<uint8_t>(t + 1));
    }
  }
  auto* walker = KeptWalker(taxReportWalker_, &host::HostLibrary::NewRuleShohizeiShinkoku);
  if (!walker) return 0;
  const long summed = walker->SumTax(filingClass_, findCondition_.data(), totals.RateInfo.data(),
                                     totals.BusinessTypeInfo.data());
  if (!WalkSummed(summed) && overflowed_) return 0;
  using Rate = host::StTAXREPORTRATEINFO;
  for (size_t r = 0; r + 1 < blocks; ++r) {
    TaxDecimal securities =
        TaxDecimal::FromAmount(totals.RateInfo[r].Amount(Rate::HIKAZEIURIAGEYUUKAZEINUKI));
    securities.MultiplyBy(kSecuritiesFactor);
    int64_t scaled;
    if (!securities.ToAmount(&scaled)) {
      overflowed_ = true;
      return 0;
    }
    totals.RateInfo[r].SetAmount(Rate::HIKAZEIURIAGEYUUKAZEINUKI, scaled);
  }
  return 1;
}

int AddTax::SumOldRates(int64_t* oldRateSum3, const host::StSHOHIZEIINFO& settings) {
  auto* walker = KeptWalker(taxSumWalker_, &host::HostLibrary::NewRuleShohizei);
  if (!walker) return 0;
  progress_.ResetActivityBar();
  BuildAccountList(static_cast<int>(AccountFilter::kOldRate));

  const MonthRange range = Range();
  const int16_t from = range.startSlot;
  const int16_t to = range.continuation ? range.extraSlot : range.endSlot;
  const long rate = kOldRate;
  const long ready = walker->MoveReady(2, &from, &to, &rate, nullptr, settings.TaxIncluded());
  if (!WalkSummed(ready) && overflowed_) return 0;
  host::ScopedWalk walk(walker);
  long count = 0;
  walker->GetSumInfoCount(&count);
  bool ok = true;
  for (long i = 0; i < count && ok && !Cancelled(); ++i) {
    progress_.TickActivityBar();
    host::StTAXSUMINFO line;
    if (walker->MoveNext(&line) != host::kOk) continue;
    progress_.CycleActivityBar(static_cast<int64_t>(accounts_.size()));
    // Every listed account with the same code text adds the line once.
    const size_t matches = accounts_.PositionsOfCodeText(line.CodeText()).size();
    for (size_t m = 0; m < matches && ok; ++m) ok = Accumulate(oldRateSum3, line.Amount());
  }
  walk.Finish();
  if (!ok || Cancelled()) return 0;
  progress_.SetActivityBarFull();
  return 1;
}

long AddTax::ReadyNonTaxablePurchaseWalk(host::ClRuleShiwake& walker, AccountFilter filter) {
  BuildAccountList(static_cast<int>(filter));
  SearchCondition condition;
  condition.NonTaxablePurchase(findCondition_.data());
  long count = 0;
  walker.GetSwkCount(condition.Items(), nullptr, &count);
  walker.MoveReady(condition.Items(), nullptr, nullptr, 4);
  return count;
}

int AddTax::BuildAccountList(int filter) {
  accounts_.Clear();
  const auto codes = FilterCodes(filter);
  if (codes.empty()) return 0;
  SearchCondition condition;
  condition.ClassCodes(codes);
  host::ClSetKamoku* accountSet = host::AccountSet(host_.DataMgr());
  if (!accountSet) return 0;
  host::Cursor cursor = 0;
  accountSet->GetCursor(&cursor);
  accountSet->ReadyCursor(cursor);
  host::StKAMOKUINFO account;
  while (!Cancelled() && accountSet->WalkFind(condition.Items(), &account, cursor) == host::kOk) {
    progress_.TickActivityBar();
    if (account.ListExclusion() == 0) accounts_.Add(account);
    account.Clear();
  }
  accountSet->ReleaseCursor(cursor);
  progress_.SetActivityBarFull();
  return 1;
}

}  // namespace ltb::aggregate
