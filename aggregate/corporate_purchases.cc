// The corporate refund-statement lines: settlement amounts from the account
// sums, the not-taxable parts from the journal entries, and the fixed and
// deferred assets acquired in the range.
#include "aggregate/account_net.h"
#include "aggregate/add_tax.h"
#include "aggregate/classification_codes.h"
#include "aggregate/journal_amount.h"
#include "aggregate/search_condition.h"
#include "host/month_slots.h"
#include "host/scoped_walk.h"

namespace ltb::aggregate {
namespace {

constexpr int32_t kGoodsSummaryCode = 0x40884400;
constexpr int32_t kSellingSummaryCode = 0x40882000;
constexpr int32_t kNonOperatingSummaryCode = 0x40844000;
constexpr int32_t kOtherLossSummaryCode = 0x40440000;
constexpr int32_t kDeferredAssetKind = 9;

// The line an account sum settles into: the goods, selling, non-operating
// and other-loss summary lines, and the goods-purchase detail accounts.
PurchaseLine* SettlementLine(TaxTotals& t, int32_t classCode, bool summaryLine) {
  if (summaryLine) {
    switch (classCode) {
      case kGoodsSummaryCode: return &t.SHOHINSHIIRE;
      case kSellingSummaryCode: return &t.HANBAIIPPAN;
      case kNonOperatingSummaryCode: return &t.EIGYOGAIHIYOU;
      case kOtherLossSummaryCode: return &t.SONOTASONEKI;
      default: return nullptr;
    }
  }
  if (classCode != kGoodsSummaryCode && IsPurchaseCode(classCode)) return &t.SHOHINSHIIRE;
  return nullptr;
}

// The line a journal side of a listed account belongs to.
PurchaseLine* JournalLine(TaxTotals& t, int32_t classCode) {
  if (IsPurchaseCode(classCode)) return &t.SHOHINSHIIRE;
  if (IsSellingExpenseCode(classCode)) return &t.HANBAIIPPAN;
  if (IsCorporateNonOperatingCode(classCode)) return &t.EIGYOGAIHIYOU;
  if (IsOtherLossCode(classCode)) return &t.SONOTASONEKI;
  return nullptr;
}

bool IsCorporation(const host::StDATAINFO& data) {
  return data.EntityKind() == 0 || data.EntityKind() == 1;
}

}  // namespace

int AddTax::SumCorporatePurchases(TaxTotals& totals, const host::StDATAINFO& data,
                                  const host::StSHOHIZEIINFO& settings) {
  if (!IsCorporation(data)) return 1;
  progress_.ResetActivityBar();
  if (!CorporateAccountPhase(totals, data, settings)) return 0;
  if (!CorporateJournalPhase(totals, settings)) return 0;
  if (!CorporateAssetPhase(totals, data)) return 0;
  return 1;
}

bool AddTax::CorporateAccountPhase(TaxTotals& totals, const host::StDATAINFO& data,
                                   const host::StSHOHIZEIINFO& settings) {
  auto* walker = KeptWalker(accountSumWalker_, &host::HostLibrary::NewRuleKamoku);
  if (!walker) return false;
  if (!WalkSummed(walker->MoveReady(1, 0, 0, findCondition_.data(), nullptr, 0)) && overflowed_) {
    return false;
  }
  host::ScopedWalk walk(walker);
  // A count or position the host cannot give, or a record it cannot read,
  // ends the phase with the walk as the host left it.
  long count = 0;
  if (walker->GetSumCount(&count) != host::kOk) {
    walk.Abandon();
    return false;
  }
  if (walker->SetMovePos(0) != host::kOk) {
    walk.Abandon();
    return false;
  }

  const MonthRange range = Range();
  const bool interim = data.InterimFlag() == 1 && range.endSlot == 6;
  for (long i = 0; i < count && !Cancelled(); ++i) {
    progress_.TickActivityBar();
    host::StKAMOKUSUMINFO sums;
    const long status = walker->MoveNext(&sums);
    if (status == host::kEndOfData) break;
    if (status != host::kOk) {
      walk.Abandon();
      return false;
    }
    if (sums.ExclusionA() == 1 || sums.ExclusionB() == 1) continue;
    PurchaseLine* line = SettlementLine(totals, sums.ClassCode(), sums.SummaryLine() == 1);
    if (!line) continue;
    const TaxDecimal net = DebitMinusCredit(sums, range.startSlot, range.endSlot, settings,
                                            range.YearEndClosing(), interim);
    if (!Accumulate(&line->Settled, net)) return false;
  }
  return !Cancelled();
}

bool AddTax::CorporateJournalPhase(TaxTotals& totals, const host::StSHOHIZEIINFO& settings) {
  auto* walker = KeptWalker(journalWalker_, &host::HostLibrary::NewRuleShiwake);
  if (!walker) return false;
  const long count = ReadyNonTaxablePurchaseWalk(*walker, AccountFilter::kCorporate);
  host::ScopedWalk walk(walker);

  using Entry = host::StSWKTINFO;
  // One record for the whole walk: MoveNext writes the whole record of every
  // entry it hands out, and only such a record is read.
  Entry entry;
  for (long i = 0; i < count && !Cancelled(); ++i) {
    progress_.TickActivityBar();
    const long status = walker->MoveNext(&entry);
    if (status == host::kEndOfData) break;
    // An entry the host cannot read ends the phase with the walk as the
    // host left it.
    if (status != host::kOk) {
      walk.Abandon();
      return false;
    }
    // Every listed account is compared with the entry: one tick each.
    progress_.TickActivityBar(static_cast<int64_t>(accounts_.size()));
    bool ok = true;
    accounts_.ForEachSideMatch(entry.Account(Entry::kDebitOff), entry.Account(Entry::kCreditOff),
                               [&](size_t position, bool isDebit) {
                                 PurchaseLine* line =
                                     JournalLine(totals, accounts_[position].ClassCode());
                                 const size_t side = isDebit ? Entry::kDebitOff : Entry::kCreditOff;
                                 if (!line || !IsNotTaxablePurchase(entry.Category(side)))
                                   return true;
                                 TaxDecimal amount = JournalSideAmount(entry, side, settings);
                                 if (!isDebit) amount.MultiplyBy(-1);
                                 ok = Accumulate(&line->NonTaxable, amount);
                                 return ok;
                               });
    if (!ok) return false;
  }
  return !Cancelled();
}

bool AddTax::CorporateAssetPhase(TaxTotals& totals, const host::StDATAINFO& data) {
  auto* walker = KeptWalker(assetWalker_, &host::HostLibrary::NewRuleGenkashokyaku);
  if (!walker) return false;
  std::unique_ptr<host::ClAccPeriod> period = SelectedPeriod();
  if (!period) return false;

  const MonthRange range = Range();
  long from = 0, to = 0;
  period->GetPeriodByMonthKind(range.startSlot, &from, &to, 0);
  const long start = std::max<long>(from, data.PeriodStart());
  long end = 0;
  from = to = 0;
  if (period->GetPeriodByMonthKind(range.endSlot, &from, &to, 0) == host::kOk) {
    end = to;
  } else if (range.YearEndClosing() &&
             period->GetPeriodByMonthKind(host::kYearEndClosingSlot, &from, &to, 0) == host::kOk) {
    end = to;
  }

  SearchCondition condition;
  condition.AssetDates(static_cast<int32_t>(start), static_cast<int32_t>(end));
  walker->MoveReady(condition.Items(), 0, 0);
  host::ScopedWalk walk(walker);
  long count = 0;
  walker->GetCount(&count);
  bool ok = true;
  for (long i = 0; i < count && ok && !Cancelled(); ++i) {
    progress_.TickActivityBar();
    host::StKOTEISHISANINFO asset;
    host::StKOTEISHISANYEAR year;
    host::StKOTEISHISANMONTH month;
    // A record the host could not read adds nothing.
    if (walker->Move(i, &asset, &year, &month) != host::kOk) continue;
    ok = Accumulate(
        asset.Kind() == kDeferredAssetKind ? &totals.KURINOBESHISAN : &totals.KOTEISHISAN,
        asset.AssetAmount());
  }
  return ok && !Cancelled();
}

}  // namespace ltb::aggregate
