#include "ledger/sets_walk_kamoku.h"

#include "ledger/find_condition_eval.h"
#include "ledger/rule_common.h"
#include "ledger/sql_statement.h"
#include "ledger/walk_cursors.h"
#include "ledger/walker_factory.h"
#include "platform/cp932.h"

namespace ltb::ledger {

bool LoadAccountRows(LedgerDb& db, int dataset, std::vector<AccountRow>* rows) {
  rows->clear();
  SqlStatement q(db.handle(),
                 "SELECT code, code_text, class_code, balance_side, summary_line,"
                 " exclusion_a, exclusion_b, list_exclusion"
                 " FROM accounts WHERE dataset = ?1 ORDER BY code");
  q.Bind(1, dataset);
  while (q.Step()) {
    AccountRow r;
    r.code = static_cast<int32_t>(q.Int(0));
    platform::Utf8ToCp932(q.Text(1), &r.codeText);
    r.classCode = static_cast<int32_t>(q.Int(2));
    r.balanceSide = static_cast<uint8_t>(q.Int(3));
    r.summaryLine = static_cast<uint8_t>(q.Int(4));
    r.exclusionA = static_cast<uint8_t>(q.Int(5));
    r.exclusionB = static_cast<uint8_t>(q.Int(6));
    r.listExclusion = static_cast<uint8_t>(q.Int(7));
    rows->push_back(std::move(r));
  }
  return q.ok();
}

void FillAccountInfo(const AccountRow& row, host::StKAMOKUINFO* info) {
  info->SetI32(host::StKAMOKUINFO::kCodeOff, row.code);
  info->SetText(host::StKAMOKUINFO::kCodeTextOff, host::StKAMOKUINFO::kCodeTextCap, row.codeText);
  info->SetU8(host::StKAMOKUINFO::kListExclusionOff, row.listExclusion);
  info->SetI32(host::StKAMOKUINFO::kClassCodeOff, row.classCode);
}

namespace {

// An account as seen by a search condition: field 16 is its class code.
struct AccountView {
  const AccountRow& row;
  bool Test(const FindTerm& t) const {
    return t.field == host::StFINDINFO::kClassCode &&
           CompareValues(t.compare, row.classCode, t.value);
  }
};

class LedgerSetKamoku : public host::ClSetKamoku {
 public:
  explicit LedgerSetKamoku(LedgerDb& db) : binding_(db) {}

  void AttachSetMgr(host::ClSetMgr*) override {}
  void SetCurDataID(const char* dataId) override { binding_.Bind(dataId); }

  long GetCursor(host::Cursor* cursor) override { return cursors_.Open(cursor); }

  long ReadyCursor(host::Cursor cursor) override {
    size_t* pos = cursors_.Find(cursor);
    if (pos == nullptr) return kWalkBadCursor;
    *pos = 0;
    if (binding_.Dataset() == 0) return kWalkNoDataset;
    return LoadAccountRows(binding_.db(), binding_.Dataset(), &rows_) ? host::kOk : kWalkReadFailed;
  }

  long WalkFind(const host::StFINDINFO* condition, host::StKAMOKUINFO* account,
                host::Cursor cursor) override {
    size_t* pos = cursors_.Find(cursor);
    if (pos == nullptr) return kWalkBadCursor;
    if (account == nullptr) return kWalkBadArgument;
    CompiledCondition match(condition);
    while (*pos < rows_.size()) {
      const AccountRow& row = rows_[(*pos)++];
      if (match.Matches(AccountView{row})) {
        account->Clear();
        FillAccountInfo(row, account);
        return host::kOk;
      }
    }
    return host::kEndOfData;
  }

  long ReleaseCursor(host::Cursor cursor) override { return cursors_.Release(cursor); }

 private:
  DatasetBinding binding_;
  std::vector<AccountRow> rows_;
  WalkCursors cursors_;
};

}  // namespace

std::unique_ptr<host::ClSetKamoku> NewLedgerSetKamoku(LedgerDb& db) {
  return std::make_unique<LedgerSetKamoku>(db);
}

}  // namespace ltb::ledger
