// The individual refund-statement lines: purchases and necessary expenses
// per income (business, real estate, other) from the account sums of every
// department, their not-taxable parts from the journal entries, and the
// fixed assets of business and real-estate income.
#include "aggregate/account_net.h"
#include "aggregate/add_tax.h"
#include "aggregate/classification_codes.h"
#include "aggregate/income_routing.h"
#include "aggregate/journal_amount.h"
#include "aggregate/search_condition.h"
#include "host/scoped_walk.h"

namespace ltb::aggregate {
namespace {

// Internal status of a sub-walk stopped by an overflowing sum.
constexpr long kOverflowStatus = -2;

bool IsIndividual(const host::StDATAINFO& data) {
  return data.EntityKind() == 3 || data.EntityKind() == 4;
}

// The lines a record of this classification code reaches on its routes;
// null entries for the routes it does not reach.
struct RoutedLines {
  PurchaseLine* lines[3] = {nullptr, nullptr, nullptr};
};

RoutedLines LinesFor(TaxTotals& t, int32_t classCode, const IncomeRoutes& routes) {
  RoutedLines r;
  if (IsPurchaseCode(classCode)) {
    if (routes.business) r.lines[0] = &t.JIGYOSHIIRE;
    if (routes.other) r.lines[2] = &t.SONOTASHIIRE;
  } else if (IsIndividualExpenseCode(classCode)) {
    if (routes.business) r.lines[0] = &t.JIGYOHITSUYOU;
    if (routes.realEstate) r.lines[1] = &t.FUDOUSANHITSUYOU;
    if (routes.other) r.lines[2] = &t.SONOTAHITSUYOU;
  }
  return r;
}

host::ClSetBumon* Departments(host::HostLibrary& host) {
  host::ClSetMgr* setMgr = host.DataMgr().GetSetMgr();
  return setMgr ? host::DepartmentSet(*setMgr) : nullptr;
}

}  // namespace

int AddTax::SumIndividualPurchases(TaxTotals& totals, const host::StDATAINFO& data,
                                   const host::StSHOHIZEIINFO& settings) {
  if (!IsIndividual(data)) return 1;
  progress_.ResetActivityBar();
  // A failing department walk ends only the department phase.
  IndividualDepartmentPhase(totals, data, settings);
  if (overflowed_ || Cancelled()) return 0;
  if (!IndividualJournalPhase(totals, data, settings) || Cancelled()) return 0;
  return IndividualAssetPhase(totals, data) && !Cancelled() ? 1 : 0;
}

bool AddTax::IndividualDepartmentPhase(TaxTotals& totals, const host::StDATAINFO& data,
                                       const host::StSHOHIZEIINFO& settings) {
  host::ClSetBumon* departments = Departments(host_);
  long count = 0;
  if (departments) departments->GetBmnCount(&count, 0);
  if (count == 0) return IndividualDepartmentWalk(totals, data, settings, nullptr) == host::kOk;

  host::Cursor cursor = 0;
  if (departments->GetCursor(&cursor) != host::kOk) return false;
  if (departments->ReadyCursor(cursor) != host::kOk) {
    departments->ReleaseCursor(cursor);
    return false;
  }
  long status = host::kOk;
  host::StBUMONINFO department;
  while (!Cancelled() && departments->Walk(&department, cursor) == host::kOk) {
    status = IndividualDepartmentWalk(totals, data, settings, &department);
    if (status != host::kOk) break;
    department.Clear();
  }
  departments->ReleaseCursor(cursor);
  return status == host::kOk;
}

long AddTax::IndividualDepartmentWalk(TaxTotals& totals, const host::StDATAINFO& data,
                                      const host::StSHOHIZEIINFO& settings,
                                      const host::StBUMONINFO* department) {
  std::unique_ptr<host::ClRuleKamoku> walker = host_.NewRuleKamoku();
  if (!walker) return host::kCannotCreate;
  host::AttachToSelected(host_, *walker);
  const int departmentType =
      department && (department->Kind() == 1 || department->Kind() == 2) ? 4 : 0;
  long status = walker->MoveReady(1, departmentType, 0, findCondition_.data(), department, 0);
  if (!WalkSummed(status)) return status;
  host::ScopedWalk walk(walker.get());

  const MonthRange range = Range();
  const bool interim = data.InterimFlag() == 1 && range.endSlot == 6;
  const IncomeRoutes routes = RouteIncome(data.IncomeMode(), department);
  host::StKAMOKUSUMINFO sums;
  while (!Cancelled() && (status = walker->MoveNext(&sums)) == host::kOk) {
    const bool skip = sums.ExclusionA() != 0 || sums.ExclusionB() == 1 || sums.SummaryLine() == 1;
    if (!skip) {
      TaxDecimal net = AccountNet(sums, range.startSlot, range.endSlot, settings,
                                  range.YearEndClosing(), interim);
      if (sums.BalanceSide() == 2) net.MultiplyBy(-1);
      for (PurchaseLine* line : LinesFor(totals, sums.ClassCode(), routes).lines) {
        if (line && !Accumulate(&line->Settled, net)) {
          status = kOverflowStatus;
          break;
        }
      }
      if (status == kOverflowStatus) break;
    }
    sums.Clear();
  }
  return status == host::kEndOfData ? host::kOk : status;
}

bool AddTax::IndividualJournalPhase(TaxTotals& totals, const host::StDATAINFO& data,
                                    const host::StSHOHIZEIINFO& settings) {
  // A walker that cannot be created is a failure of the phase, not an
  // empty journal.
  auto* walker = KeptWalker(journalWalker_, &host::HostLibrary::NewRuleShiwake);
  if (!walker) return false;
  const long count = ReadyNonTaxablePurchaseWalk(*walker, AccountFilter::kIndividual);
  host::ScopedWalk walk(walker);

  host::ClSetBumon* departments = Departments(host_);
  host::Cursor cursor = 0;
  bool haveCursor = false;
  long departmentCount = 0;
  if (departments) {
    haveCursor = departments->GetCursor(&cursor) == host::kOk;
    departments->GetBmnCount(&departmentCount, 0);
  }
  // The side's department, or null when the dataset has none or the code
  // matches no department: a failed lookup must not route by a record left
  // over from an earlier side.
  host::StBUMONINFO department;
  auto lookUp = [&](int32_t code) -> const host::StBUMONINFO* {
    if (departmentCount == 0 || !departments) return nullptr;
    department.Clear();
    departments->ReadyCursor(cursor);
    if (departments->GetInfoByCode(code, &department, cursor) != host::kOk) return nullptr;
    return &department;
  };

  using Entry = host::StSWKTINFO;
  long status = host::kOk;
  // One record for the whole walk, as MoveNext writes all of it.
  Entry entry;
  for (long i = 0; i < count && status == host::kOk && !Cancelled(); ++i) {
    status = walker->MoveNext(&entry);
    if (status != host::kOk) break;
    accounts_.ForEachSideMatch(
        entry.Account(Entry::kDebitOff), entry.Account(Entry::kCreditOff),
        [&](size_t position, bool isDebit) {
          const size_t side = isDebit ? Entry::kDebitOff : Entry::kCreditOff;
          if (!IsNotTaxablePurchase(entry.Category(side))) return true;
          const IncomeRoutes routes =
              RouteIncome(data.IncomeMode(), lookUp(entry.Department(side)));
          TaxDecimal amount = JournalSideAmount(entry, side, settings);
          if (!isDebit) amount.MultiplyBy(-1);
          for (PurchaseLine* line :
               LinesFor(totals, accounts_[position].ClassCode(), routes).lines) {
            if (line && !Accumulate(&line->NonTaxable, amount)) {
              status = kOverflowStatus;
              return false;
            }
          }
          return true;
        });
  }
  if (haveCursor) departments->ReleaseCursor(cursor);
  if (status == host::kEndOfData) status = host::kOk;
  // An entry the host cannot read leaves the walk as the host left it.
  if (status != host::kOk && status != kOverflowStatus) walk.Abandon();
  return status == host::kOk;
}

bool AddTax::IndividualAssetPhase(TaxTotals& totals, const host::StDATAINFO& data) {
  std::unique_ptr<host::ClAccPeriod> period = SelectedPeriod();
  if (!period) return false;
  std::unique_ptr<host::ClRuleGenkashokyaku> walker = host_.NewRuleGenkashokyaku();
  if (!walker) return false;
  host::AttachToSelected(host_, *walker);

  const MonthRange range = Range();
  long from = 0, to = 0, start = 0, end = 0;
  period->GetPeriodByMonthKind(range.startSlot, &from, &to, 0);
  start = from;
  from = to = 0;
  period->GetPeriodByMonthKind(range.endSlot, &from, &to, 0);
  end = to;

  SearchCondition condition;
  condition.AssetDates(static_cast<int32_t>(start), static_cast<int32_t>(end));
  long status = walker->MoveReady(condition.Items(), 0, 0);
  host::ScopedWalk walk(walker.get());
  long count = 0;
  if (status == host::kOk) walker->GetCount(&count);
  const uint8_t mode = data.IncomeMode();
  for (long i = 0; i < count && status == host::kOk && !Cancelled(); ++i) {
    progress_.TickActivityBar();
    host::StKOTEISHISANINFO asset;
    host::StKOTEISHISANYEAR year;
    host::StKOTEISHISANMONTH month;
    status = walker->Move(i, &asset, &year, &month);
    if (status != host::kOk) break;
    const int16_t income = asset.IncomeType();
    int64_t* target = nullptr;
    if (mode == 1 || (mode == 3 && income == 1)) {
      target = &totals.JIGYOKOTEISHISAN.Settled;
    } else if (mode == 2 || (mode == 3 && income == 2)) {
      target = &totals.FUDOUSANKOTEISHISAN.Settled;
    }
    if (target && !Accumulate(target, asset.AssetAmount())) status = kOverflowStatus;
  }
  return status == host::kOk || status == host::kEndOfData;
}

}  // namespace ltb::aggregate
