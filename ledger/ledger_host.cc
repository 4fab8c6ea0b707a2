#include "ledger/ledger_host.h"

#include "ledger/ledger_acc_period.h"
#include "ledger/ledger_connect.h"
#include "ledger/ledger_file_mgr.h"
#include "ledger/ledger_msg_mgr.h"
#include "ledger/ledger_save_tax.h"
#include "ledger/ledger_session.h"
#include "ledger/ledger_sets.h"
#include "ledger/ledger_tooltips.h"
#include "ledger/walker_factory.h"

namespace ltb::ledger {

std::string SampleLedgerHome(const platform::ProcessSettings& process) {
  std::string base;
  if (process.xdgDataHome.starts_with('/')) {
    base = process.xdgDataHome;
  } else {
    base = UserHomeFolder(process) + "/.local/share";
  }
  return base + "/ledtaxbridge/sample";
}

namespace {

// The data manager is also the set manager: both hand out the same
// process-wide sets.
class LedgerDataMgr : public host::ClDataMgr, public host::ClSetMgr {
 public:
  explicit LedgerDataMgr(LedgerSession& session)
      : session_(session), data_(session), tax_(session), user_(session) {}

  host::ClSetBase* GetSetObject(long id, int) override {
    switch (id) {
      case host::kSetData: return &data_;
      case host::kSetShohizei: return &tax_;
      case host::kSetKamoku:
        if (!kamoku_ && session_.db) kamoku_ = NewLedgerSetKamoku(*session_.db);
        return kamoku_.get();
      case host::kSetBumon:
        if (!bumon_ && session_.db) bumon_ = NewLedgerSetBumon(*session_.db);
        return bumon_.get();
      default: return nullptr;
    }
  }
  host::ClSetMgr* GetSetMgr() override { return this; }
  host::ClSysUser* GetSysUserObject() override { return &user_; }

  // The walker sets hold the ledger of the connection that made them.
  void DropLedgerSets() {
    kamoku_.reset();
    bumon_.reset();
  }

 private:
  LedgerSession& session_;
  LedgerSetData data_;
  LedgerSetShohizei tax_;
  LedgerSysUser user_;
  std::unique_ptr<host::ClSetKamoku> kamoku_;
  std::unique_ptr<host::ClSetBumon> bumon_;
};

class LedgerLinkMgr : public host::ClLinkMgr {
 public:
  explicit LedgerLinkMgr(LedgerSession& session) : session_(session) {}
  host::ClOptLink* GetOptLink() override { return &session_.optLink; }

 private:
  LedgerSession& session_;
};

// A new connection drops the sets of the previous one (their ledger stays
// alive as the session's retired ledger, so pointers the program kept do not
// dangle).
class HostConnect : public LedgerConnect {
 public:
  HostConnect(LedgerSession& session, LedgerDataMgr& data) : LedgerConnect(session), data_(data) {}
  long Initiate() override {
    data_.DropLedgerSets();
    return LedgerConnect::Initiate();
  }

 private:
  LedgerDataMgr& data_;
};

LedgerSession MakeSession(const LedgerOptions& options) {
  LedgerSession s;
  s.options = options;
  return s;
}

class LedgerHost : public host::HostLibrary {
 public:
  explicit LedgerHost(const LedgerOptions& options)
      : session_(MakeSession(options)),
        data_(session_),
        connect_(session_, data_),
        link_(session_),
        msg_(session_),
        files_(session_) {}

  host::ClAccConnect& AccConnect() override { return connect_; }
  host::ClDataMgr& DataMgr() override { return data_; }
  host::ClLinkMgr& LinkMgr() override { return link_; }
  host::ClMsgMgr& MsgMgr() override { return msg_; }
  host::ClFileMgr& FileMgr() override { return files_; }

  std::unique_ptr<host::ClAccPeriod> NewAccPeriod() override {
    return std::make_unique<LedgerAccPeriod>();
  }
  std::unique_ptr<host::ClSaveTaxShiryo> NewSaveTaxShiryo() override {
    return std::make_unique<LedgerSaveTax>(session_);
  }
  std::unique_ptr<host::ClToolTipMgr> NewToolTipMgr() override {
    return std::make_unique<LedgerToolTipMgr>();
  }
  // Walkers need the open ledger: before Initiate they cannot be created.
  std::unique_ptr<host::ClRuleShohizeiShinkoku> NewRuleShohizeiShinkoku() override {
    return session_.db ? NewLedgerRuleShohizeiShinkoku(*session_.db) : nullptr;
  }
  std::unique_ptr<host::ClRuleShohizei> NewRuleShohizei() override {
    return session_.db ? NewLedgerRuleShohizei(*session_.db) : nullptr;
  }
  std::unique_ptr<host::ClRuleShiwake> NewRuleShiwake() override {
    return session_.db ? NewLedgerRuleShiwake(*session_.db) : nullptr;
  }
  std::unique_ptr<host::ClRuleKamoku> NewRuleKamoku() override {
    return session_.db ? NewLedgerRuleKamoku(*session_.db) : nullptr;
  }
  std::unique_ptr<host::ClRuleGenkashokyaku> NewRuleGenkashokyaku() override {
    return session_.db ? NewLedgerRuleGenkashokyaku(*session_.db) : nullptr;
  }

  void SetMessageSink(host::MessageSink sink) override { session_.sink = std::move(sink); }
  void SetStopCheck(host::StopCheck check) override {
    session_.stopCheck = std::move(check);
    if (session_.db) session_.db->set_stop_check(session_.stopCheck);
  }

 private:
  LedgerSession session_;
  LedgerDataMgr data_;
  HostConnect connect_;
  LedgerLinkMgr link_;
  LedgerMsgMgr msg_;
  LedgerFileMgr files_;
};

}  // namespace

std::unique_ptr<host::HostLibrary> OpenLedgerHost(const LedgerOptions& options) {
  return std::make_unique<LedgerHost>(options);
}

}  // namespace ltb::ledger
