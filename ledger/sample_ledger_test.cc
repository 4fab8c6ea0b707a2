#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "ledger/ledger_db.h"
#include "ledger/ledger_host.h"
#include "ledger/sql_statement.h"
#include "ledger/tax_categories.h"
#include "ledger/testing/temp_home.h"

namespace ltb::ledger {
namespace {

std::set<int64_t> Values(LedgerDb& db, const char* sql) {
  std::set<int64_t> out;
  SqlStatement q(db.handle(), sql);
  while (q.Step()) out.insert(q.Int(0));
  EXPECT_TRUE(q.ok()) << q.error();
  return out;
}

TEST(SampleLedgerTest, CreatedOnceAndLeftAlone) {
  TempHome temp;
  std::string home = temp.Sub("nested/sample");
  std::string error;
  ASSERT_TRUE(CreateSampleLedger(home, &error)) << error;
  auto stamp = std::filesystem::last_write_time(home + "/ledger.db");
  {
    auto db = LedgerDb::Open(home, LedgerDb::Mode::kReadWrite, &error);
    ASSERT_TRUE(db) << error;
    ASSERT_TRUE(db->Exec("INSERT INTO settings VALUES ('marker', 'kept')", &error));
  }
  ASSERT_TRUE(CreateSampleLedger(home, &error)) << error;
  auto db = LedgerDb::Open(home, LedgerDb::Mode::kReadOnly, &error);
  ASSERT_TRUE(db) << error;
  EXPECT_EQ(db->Setting("marker", ""), "kept");
  EXPECT_GE(std::filesystem::last_write_time(home + "/ledger.db"), stamp);
  // No leftovers of the build beside the ledger.
  int entries = 0;
  for (auto& e : std::filesystem::directory_iterator(home)) {
    (void)e;
    ++entries;
  }
  EXPECT_EQ(entries, 1);
}

TEST(SampleLedgerTest, EntriesCoverTheCategoriesRatesAndTypes) {
  TempHome temp;
  std::string error;
  ASSERT_TRUE(CreateSampleLedger(temp.path(), &error)) << error;
  auto db = LedgerDb::Open(temp.path(), LedgerDb::Mode::kReadOnly, &error);
  ASSERT_TRUE(db) << error;

  std::set<int64_t> categories =
      Values(*db, "SELECT debit_category FROM journal UNION SELECT credit_category FROM journal");
  for (const TaxCategory& c : TaxCategoryTable()) {
    EXPECT_TRUE(categories.count(c.code)) << "category " << int(c.code) << " unused";
  }
  EXPECT_TRUE(categories.count(24));
  EXPECT_TRUE(categories.count(0));
  EXPECT_TRUE(categories.count(20));

  std::set<int64_t> rates =
      Values(*db, "SELECT debit_rate FROM journal UNION SELECT credit_rate FROM journal");
  EXPECT_EQ(rates, (std::set<int64_t>{0, 300, 500, 800}));

  EXPECT_EQ(
      Values(*db, "SELECT credit_btype FROM journal WHERE dataset = 2 AND credit_category = 1"),
      (std::set<int64_t>{1, 2, 3, 4, 5}));
  EXPECT_TRUE(
      Values(*db, "SELECT 1 FROM journal WHERE debit_btype = 6 OR credit_btype = 6").empty());
  // The default dataset passes the pre-checks: no provisional imports either.
  EXPECT_TRUE(Values(*db,
                     "SELECT 1 FROM journal WHERE dataset = 1 AND"
                     " (debit_category IN (31,32,33,35,36,37) OR"
                     "  credit_category IN (31,32,33,35,36,37))")
                  .empty());
  EXPECT_EQ(Values(*db, "SELECT month_slot FROM journal WHERE dataset = 1 AND closing = 1"),
            (std::set<int64_t>{15, 18}));
  EXPECT_EQ(Values(*db,
                   "SELECT count(*) FROM journal WHERE dataset = 1 AND month_slot BETWEEN 1 AND 12"
                   " GROUP BY month_slot")
                    .size() > 0,
            true);
  EXPECT_FALSE(Values(*db, "SELECT 1 FROM fixed_assets WHERE kind = 9").empty());
  EXPECT_EQ(Values(*db, "SELECT income_type FROM departments WHERE dataset = 3"),
            (std::set<int64_t>{1, 3}));
  // Both sides of every entry balance (tax included).
  EXPECT_TRUE(Values(*db,
                     "SELECT entry_no FROM journal WHERE"
                     " debit_amount + debit_tax <> credit_amount + credit_tax")
                  .empty());
}

}  // namespace
}  // namespace ltb::ledger
