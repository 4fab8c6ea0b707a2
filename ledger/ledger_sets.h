// The dataset set, the tax-settings set and the user object.
#pragma once

#include <string>

#include "host/host.h"
#include "ledger/ledger_session.h"
#include "ledger/walk_cursors.h"

namespace ltb::ledger {

// Attach and data id common to the ledger's sets.
template <typename Base>
class LedgerSetBase : public Base {
 public:
  explicit LedgerSetBase(const LedgerSession& session) : session_(session) {}
  void AttachSetMgr(host::ClSetMgr*) override {}
  void SetCurDataID(const char* dataId) override { dataId_ = dataId ? dataId : ""; }

 protected:
  // The dataset this set works on; 0 when none.
  int Dataset() const { return session_.DatasetFor(dataId_); }
  const LedgerSession& session_;
  std::string dataId_;
};

// ClSetData: walks the datasets in number order.
class LedgerSetData : public LedgerSetBase<host::ClSetData> {
 public:
  using LedgerSetBase::LedgerSetBase;
  long GetDatCursor(host::Cursor* cursor) override;
  long ReadyDat(host::Cursor cursor, int mode) override;
  long WalkDat(host::StDATAINFO* record, host::Cursor cursor) override;
  long ReleaseDatCursor(host::Cursor cursor) override;
  const host::StDATAINFO* GetSelectedInfo() override;
  long GetAccPeriod(std::unique_ptr<host::ClAccPeriod>* period) override;

 private:
  WalkCursors cursors_;  // the position of a cursor is the last dataset number walked
  host::StDATAINFO selected_;
};

// ClSetShohizei: the tax settings of a dataset.
class LedgerSetShohizei : public LedgerSetBase<host::ClSetShohizei> {
 public:
  using LedgerSetBase::LedgerSetBase;
  long Get(host::StSHOHIZEIINFO* info) override;
  long GetTaxRateCount() override;
};

// ClSysUser: the current user and the datasets users have selected.
class LedgerSysUser : public host::ClSysUser {
 public:
  explicit LedgerSysUser(const LedgerSession& session) : session_(session) {}
  long GetCurUserID(char userId[65]) override;
  long GetSelectedNo(const char* userId, long* first, long* second) override;

 private:
  const LedgerSession& session_;
};

}  // namespace ltb::ledger
