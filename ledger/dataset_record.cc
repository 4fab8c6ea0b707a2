#include "ledger/dataset_record.h"

#include "ledger/sql_statement.h"
#include "platform/cp932.h"

namespace ltb::ledger {

using host::StDATAINFO;

bool HasDataset(const LedgerDb& db, int64_t no) {
  SqlStatement q(db.handle(), "SELECT 1 FROM datasets WHERE no = ?1");
  q.Bind(1, no);
  return q.Step();
}

bool LoadDatasetRecord(const LedgerDb& db, int no, StDATAINFO* record) {
  record->Clear();
  SqlStatement q(db.handle(),
                 "SELECT data_id, company_name, period_start, period_end, interim_flag,"
                 " past_results, entity_kind, income_mode FROM datasets WHERE no = ?1");
  q.Bind(1, no);
  if (!q.Step()) return false;
  record->SetText(StDATAINFO::kDataIdOff, StDATAINFO::kDataIdCap, q.Text(0));
  record->SetI32(StDATAINFO::kDatasetNoOff, no);
  std::string company;
  platform::Utf8ToCp932(q.Text(1), &company);
  record->SetText(StDATAINFO::kCompanyOff, StDATAINFO::kCompanyCap,
                  platform::CutOnCharBoundary(company, StDATAINFO::kCompanyCap - 1));
  record->SetI32(StDATAINFO::kPeriodStartOff, static_cast<int32_t>(q.Int(2)));
  record->SetI32(StDATAINFO::kPeriodEndOff, static_cast<int32_t>(q.Int(3)));
  record->SetI32(StDATAINFO::kInterimFlagOff, static_cast<int32_t>(q.Int(4)));
  record->SetI16(StDATAINFO::kPastResultsOff, static_cast<int16_t>(q.Int(5)));
  record->SetU8(StDATAINFO::kEntityKindOff, static_cast<uint8_t>(q.Int(6)));
  record->SetU8(StDATAINFO::kIncomeModeOff, static_cast<uint8_t>(q.Int(7)));
  return true;
}

bool LoadTaxSettingsRecord(const LedgerDb& db, int no, host::StSHOHIZEIINFO* info) {
  info->Clear();
  SqlStatement q(db.handle(),
                 "SELECT filing_class, rounding, deduction_method, main_business_type,"
                 " tax_included FROM datasets WHERE no = ?1");
  q.Bind(1, no);
  if (!q.Step()) return false;
  info->SetU8(0, static_cast<uint8_t>(q.Int(0)));
  info->SetU8(2, static_cast<uint8_t>(q.Int(1)));
  info->SetU8(3, static_cast<uint8_t>(q.Int(2)));
  info->SetU8(4, static_cast<uint8_t>(q.Int(3)));
  info->SetU8(5, static_cast<uint8_t>(q.Int(4)));
  return true;
}

int LoadTaxRateCount(const LedgerDb& db, int no) {
  SqlStatement q(db.handle(), "SELECT tax_rate_count FROM datasets WHERE no = ?1");
  q.Bind(1, no);
  return q.Step() ? static_cast<int>(q.Int(0)) : 0;
}

bool LoadDatasetPeriod(const LedgerDb& db, int no, long* first, long* last, int* closingDay) {
  SqlStatement q(db.handle(),
                 "SELECT period_start, period_end, closing_day FROM datasets WHERE no = ?1");
  q.Bind(1, no);
  if (!q.Step()) return false;
  *first = static_cast<long>(q.Int(0));
  *last = static_cast<long>(q.Int(1));
  *closingDay = static_cast<int>(q.Int(2));
  return true;
}

}  // namespace ltb::ledger
