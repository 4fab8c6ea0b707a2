// Tax-summary lines: per account, the journal sides booked at one tax rate
// in a range of month slots, debit minus credit.
#include <map>
#include <vector>

#include "ledger/prepared_records.h"
#include "ledger/rule_common.h"
#include "ledger/sets_walk_kamoku.h"
#include "ledger/walker_factory.h"

namespace ltb::ledger {
namespace {

class LedgerRuleShohizei : public LedgerWalker<host::ClRuleShohizei> {
 public:
  using LedgerWalker::LedgerWalker;

  // kind 2: summary lines per account. Slots from..to are taken in their
  // order inside the period (15 after 6, 18 after 12).
  long MoveReady(int kind, const int16_t* fromSlot, const int16_t* toSlot, const long* rate,
                 const void*, int taxIncluded) override {
    lines_.Reset();
    if (kind != 2 || fromSlot == nullptr || toSlot == nullptr || rate == nullptr) {
      return kWalkBadArgument;
    }
    long status = host::kOk;
    auto journal = AcquireJournal(binding_, &status);
    if (!journal) return status;
    std::vector<AccountRow> accounts;
    if (!LoadAccountRows(binding_.db(), binding_.Dataset(), &accounts)) return kWalkReadFailed;

    const int lo = MonthSlotRank(*fromSlot), hi = MonthSlotRank(*toSlot);
    auto counts = [&](const JournalEntry& e, int s) {
      const int r = MonthSlotRank(e.slot);
      const JournalSide& side = e.side[s];
      return r >= lo && r <= hi && side.account != 0 && side.rate == *rate;
    };
    std::map<int32_t, int64_t> sums;  // account code -> amount, in code order
    bool folded = false;
    if (const JournalFold* fold = journal->fold()) {
      // Debit minus credit over the folded entries, exact; used unless a
      // walk over the single entries could overflow on the way.
      std::map<int32_t, WideSum> wide;
      WideMagnitude visited = 0;
      for (const FoldedEntry& f : fold->entries()) {
        const JournalEntry key = f.Key();
        for (int s = 0; s < 2; ++s) {
          if (!counts(key, s)) continue;
          const FoldedSums sums = fold->SumsOf(f);
          visited += sums.magnitude[s];
          const WideSum amount = taxIncluded ? sums.amount[s] + sums.tax[s] : sums.amount[s];
          wide[key.side[s].account] += s == 0 ? amount : -amount;
        }
      }
      if (FitsEveryPartialSum(visited)) {
        for (const auto& [code, amount] : wide) sums[code] = static_cast<int64_t>(amount);
        folded = true;
      }
    }
    bool overflow = false;
    if (!folded && !journal->ForEach([&](const JournalEntry& e) {
          for (int s = 0; s < 2; ++s) {
            if (!counts(e, s)) continue;
            const JournalSide& side = e.side[s];
            int64_t amount = side.amount;
            int64_t signedAmount;
            if ((taxIncluded && !Included(side, &amount)) ||
                !Signed(s == 0 ? 1 : -1, amount, &signedAmount) ||
                !AddChecked(sums[side.account], signedAmount)) {
              overflow = true;
              return false;
            }
          }
          return true;
        })) {
      return kWalkReadFailed;
    }
    if (overflow) return kWalkOverflow;

    std::vector<host::StTAXSUMINFO> lines;
    std::map<int32_t, const AccountRow*> byCode;
    for (const AccountRow& a : accounts) byCode[a.code] = &a;
    for (const auto& [code, amount] : sums) {
      host::StTAXSUMINFO line;
      auto it = byCode.find(code);
      std::string text = it != byCode.end() ? it->second->codeText : std::to_string(code);
      line.SetText(host::StTAXSUMINFO::kCodeTextOff, host::StTAXSUMINFO::kCodeTextCap, text);
      line.SetI64(host::StTAXSUMINFO::kAmountOff, amount);
      lines.push_back(line);
    }
    lines_.Ready(std::move(lines));
    return host::kOk;
  }

  long GetSumInfoCount(long* count) override { return lines_.Count(count); }
  long MoveNext(host::StTAXSUMINFO* line) override { return lines_.Next(line); }

  long MoveFinish() override {
    lines_.Reset();
    return host::kOk;
  }

 private:
  PreparedRecords<host::StTAXSUMINFO> lines_;
};

}  // namespace

std::unique_ptr<host::ClRuleShohizei> NewLedgerRuleShohizei(LedgerDb& db) {
  return std::make_unique<LedgerRuleShohizei>(db);
}

}  // namespace ltb::ledger
