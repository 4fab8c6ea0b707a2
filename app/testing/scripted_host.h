// A host library for the run driver's tests: every answer is a field the
// test sets, every call the driver makes is recorded in `calls`.
#pragma once

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/host.h"

namespace ltb::app::testing {

struct ScriptedHost;

class ScriptedPeriod : public host::ClAccPeriod {
 public:
  explicit ScriptedPeriod(ScriptedHost* h) : h_(h) {}
  long GetPeriod(long* first, long* last) override;
  long GetPeriodByAMonth(int month, long* first, long* last, int mode) override;
  long GetPeriodByMonthKind(int, long*, long*, int) override { return 0; }
  long GetAMonthByDate(long date, int* month, int mode) override;
  long SetPeriod(long, long) override { return 0; }
  long GetClosingDayByEndDate(long, int, int* day) override { *day = 31; return 0; }
  long SetClosingDay(int) override { return 0; }

 private:
  ScriptedHost* h_;
};

struct ScriptedHost : host::HostLibrary,
                      host::ClAccConnect,
                      host::ClDataMgr,
                      host::ClSetData,
                      host::ClSetShohizei,
                      host::ClSysUser,
                      host::ClLinkMgr,
                      host::ClMsgMgr,
                      host::ClFileMgr {
  // ---- script ----
  long initiateResult = 0;
  long expSysLinkResult = 0;
  std::vector<host::StDATAINFO> datasets;
  long selectedNo = 1;
  bool hasTaxSettings = true;
  long taxSettingsResult = 0;
  host::StSHOHIZEIINFO taxSettings;
  long rateCount = 3;
  int32_t periodStart = 20150401, periodEnd = 20160331;
  bool hasPeriod = true;
  bool canCreateSaveStore = true;
  long saveReadResult = 0;
  host::StSaveTaxInfo saved;
  std::vector<long> fatalCodes;  // codes CheckFatalErrorWithMsg calls fatal

  // ---- record ----
  std::vector<std::string> calls;
  std::vector<std::string> dispMessages;
  host::WindowHandle dispOwner = 0;
  host::WindowHandle ownerWindow = 0;
  int appType = -1;
  std::vector<std::pair<long, unsigned long>> lastErrors;
  int openCursors = 0;
  host::MessageSink sink;

  // HostLibrary
  host::ClAccConnect& AccConnect() override { return *this; }
  host::ClDataMgr& DataMgr() override { return *this; }
  host::ClLinkMgr& LinkMgr() override { return *this; }
  host::ClMsgMgr& MsgMgr() override { return *this; }
  host::ClFileMgr& FileMgr() override { return *this; }
  std::unique_ptr<host::ClAccPeriod> NewAccPeriod() override {
    return std::make_unique<ScriptedPeriod>(this);
  }
  std::unique_ptr<host::ClSaveTaxShiryo> NewSaveTaxShiryo() override;
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
  void SetMessageSink(host::MessageSink s) override { sink = std::move(s); }

  // ClAccConnect
  void SetCaption(const char*) override { calls.push_back("SetCaption"); }
  void SetAppType(int t) override { appType = t; calls.push_back("SetAppType"); }
  void SetUseDataType(long) override { calls.push_back("SetUseDataType"); }
  long Initiate() override { calls.push_back("Initiate"); return initiateResult; }
  void SetOwnerWindow(host::WindowHandle w) override {
    ownerWindow = w;
    calls.push_back("SetOwnerWindow");
  }
  long ExpSysLink() override { calls.push_back("ExpSysLink"); return expSysLinkResult; }
  int DispMsg(host::WindowHandle owner, const char* text, const char*, unsigned) override {
    dispOwner = owner;
    dispMessages.push_back(text);
    return 1;
  }
  void LogOut() override { calls.push_back("LogOut"); }
  void Terminate() override { calls.push_back("Terminate"); }
  void Release() override { calls.push_back("Release"); }

  // ClDataMgr
  host::ClSetBase* GetSetObject(long id, int) override {
    if (id == host::kSetData) return static_cast<host::ClSetData*>(this);
    if (id == host::kSetShohizei && hasTaxSettings) return static_cast<host::ClSetShohizei*>(this);
    return nullptr;
  }
  host::ClSetMgr* GetSetMgr() override { return nullptr; }
  host::ClSysUser* GetSysUserObject() override { return this; }

  // ClSetBase (shared by both sets)
  void AttachSetMgr(host::ClSetMgr*) override {}
  void SetCurDataID(const char*) override {}

  // ClSetData
  long GetDatCursor(host::Cursor* c) override { *c = 7; ++openCursors; walkPos = 0; return 0; }
  long ReadyDat(host::Cursor, int) override { return 0; }
  long WalkDat(host::StDATAINFO* r, host::Cursor) override {
    if (walkPos >= datasets.size()) return host::kEndOfData;
    *r = datasets[walkPos++];
    return 0;
  }
  long ReleaseDatCursor(host::Cursor) override { --openCursors; return 0; }
  const host::StDATAINFO* GetSelectedInfo() override { return &selected; }
  long GetAccPeriod(std::unique_ptr<host::ClAccPeriod>* p) override {
    if (!hasPeriod) return host::kCannotCreate;
    *p = std::make_unique<ScriptedPeriod>(this);
    return 0;
  }

  // ClSetShohizei
  long Get(host::StSHOHIZEIINFO* info) override {
    if (taxSettingsResult == 0) *info = taxSettings;
    return taxSettingsResult;
  }
  long GetTaxRateCount() override { return rateCount; }

  // ClSysUser
  long GetCurUserID(char id[65]) override {
    std::snprintf(id, 65, "%s", "tanaka");
    return 0;
  }
  long GetSelectedNo(const char*, long* a, long* b) override {
    *a = 1;
    *b = selectedNo;
    return 0;
  }

  // ClLinkMgr, ClMsgMgr, ClFileMgr
  host::ClOptLink* GetOptLink() override { return nullptr; }
  long SetLastError(long code, const char*, unsigned long line) override {
    lastErrors.emplace_back(code, line);
    return code;
  }
  int CheckFatalErrorWithMsg(long code, long, int, host::WindowHandle) override {
    for (long f : fatalCodes) {
      if (f == code) return 1;
    }
    return 0;
  }
  std::string GetAppFolderPath(int) override { return ""; }

  size_t walkPos = 0;
  host::StDATAINFO selected;
};

// A dataset record with the fields the driver reads.
host::StDATAINFO MakeDataset(int32_t number, const char* company, int32_t first,
                             int32_t last, int32_t interim = 0);

}  // namespace ltb::app::testing
