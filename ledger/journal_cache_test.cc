#include "ledger/journal_cache.h"

#include <gtest/gtest.h>

#include <vector>

#include "host/host.h"
#include "ledger/journal_reader.h"
#include "ledger/rule_common.h"
#include "ledger/testing/rule_test_ledger.h"

namespace ltb::ledger {
namespace {

std::vector<JournalEntry> EntriesOf(const JournalCache& cache) {
  std::vector<JournalEntry> out;
  EXPECT_TRUE(cache.ForEach([&](const JournalEntry& e) {
    out.push_back(e);
    return true;
  }));
  return out;
}

TEST(JournalCache, OneReadIsSharedUntilTheLedgerChanges) {
  TestLedger l;
  l.Entry(1, {100, 0, 10, 1, 21, 800, 0}, {400, 0, 11, 0, 0, 0, 0});
  std::string error;
  auto first = JournalCache::Acquire(l.db(), 1, &error);
  ASSERT_TRUE(first) << error;
  auto again = JournalCache::Acquire(l.db(), 1, &error);
  EXPECT_EQ(first.get(), again.get());
  ASSERT_EQ(EntriesOf(*first).size(), 1u);
  EXPECT_EQ(EntriesOf(*first)[0].debit().tax, 1);
  EXPECT_EQ(EntriesOf(*first)[0].credit().account, 400);

  l.Entry(2, {100, 0, 20, 2, 21, 800, 0}, {400, 0, 22, 0, 0, 0, 0});
  auto changed = JournalCache::Acquire(l.db(), 1, &error);
  ASSERT_TRUE(changed);
  EXPECT_NE(changed.get(), first.get());
  EXPECT_EQ(changed->size(), 2);
  EXPECT_EQ(EntriesOf(*first).size(), 1u);  // holders keep their copy
  EXPECT_EQ(JournalCache::Acquire(l.db(), 2, &error)->size(), 0);
}

// A stop check that answers true ends a long journal read part-way, in two
// halves and in one pass alike: the check is asked on the way (not after
// the read), not again once it said stop, nothing is cached, and the next
// read without a stop is whole.
TEST(JournalCache, AStopRequestEndsTheReadPartWay) {
  TestLedger l;
  constexpr int64_t kEntries = kSplitReadFrom + 10000;
  l.Sql("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
        std::to_string(kEntries) +
        ") INSERT INTO journal (dataset, entry_no, entry_date, month_slot, debit_account,"
        " debit_amount) SELECT 1, i, 20230401, 1, 100, i FROM n");
  struct Way {
    const char* name;
    bool (*read)(LedgerDb&, int, JournalCopy*, std::string*, size_t, bool*);
  };
  const Way ways[] = {{"halves", ReadJournal}, {"one pass", ReadJournalInOnePass}};
  for (const Way& way : ways) {
    SCOPED_TRACE(way.name);
    int asked = 0;
    l.db().set_stop_check([&asked] { return ++asked == 2; });
    JournalCopy copy;
    std::string error;
    bool stopped = false;
    EXPECT_FALSE(way.read(l.db(), 1, &copy, &error, JournalSpool::kDefaultMemoryBudget, &stopped));
    EXPECT_TRUE(stopped);
    EXPECT_EQ(asked, 2);
  }
  // Through a walker the stop is the host's own status, and not cached.
  l.db().set_stop_check([] { return true; });
  DatasetBinding binding(l.db());
  long status = host::kOk;
  EXPECT_FALSE(AcquireJournal(binding, &status));
  EXPECT_EQ(status, host::kStoppedByRequest);
  l.db().set_stop_check(nullptr);
  auto whole = AcquireJournal(binding, &status);
  ASSERT_TRUE(whole);
  EXPECT_EQ(whole->size(), kEntries);
  JournalCopy halves;
  std::string error;
  ASSERT_TRUE(ReadJournal(l.db(), 1, &halves, &error)) << error;
  EXPECT_EQ(halves.parts.size(), 2u);  // the first way above was the two halves
}

}  // namespace
}  // namespace ltb::ledger
