// What the program asks of the source product's host libraries.
//
// These are declarations only. The ledger stand-in implements them over a
// SQLite ledger; tests implement them with fakes. Host operations return a
// long status: 0 for success, kEndOfData at the end of a walk.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "host/records.h"

namespace ltb::host {

constexpr long kOk = 0;
constexpr long kEndOfData = 5000;
constexpr long kCannotCreate = -1001;
// A summing walk stopped because a sum left the 64-bit range: what it
// prepared is incomplete and must not be used.
constexpr long kSumOverflow = 2103;

// A window handle: an X11 window id on Linux, 0 for none.
using WindowHandle = uint64_t;
// A walk cursor handed out by a set.
using Cursor = long;

// Edition codes for SetAppType.
enum AppType : int { kAppStandard = 0, kAppVantage = 3, kAppHearth = 4 };

// Folder types for ClFileMgr::GetAppFolderPath.
enum FolderType : int { kFolderOutput = 0, kFolderSettings = 1 };

// Set ids for GetSetObject.
enum SetId : long { kSetKamoku = 1, kSetBumon = 2, kSetShohizei = 4, kSetData = 5 };

class ClSetMgr;
class ClOptLink;  // opaque to the program
class ClAccPeriod;

// ---- Connection and managers ------------------------------------------------

class ClAccConnect {
 public:
  virtual ~ClAccConnect() = default;
  virtual void SetCaption(const char* caption) = 0;
  virtual void SetAppType(int appType) = 0;
  virtual void SetUseDataType(long type) = 0;
  // 0 when connected to the selected dataset.
  virtual long Initiate() = 0;
  virtual void SetOwnerWindow(WindowHandle owner) = 0;
  // 0 go on, 1 refused, anything else an error.
  virtual long ExpSysLink() = 0;
  // Shows text with every "ES_APRPACKAGENAME" replaced by the package name.
  // type holds message-box flags (ui/message_box.h); returns the answer id.
  virtual int DispMsg(WindowHandle owner, const char* text, const char* caption,
                      unsigned type) = 0;
  virtual void LogOut() = 0;
  virtual void Terminate() = 0;
  virtual void Release() = 0;
};

class ClSetBase {
 public:
  virtual ~ClSetBase() = default;
  virtual void AttachSetMgr(ClSetMgr* mgr) = 0;
  virtual void SetCurDataID(const char* dataId) = 0;
};

class ClSetData : public ClSetBase {
 public:
  virtual long GetDatCursor(Cursor* cursor) = 0;
  virtual long ReadyDat(Cursor cursor, int mode) = 0;
  virtual long WalkDat(StDATAINFO* record, Cursor cursor) = 0;
  virtual long ReleaseDatCursor(Cursor cursor) = 0;
  // The dataset record of the selected dataset (never null; zeroed if none).
  virtual const StDATAINFO* GetSelectedInfo() = 0;
  // The accounting period of the set's dataset; the caller owns *period.
  virtual long GetAccPeriod(std::unique_ptr<ClAccPeriod>* period) = 0;
};

class ClSetShohizei : public ClSetBase {
 public:
  virtual long Get(StSHOHIZEIINFO* info) = 0;
  virtual long GetTaxRateCount() = 0;
};

class ClSetKamoku : public ClSetBase {
 public:
  virtual long GetCursor(Cursor* cursor) = 0;
  virtual long ReadyCursor(Cursor cursor) = 0;
  // 0 per record found; non-zero (kEndOfData) when no more records match.
  virtual long WalkFind(const StFINDINFO* condition, StKAMOKUINFO* account,
                        Cursor cursor) = 0;
  virtual long ReleaseCursor(Cursor cursor) = 0;
};

class ClSetBumon : public ClSetBase {
 public:
  virtual long GetBmnCount(long* count, int mode) = 0;
  virtual long GetCursor(Cursor* cursor) = 0;
  virtual long ReadyCursor(Cursor cursor) = 0;
  virtual long Walk(StBUMONINFO* department, Cursor cursor) = 0;
  virtual long GetInfoByCode(long code, StBUMONINFO* department, Cursor cursor) = 0;
  virtual long ReleaseCursor(Cursor cursor) = 0;
};

class ClSetMgr {
 public:
  virtual ~ClSetMgr() = default;
  virtual ClSetBase* GetSetObject(long id, int create) = 0;
};

class ClSysUser {
 public:
  virtual ~ClSysUser() = default;
  virtual long GetCurUserID(char userId[65]) = 0;
  virtual long GetSelectedNo(const char* userId, long* first, long* second) = 0;
};

class ClDataMgr {
 public:
  virtual ~ClDataMgr() = default;
  virtual ClSetBase* GetSetObject(long id, int create) = 0;
  virtual ClSetMgr* GetSetMgr() = 0;
  virtual ClSysUser* GetSysUserObject() = 0;
};

class ClLinkMgr {
 public:
  virtual ~ClLinkMgr() = default;
  virtual ClOptLink* GetOptLink() = 0;
};

class ClMsgMgr {
 public:
  virtual ~ClMsgMgr() = default;
  // Records a host error code with its source name and line; returns code.
  virtual long SetLastError(long code, const char* source, unsigned long line) = 0;
  // Non-zero for a fatal code, after showing the host's own message.
  virtual int CheckFatalErrorWithMsg(long code, long param, int show,
                                     WindowHandle owner) = 0;
};

class ClFileMgr {
 public:
  virtual ~ClFileMgr() = default;
  // A Windows folder path (CP932) ending in a backslash, or empty.
  virtual std::string GetAppFolderPath(int folderType) = 0;
};

// Receives the tooltips that ClToolTipMgr attaches to a dialog.
class ToolTipOwner {
 public:
  virtual ~ToolTipOwner() = default;
  virtual void AddToolTip(uint32_t controlId, const char* text) = 0;
};

class ClToolTipMgr {
 public:
  virtual ~ClToolTipMgr() = default;
  virtual void Init(ToolTipOwner* owner, const TOOLTIPMSG_TABLE* table,
                    unsigned long count) = 0;
};

// ---- Period and tax-return store --------------------------------------------

class ClAccPeriod {
 public:
  virtual ~ClAccPeriod() = default;
  virtual long GetPeriod(long* first, long* last) = 0;
  // First and last day of calendar month `month` (1..12) inside the period.
  virtual long GetPeriodByAMonth(int month, long* first, long* last, int mode) = 0;
  // First and last day of month slot 1..12, 15 (interim) or 18 (year end).
  virtual long GetPeriodByMonthKind(int slot, long* from, long* to, int mode) = 0;
  // The month (1..12) that a yyyymmdd date belongs to.
  virtual long GetAMonthByDate(long date, int* month, int mode) = 0;
  virtual long SetPeriod(long first, long last) = 0;
  virtual long GetClosingDayByEndDate(long end, int mode, int* day) = 0;
  virtual long SetClosingDay(int day) = 0;
};

class ClSaveTaxShiryo {
 public:
  virtual ~ClSaveTaxShiryo() = default;
  virtual void AttachSetMgr(ClSetMgr* mgr) = 0;
  virtual void SetCurDataID(const char* dataId) = 0;
  virtual void AttachOptLink(ClOptLink* link) = 0;
  virtual long RefreshCache() = 0;
  virtual long GetTaxSaveInfo(StSaveTaxInfo* info) = 0;
};

// ---- Walkers ----------------------------------------------------------------

class ClRuleBase {
 public:
  virtual ~ClRuleBase() = default;
  virtual void AttachSetMgr(ClSetMgr* mgr) = 0;
  virtual void SetCurDataID(const char* dataId) = 0;
  virtual void AttachOptLink(ClOptLink* link) = 0;
};

class ClRuleShohizeiShinkoku : public ClRuleBase {
 public:
  // Fills one StTAXREPORTRATEINFO per tax rate and six business-type entries
  // per rate. The arrays hold GetTaxRateCount() rates; RateCode and
  // BusinessType are set by the caller beforehand.
  virtual long SumTax(uint8_t filingClass, const StFINDINFO* range,
                      StTAXREPORTRATEINFO* rates,
                      StTAXREPORTBUSINESSTYPEINFO* businessTypes) = 0;
};

class ClRuleShohizei : public ClRuleBase {
 public:
  virtual long MoveReady(int kind, const int16_t* fromSlot, const int16_t* toSlot,
                         const long* rate, const void* reserved, int taxIncluded) = 0;
  virtual long GetSumInfoCount(long* count) = 0;
  virtual long MoveNext(StTAXSUMINFO* line) = 0;
  virtual long MoveFinish() = 0;
};

class ClRuleShiwake : public ClRuleBase {
 public:
  virtual long GetSwkCount(const StFINDINFO* condition, const void* reserved,
                           long* count) = 0;
  virtual long MoveReady(const StFINDINFO* condition, const void* reserved1,
                         const void* reserved2, int mode) = 0;
  virtual long MoveNext(StSWKTINFO* entry) = 0;
  virtual long MoveFinish() = 0;
  // Sets bit 3 (value 8) of *flags when entries at 10% exist.
  virtual long CheckExistSwkByZeiRate(const StFINDINFO* condition, long* flags,
                                      int mode) = 0;
  // Counts the entries of business type `type`.
  virtual long CheckExistSwkByJigyoBunrui(const StFINDINFO* condition, int type,
                                          long* count) = 0;
};

class ClRuleKamoku : public ClRuleBase {
 public:
  virtual long MoveReady(int kind, int departmentType, int reserved,
                         const StFINDINFO* range, const StBUMONINFO* department,
                         int mode) = 0;
  virtual long GetSumCount(long* count) = 0;
  virtual long SetMovePos(long pos) = 0;
  virtual long MoveNext(StKAMOKUSUMINFO* sums) = 0;
  virtual long MoveFinish() = 0;
};

class ClRuleGenkashokyaku : public ClRuleBase {
 public:
  virtual long MoveReady(const StFINDINFO* condition, int reserved1, int reserved2) = 0;
  virtual long GetCount(long* count) = 0;
  virtual long Move(long index, StKOTEISHISANINFO* asset, StKOTEISHISANYEAR* year,
                    StKOTEISHISANMONTH* month) = 0;
  virtual long MoveFinish() = 0;
};

// ---- The library as a whole ---------------------------------------------------

// Shows a message box for the host: (owner, text, caption, flags) -> answer id.
using MessageSink = std::function<int(WindowHandle, const char*, const char*, unsigned)>;

// The host libraries: the process-wide managers, and factories for the
// objects the program creates and deletes itself. A factory returns null
// when the object cannot be created.
class HostLibrary {
 public:
  virtual ~HostLibrary() = default;

  virtual ClAccConnect& AccConnect() = 0;
  virtual ClDataMgr& DataMgr() = 0;
  virtual ClLinkMgr& LinkMgr() = 0;
  virtual ClMsgMgr& MsgMgr() = 0;
  virtual ClFileMgr& FileMgr() = 0;

  virtual std::unique_ptr<ClAccPeriod> NewAccPeriod() = 0;
  virtual std::unique_ptr<ClSaveTaxShiryo> NewSaveTaxShiryo() = 0;
  virtual std::unique_ptr<ClToolTipMgr> NewToolTipMgr() = 0;
  virtual std::unique_ptr<ClRuleShohizeiShinkoku> NewRuleShohizeiShinkoku() = 0;
  virtual std::unique_ptr<ClRuleShohizei> NewRuleShohizei() = 0;
  virtual std::unique_ptr<ClRuleShiwake> NewRuleShiwake() = 0;
  virtual std::unique_ptr<ClRuleKamoku> NewRuleKamoku() = 0;
  virtual std::unique_ptr<ClRuleGenkashokyaku> NewRuleGenkashokyaku() = 0;

  // Where the host shows its messages (DispMsg, fatal errors).
  virtual void SetMessageSink(MessageSink sink) = 0;
};

// Typed access to the sets; null when the host has no such set.
inline ClSetData* DataSet(ClDataMgr& m) {
  return dynamic_cast<ClSetData*>(m.GetSetObject(kSetData, 1));
}
inline ClSetShohizei* TaxSettingsSet(ClDataMgr& m) {
  return dynamic_cast<ClSetShohizei*>(m.GetSetObject(kSetShohizei, 1));
}
inline ClSetKamoku* AccountSet(ClDataMgr& m) {
  return dynamic_cast<ClSetKamoku*>(m.GetSetObject(kSetKamoku, 1));
}
inline ClSetBumon* DepartmentSet(ClSetMgr& m) {
  return dynamic_cast<ClSetBumon*>(m.GetSetObject(kSetBumon, 1));
}

// Attaches a walker (or the tax-return store) to the selected dataset.
template <typename Walker>
void AttachToSelected(HostLibrary& host, Walker& w) {
  w.AttachSetMgr(host.DataMgr().GetSetMgr());
  const char* id = "";
  if (ClSetData* data = DataSet(host.DataMgr())) {
    id = reinterpret_cast<const char*>(data->GetSelectedInfo()->bytes);
  }
  w.SetCurDataID(id);
  w.AttachOptLink(host.LinkMgr().GetOptLink());
}

}  // namespace ltb::host
