// What the program asks of the source product's host libraries.
//
// These are declarations only. The ledger stand-in implements them over a
// SQLite ledger; tests implement them with fakes. Host operations return a
// long status: 0 for success, kEndOfData at the end of a walk.
//
// What holds for every declaration below unless it says otherwise:
// - Texts are CP932 bytes. A data id is the zero-terminated text at the
//   start of a StDATAINFO; the host copies it.
// - A status other than kOk or kEndOfData is a host error code, which
//   ClMsgMgr::CheckFatalErrorWithMsg judges and explains. After a failed
//   call the out-parameters hold nothing the caller may use.
// - Records and arrays passed in stay the caller's: the host fills them
//   during the call and keeps no pointer to them.
// - The managers, and the sets that GetSetObject hands out, belong to the
//   HostLibrary; the program never deletes them. Objects made by a New*
//   factory belong to the caller, who destroys them before the HostLibrary.
// - The host is not safe for concurrent calls: REQUIRES one thread at a
//   time.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "host/records.h"

namespace ltb::host {

constexpr long kOk = 0;
// The end of a walk, or a record that is not there.
constexpr long kEndOfData = 5000;
// The program's own status for an object the host could not create (a
// factory or GetSetObject gave null); never returned by the host.
constexpr long kCannotCreate = -1001;
// A summing walk stopped because a sum left the 64-bit range: what it
// prepared is incomplete and must not be used.
constexpr long kSumOverflow = 2103;
// A call that gave up because the StopCheck asked it to (see
// HostLibrary::SetStopCheck): what it prepared is incomplete and must not be
// used; nothing of the ledger changed.
constexpr long kStoppedByRequest = 2104;

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

// The connection to the ledger. A run calls SetCaption, SetAppType and
// SetUseDataType, then Initiate; at its end LogOut, Terminate and Release,
// in that order, whether Initiate succeeded or not.
class ClAccConnect {
 public:
  virtual ~ClAccConnect() = default;
  // The caption of the host's own message boxes (copied).
  virtual void SetCaption(const char* caption) = 0;
  // The edition (AppType) the program runs as.
  virtual void SetAppType(int appType) = 0;
  // The kind of data the program reads.
  virtual void SetUseDataType(long type) = 0;
  // Connects to the dataset the current user has selected: 0 when connected.
  // On failure the host has already shown why (through the message sink)
  // and returns an error code. A second Initiate replaces the connection.
  // REQUIRES: nothing made on an earlier connection (account and department
  // sets, walkers) is used after a second Initiate.
  virtual long Initiate() = 0;
  // The owner window of the host's message boxes from now on; 0 for none.
  virtual void SetOwnerWindow(WindowHandle owner) = 0;
  // Whether the ledger allows this link: 0 go on, 1 refused (the program
  // ends as cancelled), anything else an error. REQUIRES: connected.
  virtual long ExpSysLink() = 0;
  // Shows text with every "ES_APRPACKAGENAME" replaced by the package name.
  // type holds message-box flags (host/message_box_flags.h); returns the
  // answer id, kIdOk when no message sink is set. Null texts show as empty.
  virtual int DispMsg(WindowHandle owner, const char* text, const char* caption, unsigned type) = 0;
  // Ends the user's session.
  virtual void LogOut() = 0;
  // Closes the connection. Walkers the program still holds stay safe to
  // call and to destroy until the HostLibrary goes.
  virtual void Terminate() = 0;
  // Gives up the connection object; nothing is called on it afterwards.
  virtual void Release() = 0;
};

// A set: one kind of record of a dataset. Until SetCurDataID names a
// dataset, a set works on the one the current user has selected.
class ClSetBase {
 public:
  virtual ~ClSetBase() = default;
  // The set manager of the data manager (the set may keep the pointer).
  virtual void AttachSetMgr(ClSetMgr* mgr) = 0;
  // The dataset the set works on from now on; an id that names no dataset
  // makes the set's reads fail with an error code.
  virtual void SetCurDataID(const char* dataId) = 0;
};

// The datasets of the ledger. A walk: GetDatCursor, ReadyDat, WalkDat until
// it answers non-zero, ReleaseDatCursor.
class ClSetData : public ClSetBase {
 public:
  // A new cursor, valid until ReleaseDatCursor. REQUIRES: connected.
  virtual long GetDatCursor(Cursor* cursor) = 0;
  // Puts the cursor before the first dataset; the program passes mode 0.
  virtual long ReadyDat(Cursor cursor, int mode) = 0;
  // The next dataset in number order; kEndOfData after the last.
  virtual long WalkDat(StDATAINFO* record, Cursor cursor) = 0;
  // Ends a cursor of this set; an unknown cursor answers an error code.
  virtual long ReleaseDatCursor(Cursor cursor) = 0;
  // The dataset record of the selected dataset (never null; zeroed if none).
  // The record is the set's, overwritten by the next call.
  virtual const StDATAINFO* GetSelectedInfo() = 0;
  // The accounting period of the set's dataset; the caller owns *period,
  // which is set only when the answer is kOk.
  virtual long GetAccPeriod(std::unique_ptr<ClAccPeriod>* period) = 0;
};

// The consumption-tax settings of a dataset.
class ClSetShohizei : public ClSetBase {
 public:
  // The settings of the set's dataset; *info untouched on failure.
  virtual long Get(StSHOHIZEIINFO* info) = 0;
  // How many rate blocks SumTax fills for the set's dataset; 0 when that
  // cannot be read (not a status).
  virtual long GetTaxRateCount() = 0;
};

// The account master of a dataset. A walk: GetCursor, ReadyCursor, WalkFind
// until it answers non-zero, ReleaseCursor.
class ClSetKamoku : public ClSetBase {
 public:
  // A new cursor, valid until ReleaseCursor.
  virtual long GetCursor(Cursor* cursor) = 0;
  // Reads the accounts of the set's dataset and puts the cursor before the
  // first. REQUIRES: before the cursor's first WalkFind.
  virtual long ReadyCursor(Cursor cursor) = 0;
  // 0 per record found; non-zero (kEndOfData) when no more records match.
  // Accounts come in code order; a null condition matches every account
  // (conditions test field 16, the classification code).
  virtual long WalkFind(const StFINDINFO* condition, StKAMOKUINFO* account, Cursor cursor) = 0;
  virtual long ReleaseCursor(Cursor cursor) = 0;
};

// The departments of a dataset, in code order.
class ClSetBumon : public ClSetBase {
 public:
  // The number of departments; *count is 0 on failure. The program passes
  // mode 0.
  virtual long GetBmnCount(long* count, int mode) = 0;
  // A new cursor, valid until ReleaseCursor.
  virtual long GetCursor(Cursor* cursor) = 0;
  // Puts the cursor before the first department.
  virtual long ReadyCursor(Cursor cursor) = 0;
  // The next department; kEndOfData after the last.
  virtual long Walk(StBUMONINFO* department, Cursor cursor) = 0;
  // The department with this code. When there is none the answer is
  // non-zero and *department is zeroed, so a caller that ignores the answer
  // sees "no department". REQUIRES: a cursor of this set.
  virtual long GetInfoByCode(long code, StBUMONINFO* department, Cursor cursor) = 0;
  virtual long ReleaseCursor(Cursor cursor) = 0;
};

class ClSetMgr {
 public:
  virtual ~ClSetMgr() = default;
  // The set of `id` (SetId), the host's; the program passes create 1. Null
  // for an unknown id, and for the account and department sets before a
  // connection. The dataset and tax-settings sets live as long as the host,
  // the account and department sets until the next Initiate.
  virtual ClSetBase* GetSetObject(long id, int create) = 0;
};

// The current user and the dataset each user has selected.
class ClSysUser {
 public:
  virtual ~ClSysUser() = default;
  // The current user's id (ASCII), zero-terminated in the 65 bytes; an
  // error code, and the buffer zeroed, before a connection.
  virtual long GetCurUserID(char userId[65]) = 0;
  // The user's first dataset number and the number of the dataset selected
  // now (*second, which the program uses).
  virtual long GetSelectedNo(const char* userId, long* first, long* second) = 0;
};

class ClDataMgr {
 public:
  virtual ~ClDataMgr() = default;
  // As ClSetMgr::GetSetObject.
  virtual ClSetBase* GetSetObject(long id, int create) = 0;
  // The set manager to attach sets and walkers to; the host's.
  virtual ClSetMgr* GetSetMgr() = 0;
  // The user object, the host's; may be null.
  virtual ClSysUser* GetSysUserObject() = 0;
};

class ClLinkMgr {
 public:
  virtual ~ClLinkMgr() = default;
  // The option link that walkers and the tax-return store are attached to;
  // the host's, opaque to the program.
  virtual ClOptLink* GetOptLink() = 0;
};

class ClMsgMgr {
 public:
  virtual ~ClMsgMgr() = default;
  // Records a host error code with its source name and line (the name is
  // copied; null for none); returns code.
  virtual long SetLastError(long code, const char* source, unsigned long line) = 0;
  // Non-zero for a fatal code, after showing the host's own message when
  // show is non-zero: the code, and the source and line recorded for it by
  // SetLastError. 0 for kOk, kEndOfData and the codes the host counts as
  // harmless. Owner 0 means the connection's owner window.
  virtual int CheckFatalErrorWithMsg(long code, long param, int show, WindowHandle owner) = 0;
};

class ClFileMgr {
 public:
  virtual ~ClFileMgr() = default;
  // A Windows folder path (CP932) ending in a backslash, or empty for an
  // unknown type or a folder that cannot be made. The host may create its
  // default folder on the way.
  virtual std::string GetAppFolderPath(int folderType) = 0;
};

// Receives the tooltips that ClToolTipMgr attaches to a dialog.
class ToolTipOwner {
 public:
  virtual ~ToolTipOwner() = default;
  // text (CP932) is valid during the call only.
  virtual void AddToolTip(uint32_t controlId, const char* text) = 0;
};

class ClToolTipMgr {
 public:
  virtual ~ClToolTipMgr() = default;
  // Hands owner the `count` entries of table that have a text, in order.
  // Neither pointer is kept after the call.
  virtual void Init(ToolTipOwner* owner, const TOOLTIPMSG_TABLE* table, unsigned long count) = 0;
};

// ---- Period and tax-return store --------------------------------------------

// An accounting period of up to twelve month positions, each running to a
// closing day. Dates are yyyymmdd; a failed call leaves its outputs
// untouched. The mode arguments are 0.
class ClAccPeriod {
 public:
  virtual ~ClAccPeriod() = default;
  // First and last day; an error code while no valid period is set.
  virtual long GetPeriod(long* first, long* last) = 0;
  // First and last day of calendar month `month` (1..12) inside the period.
  virtual long GetPeriodByAMonth(int month, long* first, long* last, int mode) = 0;
  // First and last day of month slot 1..12, 15 (interim) or 18 (year end).
  virtual long GetPeriodByMonthKind(int slot, long* from, long* to, int mode) = 0;
  // The month (1..12) that a yyyymmdd date belongs to.
  virtual long GetAMonthByDate(long date, int* month, int mode) = 0;
  // An error code when the dates do not form a period.
  virtual long SetPeriod(long first, long last) = 0;
  // The closing day (1..31, 31 for the month's end) that a period ending on
  // `end` has.
  virtual long GetClosingDayByEndDate(long end, int mode, int* day) = 0;
  // Day 1..31, 31 for the month's end; the period set is cut anew.
  virtual long SetClosingDay(int day) = 0;
};

// The values saved in the tax-return screen for a dataset. Attached like a
// walker (set manager, data id, option link) before reading.
class ClSaveTaxShiryo {
 public:
  virtual ~ClSaveTaxShiryo() = default;
  virtual void AttachSetMgr(ClSetMgr* mgr) = 0;
  virtual void SetCurDataID(const char* dataId) = 0;
  virtual void AttachOptLink(ClOptLink* link) = 0;
  // Reads the saved values of the dataset anew; an error code when there
  // is no connection, no dataset or nothing saved.
  virtual long RefreshCache() = 0;
  // The values of the last RefreshCache (read first when there was none)
  // and its status; *info untouched on failure.
  virtual long GetTaxSaveInfo(StSaveTaxInfo* info) = 0;
};

// ---- Walkers ----------------------------------------------------------------
//
// A walker reads the journal, the account sums or the fixed assets of one
// dataset: the one SetCurDataID names, else the selected one. The walks
// with MoveReady hand out records from MoveReady until MoveFinish: reading
// before a successful MoveReady answers an error code, and every MoveReady
// is paired with a MoveFinish, which frees what it prepared. A sum that
// would leave the 64-bit range ends a walk with an error code.

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
  // BusinessType are set by the caller beforehand. The figures of the sides
  // in `range` (null: every entry) are added to what the arrays hold, so the
  // caller zeroes them first; businessTypes may be null.
  virtual long SumTax(uint8_t filingClass, const StFINDINFO* range, StTAXREPORTRATEINFO* rates,
                      StTAXREPORTBUSINESSTYPEINFO* businessTypes) = 0;
};

// Tax-summary lines: per account, the sides at one rate in a range of month
// slots, debit minus credit.
class ClRuleShohizei : public ClRuleBase {
 public:
  // REQUIRES: kind 2 and non-null slots and rate (read during the call
  // only). Slots are taken in their order inside the period; taxIncluded
  // non-zero adds each side's tax.
  virtual long MoveReady(int kind, const int16_t* fromSlot, const int16_t* toSlot, const long* rate,
                         const void* reserved, int taxIncluded) = 0;
  virtual long GetSumInfoCount(long* count) = 0;
  // The next line in account-code order; kEndOfData after the last.
  virtual long MoveNext(StTAXSUMINFO* line) = 0;
  virtual long MoveFinish() = 0;
};

// The journal entries that match a search condition (null: every entry),
// in entry order.
class ClRuleShiwake : public ClRuleBase {
 public:
  // The number of matching entries; needs no MoveReady.
  virtual long GetSwkCount(const StFINDINFO* condition, const void* reserved, long* count) = 0;
  virtual long MoveReady(const StFINDINFO* condition, const void* reserved1, const void* reserved2,
                         int mode) = 0;
  // The next matching entry, both sides; kEndOfData after the last.
  virtual long MoveNext(StSWKTINFO* entry) = 0;
  virtual long MoveFinish() = 0;
  // Sets bit 3 (value 8) of *flags when entries at 10% exist.
  virtual long CheckExistSwkByZeiRate(const StFINDINFO* condition, long* flags, int mode) = 0;
  // Counts the entries of business type `type`.
  virtual long CheckExistSwkByJigyoBunrui(const StFINDINFO* condition, int type, long* count) = 0;
};

// Account sums: one record per account of the dataset, in code order, with
// debit and credit per month slot over the entries in a range.
class ClRuleKamoku : public ClRuleBase {
 public:
  // REQUIRES: kind 1. department may be null; with a department and
  // departmentType 4 only the sides booked to that department count.
  virtual long MoveReady(int kind, int departmentType, int reserved, const StFINDINFO* range,
                         const StBUMONINFO* department, int mode) = 0;
  virtual long GetSumCount(long* count) = 0;
  // Moves the read position to record pos (0 .. the count).
  virtual long SetMovePos(long pos) = 0;
  // The next record; kEndOfData after the last.
  virtual long MoveNext(StKAMOKUSUMINFO* sums) = 0;
  virtual long MoveFinish() = 0;
};

// The fixed assets whose acquisition date meets a condition (field 203), by
// date and number, read by index.
class ClRuleGenkashokyaku : public ClRuleBase {
 public:
  virtual long MoveReady(const StFINDINFO* condition, int reserved1, int reserved2) = 0;
  virtual long GetCount(long* count) = 0;
  // Asset `index` (0 .. count - 1); kEndOfData outside. year and month may
  // be null.
  virtual long Move(long index, StKOTEISHISANINFO* asset, StKOTEISHISANYEAR* year,
                    StKOTEISHISANMONTH* month) = 0;
  virtual long MoveFinish() = 0;
};

// ---- The library as a whole ---------------------------------------------------

// Shows a message box for the host: (owner, text, caption, flags) -> answer id.
// The texts are valid during the call only.
using MessageSink = std::function<int(WindowHandle, const char*, const char*, unsigned)>;

// Asked by the host during a long call (reading a large journal) whether the
// person wants the run stopped: true makes the call give up soon and answer
// kStoppedByRequest. The host asks it only on the thread that made the call,
// about every few thousand records, so it may let a window take its input;
// once it has answered true it is not asked again during that call.
using StopCheck = std::function<bool()>;

// The host libraries: the process-wide managers, and factories for the
// objects the program creates and deletes itself. A factory returns null
// when the object cannot be created.
class HostLibrary {
 public:
  virtual ~HostLibrary() = default;

  // The managers live as long as the HostLibrary.
  virtual ClAccConnect& AccConnect() = 0;
  virtual ClDataMgr& DataMgr() = 0;
  virtual ClLinkMgr& LinkMgr() = 0;
  virtual ClMsgMgr& MsgMgr() = 0;
  virtual ClFileMgr& FileMgr() = 0;

  // A period with nothing set: GetPeriod fails until SetPeriod.
  virtual std::unique_ptr<ClAccPeriod> NewAccPeriod() = 0;
  virtual std::unique_ptr<ClSaveTaxShiryo> NewSaveTaxShiryo() = 0;
  virtual std::unique_ptr<ClToolTipMgr> NewToolTipMgr() = 0;
  // Walkers: null before a successful Initiate.
  virtual std::unique_ptr<ClRuleShohizeiShinkoku> NewRuleShohizeiShinkoku() = 0;
  virtual std::unique_ptr<ClRuleShohizei> NewRuleShohizei() = 0;
  virtual std::unique_ptr<ClRuleShiwake> NewRuleShiwake() = 0;
  virtual std::unique_ptr<ClRuleKamoku> NewRuleKamoku() = 0;
  virtual std::unique_ptr<ClRuleGenkashokyaku> NewRuleGenkashokyaku() = 0;

  // Where the host shows its messages (DispMsg, a failed Initiate, fatal
  // errors); replaces the previous sink. Without one, messages are not shown
  // and answer kIdOk. REQUIRES: the sink is reset (nullptr) before what it
  // captures goes away.
  virtual void SetMessageSink(MessageSink sink) = 0;

  // What long calls ask whether to stop from now on; replaces the previous
  // check, nullptr for none. Without a check calls run to their end; a host
  // that cannot stop a call may ignore it (the default). REQUIRES: the check
  // is reset (nullptr) before what it captures goes away.
  virtual void SetStopCheck(StopCheck check) { (void)check; }
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
