// The journal walker: entries matching a search condition, their count,
// and the existence checks by tax rate and by business type.
#include <vector>

#include "ledger/prepared_records.h"
#include "ledger/rule_common.h"
#include "ledger/tax_categories.h"
#include "ledger/walker_factory.h"

namespace ltb::ledger {
namespace {

// Bits of CheckExistSwkByZeiRate per tax rate present; the reduced 8 % of
// October 2019 shares the 10 % bit, as both are rates the return cannot hold.
long RateBit(int32_t rate) {
  switch (rate) {
    case 300: return 1;
    case 500: return 2;
    case 800: return 4;
    case kRateStandard10:
    case kRateReduced8: return 8;
    default: return 0;
  }
}

void FillSide(host::StSWKTINFO* r, size_t off, const JournalSide& s) {
  r->SetI32(off + host::StSWKTINFO::kAccount, s.account);
  r->SetI32(off + host::StSWKTINFO::kDepartment, s.department);
  r->SetI64(off + host::StSWKTINFO::kAmount, s.amount);
  r->SetI64(off + host::StSWKTINFO::kTax, s.tax);
  r->SetU8(off + host::StSWKTINFO::kCategory, s.category);
}

class LedgerRuleShiwake : public LedgerWalker<host::ClRuleShiwake> {
 public:
  using LedgerWalker::LedgerWalker;

  long GetSwkCount(const host::StFINDINFO* condition, const void*, long* count) override {
    if (count == nullptr) return kWalkBadArgument;
    *count = 0;
    return ForEachMatch(condition, [&](const JournalEntry&) {
      ++*count;
      return true;
    });
  }

  long MoveReady(const host::StFINDINFO* condition, const void*, const void*, int) override {
    matches_.Reset();
    std::shared_ptr<const JournalCache> journal;
    std::vector<uint32_t> matches;
    long status = ForEachMatch(
        condition,
        [&](const JournalEntry& e) {
          matches.push_back(static_cast<uint32_t>(&e - journal->entries().data()));
          return true;
        },
        &journal);
    journal_ = journal;
    if (status == host::kOk) matches_.Ready(std::move(matches));
    return status;
  }

  long MoveNext(host::StSWKTINFO* entry) override {
    if (entry == nullptr) return kWalkBadArgument;
    uint32_t position = 0;
    if (long status = matches_.Next(&position); status != host::kOk) return status;
    const JournalEntry& e = journal_->entries()[position];
    entry->Clear();
    FillSide(entry, host::StSWKTINFO::kDebitOff, e.debit());
    FillSide(entry, host::StSWKTINFO::kCreditOff, e.credit());
    return host::kOk;
  }

  long MoveFinish() override {
    matches_.Reset();
    return host::kOk;
  }

  // *flags gets bit 1 for sides at 3%, 2 for 5%, 4 for 8%, 8 for 10%.
  long CheckExistSwkByZeiRate(const host::StFINDINFO* condition, long* flags, int) override {
    if (flags == nullptr) return kWalkBadArgument;
    long found = 0;
    long status = ForEachMatch(condition, [&](const JournalEntry& e) {
      for (const JournalSide& s : e.side) {
        if (s.account != 0) found |= RateBit(s.rate);
      }
      return found != 15;  // every bit seen: nothing more to learn
    });
    if (status == host::kOk) *flags = found;
    return status;
  }

  // *count: the entries with business type `type` on either side.
  long CheckExistSwkByJigyoBunrui(const host::StFINDINFO* condition, int type,
                                  long* count) override {
    if (count == nullptr) return kWalkBadArgument;
    long n = 0;
    long status = ForEachMatch(condition, [&](const JournalEntry& e) {
      bool has = (e.debit().account != 0 && e.debit().businessType == type) ||
                 (e.credit().account != 0 && e.credit().businessType == type);
      if (has) ++n;
      return true;
    });
    if (status == host::kOk) *count = n;
    return status;
  }

 private:
  // Calls visit(entry) for each entry matching `condition` while it returns
  // true. *used (when given) receives the journal the entries belong to
  // before the first visit.
  template <typename Visit>
  long ForEachMatch(const host::StFINDINFO* condition, Visit visit,
                    std::shared_ptr<const JournalCache>* used = nullptr) {
    long status = host::kOk;
    auto journal = AcquireJournal(binding_, &status);
    if (!journal) return status;
    if (used) *used = journal;
    JournalEntryFilter match(condition);
    for (const JournalEntry& e : journal->entries()) {
      if (match.Matches(e) && !visit(e)) break;
    }
    return host::kOk;
  }

  std::shared_ptr<const JournalCache> journal_;  // the journal matches_ indexes
  PreparedRecords<uint32_t> matches_;            // positions in journal_'s entries
};

}  // namespace

std::unique_ptr<host::ClRuleShiwake> NewLedgerRuleShiwake(LedgerDb& db) {
  return std::make_unique<LedgerRuleShiwake>(db);
}

}  // namespace ltb::ledger
