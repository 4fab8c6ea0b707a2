// The connection, managers, sets, accounting period, tax-return store and
// tooltip manager of the fake host. The walkers are in fake_walkers.cc.
#include "host/testing/fake_host.h"

#include <algorithm>
#include <cstdio>

#include "host/testing/condition_match.h"

namespace ltb::testing {

using host::Cursor;
using host::StFINDINFO;

bool FakeHost::JournalMatches(const FakeJournalEntry& e, const StFINDINFO* condition) const {
  using E = host::StSWKTINFO;
  return ConditionMatches(condition, [&](int32_t field, int16_t side) -> std::optional<int64_t> {
    if (field == StFINDINFO::kTaxCategory) {
      if (side == 1) return e.record.Category(E::kDebitOff);
      if (side == 2) return e.record.Category(E::kCreditOff);
      return std::nullopt;
    }
    if (field == StFINDINFO::kMonth) return e.month;
    return std::nullopt;
  });
}

namespace {

// Accounting months are calendar months; the year follows periodStart.
class FakePeriod : public host::ClAccPeriod {
 public:
  explicit FakePeriod(FakeHost& h) : host_(h) {}
  long GetPeriod(long* first, long* last) override {
    *first = host_.periodStart;
    *last = host_.periodEnd;
    return 0;
  }
  long GetPeriodByAMonth(int month, long* first, long* last, int) override {
    const int startYear = host_.periodStart / 10000;
    const int startMonth = host_.periodStart / 100 % 100;
    const int year = month >= startMonth ? startYear : startYear + 1;
    *first = year * 10000L + month * 100 + 1;
    *last = year * 10000L + month * 100 + 28;
    return 0;
  }
  long GetPeriodByMonthKind(int slot, long* from, long* to, int) override {
    auto it = host_.slotDates.find(slot);
    if (it == host_.slotDates.end()) return 1;
    *from = it->second.first;
    *to = it->second.second;
    return 0;
  }
  long GetAMonthByDate(long date, int* month, int) override {
    if (date == 0) return 3;  // no such date in the period
    *month = static_cast<int>(date / 100 % 100);
    return 0;
  }
  long SetPeriod(long, long) override { return 0; }
  long GetClosingDayByEndDate(long, int, int* day) override {
    *day = 31;
    return 0;
  }
  long SetClosingDay(int) override { return 0; }

 private:
  FakeHost& host_;
};

class FakeTaxReturnStore : public host::ClSaveTaxShiryo {
 public:
  explicit FakeTaxReturnStore(FakeHost& h) : host_(h) {}
  void AttachSetMgr(host::ClSetMgr*) override {}
  void SetCurDataID(const char*) override {}
  void AttachOptLink(host::ClOptLink*) override {}
  long RefreshCache() override { return 0; }
  long GetTaxSaveInfo(host::StSaveTaxInfo* info) override {
    *info = host_.saved;
    return host_.saveReadResult;
  }

 private:
  FakeHost& host_;
};

// Hands every row of the table to the owner.
class FakeToolTipMgr : public host::ClToolTipMgr {
 public:
  void Init(host::ToolTipOwner* owner, const host::TOOLTIPMSG_TABLE* table,
            unsigned long count) override {
    for (unsigned long i = 0; i < count; ++i) owner->AddToolTip(table[i].controlId, table[i].text);
  }
};

class FakeSetData : public host::ClSetData {
 public:
  explicit FakeSetData(FakeHost& h) : host_(h) {}
  void AttachSetMgr(host::ClSetMgr*) override {}
  void SetCurDataID(const char*) override {}
  long GetDatCursor(Cursor* cursor) override {
    *cursor = 7;
    ++host_.openDatasetCursors;
    next_ = 0;
    return 0;
  }
  long ReadyDat(Cursor, int) override { return 0; }
  long WalkDat(host::StDATAINFO* record, Cursor) override {
    if (next_ >= host_.datasets.size()) return host::kEndOfData;
    *record = host_.datasets[next_++];
    return 0;
  }
  long ReleaseDatCursor(Cursor) override {
    --host_.openDatasetCursors;
    return 0;
  }
  const host::StDATAINFO* GetSelectedInfo() override { return &host_.dataset; }
  long GetAccPeriod(std::unique_ptr<host::ClAccPeriod>* period) override {
    if (host_.cannotCreate.count("Period")) return host::kCannotCreate;
    *period = std::make_unique<FakePeriod>(host_);
    return 0;
  }

 private:
  FakeHost& host_;
  size_t next_ = 0;
};

class FakeSetShohizei : public host::ClSetShohizei {
 public:
  explicit FakeSetShohizei(FakeHost& h) : host_(h) {}
  void AttachSetMgr(host::ClSetMgr*) override {}
  void SetCurDataID(const char*) override {}
  long Get(host::StSHOHIZEIINFO* info) override {
    if (host_.taxSettingsStatus == 0) *info = host_.taxSettings;
    return host_.taxSettingsStatus;
  }
  long GetTaxRateCount() override { return host_.taxRateCount; }

 private:
  FakeHost& host_;
};

class FakeSetKamoku : public host::ClSetKamoku {
 public:
  explicit FakeSetKamoku(FakeHost& h) : host_(h) {}
  void AttachSetMgr(host::ClSetMgr*) override {}
  void SetCurDataID(const char*) override {}
  long GetCursor(Cursor* cursor) override {
    *cursor = 1;
    return 0;
  }
  long ReadyCursor(Cursor) override {
    next_ = 0;
    return 0;
  }
  long WalkFind(const StFINDINFO* condition, host::StKAMOKUINFO* account, Cursor) override {
    while (next_ < host_.accounts.size()) {
      const host::StKAMOKUINFO& a = host_.accounts[next_++];
      const bool match = ConditionMatches(condition, [&](int32_t field, int16_t) {
        return field == StFINDINFO::kClassCode ? std::optional<int64_t>(a.ClassCode())
                                               : std::nullopt;
      });
      if (match) {
        *account = a;
        return 0;
      }
    }
    return host::kEndOfData;
  }
  long ReleaseCursor(Cursor) override {
    host_.Log("Kamoku.ReleaseCursor");
    return 0;
  }

 private:
  FakeHost& host_;
  size_t next_ = 0;
};

class FakeSetBumon : public host::ClSetBumon {
 public:
  explicit FakeSetBumon(FakeHost& h) : host_(h) {}
  void AttachSetMgr(host::ClSetMgr*) override {}
  void SetCurDataID(const char*) override {}
  long GetBmnCount(long* count, int) override {
    *count = static_cast<long>(host_.departments.size());
    return 0;
  }
  long GetCursor(Cursor* cursor) override {
    ++host_.openDepartmentCursors;
    *cursor = 1;
    return 0;
  }
  long ReadyCursor(Cursor) override {
    next_ = 0;
    return 0;
  }
  long Walk(host::StBUMONINFO* department, Cursor) override {
    if (next_ >= host_.departments.size()) return host::kEndOfData;
    *department = host_.departments[next_++];
    return 0;
  }
  // Leaves the record as it was when the code is unknown, as the host does.
  long GetInfoByCode(long code, host::StBUMONINFO* department, Cursor) override {
    for (const auto& d : host_.departments) {
      if (d.Code() == code) {
        *department = d;
        return 0;
      }
    }
    return 4;
  }
  long ReleaseCursor(Cursor) override {
    --host_.openDepartmentCursors;
    return 0;
  }

 private:
  FakeHost& host_;
  size_t next_ = 0;
};

class FakeSetMgr : public host::ClSetMgr {
 public:
  explicit FakeSetMgr(FakeHost& h) : host_(h) {}
  host::ClSetBase* GetSetObject(long id, int) override {
    switch (id) {
      case host::kSetKamoku: return accounts;
      case host::kSetBumon: return departments;
      case host::kSetShohizei: return host_.hasTaxSettingsSet ? taxSettings : nullptr;
      case host::kSetData: return data;
    }
    return nullptr;
  }
  host::ClSetBase* accounts = nullptr;
  host::ClSetBase* departments = nullptr;
  host::ClSetBase* taxSettings = nullptr;
  host::ClSetBase* data = nullptr;

 private:
  FakeHost& host_;
};

class FakeSysUser : public host::ClSysUser {
 public:
  explicit FakeSysUser(FakeHost& h) : host_(h) {}
  long GetCurUserID(char userId[65]) override {
    std::snprintf(userId, 65, "%s", "user1");
    return 0;
  }
  long GetSelectedNo(const char*, long* first, long* second) override {
    *first = 1;
    *second = host_.selectedNo;
    return 0;
  }

 private:
  FakeHost& host_;
};

class FakeDataMgr : public host::ClDataMgr {
 public:
  FakeDataMgr(FakeHost& h, host::ClSetMgr& m) : setMgr_(m), user_(h) {}
  host::ClSetBase* GetSetObject(long id, int create) override {
    return setMgr_.GetSetObject(id, create);
  }
  host::ClSetMgr* GetSetMgr() override { return &setMgr_; }
  host::ClSysUser* GetSysUserObject() override { return &user_; }

 private:
  host::ClSetMgr& setMgr_;
  FakeSysUser user_;
};

// Records the connection calls by name, and the messages shown.
class FakeAccConnect : public host::ClAccConnect {
 public:
  explicit FakeAccConnect(FakeHost& h) : host_(h) {}
  void SetCaption(const char*) override { host_.Log("SetCaption"); }
  void SetAppType(int type) override {
    host_.appType = type;
    host_.Log("SetAppType");
  }
  void SetUseDataType(long) override { host_.Log("SetUseDataType"); }
  long Initiate() override {
    host_.Log("Initiate");
    return host_.initiateResult;
  }
  void SetOwnerWindow(host::WindowHandle owner) override {
    host_.ownerWindow = owner;
    host_.Log("SetOwnerWindow");
  }
  long ExpSysLink() override {
    host_.Log("ExpSysLink");
    return host_.expSysLinkResult;
  }
  int DispMsg(host::WindowHandle owner, const char* text, const char*, unsigned) override {
    host_.dispOwner = owner;
    host_.dispMessages.push_back(text);
    return 1;
  }
  void LogOut() override { host_.Log("LogOut"); }
  void Terminate() override { host_.Log("Terminate"); }
  void Release() override { host_.Log("Release"); }

 private:
  FakeHost& host_;
};

class FakeLinkMgr : public host::ClLinkMgr {
 public:
  host::ClOptLink* GetOptLink() override { return nullptr; }
};

class FakeMsgMgr : public host::ClMsgMgr {
 public:
  explicit FakeMsgMgr(FakeHost& h) : host_(h) {}
  long SetLastError(long code, const char* source, unsigned long line) override {
    host_.lastErrors.push_back({code, source ? source : "", line});
    return code;
  }
  int CheckFatalErrorWithMsg(long code, long, int, host::WindowHandle) override {
    const auto& fatal = host_.fatalCodes;
    return std::find(fatal.begin(), fatal.end(), code) != fatal.end() ? 1 : 0;
  }

 private:
  FakeHost& host_;
};

class FakeFileMgr : public host::ClFileMgr {
 public:
  explicit FakeFileMgr(FakeHost& h) : host_(h) {}
  std::string GetAppFolderPath(int type) override {
    auto it = host_.folders.find(type);
    return it == host_.folders.end() ? std::string() : it->second;
  }

 private:
  FakeHost& host_;
};

}  // namespace

struct FakeHost::Parts {
  explicit Parts(FakeHost& h)
      : setMgr(h),
        dataMgr(h, setMgr),
        accConnect(h),
        msgMgr(h),
        fileMgr(h),
        dataSet(h),
        taxSet(h),
        accountSet(h),
        departmentSet(h) {
    setMgr.accounts = &accountSet;
    setMgr.departments = &departmentSet;
    setMgr.taxSettings = &taxSet;
    setMgr.data = &dataSet;
  }
  FakeSetMgr setMgr;
  FakeDataMgr dataMgr;
  FakeAccConnect accConnect;
  FakeLinkMgr linkMgr;
  FakeMsgMgr msgMgr;
  FakeFileMgr fileMgr;
  FakeSetData dataSet;
  FakeSetShohizei taxSet;
  FakeSetKamoku accountSet;
  FakeSetBumon departmentSet;
};

FakeHost::FakeHost() : parts_(std::make_unique<Parts>(*this)) {}
FakeHost::~FakeHost() = default;

host::ClAccConnect& FakeHost::AccConnect() { return parts_->accConnect; }
host::ClDataMgr& FakeHost::DataMgr() { return parts_->dataMgr; }
host::ClLinkMgr& FakeHost::LinkMgr() { return parts_->linkMgr; }
host::ClMsgMgr& FakeHost::MsgMgr() { return parts_->msgMgr; }
host::ClFileMgr& FakeHost::FileMgr() { return parts_->fileMgr; }

std::unique_ptr<host::ClAccPeriod> FakeHost::NewAccPeriod() {
  if (cannotCreate.count("Period")) return nullptr;
  return std::make_unique<FakePeriod>(*this);
}

std::unique_ptr<host::ClSaveTaxShiryo> FakeHost::NewSaveTaxShiryo() {
  if (cannotCreate.count("SaveTaxShiryo")) return nullptr;
  return std::make_unique<FakeTaxReturnStore>(*this);
}

std::unique_ptr<host::ClToolTipMgr> FakeHost::NewToolTipMgr() {
  return std::make_unique<FakeToolTipMgr>();
}

}  // namespace ltb::testing
