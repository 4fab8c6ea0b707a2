#include "ledger/journal_cache.h"

#include <gtest/gtest.h>

#include <vector>

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

}  // namespace
}  // namespace ltb::ledger
