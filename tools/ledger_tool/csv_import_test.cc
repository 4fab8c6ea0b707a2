#include "tools/ledger_tool/csv_import.h"

#include <gtest/gtest.h>

#include "ledger/ledger_writer.h"
#include "ledger/sql_statement.h"
#include "ledger/testing/temp_home.h"
#include "tools/books/utf8_literal.h"
#include "tools/ledger_tool/csv_table.h"

namespace ltb::ledger_tool {
namespace {

using ledger::LedgerDb;

class CsvImportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    db_ = LedgerDb::Open(temp_.path(), LedgerDb::Mode::kCreate, &error);
    ASSERT_TRUE(db_) << error;
    ledger::DatasetRow ds;
    ds.no = 1;
    ds.dataId = "T1";
    ds.periodStart = 20160401;
    ds.periodEnd = 20170331;
    ds.interimFlag = 1;
    ASSERT_TRUE(ledger::AddDataset(*db_, ds, &error)) << error;
    for (int code : {111, 411, 511}) {
      ledger::AccountRecordRow a;
      a.code = code;
      ASSERT_TRUE(ledger::AddAccount(*db_, 1, a, &error)) << error;
    }
  }

  int64_t Count(const char* table) {
    std::string sql = std::string("SELECT count(*) FROM ") + table;
    ledger::SqlStatement q(db_->handle(), sql.c_str());
    return q.Step() ? q.Int(0) : -1;
  }

  ledger::TempHome temp_;
  std::unique_ptr<LedgerDb> db_;
};

constexpr char kHeader[] =
    "date,closing,description,debit_account,debit_amount,debit_tax,debit_category,debit_rate,"
    "credit_account,credit_amount,credit_tax,credit_category,credit_rate,credit_business_type\n";

// Rows are written while the file is still being read; a row the ledger
// refuses (a taken entry number) is still reported by its line, and nothing
// of the file is kept.
TEST_F(CsvImportTest, ARowTheLedgerRefusesImportsNothing) {
  int count = -1;
  std::string error;
  EXPECT_FALSE(ImportJournalCsv(*db_, 1,
                                "entry_no,date,debit_account,credit_account\n"
                                "5,20160415,111,411\n6,20160415,111,411\n5,20160416,111,411\n",
                                &count, &error));
  EXPECT_EQ(error.rfind("line 4: the ledger refused the entry", 0), 0u) << error;
  EXPECT_EQ(Count("journal"), 0);
}

TEST_F(CsvImportTest, ImportsEntriesWithSlotsAndScaledAmounts) {
  std::string csv = std::string(kHeader) +
                    "20160415,0,\"Sale, \"\"A\"\"\",111,1080,0,0,0,411,1000,80,1,8,2\r\n"
                    "20160930,1,interim,511,10.5,0.84,21,8,111,11.34,0,0,0,0\n"
                    "20170331,1,year end,511,100,8,21,8,111,108,0,0,0,0\n"
                    "20170215,,,511,100.0001,5,21,5,111,105.0001,0,0,0,0\n";
  int count = 0;
  std::string error;
  ASSERT_TRUE(ImportJournalCsv(*db_, 1, csv, &count, &error)) << error;
  EXPECT_EQ(count, 4);
  ledger::SqlStatement q(db_->handle(),
                         "SELECT entry_no, month_slot, description, credit_amount, credit_tax,"
                         " credit_rate, credit_btype, debit_amount, debit_rate"
                         " FROM journal ORDER BY entry_no");
  ASSERT_TRUE(q.Step());
  EXPECT_EQ(q.Int(0), 1);
  EXPECT_EQ(q.Int(1), 1);
  EXPECT_EQ(q.Text(2), "Sale, \"A\"");
  EXPECT_EQ(q.Int(3), 10000000);
  EXPECT_EQ(q.Int(4), 800000);
  EXPECT_EQ(q.Int(5), 800);
  EXPECT_EQ(q.Int(6), 2);
  ASSERT_TRUE(q.Step());
  EXPECT_EQ(q.Int(1), 15);
  EXPECT_EQ(q.Int(7), 105000);
  ASSERT_TRUE(q.Step());
  EXPECT_EQ(q.Int(1), 18);
  ASSERT_TRUE(q.Step());
  EXPECT_EQ(q.Int(1), 11);
  EXPECT_EQ(q.Int(7), 1000001);
  EXPECT_EQ(q.Int(8), 500);
}

TEST_F(CsvImportTest, BadRowsNameTheirLineAndImportNothing) {
  struct Case {
    const char* rows;
    const char* expected;
  };
  const Case cases[] = {
      {"20160415,0,,111,1,0,0,0,411,1,0,1,8,0\n20160501,0,,999,1,0,0,0,411,1,0,1,8,0\n",
       "line 3: debit_account 999"},
      {"20160415,0,,111,1,0,0,0,411,1,0,1,7,0\n", "line 2: credit_rate"},
      {"20170415,0,,111,1,0,0,0,411,1,0,1,8,0\n", "line 2: The date 20170415 lies outside"},
      {"20160415,0,,111,1.00001,0,0,0,411,1,0,1,8,0\n", "line 2: debit_amount"},
      {"20160415,0,,111,1,0,0,0,411,1,0,1,8,7\n", "line 2: a business type"},
      {"20160415,1,,111,1,0,0,0,411,1,0,1,8,0\n", "line 2: A closing entry"},
      {"20160415,0,,111,1,0,0,0,411,1,0,1,8\n", "line 2: 13 fields"},
      {"20160415,0,\"open,111,1,0,0,0,411,1,0,1,8,0\n", "line 2: a quoted field"},
      {",0,,111,1,0,0,0,411,1,0,1,8,0\n", "line 2: date is required"},
      // A description saved in Shift_JIS would be kept as broken text.
      {"20160415,0,\x94\x84\x8F\xE3,111,1,0,0,0,411,1,0,1,8,0\n", "line 2 is not UTF-8 text"},
  };
  for (const Case& c : cases) {
    int count = -1;
    std::string error;
    EXPECT_FALSE(ImportJournalCsv(*db_, 1, std::string(kHeader) + c.rows, &count, &error));
    EXPECT_EQ(error.rfind(c.expected, 0), 0u) << "got: " << error;
    EXPECT_EQ(count, 0);
  }
  EXPECT_EQ(Count("journal"), 0);

  int count = 0;
  std::string error;
  EXPECT_FALSE(
      ImportJournalCsv(*db_, 1, "date,debit_account,credit_account,colour\n", &count, &error));
  EXPECT_EQ(error,
            "line 1: the column \"colour\" is unknown; the command's --help lists the columns.");
  EXPECT_FALSE(ImportJournalCsv(*db_, 1, "date,debit_account\n", &count, &error));
  EXPECT_EQ(error, "line 1: the column \"credit_account\" is missing; add it to the header.");
  EXPECT_FALSE(ImportJournalCsv(*db_, 2, kHeader, &count, &error));
  EXPECT_EQ(error, "The ledger holds no dataset 2: ledora-ledger datasets lists them.");
}

TEST_F(CsvImportTest, AssetsImportAndRefuseBadRows) {
  int count = 0;
  std::string error;
  ASSERT_TRUE(ImportAssetsCsv(*db_, 1,
                              "name,acquired,kind,amount,income_type\n"
                              "Van,20160701,1,2400000,1\n"
                              "Start-up costs,20160501,9,300000,\n",
                              &count, &error))
      << error;
  EXPECT_EQ(count, 2);
  EXPECT_FALSE(ImportAssetsCsv(*db_, 1,
                               "name,acquired,amount,income_type\n"
                               "Shop,20160701,100,1\n"
                               "Flat,20160732,100,2\n",
                               &count, &error));
  EXPECT_EQ(error.rfind("line 3: The acquisition date", 0), 0u) << error;
  EXPECT_FALSE(
      ImportAssetsCsv(*db_, 1, "acquired,amount,income_type\n20160701,1,3\n", &count, &error));
  EXPECT_EQ(error.rfind("line 2: income_type", 0), 0u) << error;
  EXPECT_EQ(Count("fixed_assets"), 2);
}

TEST_F(CsvImportTest, AccountsKeepTheirClassCodeBitsAndRefuseBadRowsWhole) {
  int count = 0;
  std::string error;
  // u8: the narrow literals of the sources are CP932, the files UTF-8.
  ASSERT_TRUE(ImportAccountsCsv(*db_, 1,
                                books::Utf8(u8"code,class_code,name,side\n"
                                            u8"135,0x01010400,売掛金,\n"
                                            u8"280,0xFFFFFFFF,仮受消費税,2\n"
                                            u8"611,1082662976,旅費交通費,1\n"),
                                &count, &error))
      << error;
  EXPECT_EQ(count, 3);
  ledger::SqlStatement q(db_->handle(),
                         "SELECT class_code, balance_side FROM accounts WHERE code IN"
                         " (135, 280, 611) ORDER BY code");
  for (const auto& [classCode, side] :
       {std::pair{0x01010400, 1}, std::pair{-1, 2}, std::pair{0x40882040, 1}}) {
    ASSERT_TRUE(q.Step());
    EXPECT_EQ(q.Int(0), classCode);
    EXPECT_EQ(q.Int(1), side);
  }
  for (const char* rows : {"700,0x40844000\n701,0x1FFFFFFFF\n", "700,0x40844000\n701,0x4G\n",
                           "700,0x40844000\n701,4294967296\n", "700,1\n411,1\n"}) {
    EXPECT_FALSE(
        ImportAccountsCsv(*db_, 1, std::string("code,class_code\n") + rows, &count, &error));
    EXPECT_EQ(error.rfind("line 3: ", 0), 0u) << error;
  }
  EXPECT_EQ(Count("accounts"), 6);
}

TEST(CsvNumbersTest, AmountsAndRates) {
  long long v = 0;
  EXPECT_TRUE(ParseAmount("-12.5", &v));
  EXPECT_EQ(v, -125000);
  EXPECT_TRUE(ParseAmount(".25", &v));
  EXPECT_EQ(v, 2500);
  EXPECT_FALSE(ParseAmount("1,000", &v));
  EXPECT_FALSE(ParseAmount("99999999999999999", &v));  // beyond int64 once scaled
  EXPECT_FALSE(ParseAmount("", &v));
  EXPECT_FALSE(ParseAmount("-", &v));
  EXPECT_TRUE(ParseRatePercent("6.3", &v));
  EXPECT_EQ(v, 630);
  EXPECT_FALSE(ParseRatePercent("-8", &v));
}

}  // namespace
}  // namespace ltb::ledger_tool
