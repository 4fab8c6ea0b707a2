// Pieces every ledger walker shares: its status codes, the dataset it is
// bound to, checked amount arithmetic and the journal-entry view that
// search conditions are tested against.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "host/host.h"
#include "host/month_slots.h"
#include "ledger/find_condition_eval.h"
#include "ledger/host_error_codes.h"
#include "ledger/journal_cache.h"
#include "ledger/ledger_db.h"

namespace ltb::ledger {

// Status codes of the ledger walkers besides kOk and kEndOfData: the
// ledger's own codes where one fits, and three more of the walkers.
constexpr long kWalkNoDataset = kErrNoDataset;      // the data id names no dataset
constexpr long kWalkReadFailed = kErrDatabase;      // the ledger could not be read
constexpr long kWalkBadCursor = kErrBadCursor;      // a cursor the set did not hand out
constexpr long kWalkBadArgument = 2101;             // a null or out-of-range argument
constexpr long kWalkNotReady = 2102;                // a walk read before MoveReady
constexpr long kWalkOverflow = host::kSumOverflow;  // a sum left the 64-bit range

// The dataset a walker works on: the one named by SetCurDataID, or the
// ledger's selected dataset when no id was given.
class DatasetBinding {
 public:
  explicit DatasetBinding(LedgerDb& db) : db_(db) {}
  // `dataId` is CP932 text (as held in StDATAINFO).
  void Bind(const char* dataId);
  // The dataset number, or 0 when the bound id names none.
  int Dataset() const;
  LedgerDb& db() const { return db_; }

 private:
  LedgerDb& db_;
  bool bound_ = false;
  int dataset_ = 0;
};

// A walker over the ledger: it needs neither the set manager nor the option
// link, only the dataset its data id names.
template <typename Rule>
class LedgerWalker : public Rule {
 public:
  explicit LedgerWalker(LedgerDb& db) : binding_(db) {}
  void AttachSetMgr(host::ClSetMgr*) override {}
  void SetCurDataID(const char* dataId) override { binding_.Bind(dataId); }
  void AttachOptLink(host::ClOptLink*) override {}

 protected:
  DatasetBinding binding_;
};

// acc += v; false (acc unchanged) when the sum would leave int64.
inline bool AddChecked(int64_t& acc, int64_t v) {
  int64_t r;
  if (__builtin_add_overflow(acc, v, &r)) return false;
  acc = r;
  return true;
}
// sign * v for sign +1 or -1; false when it cannot be represented.
inline bool Signed(int sign, int64_t v, int64_t* out) {
  if (sign >= 0) {
    *out = v;
    return true;
  }
  return !__builtin_sub_overflow(int64_t{0}, v, out);
}
// A side's tax-included amount.
inline bool Included(const JournalSide& s, int64_t* out) {
  return !__builtin_add_overflow(s.amount, s.tax, out);
}

// A journal entry as seen by a search condition: field 3 is the tax
// category of the side the item names (1 debit, 2 credit; any other side
// value: either side), field 17 the month slot. Other fields are false.
struct JournalEntryView {
  const JournalEntry& entry;
  bool Test(const FindTerm& t) const;
};

// A journal side of the entry as seen by a condition that is applied per
// side: field 3 is this side's category whatever side the item names.
struct JournalSideView {
  const JournalEntry& entry;
  int side;  // 0 debit, 1 credit
  bool Test(const FindTerm& t) const;
};

// A search condition over journal entries, compiled once, with its answers
// remembered: whether an entry matches depends only on its two tax
// categories and its month slot (JournalEntryView reads nothing else), so
// each combination that occurs is evaluated once and then looked up.
class JournalEntryFilter {
 public:
  explicit JournalEntryFilter(const host::StFINDINFO* items);

  bool Matches(const JournalEntry& e) {
    if (condition_.MatchesAll()) return true;
    const int slot = SlotKey(e.slot);
    if (slot < 0) return condition_.Matches(JournalEntryView{e});
    const size_t key = (static_cast<size_t>(e.side[0].category) << 12) |
                       (static_cast<size_t>(e.side[1].category) << 4) | static_cast<size_t>(slot);
    if (!memo_) AllocateMemo();
    uint8_t& known = memo_[key];
    if (known == 0) known = condition_.Matches(JournalEntryView{e}) ? 2 : 1;
    return known == 2;
  }

 private:
  // 0..13 for the month positions and the two closing codes; -1 otherwise.
  static int SlotKey(int16_t slot) {
    if (slot >= 1 && slot <= 12) return slot;
    if (slot == host::kInterimClosingSlot) return 0;
    if (slot == host::kYearEndClosingSlot) return 13;
    return -1;
  }
  void AllocateMemo();

  struct FreeDeleter {
    void operator()(uint8_t* p) const;
  };
  CompiledCondition condition_;
  // 256 x 256 x 16 answers, 0 unknown, 1 no, 2 yes. Allocated zeroed on
  // first use; only the pages of combinations that occur are ever touched.
  std::unique_ptr<uint8_t[], FreeDeleter> memo_;
};

// Index into the 15 month-slot arrays of an account-sum record: positions
// 1..12 as they are, 18 (year-end closing) at 13, 15 (interim) at 14; -1
// for anything else.
int SumSlotIndex(int16_t monthSlot);

// Reads the journal of the bound dataset; null with *status on failure.
std::shared_ptr<const JournalCache> AcquireJournal(const DatasetBinding& binding, long* status);

}  // namespace ltb::ledger
