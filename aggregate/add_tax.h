// AddTax: gathers the consumption-tax figures of the selected dataset from
// the accounting host into TaxTotals, and drives the progress dialog while
// it does so. The run driver builds the month-range condition, runs the
// pre-aggregation checks, then calls CollectTaxReport, SumOldRates,
// SumCorporatePurchases and SumIndividualPurchases between progress bands.
//
// Amounts are summed through TaxDecimal. When a sum would leave its range,
// here or in a host walk that sums (host::kSumOverflow), the operation
// stops, returns 0 and Overflowed() becomes true for the rest of the run:
// the totals are then incomplete and must not be reported.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "aggregate/account_list.h"
#include "aggregate/classification_codes.h"
#include "aggregate/month_range.h"
#include "aggregate/progress_logic.h"
#include "aggregate/tax_decimal.h"
#include "aggregate/tax_totals.h"
#include "host/host.h"
#include "ui/progress_view.h"

namespace ltb::aggregate {

class AddTax {
 public:
  // `view` may be null (no display of progress). The host must outlive this
  // object.
  AddTax(host::HostLibrary& host, ui::ProgressView* view);
  ~AddTax();
  AddTax(const AddTax&) = delete;
  AddTax& operator=(const AddTax&) = delete;

  // The month-range condition (kFindConditionItems items), built by the
  // driver before the first operation.
  host::StFINDINFO* FindCondition() { return findCondition_.data(); }
  void ClearFindCondition();
  void SetFilingClass(uint8_t filingClass) { filingClass_ = filingClass; }

  // ---- Progress dialog ----
  void Show() { progress_.Show(); }
  void Close();
  void ResetOverallBar() { progress_.ResetOverallBar(); }
  void AdvanceBand(int start, int end) { progress_.AdvanceBand(start, end); }
  void CycleActivityBar() { progress_.CycleActivityBar(); }
  void TickActivityBar() { progress_.TickActivityBar(); }
  void ResetActivityBar() { progress_.ResetActivityBar(); }
  void SetActivityBarFull() { progress_.SetActivityBarFull(); }
  const ProgressLogic& Progress() const { return progress_; }
  // Whether the person asked to stop: every walk below then ends at its next
  // record and returns 0, leaving totals that must not be reported.
  bool Cancelled() { return progress_.CancelRequested(); }

  // ---- Aggregation: 1 on success, 0 on failure ----
  // Host figures per rate and business type into totals.RateInfo and
  // totals.BusinessTypeInfo. Refuses (0) when the arrays hold fewer blocks
  // than the host's rate count, so the host never writes beyond them.
  int CollectTaxReport(TaxTotals& totals);
  // Tax-summary amounts at 3% over the old-rate accounts.
  int SumOldRates(int64_t* oldRateSum3, const host::StSHOHIZEIINFO& settings);
  // Corporate refund-statement lines, KOTEISHISAN and KURINOBESHISAN; 1 at
  // once for a dataset that is not a corporation.
  int SumCorporatePurchases(TaxTotals& totals, const host::StDATAINFO& data,
                            const host::StSHOHIZEIINFO& settings);
  // Individual refund-statement lines; 1 at once for a dataset that is not
  // an individual.
  int SumIndividualPurchases(TaxTotals& totals, const host::StDATAINFO& data,
                             const host::StSHOHIZEIINFO& settings);
  // Rebuilds the account list from the accounts of filter 1, 2 or 3.
  int BuildAccountList(int filter);
  const AccountList& Accounts() const { return accounts_; }

  // ---- Pre-aggregation checks (each with its own journal walker) ----
  // Counts the journal entries of business type `type` in the range; returns
  // the host status as registered with ClMsgMgr::SetLastError.
  long CountSixthTypeEntries(int type, int32_t* count);
  // *found becomes 1 when entries at 10% exist, else 0; returns the host
  // status as registered with ClMsgMgr::SetLastError.
  long CheckTenPercentEntries(int32_t* found);
  // 1 when an entry in the range uses an import category whose portions are
  // not yet determined (31-33, 35-37) on either side; 0 otherwise or on any
  // failure.
  int HasImportCategoryEntries();

  // True once any sum overflowed.
  bool Overflowed() const { return overflowed_; }

 private:
  // The status of a host walk that sums; a walk stopped by an overflowing
  // sum sets the flag. True for kOk.
  bool WalkSummed(long status);
  // Adds to a stored amount; on overflow sets the flag and returns false.
  bool Accumulate(int64_t* total, const TaxDecimal& value);
  bool Accumulate(int64_t* total, int64_t amount);

  // Creates the kept walker on first use and attaches it; null when the
  // host cannot create it.
  template <typename Walker>
  Walker* KeptWalker(std::unique_ptr<Walker>& slot,
                     std::unique_ptr<Walker> (host::HostLibrary::*factory)()) {
    if (!slot) {
      slot = (host_.*factory)();
      if (!slot) return nullptr;
      host::AttachToSelected(host_, *slot);
    }
    return slot.get();
  }
  MonthRange Range() const { return ReadMonthRange(findCondition_.data()); }
  // Builds the account list of `filter` and readies the journal walker for
  // the range's non-taxable purchases; returns the number of entries the
  // walk holds (0 when the host cannot count them).
  long ReadyNonTaxablePurchaseWalk(host::ClRuleShiwake& walker, AccountFilter filter);

  bool CorporateAccountPhase(TaxTotals& totals, const host::StDATAINFO& data,
                             const host::StSHOHIZEIINFO& settings);
  bool CorporateJournalPhase(TaxTotals& totals, const host::StSHOHIZEIINFO& settings);
  bool CorporateAssetPhase(TaxTotals& totals, const host::StDATAINFO& data);

  // Every phase, corporate or individual, returns true when it ran to its
  // end and false when a walk failed, overflowed or the person stopped it.
  bool IndividualDepartmentPhase(TaxTotals& totals, const host::StDATAINFO& data,
                                 const host::StSHOHIZEIINFO& settings);
  bool IndividualJournalPhase(TaxTotals& totals, const host::StDATAINFO& data,
                              const host::StSHOHIZEIINFO& settings);
  bool IndividualAssetPhase(TaxTotals& totals, const host::StDATAINFO& data);
  // One department's account walk (all accounts when `department` is
  // null); returns the host status, kOk for a normal end.
  long IndividualDepartmentWalk(TaxTotals& totals, const host::StDATAINFO& data,
                                const host::StSHOHIZEIINFO& settings,
                                const host::StBUMONINFO* department);

  // The accounting period of the selected dataset, or null.
  std::unique_ptr<host::ClAccPeriod> SelectedPeriod();

  host::HostLibrary& host_;
  ProgressLogic progress_;
  std::array<host::StFINDINFO, host::kFindConditionItems> findCondition_{};
  uint8_t filingClass_ = 0;
  std::unique_ptr<host::ClRuleShohizeiShinkoku> taxReportWalker_;
  std::unique_ptr<host::ClRuleShohizei> taxSumWalker_;
  std::unique_ptr<host::ClRuleShiwake> journalWalker_;
  std::unique_ptr<host::ClRuleKamoku> accountSumWalker_;
  std::unique_ptr<host::ClRuleGenkashokyaku> assetWalker_;
  AccountList accounts_;
  bool overflowed_ = false;
};

}  // namespace ltb::aggregate
