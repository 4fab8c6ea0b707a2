// Account sums: one record per account of the dataset with its debit and
// credit per month slot, tax excluded and tax included, over the journal
// entries in the range, optionally of one department only.
#include <array>
#include <unordered_map>
#include <vector>

#include "ledger/prepared_records.h"
#include "ledger/rule_common.h"
#include "ledger/sets_walk_kamoku.h"
#include "ledger/walker_factory.h"

namespace ltb::ledger {
namespace {

using host::StKAMOKUSUMINFO;

// Where the account itself is named in the record (free bytes of it).
constexpr size_t kAccountCodeOff = 0;
constexpr size_t kAccountCodeTextOff = 4, kAccountCodeTextCap = 16;
// The department type that restricts the sums to the given department.
constexpr int kByDepartment = 4;

// The four month-slot arrays of one account, in record order.
struct SlotSums {
  std::array<int64_t, StKAMOKUSUMINFO::kSlots> debitEx{}, debitIn{}, creditEx{}, creditIn{};
};

// The same arrays with exact sums, per side: excluded and included.
struct WideSlotSums {
  using Slots = std::array<WideSum, StKAMOKUSUMINFO::kSlots>;
  struct Side {
    Slots excluded{}, included{};
  } side[2];
  // Only called when every sum is known to fit.
  void Narrow(SlotSums* out) const {
    for (int k = 0; k < StKAMOKUSUMINFO::kSlots; ++k) {
      out->debitEx[k] = static_cast<int64_t>(side[0].excluded[k]);
      out->debitIn[k] = static_cast<int64_t>(side[0].included[k]);
      out->creditEx[k] = static_cast<int64_t>(side[1].excluded[k]);
      out->creditIn[k] = static_cast<int64_t>(side[1].included[k]);
    }
  }
};

class LedgerRuleKamoku : public LedgerWalker<host::ClRuleKamoku> {
 public:
  using LedgerWalker::LedgerWalker;

  // kind 1: sums per account. With a department and departmentType 4 only
  // the sides booked to that department count. Slot 0 (the opening
  // balance) stays zero: the ledger keeps no opening balances.
  long MoveReady(int kind, int departmentType, int, const host::StFINDINFO* range,
                 const host::StBUMONINFO* department, int) override {
    records_.Reset();
    if (kind != 1) return kWalkBadArgument;
    long status = host::kOk;
    auto journal = AcquireJournal(binding_, &status);
    if (!journal) return status;
    std::vector<AccountRow> accounts;
    if (!LoadAccountRows(binding_.db(), binding_.Dataset(), &accounts)) return kWalkReadFailed;

    std::unordered_map<int32_t, size_t> indexOf;
    for (size_t i = 0; i < accounts.size(); ++i) indexOf[accounts[i].code] = i;
    std::vector<SlotSums> sums(accounts.size());

    const bool oneDepartment = department != nullptr && departmentType == kByDepartment;
    const int32_t departmentCode = oneDepartment ? department->Code() : 0;
    JournalEntryFilter inRange(range);
    // The account a side adds to, or -1; and its slot index.
    auto target = [&](const JournalEntry& e, int s) -> long {
      const JournalSide& side = e.side[s];
      if (side.account == 0) return -1;
      if (oneDepartment && side.department != departmentCode) return -1;
      auto it = indexOf.find(side.account);
      return it == indexOf.end() ? -1 : static_cast<long>(it->second);
    };

    bool folded = false;
    if (const JournalFold* fold = journal->fold()) {
      // The same sums over the folded entries, exact; used unless a walk
      // over the single entries could overflow on the way.
      std::vector<WideSlotSums> wide(accounts.size());
      WideMagnitude visited = 0;
      for (const FoldedEntry& f : fold->entries()) {
        const JournalEntry key = f.Key();
        const int slot = SumSlotIndex(key.slot);
        if (slot < 0 || !inRange.Matches(key)) continue;
        const FoldedSums sums = fold->SumsOf(f);
        for (int s = 0; s < 2; ++s) {
          const long at = target(key, s);
          if (at < 0) continue;
          visited += sums.magnitude[s];
          auto& [excluded, included] = wide[at].side[s];
          excluded[slot] += sums.amount[s];
          included[slot] += sums.amount[s] + sums.tax[s];
        }
      }
      if (FitsEveryPartialSum(visited)) {
        for (size_t i = 0; i < accounts.size(); ++i) wide[i].Narrow(&sums[i]);
        folded = true;
      }
    }
    bool overflow = false;
    if (!folded && !journal->ForEach([&](const JournalEntry& e) {
          const int slot = SumSlotIndex(e.slot);
          if (slot < 0 || !inRange.Matches(e)) return true;
          for (int s = 0; s < 2; ++s) {
            const long at = target(e, s);
            if (at < 0) continue;
            const JournalSide& side = e.side[s];
            SlotSums& a = sums[at];
            int64_t included;
            bool ok = Included(side, &included);
            if (s == 0) {
              ok = ok && AddChecked(a.debitEx[slot], side.amount) &&
                   AddChecked(a.debitIn[slot], included);
            } else {
              ok = ok && AddChecked(a.creditEx[slot], side.amount) &&
                   AddChecked(a.creditIn[slot], included);
            }
            if (!ok) {
              overflow = true;
              return false;
            }
          }
          return true;
        })) {
      return kWalkReadFailed;
    }
    if (overflow) return kWalkOverflow;

    if (!RollUpSummaryLines(accounts, &sums)) return kWalkOverflow;
    std::vector<StKAMOKUSUMINFO> records(accounts.size());
    for (size_t i = 0; i < accounts.size(); ++i) Fill(accounts[i], sums[i], &records[i]);
    records_.Ready(std::move(records));
    return host::kOk;
  }

  long GetSumCount(long* count) override { return records_.Count(count); }
  long SetMovePos(long pos) override { return records_.Seek(pos); }
  long MoveNext(StKAMOKUSUMINFO* sums) override { return records_.Next(sums); }

  long MoveFinish() override {
    records_.Reset();
    return host::kOk;
  }

 private:
  // A summary-line account stands for the detail accounts under it: its sums
  // are its own plus those of every non-summary account whose classification
  // code holds all bits of the summary's code (0x40882040 under 0x40882000).
  // Books are kept on detail accounts, so without this a summary line would
  // always read zero.
  static bool RollUpSummaryLines(const std::vector<AccountRow>& accounts,
                                 std::vector<SlotSums>* sums) {
    const std::vector<SlotSums> own = *sums;
    for (size_t i = 0; i < accounts.size(); ++i) {
      const uint32_t code = static_cast<uint32_t>(accounts[i].classCode);
      if (accounts[i].summaryLine != 1 || code == 0) continue;
      SlotSums& total = (*sums)[i];
      for (size_t j = 0; j < accounts.size(); ++j) {
        const uint32_t detail = static_cast<uint32_t>(accounts[j].classCode);
        if (j == i || accounts[j].summaryLine == 1 || (detail & code) != code) continue;
        const SlotSums& d = own[j];
        for (int k = 0; k < StKAMOKUSUMINFO::kSlots; ++k) {
          if (!AddChecked(total.debitEx[k], d.debitEx[k]) ||
              !AddChecked(total.debitIn[k], d.debitIn[k]) ||
              !AddChecked(total.creditEx[k], d.creditEx[k]) ||
              !AddChecked(total.creditIn[k], d.creditIn[k])) {
            return false;
          }
        }
      }
    }
    return true;
  }

  static void Fill(const AccountRow& a, const SlotSums& s, StKAMOKUSUMINFO* r) {
    r->SetI32(kAccountCodeOff, a.code);
    r->SetText(kAccountCodeTextOff, kAccountCodeTextCap, a.codeText);
    r->SetU8(StKAMOKUSUMINFO::kExclusionAOff, a.exclusionA);
    r->SetU8(StKAMOKUSUMINFO::kSummaryLineOff, a.summaryLine);
    r->SetU8(StKAMOKUSUMINFO::kExclusionBOff, a.exclusionB);
    r->SetU8(StKAMOKUSUMINFO::kBalanceSideOff, a.balanceSide);
    r->SetI32(StKAMOKUSUMINFO::kClassCodeOff, a.classCode);
    for (int i = 0; i < StKAMOKUSUMINFO::kSlots; ++i) {
      r->SetI64(StKAMOKUSUMINFO::kDebitExOff + 8 * i, s.debitEx[i]);
      r->SetI64(StKAMOKUSUMINFO::kDebitInOff + 8 * i, s.debitIn[i]);
      r->SetI64(StKAMOKUSUMINFO::kCreditExOff + 8 * i, s.creditEx[i]);
      r->SetI64(StKAMOKUSUMINFO::kCreditInOff + 8 * i, s.creditIn[i]);
    }
  }

  PreparedRecords<StKAMOKUSUMINFO> records_;
};

}  // namespace

std::unique_ptr<host::ClRuleKamoku> NewLedgerRuleKamoku(LedgerDb& db) {
  return std::make_unique<LedgerRuleKamoku>(db);
}

}  // namespace ltb::ledger
