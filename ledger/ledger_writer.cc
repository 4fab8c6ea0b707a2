#include "ledger/ledger_writer.h"

#include "ledger/dataset_record.h"
#include "ledger/journal_insert.h"
#include "ledger/sql_statement.h"
#include "platform/messages.h"

namespace ltb::ledger {

namespace {

using platform::Format;
using platform::Tr;

// Runs `q`; on a failure *error is `message` (a translated format with
// `what` and the reason) filled in.
template <typename... Args>
bool Finish(SqlStatement& q, std::string* error, const char* message, Args... what) {
  if (q.Run()) return true;
  if (error) *error = Format(message, what..., q.error().c_str());
  return false;
}

std::string NoDataset(int dataset) {
  return Format(Tr("The ledger holds no dataset %lld: ledora-ledger datasets lists them."),
                static_cast<long long>(dataset));
}

}  // namespace

bool MonthSlots::Load(const LedgerDb& db, int dataset, std::string* error) {
  int closingDay = 0;
  if (!LoadDatasetPeriod(db, dataset, &first_, &last_, &closingDay)) {
    *error = NoDataset(dataset);
    return false;
  }
  if (!period_.Set(first_, last_, closingDay > 0 ? closingDay : kMonthEndClosing)) {
    *error = Format(Tr("Dataset %d has no valid accounting period: give it one with "
                       "add-dataset --from and --to."),
                    dataset);
    return false;
  }
  SqlStatement q(db.handle(), "SELECT interim_flag FROM datasets WHERE no = ?1");
  q.Bind(1, dataset);
  interim_ = q.Step() && q.Int(0) == 1;
  return true;
}

bool MonthSlots::SlotFor(long date, bool closing, int* slot, std::string* error) const {
  int position = period_.PositionOfDate(date);
  if (position == 0) {
    *error = Format(Tr("The date %ld lies outside the accounting period %ld-%ld; correct the "
                       "date or book the entry in the dataset of its period."),
                    date, first_, last_);
    return false;
  }
  if (!closing) {
    *slot = position;
    return true;
  }
  if (date == last_) {
    *slot = kYearEndClosingSlot;
    return true;
  }
  AccountingPeriod::Range sixth;
  if (interim_ && period_.SlotRange(6, &sixth) && date == sixth.last) {
    *slot = kInterimClosingSlot;
    return true;
  }
  *error =
      Tr("A closing entry must be dated on the period's last day, or on the last day of month 6 "
         "for a dataset with an interim closing; correct its date.");
  return false;
}

bool MonthSlotFor(const LedgerDb& db, int dataset, long date, bool closing, int* slot,
                  std::string* error) {
  MonthSlots slots;
  return slots.Load(db, dataset, error) && slots.SlotFor(date, closing, slot, error);
}

bool AddDataset(LedgerDb& db, const DatasetRow& r, std::string* error) {
  if (!IsValidDate(r.periodStart) || !IsValidDate(r.periodEnd)) {
    *error = Format(Tr("The period %ld-%ld is not made of two valid dates; write each as "
                       "yyyymmdd, such as 20160401."),
                    r.periodStart, r.periodEnd);
    return false;
  }
  // The reporting program lays the months out by the closing day the
  // period's last day implies; a different stored one would number the
  // entries' months differently from the months it asks for.
  const int closingDay = r.closingDay > 0 ? r.closingDay : kMonthEndClosing;
  if (closingDay != AccountingPeriod::ClosingDayOfEndDate(r.periodEnd)) {
    *error = Format(Tr("The period's last day must be a closing date: a period ending %ld "
                       "takes the closing day %d (31 for the month end); correct --to or "
                       "--closing-day."),
                    r.periodEnd, AccountingPeriod::ClosingDayOfEndDate(r.periodEnd));
    return false;
  }
  AccountingPeriod check;
  if (!check.Set(r.periodStart, r.periodEnd, closingDay)) {
    *error = Format(Tr("The period %ld-%ld must run forward and span at most twelve months; "
                       "correct --from or --to."),
                    r.periodStart, r.periodEnd);
    return false;
  }
  SqlStatement q(
      db.handle(),
      "INSERT INTO datasets (no, data_id, company_name, period_start, period_end,"
      " interim_flag, past_results, entity_kind, income_mode, closing_day,"
      " filing_class, rounding, deduction_method, main_business_type, tax_included,"
      " tax_rate_count) VALUES (?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11,?12,?13,?14,?15,?16)");
  q.Bind(1, r.no)
      .BindText(2, r.dataId)
      .BindText(3, r.companyName)
      .Bind(4, r.periodStart)
      .Bind(5, r.periodEnd)
      .Bind(6, r.interimFlag)
      .Bind(7, r.pastResults)
      .Bind(8, r.entityKind)
      .Bind(9, r.incomeMode)
      .Bind(10, r.closingDay)
      .Bind(11, r.filingClass)
      .Bind(12, r.rounding)
      .Bind(13, r.deductionMethod)
      .Bind(14, r.mainBusinessType)
      .Bind(15, r.taxIncluded)
      .Bind(16, r.taxRateCount);
  return Finish(q, error,
                Tr("Dataset %d cannot be added to the ledger: %s. Check the number "
                   "(ledora-ledger datasets lists those in use)."),
                r.no);
}

bool AddUser(LedgerDb& db, const std::string& userId, int selectedNo, std::string* error) {
  SqlStatement q(db.handle(),
                 "INSERT INTO users (user_id, first_no, selected_no) VALUES (?1, ?2, ?2)");
  q.BindText(1, userId).Bind(2, selectedNo);
  return Finish(q, error, Tr("The user %s cannot be added to the ledger: %s. Check the user id."),
                userId.c_str());
}

bool SelectDataset(LedgerDb& db, const std::string& userId, int selectedNo, std::string* error) {
  if (!HasDataset(db, selectedNo)) {
    *error = NoDataset(selectedNo);
    return false;
  }
  SqlStatement q(db.handle(),
                 "INSERT INTO users (user_id, first_no, selected_no) VALUES (?1, ?2, ?2)"
                 " ON CONFLICT (user_id) DO UPDATE SET selected_no = excluded.selected_no");
  q.BindText(1, userId).Bind(2, selectedNo);
  return Finish(q, error,
                Tr("The user %s cannot be set to work on dataset %d: %s. Check the ledger and "
                   "try again."),
                userId.c_str(), selectedNo);
}

bool AddAccount(LedgerDb& db, int dataset, const AccountRecordRow& r, std::string* error) {
  SqlStatement q(db.handle(),
                 "INSERT INTO accounts (dataset, code, code_text, name, class_code, balance_side,"
                 " summary_line, exclusion_a, exclusion_b, list_exclusion)"
                 " VALUES (?1,?2,?3,?4,?5,?6,?7,?8,?9,?10)");
  q.Bind(1, dataset)
      .Bind(2, r.code)
      .BindText(3, r.codeText.empty() ? std::to_string(r.code) : r.codeText)
      .BindText(4, r.name)
      .Bind(5, r.classCode)
      .Bind(6, r.balanceSide)
      .Bind(7, r.summaryLine)
      .Bind(8, r.exclusionA)
      .Bind(9, r.exclusionB)
      .Bind(10, r.listExclusion);
  return Finish(q, error,
                Tr("The account %d cannot be added to dataset %d: %s. Check the account code "
                   "and the dataset."),
                r.code, dataset);
}

bool AddDepartment(LedgerDb& db, int dataset, const DepartmentRecordRow& r, std::string* error) {
  SqlStatement q(db.handle(),
                 "INSERT INTO departments (dataset, code, name, kind, link_field, income_type)"
                 " VALUES (?1,?2,?3,?4,?5,?6)");
  q.Bind(1, dataset)
      .Bind(2, r.code)
      .BindText(3, r.name)
      .Bind(4, r.kind)
      .Bind(5, r.linkField)
      .Bind(6, r.incomeType);
  return Finish(q, error,
                Tr("The department %d cannot be added to dataset %d: %s. Check the department "
                   "code and the dataset."),
                r.code, dataset);
}

bool AddJournal(LedgerDb& db, int dataset, const JournalRow& r, std::string* error) {
  int slot = 0;
  if (!MonthSlotFor(db, dataset, r.date, r.closing, &slot, error)) return false;
  for (const JournalSideRow* s : {&r.debit, &r.credit}) {
    if (s->category < 0 || s->category > 255) {
      *error = Tr("A tax category must be 0 to 255; correct the category.");
      return false;
    }
    if (s->businessType < 0 || s->businessType > 6) {
      *error = Tr("A business type must be 0 to 6; correct the business type.");
      return false;
    }
    if (s->rate < 0) {
      *error = Tr("A tax rate must not be negative; correct the rate.");
      return false;
    }
  }
  long entryNo = r.entryNo;
  if (entryNo == 0) {
    SqlStatement next(db.handle(),
                      "SELECT COALESCE(MAX(entry_no), 0) + 1 FROM journal WHERE dataset = ?1");
    next.Bind(1, dataset);
    if (!next.Step()) {
      *error = Format(Tr("The journal of dataset %d cannot be read: %s."), dataset,
                      next.error().c_str());
      return false;
    }
    entryNo = static_cast<long>(next.Int(0));
  }
  JournalInsert insert(db);
  if (insert.Add(dataset, entryNo, r.date, slot, r.closing, r.description, r.debit, r.credit)) {
    return true;
  }
  *error = Format(Tr("The journal entry %ld cannot be added to dataset %d: %s. Check the entry "
                     "number and the accounts."),
                  entryNo, dataset, insert.error().c_str());
  return false;
}

bool AddFixedAsset(LedgerDb& db, int dataset, const FixedAssetRow& r, std::string* error) {
  if (!IsValidDate(r.acquired)) {
    *error = Format(Tr("The acquisition date %ld is not a valid date; write it as yyyymmdd, such "
                       "as 20160401."),
                    r.acquired);
    return false;
  }
  if (r.assetNo == 0) {
    SqlStatement next(db.handle(),
                      "SELECT COALESCE(MAX(asset_no), 0) + 1 FROM fixed_assets WHERE dataset = ?1");
    next.Bind(1, dataset);
    if (!next.Step()) {
      *error = Format(Tr("The fixed assets of dataset %d cannot be read: %s."), dataset,
                      next.error().c_str());
      return false;
    }
    FixedAssetRow numbered = r;
    numbered.assetNo = static_cast<int>(next.Int(0));
    return AddFixedAsset(db, dataset, numbered, error);
  }
  SqlStatement q(db.handle(),
                 "INSERT INTO fixed_assets (dataset, asset_no, name, acquired, kind, amount,"
                 " income_type) VALUES (?1,?2,?3,?4,?5,?6,?7)");
  q.Bind(1, dataset)
      .Bind(2, r.assetNo)
      .BindText(3, r.name)
      .Bind(4, r.acquired)
      .Bind(5, r.kind)
      .Bind(6, r.amount)
      .Bind(7, r.incomeType);
  return Finish(q, error,
                Tr("The fixed asset %d cannot be added to dataset %d: %s. Check the asset number "
                   "and the dataset."),
                r.assetNo, dataset);
}

bool SetSavedTaxReturn(LedgerDb& db, int dataset, const host::StSaveTaxInfo& info,
                       std::string* error) {
  SqlStatement q(db.handle(),
                 "INSERT OR REPLACE INTO saved_tax_return (dataset, data) VALUES (?1, ?2)");
  q.Bind(1, dataset).BindBlob(2, info.bytes, sizeof info.bytes);
  return Finish(q, error,
                Tr("The saved tax-return values of dataset %d cannot be stored: %s. Check the "
                   "dataset."),
                dataset);
}

bool SetSetting(LedgerDb& db, const std::string& key, const std::string& value,
                std::string* error) {
  SqlStatement q(db.handle(), "INSERT OR REPLACE INTO settings (key, value) VALUES (?1, ?2)");
  q.BindText(1, key).BindText(2, value);
  return Finish(q, error, Tr("The setting %s cannot be stored: %s. Check the ledger."),
                key.c_str());
}

void PrepareForBulkWrite(LedgerDb& db) {
  db.Exec("PRAGMA cache_size = -16384", nullptr);
  db.Exec("PRAGMA temp_store = MEMORY", nullptr);
}

WriteTransaction::WriteTransaction(LedgerDb& db) : db_(db) {
  ok_ = db_.Exec("BEGIN IMMEDIATE", &beginError_);
}

WriteTransaction::~WriteTransaction() {
  if (ok_ && !done_) db_.Exec("ROLLBACK", nullptr);
}

bool WriteTransaction::Commit(std::string* error) {
  if (done_) return false;
  done_ = true;
  std::string why = beginError_;
  if (ok_ && db_.Exec("COMMIT", &why)) return true;
  if (error) {
    *error = Format(Tr("The ledger cannot save the changes: %s. Try again when nobody else "
                       "writes to it."),
                    why.c_str());
  }
  return false;
}

}  // namespace ltb::ledger
