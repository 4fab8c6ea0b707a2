#include "ledger/journal_cache.h"

#include <gtest/gtest.h>

#include "ledger/testing/rule_test_ledger.h"

namespace ltb::ledger {
namespace {

TEST(JournalCache, OneReadIsSharedUntilTheLedgerChanges) {
  TestLedger l;
  l.Entry(1, {100, 0, 10, 1, 21, 800, 0}, {400, 0, 11, 0, 0, 0, 0});
  std::string error;
  auto first = JournalCache::Acquire(l.db(), 1, &error);
  ASSERT_TRUE(first) << error;
  auto again = JournalCache::Acquire(l.db(), 1, &error);
  EXPECT_EQ(first.get(), again.get());
  ASSERT_EQ(first->entries().size(), 1u);
  EXPECT_EQ(first->entries()[0].debit().tax, 1);
  EXPECT_EQ(first->entries()[0].credit().account, 400);

  l.Entry(2, {100, 0, 20, 2, 21, 800, 0}, {400, 0, 22, 0, 0, 0, 0});
  auto changed = JournalCache::Acquire(l.db(), 1, &error);
  ASSERT_TRUE(changed);
  EXPECT_NE(changed.get(), first.get());
  EXPECT_EQ(changed->entries().size(), 2u);
  EXPECT_EQ(first->entries().size(), 1u);  // holders keep their copy
  EXPECT_EQ(JournalCache::Acquire(l.db(), 2, &error)->entries().size(), 0u);
}

}  // namespace
}  // namespace ltb::ledger
