// The journal walker: entries matching a search condition, their count,
// and the existence checks by tax rate and by business type.
#include <memory>
#include <utility>

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
    return ForEachMatch(condition, [&](const JournalEntry&, int64_t entries) {
      *count += static_cast<long>(entries);
      return true;
    });
  }

  // The matching entries are read one by one as MoveNext asks for them, so
  // that a walk holds one entry at a time however long the journal is.
  long MoveReady(const host::StFINDINFO* condition, const void*, const void*, int) override {
    walk_.reset();
    long status = host::kOk;
    auto journal = AcquireJournal(binding_, &status);
    if (!journal) return status;
    walk_ = std::make_unique<Walk>(std::move(journal), condition);
    return host::kOk;
  }

  long MoveNext(host::StSWKTINFO* entry) override {
    if (entry == nullptr) return kWalkBadArgument;
    if (!walk_) return kWalkNotReady;
    JournalEntry e;
    while (walk_->cursor.Next(&e)) {
      if (!walk_->match.Matches(e)) continue;
      entry->Clear();
      FillSide(entry, host::StSWKTINFO::kDebitOff, e.debit());
      FillSide(entry, host::StSWKTINFO::kCreditOff, e.credit());
      return host::kOk;
    }
    return walk_->cursor.failed() ? kWalkReadFailed : host::kEndOfData;
  }

  long MoveFinish() override {
    walk_.reset();
    return host::kOk;
  }

  // *flags gets bit 1 for sides at 3%, 2 for 5%, 4 for 8%, 8 for 10%.
  long CheckExistSwkByZeiRate(const host::StFINDINFO* condition, long* flags, int) override {
    if (flags == nullptr) return kWalkBadArgument;
    long found = 0;
    long status = ForEachMatch(condition, [&](const JournalEntry& e, int64_t) {
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
    long status = ForEachMatch(condition, [&](const JournalEntry& e, int64_t entries) {
      bool has = (e.debit().account != 0 && e.debit().businessType == type) ||
                 (e.credit().account != 0 && e.credit().businessType == type);
      if (has) n += static_cast<long>(entries);
      return true;
    });
    if (status == host::kOk) *count = n;
    return status;
  }

 private:
  // A walk between MoveReady and MoveFinish: the journal it reads and where.
  struct Walk {
    Walk(std::shared_ptr<const JournalCache> j, const host::StFINDINFO* condition)
        : journal(std::move(j)), cursor(*journal), match(condition) {}
    std::shared_ptr<const JournalCache> journal;
    JournalCache::Cursor cursor;
    JournalEntryFilter match;
  };

  // Calls visit(entry, n) for the entries matching `condition` while it
  // returns true: once per folded entry (the n entries that agree in
  // everything but their amounts) when the journal is folded, else once
  // per entry with n = 1. Visits read nothing but the keys.
  template <typename Visit>
  long ForEachMatch(const host::StFINDINFO* condition, Visit visit) {
    long status = host::kOk;
    auto journal = AcquireJournal(binding_, &status);
    if (!journal) return status;
    JournalEntryFilter match(condition);
    if (const JournalFold* fold = journal->fold()) {
      for (const FoldedEntry& f : fold->entries()) {
        const JournalEntry key = f.Key();
        if (match.Matches(key) && !visit(key, f.count())) break;
      }
      return host::kOk;
    }
    const bool read = journal->ForEach(
        [&](const JournalEntry& e) { return !match.Matches(e) || visit(e, int64_t{1}); });
    return read ? host::kOk : kWalkReadFailed;
  }

  std::unique_ptr<Walk> walk_;  // null: no walk prepared
};

}  // namespace

std::unique_ptr<host::ClRuleShiwake> NewLedgerRuleShiwake(LedgerDb& db) {
  return std::make_unique<LedgerRuleShiwake>(db);
}

}  // namespace ltb::ledger
