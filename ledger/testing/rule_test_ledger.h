// A small ledger in a temporary folder for the walker tests: one dataset
// (number 1, data id "D1", April to March) that tests fill with accounts,
// departments, journal entries and fixed assets.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "ledger/ledger_db.h"
#include "ledger/testing/temp_home.h"

namespace ltb::ledger {

struct TestSide {
  int account = 0;
  int department = 0;
  long long amount = 0;
  long long tax = 0;
  int category = 0;
  int rate = 0;
  int businessType = 0;
};

class TestLedger {
 public:
  TestLedger() {
    std::string error;
    db_ = LedgerDb::Open(home_.path(), LedgerDb::Mode::kCreate, &error);
    EXPECT_TRUE(db_) << error;
    Sql("INSERT INTO datasets (no, data_id, company_name, period_start, period_end,"
        " tax_rate_count) VALUES (1, 'D1', 'Test', 20230401, 20240331, 3)");
    db_->set_selected_dataset(1);
  }

  LedgerDb& db() { return *db_; }

  void Sql(const std::string& sql) {
    std::string error;
    ASSERT_TRUE(db_->Exec(sql.c_str(), &error)) << sql << ": " << error;
  }

  void Account(int code, int classCode, int balanceSide = 1, int summaryLine = 0,
               int exclusionA = 0, int exclusionB = 0, int listExclusion = 0) {
    Sql("INSERT INTO accounts (dataset, code, code_text, class_code, balance_side,"
        " summary_line, exclusion_a, exclusion_b, list_exclusion) VALUES (1, " +
        std::to_string(code) + ", '" + std::to_string(code) + "', " + std::to_string(classCode) +
        ", " + std::to_string(balanceSide) + ", " + std::to_string(summaryLine) + ", " +
        std::to_string(exclusionA) + ", " + std::to_string(exclusionB) + ", " +
        std::to_string(listExclusion) + ")");
  }

  void Department(int code, int kind, int link, int incomeType) {
    Sql("INSERT INTO departments (dataset, code, name, kind, link_field, income_type)"
        " VALUES (1, " +
        std::to_string(code) + ", 'Dept', " + std::to_string(kind) + ", " + std::to_string(link) +
        ", " + std::to_string(incomeType) + ")");
  }

  // One journal entry in month slot `slot` (15 and 18 are closing entries).
  void Entry(int slot, const TestSide& debit, const TestSide& credit) {
    ++entryNo_;
    Sql("INSERT INTO journal VALUES (1, " + std::to_string(entryNo_) + ", 20230401, " +
        std::to_string(slot) + ", " + (slot > 12 ? "1" : "0") + ", ''" + Side(debit) +
        Side(credit) + ")");
  }

  void Asset(int no, int date, int kind, long long amount, int incomeType) {
    Sql("INSERT INTO fixed_assets VALUES (1, " + std::to_string(no) + ", 'A', " +
        std::to_string(date) + ", " + std::to_string(kind) + ", " + std::to_string(amount) + ", " +
        std::to_string(incomeType) + ")");
  }

 private:
  static std::string Side(const TestSide& s) {
    return ", " + std::to_string(s.account) + ", " + std::to_string(s.department) + ", " +
           std::to_string(s.amount) + ", " + std::to_string(s.tax) + ", " +
           std::to_string(s.category) + ", " + std::to_string(s.rate) + ", " +
           std::to_string(s.businessType);
  }

  TempHome home_;  // declared first: removed after the ledger is closed
  std::unique_ptr<LedgerDb> db_;
  int entryNo_ = 0;
};

}  // namespace ltb::ledger
