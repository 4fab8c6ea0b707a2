// The ledger's walks over a generated ledger agree with plain computations:
// the remembered condition answers with evaluating every entry, the
// tax-return sums and the account sums with SQL totals over the file.
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <tuple>
#include <vector>

#include "ledger/journal_reader.h"
#include "ledger/ledger_db.h"
#include "ledger/rule_common.h"
#include "ledger/sql_statement.h"
#include "ledger/tax_categories.h"
#include "ledger/testing/temp_home.h"
#include "ledger/walker_factory.h"
#include "tools/bench/ledger_generator.h"

namespace ltb::bench {
namespace {

using host::MakeFindItem;
using host::StFINDINFO;
using ledger::JournalEntry;

constexpr int16_t kAnd = StFINDINFO::kAnd, kOr = StFINDINFO::kOr, kLast = StFINDINFO::kLast;

// Conditions of the kinds the program builds, and a few odd ones.
struct Conditions {
  // Month positions 1..12 plus the year-end closing.
  std::vector<StFINDINFO> wholeYear = {
      MakeFindItem(StFINDINFO::kMonth, StFINDINFO::kAtLeast, 2, 1, kAnd),
      MakeFindItem(StFINDINFO::kMonth, StFINDINFO::kAtMost, 2, 12, kOr),
      MakeFindItem(StFINDINFO::kMonth, StFINDINFO::kEqual, 2, 18, kLast)};
  std::vector<StFINDINFO> summer = {
      MakeFindItem(StFINDINFO::kMonth, StFINDINFO::kAtLeast, 2, 4, kAnd),
      MakeFindItem(StFINDINFO::kMonth, StFINDINFO::kAtMost, 2, 7, kLast)};
  // Either side not a taxable purchase, within the summer months.
  std::vector<StFINDINFO> debitSide = {
      MakeFindItem(StFINDINFO::kTaxCategory, StFINDINFO::kLessThan, 3, 21, kOr, 1),
      MakeFindItem(StFINDINFO::kTaxCategory, StFINDINFO::kEqual, 3, 24, kOr, 1),
      MakeFindItem(StFINDINFO::kTaxCategory, StFINDINFO::kAtLeast, 3, 30, kLast, 1)};
  std::vector<StFINDINFO> creditSide = {
      MakeFindItem(StFINDINFO::kTaxCategory, StFINDINFO::kLessThan, 3, 21, kOr, 2),
      MakeFindItem(StFINDINFO::kTaxCategory, StFINDINFO::kEqual, 3, 24, kOr, 2),
      MakeFindItem(StFINDINFO::kTaxCategory, StFINDINFO::kAtLeast, 3, 30, kLast, 2)};
  std::vector<StFINDINFO> sides = {MakeFindItem(StFINDINFO::kGroup, 0, 0, 0, kOr),
                                   MakeFindItem(StFINDINFO::kGroup, 0, 0, 0, kLast)};
  std::vector<StFINDINFO> notTaxable = {MakeFindItem(StFINDINFO::kGroup, 0, 0, 0, kAnd),
                                        MakeFindItem(StFINDINFO::kGroup, 0, 0, 0, kLast)};
  // Either side's category, an unknown comparison and an unknown link.
  std::vector<StFINDINFO> odd = {
      MakeFindItem(StFINDINFO::kTaxCategory, StFINDINFO::kEqual, 3, 1, 7),
      MakeFindItem(StFINDINFO::kMonth, StFINDINFO::kLessThan, 2, 15, kOr),
      MakeFindItem(StFINDINFO::kTaxCategory, 9, 3, 21, kOr),
      MakeFindItem(StFINDINFO::kMonth, StFINDINFO::kAtLeast, 2, 18, kLast)};

  Conditions() {
    sides[0].nested = debitSide.data();
    sides[1].nested = creditSide.data();
    notTaxable[0].nested = sides.data();
    notTaxable[1].nested = summer.data();
  }
  std::vector<const StFINDINFO*> All() const {
    return {nullptr, wholeYear.data(), summer.data(), notTaxable.data(), odd.data()};
  }
};

std::vector<JournalEntry> GeneratedJournal(long count) {
  LedgerShape shape;
  shape.entries = count;
  EntryGenerator generator(shape);
  std::vector<JournalEntry> out;
  GeneratedEntry g;
  while (generator.Next(&g)) {
    JournalEntry e;
    e.slot = static_cast<int16_t>(g.slot);
    e.side[0].category = static_cast<uint8_t>(g.debit.category);
    e.side[1].category = static_cast<uint8_t>(g.credit.category);
    out.push_back(e);
  }
  return out;
}

// The remembered answers equal a fresh evaluation for every entry, also for
// categories and slots the generator never writes (including slots outside
// the period, which are not remembered).
TEST(WalkerAgreement, RememberedConditionAnswersEqualFreshEvaluation) {
  std::vector<JournalEntry> journal = GeneratedJournal(20000);
  const int16_t slots[] = {1, 4, 6, 7, 12, 15, 18, 0, 13, -3};
  for (size_t i = 0; i < journal.size(); i += 7) {
    journal[i].side[i % 2].category = static_cast<uint8_t>(i * 37 % 256);
    journal[i].slot = slots[i / 7 % 10];
  }
  Conditions c;
  for (const StFINDINFO* condition : c.All()) {
    ledger::CompiledCondition fresh(condition);
    ledger::JournalEntryFilter remembered(condition);
    size_t matches = 0;
    for (size_t i = 0; i < journal.size(); ++i) {
      const bool expected = fresh.Matches(ledger::JournalEntryView{journal[i]});
      ASSERT_EQ(remembered.Matches(journal[i]), expected) << "entry " << i;
      matches += expected;
    }
    // Every condition picks some entries and leaves others (but "all").
    EXPECT_GT(matches, 0u);
    if (condition) {
      EXPECT_LT(matches, journal.size());
    }
  }
}

class GeneratedLedgerWalks : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    home_ = new ledger::TempHome();
    LedgerShape shape;
    // Large enough to be read in two halves.
    shape.entries = ledger::kSplitReadFrom + 10000;
    shape.fixedAssets = 10;
    std::string error;
    ASSERT_TRUE(GenerateLedger(home_->path(), shape, &error)) << error;
  }
  static void TearDownTestSuite() {
    delete home_;
    home_ = nullptr;
  }
  void SetUp() override {
    std::string error;
    db_ = ledger::LedgerDb::Open(home_->path(), ledger::LedgerDb::Mode::kReadOnly, &error);
    ASSERT_TRUE(db_) << error;
    db_->set_selected_dataset(kGeneratedDatasetNo);
  }

  static ledger::TempHome* home_;
  std::unique_ptr<ledger::LedgerDb> db_;
};
ledger::TempHome* GeneratedLedgerWalks::home_ = nullptr;

// SumTax over the summer months equals the per-category SQL totals routed
// through the tax-category table, field by field.
TEST_F(GeneratedLedgerWalks, TaxReturnSumsEqualSqlTotals) {
  const int rateCodes[] = {800, 500, 300};
  std::vector<host::StTAXREPORTRATEINFO> rates(3), expected(3);
  std::vector<host::StTAXREPORTBUSINESSTYPEINFO> types(18), expectedTypes(18);
  for (int r = 0; r < 3; ++r) {
    rates[r].SetRate(rateCodes[r]);
    expected[r].SetRate(rateCodes[r]);
    for (int t = 0; t < 6; ++t) {
      for (auto* v : {&types, &expectedTypes}) {
        (*v)[6 * r + t].SetRate(rateCodes[r]);
        (*v)[6 * r + t].SetType(static_cast<uint8_t>(t + 1));
      }
    }
  }
  Conditions c;
  auto walker = ledger::NewLedgerRuleShohizeiShinkoku(*db_);
  ASSERT_EQ(walker->SumTax(2, c.summer.data(), rates.data(), types.data()), host::kOk);

  for (const char* side : {"debit", "credit"}) {
    const std::string s = side;
    ledger::SqlStatement q(db_->handle(),
                           ("SELECT " + s + "_category, " + s + "_rate, " + s + "_btype, sum(" + s +
                            "_amount), sum(" + s + "_tax) FROM journal WHERE dataset = 1 AND " + s +
                            "_account <> 0 AND month_slot BETWEEN 4 AND 7 GROUP BY 1, 2, 3")
                               .c_str());
    while (q.Step()) {
      const ledger::TaxCategory* cat = ledger::FindTaxCategory(static_cast<uint8_t>(q.Int(0)));
      int block = -1;
      for (int r = 0; r < 3; ++r) {
        if (rateCodes[r] == q.Int(1)) block = r;
      }
      if (!cat || cat->provisional || block < 0) continue;
      const int sign = ledger::SideSign(
          *cat, s == "debit" ? ledger::BookSide::kDebit : ledger::BookSide::kCredit);
      const int64_t amount = q.Int(3), tax = q.Int(4);
      auto add = [&](auto& record, const ledger::CategoryFields& f) {
        if (f.excluded) record.SetI64(f.excluded, record.I64(f.excluded) + sign * amount);
        if (f.tax) record.SetI64(f.tax, record.I64(f.tax) + sign * tax);
        if (f.included) {
          record.SetI64(f.included, record.I64(f.included) + sign * (amount + tax));
        }
      };
      add(expected[block], cat->rate);
      const int btype = static_cast<int>(q.Int(2));
      if (cat->businessType.excluded && btype >= 1 && btype <= 6) {
        add(expectedTypes[6 * block + btype - 1], cat->businessType);
      }
    }
    ASSERT_TRUE(q.ok()) << q.error();
  }
  for (int r = 0; r < 3; ++r) {
    EXPECT_EQ(std::vector<uint8_t>(rates[r].bytes, rates[r].bytes + sizeof rates[r].bytes),
              std::vector<uint8_t>(expected[r].bytes, expected[r].bytes + sizeof expected[r].bytes))
        << "rate " << rateCodes[r];
  }
  for (int i = 0; i < 18; ++i) {
    EXPECT_EQ(std::vector<uint8_t>(types[i].bytes, types[i].bytes + sizeof types[i].bytes),
              std::vector<uint8_t>(expectedTypes[i].bytes,
                                   expectedTypes[i].bytes + sizeof expectedTypes[i].bytes))
        << "business type record " << i;
  }
  EXPECT_NE(rates[0].I64(host::StTAXREPORTRATEINFO::KAZEIURIAGEZEINUKI), 0);
}

// The account sums of the whole year, for one department, equal SQL totals
// per account and month slot.
TEST_F(GeneratedLedgerWalks, AccountSumsOfOneDepartmentEqualSqlTotals) {
  Conditions c;
  host::StBUMONINFO department;
  department.SetI32(host::StBUMONINFO::kCodeOff, 3);
  auto walker = ledger::NewLedgerRuleKamoku(*db_);
  ASSERT_EQ(walker->MoveReady(1, 4, 0, c.wholeYear.data(), &department, 0), host::kOk);

  // (account, slot index) -> debit excluded, debit included, credit excl., credit incl.
  std::map<std::pair<int, int>, std::array<int64_t, 4>> totals;
  for (int s = 0; s < 2; ++s) {
    const std::string side = s == 0 ? "debit" : "credit";
    ledger::SqlStatement q(
        db_->handle(), ("SELECT " + side + "_account, month_slot, sum(" + side + "_amount), sum(" +
                        side + "_amount + " + side + "_tax) FROM journal WHERE dataset = 1 AND " +
                        side + "_dept = 3 GROUP BY 1, 2")
                           .c_str());
    while (q.Step()) {
      auto& t = totals[{static_cast<int>(q.Int(0)),
                        ledger::SumSlotIndex(static_cast<int16_t>(q.Int(1)))}];
      t[2 * s] += q.Int(2);
      t[2 * s + 1] += q.Int(3);
    }
    ASSERT_TRUE(q.ok()) << q.error();
  }
  // A summary-line account also carries the detail accounts under it: those
  // without the summary flag whose classification code holds all its bits.
  {
    ledger::SqlStatement q(db_->handle(),
                           "SELECT s.code, d.code FROM accounts s JOIN accounts d"
                           " ON d.dataset = s.dataset AND d.summary_line = 0"
                           " AND s.class_code <> 0 AND (d.class_code & s.class_code) = s.class_code"
                           " WHERE s.dataset = 1 AND s.summary_line = 1");
    const auto own = totals;
    while (q.Step()) {
      const int summary = static_cast<int>(q.Int(0)), detail = static_cast<int>(q.Int(1));
      for (int slot = 0; slot < host::StKAMOKUSUMINFO::kSlots; ++slot) {
        auto it = own.find({detail, slot});
        if (it == own.end()) continue;
        auto& t = totals[{summary, slot}];
        for (int k = 0; k < 4; ++k) t[k] += it->second[k];
      }
    }
    ASSERT_TRUE(q.ok()) << q.error();
  }
  host::StKAMOKUSUMINFO r;
  int records = 0, nonZero = 0;
  while (walker->MoveNext(&r) == host::kOk) {
    ++records;
    const int account = r.I32(0);
    for (int slot = 0; slot < host::StKAMOKUSUMINFO::kSlots; ++slot) {
      auto it = totals.find({account, slot});
      const std::array<int64_t, 4> want =
          it == totals.end() ? std::array<int64_t, 4>{} : it->second;
      ASSERT_EQ(r.Debit(slot, false), want[0]) << account << " slot " << slot;
      ASSERT_EQ(r.Debit(slot, true), want[1]) << account << " slot " << slot;
      ASSERT_EQ(r.Credit(slot, false), want[2]) << account << " slot " << slot;
      ASSERT_EQ(r.Credit(slot, true), want[3]) << account << " slot " << slot;
      nonZero += want[0] != 0 || want[2] != 0;
    }
  }
  EXPECT_EQ(records, 40);
  EXPECT_GT(nonZero, 100);
}

// The entries of a copy, in the order its parts give them.
std::vector<JournalEntry> EntriesOf(const ledger::JournalCopy& copy) {
  std::vector<JournalEntry> out;
  for (const auto& part : copy.parts) {
    ledger::JournalSpool::Reader reader(*part);
    JournalEntry e;
    while (reader.Next(&e)) out.push_back(e);
    EXPECT_FALSE(reader.failed());
  }
  return out;
}

bool SameEntries(const std::vector<JournalEntry>& a, const std::vector<JournalEntry>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const JournalEntry &x = a[i], &y = b[i];
    if (x.slot != y.slot) return false;
    for (int s = 0; s < 2; ++s) {
      const ledger::JournalSide &p = x.side[s], &q = y.side[s];
      if (p.amount != q.amount || p.tax != q.tax || p.account != q.account ||
          p.department != q.department || p.rate != q.rate || p.category != q.category ||
          p.businessType != q.businessType) {
        return false;
      }
    }
  }
  return true;
}

// Reading in two halves gives the rows of one pass through the index, also
// from the temporary files, when the rows are stored out of entry order, and
// when a connection with writes of its own pending reads them.
TEST(JournalReading, HalvesGiveTheRowsOfOnePassInEntryOrder) {
  ledger::TempHome home;
  LedgerShape shape;
  shape.entries = ledger::kSplitReadFrom + 2000;
  shape.fixedAssets = 0;
  std::string error;
  ASSERT_TRUE(GenerateLedger(home.path(), shape, &error)) << error;
  auto db = ledger::LedgerDb::Open(home.path(), ledger::LedgerDb::Mode::kReadWrite, &error);
  ASSERT_TRUE(db) << error;

  ledger::JournalCopy halvesCopy, onePassCopy;
  ASSERT_TRUE(ledger::ReadJournal(*db, 1, &halvesCopy, &error)) << error;
  ASSERT_TRUE(ledger::ReadJournalInOnePass(*db, 1, &onePassCopy, &error)) << error;
  EXPECT_EQ(halvesCopy.parts.size(), 2u);
  std::vector<JournalEntry> halves = EntriesOf(halvesCopy), onePass = EntriesOf(onePassCopy);
  ASSERT_EQ(onePass.size(), static_cast<size_t>(shape.entries));
  EXPECT_TRUE(SameEntries(halves, onePass));
  // With no room in memory both halves go to their temporary files.
  ledger::JournalCopy spilled;
  ASSERT_TRUE(ledger::ReadJournal(*db, 1, &spilled, &error, 0)) << error;
  ASSERT_EQ(spilled.parts.size(), 2u);
  EXPECT_TRUE(spilled.parts[0]->spilled() && spilled.parts[1]->spilled());
  EXPECT_TRUE(SameEntries(EntriesOf(spilled), onePass));

  // The same rows stored in reverse entry order.
  ASSERT_TRUE(
      db->Exec("CREATE TEMP TABLE copy AS SELECT * FROM journal;"
               "DELETE FROM journal;"
               "INSERT INTO journal SELECT * FROM copy ORDER BY entry_no DESC;",
               &error))
      << error;
  ASSERT_TRUE(ledger::ReadJournal(*db, 1, &halvesCopy, &error)) << error;
  EXPECT_TRUE(SameEntries(EntriesOf(halvesCopy), onePass));

  // Entries changed inside an open transaction of the reading connection.
  const std::string last = std::to_string(shape.entries);
  ASSERT_TRUE(db->Exec(("BEGIN; UPDATE journal SET debit_amount = 7 WHERE entry_no = 1;"
                        " UPDATE journal SET credit_amount = 9 WHERE entry_no = " +
                        last + ";")
                           .c_str(),
                       &error))
      << error;
  ASSERT_TRUE(ledger::ReadJournal(*db, 1, &halvesCopy, &error)) << error;
  halves = EntriesOf(halvesCopy);
  ASSERT_EQ(halves.size(), onePass.size());
  EXPECT_EQ(halves.front().debit().amount, 7);
  EXPECT_EQ(halves.back().credit().amount, 9);
  db->Exec("ROLLBACK", nullptr);

  // A small second dataset among the large first one.
  ASSERT_TRUE(
      db->Exec("INSERT INTO datasets (no, data_id, period_start, period_end)"
               " VALUES (2, 'OTHER', 20160401, 20170331);"
               "INSERT INTO journal (dataset, entry_no, entry_date, month_slot,"
               " debit_account, debit_amount) VALUES (2, 5, 20160402, 1, 111, 3),"
               " (2, 4, 20160403, 1, 131, 4);",
               &error))
      << error;
  ASSERT_TRUE(ledger::ReadJournal(*db, 2, &halvesCopy, &error)) << error;
  halves = EntriesOf(halvesCopy);
  ASSERT_EQ(halves.size(), 2u);
  EXPECT_EQ(halves[0].debit().account, 131);  // entry 4 before entry 5
}

}  // namespace
}  // namespace ltb::bench
