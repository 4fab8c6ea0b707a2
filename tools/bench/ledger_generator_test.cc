#include "tools/bench/ledger_generator.h"

#include <gtest/gtest.h>

#include <set>

#include "ledger/ledger_db.h"
#include "ledger/sql_statement.h"
#include "ledger/tax_categories.h"
#include "ledger/testing/temp_home.h"

namespace ltb::bench {
namespace {

std::vector<GeneratedEntry> Generate(const LedgerShape& shape) {
  std::vector<GeneratedEntry> out;
  EntryGenerator g(shape);
  GeneratedEntry e;
  while (g.Next(&e)) out.push_back(e);
  return out;
}

bool SameSide(const ledger::JournalSideRow& a, const ledger::JournalSideRow& b) {
  return a.account == b.account && a.department == b.department && a.amount == b.amount &&
         a.tax == b.tax && a.category == b.category && a.rate == b.rate &&
         a.businessType == b.businessType;
}

TEST(EntryGenerator, SameSeedSameEntriesOtherSeedOthers) {
  LedgerShape shape;
  shape.entries = 3000;
  auto a = Generate(shape), b = Generate(shape);
  ASSERT_EQ(a.size(), 3000u);
  ASSERT_EQ(b.size(), a.size());
  size_t differing = 0;
  shape.seed += 1;
  auto c = Generate(shape);
  for (size_t i = 0; i < a.size(); ++i) {
    EXPECT_EQ(a[i].date, b[i].date);
    EXPECT_TRUE(SameSide(a[i].debit, b[i].debit) && SameSide(a[i].credit, b[i].credit)) << i;
    if (!SameSide(a[i].debit, c[i].debit)) ++differing;
  }
  EXPECT_GT(differing, a.size() / 2);
}

// Dates cover the whole fiscal year in order, the month slot fits the date,
// the last entries are year-end closing entries, and nothing would make the
// pre-aggregation checks refuse the run.
TEST(EntryGenerator, EntriesFitThePeriodAndPassTheChecks) {
  LedgerShape shape;
  shape.entries = 20000;
  auto entries = Generate(shape);
  ASSERT_EQ(entries.size(), 20000u);
  std::set<int> slots, categories, rates;
  long previous = 0;
  int closing = 0;
  for (const GeneratedEntry& e : entries) {
    EXPECT_GE(e.date, previous);
    previous = e.date;
    EXPECT_GE(e.date, kGeneratedPeriodStart);
    EXPECT_LE(e.date, kGeneratedPeriodEnd);
    if (e.closing) {
      ++closing;
      EXPECT_EQ(e.slot, 18);
      EXPECT_EQ(e.date, kGeneratedPeriodEnd);
    } else {
      int month = static_cast<int>(e.date / 100 % 100);
      EXPECT_EQ(e.slot, (month + 8) % 12 + 1) << e.date;
    }
    slots.insert(e.slot);
    for (const auto* s : {&e.debit, &e.credit}) {
      if (s->account == 0) continue;
      EXPECT_TRUE(IsGeneratedAccount(s->account)) << s->account;
      EXPECT_NE(s->rate, 1000);
      EXPECT_NE(s->businessType, 6);
      EXPECT_FALSE(ledger::IsProvisionalImport(static_cast<uint8_t>(s->category)));
      categories.insert(s->category);
      rates.insert(s->rate);
    }
    EXPECT_NE(e.debit.account, 0);
    EXPECT_NE(e.credit.account, 0);
  }
  EXPECT_EQ(closing, 10);
  EXPECT_EQ(slots.size(), 13u);  // twelve months and the year-end closing
  EXPECT_EQ(rates, (std::set<int>{0, 300, 500, 800}));
  for (int c : {1, 2, 3, 5, 9, 10, 20, 21, 22, 23, 24, 25, 28, 29, 41, 44}) {
    EXPECT_TRUE(categories.count(c)) << c;
  }
}

TEST(GenerateLedger, WritesACompleteLedgerThatARunCanOpen) {
  ledger::TempHome home;
  LedgerShape shape;
  shape.entries = 5000;
  shape.fixedAssets = 300;
  std::string error;
  ASSERT_TRUE(GenerateLedger(home.path(), shape, &error)) << error;
  auto db = ledger::LedgerDb::Open(home.path(), ledger::LedgerDb::Mode::kReadOnly, &error);
  ASSERT_TRUE(db) << error;
  auto count = [&](const char* sql) {
    ledger::SqlStatement q(db->handle(), sql);
    return q.Step() ? q.Int(0) : -1;
  };
  EXPECT_EQ(count("SELECT count(*) FROM journal WHERE dataset = 1"), 5000);
  EXPECT_EQ(count("SELECT count(*) FROM fixed_assets WHERE dataset = 1"), 300);
  EXPECT_EQ(count("SELECT count(*) FROM departments"), 20);
  EXPECT_EQ(count("SELECT selected_no FROM users WHERE user_id = 'bench'"), 1);
  EXPECT_EQ(count("SELECT filing_class FROM datasets WHERE no = 1"), 2);
  // Every side's account is in the chart of accounts.
  EXPECT_EQ(count("SELECT count(*) FROM journal j WHERE NOT EXISTS (SELECT 1 FROM accounts a"
                  " WHERE a.dataset = 1 AND a.code = j.debit_account) OR NOT EXISTS (SELECT 1"
                  " FROM accounts a WHERE a.dataset = 1 AND a.code = j.credit_account)"),
            0);

  // Generating again replaces the ledger instead of adding to it.
  shape.entries = 100;
  db.reset();
  ASSERT_TRUE(GenerateLedger(home.path(), shape, &error)) << error;
  db = ledger::LedgerDb::Open(home.path(), ledger::LedgerDb::Mode::kReadOnly, &error);
  ASSERT_TRUE(db) << error;
  EXPECT_EQ(count("SELECT count(*) FROM journal"), 100);
}

}  // namespace
}  // namespace ltb::bench
