// A hand-written host for the report's tests: a tax settings set with a
// chosen rate count (or none), and inert managers for the rest.
#pragma once

#include <memory>
#include <string>

#include "host/host.h"

namespace ltb::report::testing {

class FakeTaxSettings : public host::ClSetShohizei {
 public:
  void AttachSetMgr(host::ClSetMgr*) override {}
  void SetCurDataID(const char*) override {}
  long Get(host::StSHOHIZEIINFO* info) override {
    info->Clear();
    return host::kOk;
  }
  long GetTaxRateCount() override { return rateCount; }
  long rateCount = 3;
};

class FakeDataMgr : public host::ClDataMgr {
 public:
  host::ClSetBase* GetSetObject(long id, int) override {
    return id == host::kSetShohizei && hasTaxSettings ? &taxSettings : nullptr;
  }
  host::ClSetMgr* GetSetMgr() override { return nullptr; }
  host::ClSysUser* GetSysUserObject() override { return nullptr; }
  FakeTaxSettings taxSettings;
  bool hasTaxSettings = true;
};

class InertAccConnect : public host::ClAccConnect {
 public:
  void SetCaption(const char*) override {}
  void SetAppType(int) override {}
  void SetUseDataType(long) override {}
  long Initiate() override { return 0; }
  void SetOwnerWindow(host::WindowHandle) override {}
  long ExpSysLink() override { return 0; }
  int DispMsg(host::WindowHandle, const char*, const char*, unsigned) override { return 1; }
  void LogOut() override {}
  void Terminate() override {}
  void Release() override {}
};

class InertLinkMgr : public host::ClLinkMgr {
 public:
  host::ClOptLink* GetOptLink() override { return nullptr; }
};

class InertMsgMgr : public host::ClMsgMgr {
 public:
  long SetLastError(long code, const char*, unsigned long) override { return code; }
  int CheckFatalErrorWithMsg(long code, long, int, host::WindowHandle) override {
    return code != 0;
  }
};

class InertFileMgr : public host::ClFileMgr {
 public:
  std::string GetAppFolderPath(int) override { return {}; }
};

class FakeHost : public host::HostLibrary {
 public:
  host::ClAccConnect& AccConnect() override { return connect_; }
  host::ClDataMgr& DataMgr() override { return dataMgr; }
  host::ClLinkMgr& LinkMgr() override { return link_; }
  host::ClMsgMgr& MsgMgr() override { return msg_; }
  host::ClFileMgr& FileMgr() override { return files_; }
  std::unique_ptr<host::ClAccPeriod> NewAccPeriod() override { return nullptr; }
  std::unique_ptr<host::ClSaveTaxShiryo> NewSaveTaxShiryo() override { return nullptr; }
  std::unique_ptr<host::ClToolTipMgr> NewToolTipMgr() override { return nullptr; }
  std::unique_ptr<host::ClRuleShohizeiShinkoku> NewRuleShohizeiShinkoku() override {
    return nullptr;
  }
  std::unique_ptr<host::ClRuleShohizei> NewRuleShohizei() override { return nullptr; }
  std::unique_ptr<host::ClRuleShiwake> NewRuleShiwake() override { return nullptr; }
  std::unique_ptr<host::ClRuleKamoku> NewRuleKamoku() override { return nullptr; }
  std::unique_ptr<host::ClRuleGenkashokyaku> NewRuleGenkashokyaku() override {
    return nullptr;
  }
  void SetMessageSink(host::MessageSink) override {}

  FakeDataMgr dataMgr;

 private:
  InertAccConnect connect_;
  InertLinkMgr link_;
  InertMsgMgr msg_;
  InertFileMgr files_;
};

}  // namespace ltb::report::testing
