#include "ledger/ledger_sets.h"

#include <cstring>

#include "ledger/dataset_record.h"
#include "ledger/host_error_codes.h"
#include "ledger/ledger_acc_period.h"
#include "ledger/sql_statement.h"

namespace ltb::ledger {

long LedgerSetData::GetDatCursor(host::Cursor* cursor) {
  if (!session_.db) return kErrNotConnected;
  return cursors_.Open(cursor);
}

long LedgerSetData::ReadyDat(host::Cursor cursor, int) {
  size_t* lastNo = cursors_.Find(cursor);
  if (lastNo == nullptr) return kErrBadCursor;
  *lastNo = 0;
  return host::kOk;
}

long LedgerSetData::WalkDat(host::StDATAINFO* record, host::Cursor cursor) {
  size_t* lastNo = cursors_.Find(cursor);
  if (lastNo == nullptr) return kErrBadCursor;
  if (!session_.db) return kErrNotConnected;
  SqlStatement q(session_.db->handle(),
                 "SELECT no FROM datasets WHERE no > ?1 ORDER BY no LIMIT 1");
  q.Bind(1, static_cast<int64_t>(*lastNo));
  if (!q.Step()) return q.ok() ? host::kEndOfData : kErrDatabase;
  int no = static_cast<int>(q.Int(0));
  if (!LoadDatasetRecord(*session_.db, no, record)) return kErrDatabase;
  *lastNo = static_cast<size_t>(no);
  return host::kOk;
}

long LedgerSetData::ReleaseDatCursor(host::Cursor cursor) { return cursors_.Release(cursor); }

const host::StDATAINFO* LedgerSetData::GetSelectedInfo() {
  selected_.Clear();
  if (session_.db && session_.db->selected_dataset() != 0) {
    LoadDatasetRecord(*session_.db, session_.db->selected_dataset(), &selected_);
  }
  return &selected_;
}

long LedgerSetData::GetAccPeriod(std::unique_ptr<host::ClAccPeriod>* period) {
  if (!session_.db) return kErrNotConnected;
  long first = 0, last = 0;
  int closingDay = 0;
  if (!LoadDatasetPeriod(*session_.db, Dataset(), &first, &last, &closingDay)) {
    return kErrNoDataset;
  }
  auto p = std::make_unique<LedgerAccPeriod>(first, last, closingDay);
  long check = 0, dummy = 0;
  if (p->GetPeriod(&check, &dummy) != host::kOk) return kErrBadPeriod;
  *period = std::move(p);
  return host::kOk;
}

long LedgerSetShohizei::Get(host::StSHOHIZEIINFO* info) {
  if (!session_.db) return kErrNotConnected;
  host::StSHOHIZEIINFO read;
  if (!LoadTaxSettingsRecord(*session_.db, Dataset(), &read)) return kErrNoDataset;
  *info = read;
  return host::kOk;
}

long LedgerSetShohizei::GetTaxRateCount() {
  if (!session_.db) return 0;
  return LoadTaxRateCount(*session_.db, Dataset());
}

long LedgerSysUser::GetCurUserID(char userId[65]) {
  std::memset(userId, 0, 65);
  if (session_.userId.empty()) return kErrNotConnected;
  std::memcpy(userId, session_.userId.data(),
              session_.userId.size() < 64 ? session_.userId.size() : 64);
  return host::kOk;
}

long LedgerSysUser::GetSelectedNo(const char* userId, long* first, long* second) {
  if (!session_.db) return kErrNotConnected;
  SqlStatement q(session_.db->handle(),
                 "SELECT first_no, selected_no FROM users WHERE user_id = ?1");
  q.BindText(1, userId ? userId : "");
  if (!q.Step()) return q.ok() ? kErrUnknownUser : kErrDatabase;
  *first = static_cast<long>(q.Int(0));
  *second = static_cast<long>(q.Int(1));
  // A dataset chosen for this run stands in for the current user's own
  // selection, so that whatever is kept per user and dataset stays apart.
  if (session_.options.datasetNo != 0 && session_.userId == (userId ? userId : "")) {
    *second = session_.options.datasetNo;
  }
  return host::kOk;
}

}  // namespace ltb::ledger
