#include "ledger/sets_walk_bumon.h"

#include <algorithm>

#include "ledger/rule_common.h"
#include "ledger/sql_statement.h"
#include "ledger/walk_cursors.h"
#include "ledger/walker_factory.h"
#include "platform/cp932.h"

namespace ltb::ledger {

bool LoadDepartmentRows(LedgerDb& db, int dataset, std::vector<DepartmentRow>* rows) {
  rows->clear();
  SqlStatement q(db.handle(),
                 "SELECT code, name, kind, link_field, income_type"
                 " FROM departments WHERE dataset = ?1 ORDER BY code");
  q.Bind(1, dataset);
  while (q.Step()) {
    DepartmentRow r;
    r.code = static_cast<int32_t>(q.Int(0));
    platform::Utf8ToCp932(q.Text(1), &r.name);
    r.kind = static_cast<uint8_t>(q.Int(2));
    r.linkField = static_cast<int32_t>(q.Int(3));
    r.incomeType = static_cast<uint8_t>(q.Int(4));
    rows->push_back(std::move(r));
  }
  return q.ok();
}

void FillDepartmentInfo(const DepartmentRow& row, host::StBUMONINFO* info) {
  info->SetI32(host::StBUMONINFO::kCodeOff, row.code);
  info->SetI32(host::StBUMONINFO::kLinkOff, row.linkField);
  info->SetText(host::StBUMONINFO::kNameOff, host::StBUMONINFO::kNameCap, row.name);
  info->SetU8(host::StBUMONINFO::kKindOff, row.kind);
  info->SetU8(host::StBUMONINFO::kIncomeTypeOff, row.incomeType);
}

namespace {

class LedgerSetBumon : public host::ClSetBumon {
 public:
  explicit LedgerSetBumon(LedgerDb& db) : binding_(db) {}

  void AttachSetMgr(host::ClSetMgr*) override {}
  void SetCurDataID(const char* dataId) override {
    binding_.Bind(dataId);
    loaded_ = false;
  }

  long GetBmnCount(long* count, int) override {
    if (count == nullptr) return kWalkBadArgument;
    *count = 0;
    long status = Load();
    if (status == host::kOk) *count = static_cast<long>(rows_.size());
    return status;
  }

  long GetCursor(host::Cursor* cursor) override { return cursors_.Open(cursor); }

  long ReadyCursor(host::Cursor cursor) override {
    size_t* pos = cursors_.Find(cursor);
    if (pos == nullptr) return kWalkBadCursor;
    *pos = 0;
    return Load();
  }

  long Walk(host::StBUMONINFO* department, host::Cursor cursor) override {
    size_t* pos = cursors_.Find(cursor);
    if (pos == nullptr) return kWalkBadCursor;
    if (department == nullptr) return kWalkBadArgument;
    long status = Load();
    if (status != host::kOk) return status;
    if (*pos >= rows_.size()) return host::kEndOfData;
    department->Clear();
    FillDepartmentInfo(rows_[(*pos)++], department);
    return host::kOk;
  }

  // A department that is not found leaves the record zeroed, so a caller
  // that does not check the result sees "no department" rather than the
  // previous lookup's.
  long GetInfoByCode(long code, host::StBUMONINFO* department, host::Cursor cursor) override {
    if (department == nullptr) return kWalkBadArgument;
    department->Clear();
    if (cursors_.Find(cursor) == nullptr) return kWalkBadCursor;
    long status = Load();
    if (status != host::kOk) return status;
    auto it = std::lower_bound(rows_.begin(), rows_.end(), code,
                               [](const DepartmentRow& r, long c) { return r.code < c; });
    if (it == rows_.end() || it->code != code) return host::kEndOfData;
    FillDepartmentInfo(*it, department);
    return host::kOk;
  }

  long ReleaseCursor(host::Cursor cursor) override { return cursors_.Release(cursor); }

 private:
  // Reads the departments once per dataset binding.
  long Load() {
    if (loaded_) return host::kOk;
    if (binding_.Dataset() == 0) return kWalkNoDataset;
    if (!LoadDepartmentRows(binding_.db(), binding_.Dataset(), &rows_)) return kWalkReadFailed;
    loaded_ = true;
    return host::kOk;
  }

  DatasetBinding binding_;
  bool loaded_ = false;
  std::vector<DepartmentRow> rows_;
  WalkCursors cursors_;
};

}  // namespace

std::unique_ptr<host::ClSetBumon> NewLedgerSetBumon(LedgerDb& db) {
  return std::make_unique<LedgerSetBumon>(db);
}

}  // namespace ltb::ledger
