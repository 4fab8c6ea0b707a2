// Writes rows into a ledger opened for writing: used by the sample ledger
// and by the ledger tool. Texts are UTF-8. Every Add* returns false with
// *error set (UTF-8) when the row is refused.
#pragma once

#include <cstdint>
#include <string>

#include "host/records.h"
#include "ledger/accounting_period.h"
#include "ledger/ledger_db.h"

namespace ltb::ledger {

struct DatasetRow {
  int no = 0;
  std::string dataId;
  std::string companyName;
  long periodStart = 0, periodEnd = 0;
  int interimFlag = 0, pastResults = 0, entityKind = 0, incomeMode = 0, closingDay = 0;
  int filingClass = 2, rounding = 0, deductionMethod = 0, mainBusinessType = 0, taxIncluded = 0,
      taxRateCount = 3;
};

struct AccountRecordRow {
  int code = 0;
  std::string codeText, name;
  int32_t classCode = 0;
  int balanceSide = 1, summaryLine = 0, exclusionA = 0, exclusionB = 0, listExclusion = 0;
};

struct DepartmentRecordRow {
  int code = 0;
  std::string name;
  int kind = 0, linkField = 0, incomeType = 1;
};

struct JournalSideRow {
  int account = 0, department = 0;
  int64_t amount = 0, tax = 0;  // yen x 10000
  int category = 0, rate = 0, businessType = 0;
};

struct JournalRow {
  long entryNo = 0;
  long date = 0;
  bool closing = false;
  std::string description;
  JournalSideRow debit, credit;
};

struct FixedAssetRow {
  int assetNo = 0;
  std::string name;
  long acquired = 0;
  int kind = 1;
  int64_t amount = 0;
  int incomeType = 1;
};

// The month slots of one dataset, loaded once for an import of many
// entries.
class MonthSlots {
 public:
  // Reads the period of `dataset`; false with *error when it has none.
  bool Load(const LedgerDb& db, int dataset, std::string* error);
  // As MonthSlotFor, without touching the database.
  bool SlotFor(long date, bool closing, int* slot, std::string* error) const;

 private:
  AccountingPeriod period_;
  long first_ = 0, last_ = 0;
  bool interim_ = false;
};

// The month slot of a journal entry of dataset `dataset`: the month
// position of `date`, or for a closing entry 18 (dated on the period's last
// day) or 15 (dated on the last day of position 6 of a dataset with an
// interim closing). False with *error when none fits.
bool MonthSlotFor(const LedgerDb& db, int dataset, long date, bool closing, int* slot,
                  std::string* error);

bool AddDataset(LedgerDb& db, const DatasetRow& row, std::string* error);
bool AddUser(LedgerDb& db, const std::string& userId, int selectedNo, std::string* error);
bool SelectDataset(LedgerDb& db, const std::string& userId, int selectedNo, std::string* error);
bool AddAccount(LedgerDb& db, int dataset, const AccountRecordRow& row, std::string* error);
bool AddDepartment(LedgerDb& db, int dataset, const DepartmentRecordRow& row, std::string* error);
// entryNo 0 takes the next free number of the dataset.
bool AddJournal(LedgerDb& db, int dataset, const JournalRow& row, std::string* error);
bool AddFixedAsset(LedgerDb& db, int dataset, const FixedAssetRow& row, std::string* error);
bool SetSavedTaxReturn(LedgerDb& db, int dataset, const host::StSaveTaxInfo& info,
                       std::string* error);
bool SetSetting(LedgerDb& db, const std::string& key, const std::string& value, std::string* error);

// Settings for writing many rows in one transaction: a larger page cache
// (16 MB at most, whatever the file's size) and temporary data in memory.
void PrepareForBulkWrite(LedgerDb& db);

// BEGIN IMMEDIATE / COMMIT / ROLLBACK.
class WriteTransaction {
 public:
  explicit WriteTransaction(LedgerDb& db);
  ~WriteTransaction();  // rolls back unless committed
  bool ok() const { return ok_; }
  // False with *error (a sentence with the reason) when the transaction
  // could not begin or the changes could not be saved.
  bool Commit(std::string* error);

 private:
  LedgerDb& db_;
  bool ok_ = false;
  bool done_ = false;
  std::string beginError_;
};

}  // namespace ltb::ledger
