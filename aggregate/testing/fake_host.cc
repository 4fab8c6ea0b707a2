#include "aggregate/testing/fake_host.h"

#include <algorithm>
#include <cstdio>

namespace ltb::testing {

using host::Cursor;
using host::StFINDINFO;

// ---- Record builders ----------------------------------------------------------

host::StKAMOKUINFO MakeAccount(int32_t code, int32_t classCode, uint8_t listExclusion) {
  host::StKAMOKUINFO a;
  a.SetI32(host::StKAMOKUINFO::kCodeOff, code);
  a.SetText(host::StKAMOKUINFO::kCodeTextOff, host::StKAMOKUINFO::kCodeTextCap,
            std::to_string(code));
  a.SetU8(host::StKAMOKUINFO::kListExclusionOff, listExclusion);
  a.SetI32(host::StKAMOKUINFO::kClassCodeOff, classCode);
  return a;
}

host::StKAMOKUSUMINFO MakeAccountSums(int32_t classCode, uint8_t summaryLine,
                                      uint8_t balanceSide) {
  host::StKAMOKUSUMINFO s;
  s.SetI32(host::StKAMOKUSUMINFO::kClassCodeOff, classCode);
  s.SetU8(host::StKAMOKUSUMINFO::kSummaryLineOff, summaryLine);
  s.SetU8(host::StKAMOKUSUMINFO::kBalanceSideOff, balanceSide);
  return s;
}

void SetSlot(host::StKAMOKUSUMINFO* s, int slot, int64_t debit, int64_t credit,
             bool taxIncluded) {
  using K = host::StKAMOKUSUMINFO;
  s->SetI64((taxIncluded ? K::kDebitInOff : K::kDebitExOff) + 8 * slot, debit);
  s->SetI64((taxIncluded ? K::kCreditInOff : K::kCreditExOff) + 8 * slot, credit);
}

host::StSWKTINFO MakeEntry(const JournalSide& debit, const JournalSide& credit) {
  using E = host::StSWKTINFO;
  E e;
  for (auto [off, side] : {std::pair<size_t, const JournalSide*>{E::kDebitOff, &debit},
                           {E::kCreditOff, &credit}}) {
    e.SetI32(off + E::kAccount, side->account);
    e.SetI32(off + E::kDepartment, side->department);
    e.SetI64(off + E::kAmount, side->amount);
    e.SetI64(off + E::kTax, side->tax);
    e.SetU8(off + E::kCategory, side->category);
  }
  return e;
}

host::StBUMONINFO MakeDepartment(int32_t code, uint8_t kind, int32_t link, uint8_t incomeType) {
  host::StBUMONINFO d;
  d.SetI32(host::StBUMONINFO::kCodeOff, code);
  d.SetI32(host::StBUMONINFO::kLinkOff, link);
  d.SetU8(host::StBUMONINFO::kKindOff, kind);
  d.SetU8(host::StBUMONINFO::kIncomeTypeOff, incomeType);
  return d;
}

host::StKOTEISHISANINFO MakeAsset(int32_t kind, int64_t amount, int16_t incomeType) {
  host::StKOTEISHISANINFO a;
  a.SetI32(host::StKOTEISHISANINFO::kKindOff, kind);
  a.SetI64(host::StKOTEISHISANINFO::kAmountOff, amount);
  a.SetI16(host::StKOTEISHISANINFO::kIncomeTypeOff, incomeType);
  return a;
}

host::StTAXSUMINFO MakeTaxSumLine(const std::string& codeText, int64_t amount) {
  host::StTAXSUMINFO t;
  t.SetText(host::StTAXSUMINFO::kCodeTextOff, host::StTAXSUMINFO::kCodeTextCap, codeText);
  t.SetI64(host::StTAXSUMINFO::kAmountOff, amount);
  return t;
}

// ---- Condition evaluation ------------------------------------------------------

bool ConditionMatches(const StFINDINFO* items,
                      const std::function<std::optional<int64_t>(int32_t, int16_t)>& valueOf) {
  // OR of AND-chains; a runaway array (no last item) is cut off.
  constexpr int kMaxItems = 64;
  bool any = false;
  bool chain = true;
  for (int i = 0; i < kMaxItems; ++i) {
    const StFINDINFO& item = items[i];
    bool v = false;
    if (item.FieldId() == StFINDINFO::kGroup) {
      v = item.nested && ConditionMatches(item.nested, valueOf);
    } else if (auto value = valueOf(item.FieldId(), item.Side())) {
      switch (item.Compare()) {
        case StFINDINFO::kEqual: v = *value == item.Value(); break;
        case StFINDINFO::kAtLeast: v = *value >= item.Value(); break;
        case StFINDINFO::kLessThan: v = *value < item.Value(); break;
        case StFINDINFO::kAtMost: v = *value <= item.Value(); break;
        default: v = false;
      }
    }
    chain = chain && v;
    const int16_t link = item.LinkToNext();
    if (link != StFINDINFO::kAnd) {
      any = any || chain;
      chain = true;
    }
    if (link == StFINDINFO::kLast) return any;
  }
  return any;
}

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

// ---- Fakes of the host objects ---------------------------------------------------

namespace {

// Counts the walker objects alive, as the host would hold their resources.
class LiveCount {
 public:
  explicit LiveCount(FakeHost& h) : host_(h) {
    ++host_.liveWalkers;
    ++host_.walkersCreated;
  }
  ~LiveCount() { --host_.liveWalkers; }

 protected:
  FakeHost& host_;
};

template <typename Base>
class FakeWalker : public Base, protected LiveCount {
 public:
  explicit FakeWalker(FakeHost& h) : LiveCount(h) {}
  void AttachSetMgr(host::ClSetMgr*) override {}
  void SetCurDataID(const char*) override {}
  void AttachOptLink(host::ClOptLink*) override {}
};

class FakeShinkoku : public FakeWalker<host::ClRuleShohizeiShinkoku> {
 public:
  using FakeWalker::FakeWalker;
  long SumTax(uint8_t filingClass, const StFINDINFO*, host::StTAXREPORTRATEINFO* rates,
              host::StTAXREPORTBUSINESSTYPEINFO* types) override {
    ++host_.taxReportCalls;
    host_.lastFilingClass = filingClass;
    if (host_.fillTaxReport) host_.fillTaxReport(rates, types, host_.taxRateCount);
    return 0;
  }
};

class FakeShohizei : public FakeWalker<host::ClRuleShohizei> {
 public:
  using FakeWalker::FakeWalker;
  long MoveReady(int, const int16_t* from, const int16_t* to, const long* rate, const void*,
                 int taxIncluded) override {
    host_.taxSumReadies.push_back({*from, *to, *rate, taxIncluded});
    lines_.clear();
    for (const auto& l : host_.taxSumLines) {
      if (l.rate == *rate) lines_.push_back(&l);
    }
    next_ = 0;
    return 0;
  }
  long GetSumInfoCount(long* count) override {
    *count = static_cast<long>(lines_.size());
    return 0;
  }
  long MoveNext(host::StTAXSUMINFO* line) override {
    if (next_ >= lines_.size()) return host::kEndOfData;
    const size_t i = next_++;
    if (static_cast<long>(i) == host_.taxSumFailAt) return 7;
    *line = lines_[i]->record;
    return 0;
  }
  long MoveFinish() override {
    host_.Log("Shohizei.MoveFinish");
    return 0;
  }

 private:
  std::vector<const FakeTaxSumLine*> lines_;
  size_t next_ = 0;
};

class FakeShiwake : public FakeWalker<host::ClRuleShiwake> {
 public:
  using FakeWalker::FakeWalker;
  long GetSwkCount(const StFINDINFO* condition, const void*, long* count) override {
    if (host_.swkCountStatus != 0) return host_.swkCountStatus;
    *count = static_cast<long>(std::count_if(
        host_.journal.begin(), host_.journal.end(),
        [&](const FakeJournalEntry& e) { return host_.JournalMatches(e, condition); }));
    return 0;
  }
  long MoveReady(const StFINDINFO* condition, const void*, const void*, int) override {
    selected_.clear();
    for (size_t i = 0; i < host_.journal.size(); ++i) {
      if (host_.JournalMatches(host_.journal[i], condition)) selected_.push_back(i);
    }
    next_ = 0;
    return 0;
  }
  long MoveNext(host::StSWKTINFO* entry) override {
    if (next_ >= selected_.size()) return host::kEndOfData;
    const size_t i = selected_[next_++];
    if (static_cast<long>(i) == host_.journalFailAt) return host_.journalFailStatus;
    *entry = host_.journal[i].record;
    return 0;
  }
  long MoveFinish() override {
    host_.Log("Shiwake.MoveFinish");
    return 0;
  }
  long CheckExistSwkByZeiRate(const StFINDINFO* condition, long* flags, int) override {
    if (host_.zeiRateStatus != 0) return host_.zeiRateStatus;
    for (const auto& e : host_.journal) {
      if (e.ratePercent == 10 && host_.JournalMatches(e, condition)) *flags |= 8;
    }
    return 0;
  }
  long CheckExistSwkByJigyoBunrui(const StFINDINFO* condition, int type, long* count) override {
    if (host_.jigyoBunruiStatus != 0) return host_.jigyoBunruiStatus;
    *count = static_cast<long>(std::count_if(
        host_.journal.begin(), host_.journal.end(), [&](const FakeJournalEntry& e) {
          return e.businessType == type && host_.JournalMatches(e, condition);
        }));
    return 0;
  }

 private:
  std::vector<size_t> selected_;
  size_t next_ = 0;
};

class FakeKamoku : public FakeWalker<host::ClRuleKamoku> {
 public:
  using FakeWalker::FakeWalker;
  long MoveReady(int, int departmentType, int, const StFINDINFO*,
                 const host::StBUMONINFO* department, int) override {
    host_.kamokuDepartmentTypes.push_back(departmentType);
    const int32_t code = department ? department->Code() : 0;
    if (host_.failingDepartmentWalks.count(code)) return 11;
    auto it = host_.accountSums.find(code);
    sums_ = it == host_.accountSums.end() ? nullptr : &it->second;
    next_ = 0;
    return 0;
  }
  long GetSumCount(long* count) override {
    *count = sums_ ? static_cast<long>(sums_->size()) : 0;
    return 0;
  }
  long SetMovePos(long pos) override {
    next_ = static_cast<size_t>(pos);
    return 0;
  }
  long MoveNext(host::StKAMOKUSUMINFO* sums) override {
    if (!sums_ || next_ >= sums_->size()) return host::kEndOfData;
    *sums = (*sums_)[next_++];
    return 0;
  }
  long MoveFinish() override {
    host_.Log("Kamoku.MoveFinish");
    return 0;
  }

 private:
  const std::vector<host::StKAMOKUSUMINFO>* sums_ = nullptr;
  size_t next_ = 0;
};

class FakeGenkashokyaku : public FakeWalker<host::ClRuleGenkashokyaku> {
 public:
  using FakeWalker::FakeWalker;
  long MoveReady(const StFINDINFO* condition, int, int) override {
    long first = 0, last = 0;
    for (int i = 0; i < 2; ++i) {
      if (condition[i].Compare() == StFINDINFO::kAtLeast) first = condition[i].Value();
      if (condition[i].Compare() == StFINDINFO::kAtMost) last = condition[i].Value();
    }
    host_.assetDateRanges.push_back({first, last});
    selected_.clear();
    for (const auto& a : host_.assets) {
      const bool in = ConditionMatches(condition, [&](int32_t field, int16_t) {
        return field == StFINDINFO::kAssetDate ? std::optional<int64_t>(a.date) : std::nullopt;
      });
      if (in) selected_.push_back(&a);
    }
    return 0;
  }
  long GetCount(long* count) override {
    *count = static_cast<long>(selected_.size());
    return 0;
  }
  long Move(long index, host::StKOTEISHISANINFO* asset, host::StKOTEISHISANYEAR*,
            host::StKOTEISHISANMONTH*) override {
    if (index == host_.assetFailAt) return 13;
    if (index < 0 || static_cast<size_t>(index) >= selected_.size()) return host::kEndOfData;
    *asset = selected_[index]->record;
    return 0;
  }
  long MoveFinish() override {
    host_.Log("Genkashokyaku.MoveFinish");
    return 0;
  }

 private:
  std::vector<const FakeAsset*> selected_;
};

class FakePeriod : public host::ClAccPeriod {
 public:
  explicit FakePeriod(FakeHost& h) : host_(h) {}
  long GetPeriod(long* first, long* last) override {
    *first = host_.dataset.PeriodStart();
    *last = host_.dataset.PeriodEnd();
    return 0;
  }
  long GetPeriodByAMonth(int, long*, long*, int) override { return 1; }
  long GetPeriodByMonthKind(int slot, long* from, long* to, int) override {
    auto it = host_.slotDates.find(slot);
    if (it == host_.slotDates.end()) return 1;
    *from = it->second.first;
    *to = it->second.second;
    return 0;
  }
  long GetAMonthByDate(long, int*, int) override { return 1; }
  long SetPeriod(long, long) override { return 0; }
  long GetClosingDayByEndDate(long, int, int*) override { return 1; }
  long SetClosingDay(int) override { return 0; }

 private:
  FakeHost& host_;
};

class FakeSetData : public host::ClSetData {
 public:
  explicit FakeSetData(FakeHost& h) : host_(h) {}
  void AttachSetMgr(host::ClSetMgr*) override {}
  void SetCurDataID(const char*) override {}
  long GetDatCursor(Cursor* cursor) override {
    *cursor = 1;
    next_ = 0;
    return 0;
  }
  long ReadyDat(Cursor, int) override { return 0; }
  long WalkDat(host::StDATAINFO* record, Cursor) override {
    if (next_++ > 0) return host::kEndOfData;
    *record = host_.dataset;
    return 0;
  }
  long ReleaseDatCursor(Cursor) override { return 0; }
  const host::StDATAINFO* GetSelectedInfo() override { return &host_.dataset; }
  long GetAccPeriod(std::unique_ptr<host::ClAccPeriod>* period) override {
    if (host_.cannotCreate.count("Period")) return 1;
    *period = std::make_unique<FakePeriod>(host_);
    return 0;
  }

 private:
  FakeHost& host_;
  int next_ = 0;
};

class FakeSetShohizei : public host::ClSetShohizei {
 public:
  explicit FakeSetShohizei(FakeHost& h) : host_(h) {}
  void AttachSetMgr(host::ClSetMgr*) override {}
  void SetCurDataID(const char*) override {}
  long Get(host::StSHOHIZEIINFO* info) override {
    *info = host_.taxSettings;
    return 0;
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
  long GetCurUserID(char userId[65]) override {
    std::snprintf(userId, 65, "%s", "user1");
    return 0;
  }
  long GetSelectedNo(const char*, long* first, long* second) override {
    *first = 1;
    *second = 1;
    return 0;
  }
};

class FakeDataMgr : public host::ClDataMgr {
 public:
  explicit FakeDataMgr(host::ClSetMgr& m) : setMgr_(m) {}
  host::ClSetBase* GetSetObject(long id, int create) override {
    return setMgr_.GetSetObject(id, create);
  }
  host::ClSetMgr* GetSetMgr() override { return &setMgr_; }
  host::ClSysUser* GetSysUserObject() override { return &user_; }

 private:
  host::ClSetMgr& setMgr_;
  FakeSysUser user_;
};

class FakeAccConnect : public host::ClAccConnect {
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
    return code != 0 ? 1 : 0;
  }

 private:
  FakeHost& host_;
};

class FakeFileMgr : public host::ClFileMgr {
 public:
  std::string GetAppFolderPath(int) override { return ""; }
};

}  // namespace

struct FakeHost::Parts {
  explicit Parts(FakeHost& h)
      : setMgr(h), dataMgr(setMgr), msgMgr(h), dataSet(h), taxSet(h), accountSet(h),
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
  return std::make_unique<FakePeriod>(*this);
}

std::unique_ptr<host::ClSaveTaxShiryo> FakeHost::NewSaveTaxShiryo() { return nullptr; }
std::unique_ptr<host::ClToolTipMgr> FakeHost::NewToolTipMgr() { return nullptr; }

std::unique_ptr<host::ClRuleShohizeiShinkoku> FakeHost::NewRuleShohizeiShinkoku() {
  if (cannotCreate.count("Shinkoku")) return nullptr;
  return std::make_unique<FakeShinkoku>(*this);
}
std::unique_ptr<host::ClRuleShohizei> FakeHost::NewRuleShohizei() {
  if (cannotCreate.count("Shohizei")) return nullptr;
  return std::make_unique<FakeShohizei>(*this);
}
std::unique_ptr<host::ClRuleShiwake> FakeHost::NewRuleShiwake() {
  if (cannotCreate.count("Shiwake")) return nullptr;
  return std::make_unique<FakeShiwake>(*this);
}
std::unique_ptr<host::ClRuleKamoku> FakeHost::NewRuleKamoku() {
  if (cannotCreate.count("Kamoku")) return nullptr;
  return std::make_unique<FakeKamoku>(*this);
}
std::unique_ptr<host::ClRuleGenkashokyaku> FakeHost::NewRuleGenkashokyaku() {
  if (cannotCreate.count("Genkashokyaku")) return nullptr;
  return std::make_unique<FakeGenkashokyaku>(*this);
}

}  // namespace ltb::testing
