// Test support: the host as the conditions dialog sees it: the folders of
// ClFileMgr, a ClAccPeriod whose accounting months are calendar months, and
// a tooltip manager that hands its table to the owner.
#pragma once

#include <cstdlib>
#include <map>
#include <string>

#include "host/host.h"

namespace ltb::dialog::testing {

class FakeFileMgr : public host::ClFileMgr {
 public:
  std::string GetAppFolderPath(int type) override { return folders[type]; }
  std::map<int, std::string> folders;
};

class CalendarPeriod : public host::ClAccPeriod {
 public:
  long GetPeriod(long*, long*) override { return 0; }
  long GetPeriodByAMonth(int, long*, long*, int) override { return 0; }
  long GetPeriodByMonthKind(int, long*, long*, int) override { return 0; }
  long GetAMonthByDate(long date, int* month, int) override {
    *month = static_cast<int>((date % 10000) / 100);
    return 0;
  }
  long SetPeriod(long, long) override { return 0; }
  long GetClosingDayByEndDate(long, int, int* day) override {
    *day = 31;
    return 0;
  }
  long SetClosingDay(int) override { return 0; }
};

class FakeToolTipMgr : public host::ClToolTipMgr {
 public:
  void Init(host::ToolTipOwner* owner, const host::TOOLTIPMSG_TABLE* table,
            unsigned long count) override {
    for (unsigned long i = 0; i < count; ++i) owner->AddToolTip(table[i].controlId, table[i].text);
  }
};

class FakeHost : public host::HostLibrary {
 public:
  host::ClAccConnect& AccConnect() override { std::abort(); }
  host::ClDataMgr& DataMgr() override { std::abort(); }
  host::ClLinkMgr& LinkMgr() override { std::abort(); }
  host::ClMsgMgr& MsgMgr() override { std::abort(); }
  host::ClFileMgr& FileMgr() override { return files; }
  std::unique_ptr<host::ClAccPeriod> NewAccPeriod() override {
    if (!periodAvailable) return nullptr;
    return std::make_unique<CalendarPeriod>();
  }
  std::unique_ptr<host::ClSaveTaxShiryo> NewSaveTaxShiryo() override { return nullptr; }
  std::unique_ptr<host::ClToolTipMgr> NewToolTipMgr() override {
    return std::make_unique<FakeToolTipMgr>();
  }
  std::unique_ptr<host::ClRuleShohizeiShinkoku> NewRuleShohizeiShinkoku() override {
    return nullptr;
  }
  std::unique_ptr<host::ClRuleShohizei> NewRuleShohizei() override { return nullptr; }
  std::unique_ptr<host::ClRuleShiwake> NewRuleShiwake() override { return nullptr; }
  std::unique_ptr<host::ClRuleKamoku> NewRuleKamoku() override { return nullptr; }
  std::unique_ptr<host::ClRuleGenkashokyaku> NewRuleGenkashokyaku() override { return nullptr; }
  void SetMessageSink(host::MessageSink) override {}

  FakeFileMgr files;
  bool periodAvailable = true;
};

}  // namespace ltb::dialog::testing
