// A hand-written fake of the host libraries for unit tests: scripted
// records and answers, failure injection, and a log of what the program
// asked.
//
// Fill the public fields of FakeHost, hand it to the code under test, then
// inspect the observation fields. Search conditions are evaluated the way
// the host does (AND binding tighter than OR, nested groups), over the
// fields the fake knows: tax category per side (3), classification code
// (16), month position (17) and fixed-asset date (203). Accounting months
// are calendar months, and the period's year follows periodStart.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "host/host.h"
#include "host/testing/record_builders.h"

namespace ltb::testing {

struct FakeJournalEntry {
  host::StSWKTINFO record;
  int month = 1;         // month position 1..12, or closing code 15/18
  int businessType = 1;  // 1..6
  int ratePercent = 8;   // 10 marks the entries the 10% check looks for
};

struct FakeAsset {
  host::StKOTEISHISANINFO record;
  int32_t date = 0;  // yyyymmdd
};

struct FakeTaxSumLine {
  host::StTAXSUMINFO record;
  long rate = 300;
};

// What a test scripts and observes; FakeHost::Reset() restores it whole.
struct FakeHostState {
  // ---- Scripted data ----
  long initiateResult = 0;                 // ClAccConnect::Initiate
  long expSysLinkResult = 0;               // ClAccConnect::ExpSysLink
  host::StDATAINFO dataset;                // the selected dataset
  std::vector<host::StDATAINFO> datasets;  // what a dataset walk yields
  long selectedNo = 1;                     // ClSysUser::GetSelectedNo
  int32_t periodStart = 20150401;          // ClAccPeriod::GetPeriod
  int32_t periodEnd = 20160331;
  // First and last day per month slot (1..12, 15, 18); other slots fail.
  std::map<int, std::pair<long, long>> slotDates;
  host::StSHOHIZEIINFO taxSettings;
  bool hasTaxSettingsSet = true;
  long taxSettingsStatus = 0;  // result of ClSetShohizei::Get (not 0: nothing read)
  long taxRateCount = 3;
  std::vector<host::StKAMOKUINFO> accounts;
  std::vector<host::StBUMONINFO> departments;
  // Account sums per department code; key 0 holds the sums of a walk
  // without a department.
  std::map<int32_t, std::vector<host::StKAMOKUSUMINFO>> accountSums;
  std::vector<FakeJournalEntry> journal;
  std::vector<FakeAsset> assets;
  std::vector<FakeTaxSumLine> taxSumLines;
  // Fills the report arrays in SumTax (rates, businessTypes, rate count).
  std::function<void(host::StTAXREPORTRATEINFO*, host::StTAXREPORTBUSINESSTYPEINFO*, long)>
      fillTaxReport;
  host::StSaveTaxInfo saved;           // what the tax-return store reads ...
  long saveReadResult = 0;             // ... and its status
  std::map<int, std::string> folders;  // ClFileMgr folders by type

  // ---- Failure injection ----
  std::set<std::string> cannotCreate;        // "Shiwake", "Kamoku", "Shohizei", "Shinkoku",
                                             // "Genkashokyaku", "Period", "SaveTaxShiryo"
  long zeiRateStatus = 0;                    // result of CheckExistSwkByZeiRate
  long jigyoBunruiStatus = 0;                // result of CheckExistSwkByJigyoBunrui
  long swkCountStatus = 0;                   // result of GetSwkCount
  long journalFailAt = -1;                   // MoveNext of this entry index fails ...
  long journalFailStatus = 9;                // ... with this status
  long taxSumFailAt = -1;                    // MoveNext of this tax-summary line fails
  long assetFailAt = -1;                     // Move of this asset index fails
  std::set<int32_t> failingDepartmentWalks;  // Kamoku MoveReady fails for these codes
  std::vector<long> fatalCodes;              // codes CheckFatalErrorWithMsg calls fatal

  // ---- Observations ----
  // Connection calls by name ("Initiate", "LogOut", ...) and walker
  // clean-ups ("Shiwake.MoveFinish", ...), in order.
  std::vector<std::string> calls;
  std::vector<std::string> dispMessages;
  host::WindowHandle dispOwner = 0;
  host::WindowHandle ownerWindow = 0;
  int appType = -1;
  struct LastError {
    long code;
    std::string source;
    unsigned long line;
  };
  std::vector<LastError> lastErrors;
  int liveWalkers = 0;
  int walkersCreated = 0;
  int openDatasetCursors = 0;
  int openDepartmentCursors = 0;
  int taxReportCalls = 0;
  uint8_t lastFilingClass = 0;
  struct TaxSumReady {
    int16_t from;
    int16_t to;
    long rate;
    int taxIncluded;
  };
  std::vector<TaxSumReady> taxSumReadies;
  std::vector<int> kamokuDepartmentTypes;              // departmentType of each Kamoku MoveReady
  std::vector<std::pair<long, long>> assetDateRanges;  // per asset MoveReady
};

class FakeHost : public host::HostLibrary, public FakeHostState {
 public:
  FakeHost();
  ~FakeHost() override;
  FakeHost(const FakeHost&) = delete;
  FakeHost& operator=(const FakeHost&) = delete;

  // Back to a freshly made fake (scripts, failures and observations).
  void Reset() { static_cast<FakeHostState&>(*this) = FakeHostState(); }

  // HostLibrary.
  host::ClAccConnect& AccConnect() override;
  host::ClDataMgr& DataMgr() override;
  host::ClLinkMgr& LinkMgr() override;
  host::ClMsgMgr& MsgMgr() override;
  host::ClFileMgr& FileMgr() override;
  std::unique_ptr<host::ClAccPeriod> NewAccPeriod() override;
  std::unique_ptr<host::ClSaveTaxShiryo> NewSaveTaxShiryo() override;
  std::unique_ptr<host::ClToolTipMgr> NewToolTipMgr() override;
  std::unique_ptr<host::ClRuleShohizeiShinkoku> NewRuleShohizeiShinkoku() override;
  std::unique_ptr<host::ClRuleShohizei> NewRuleShohizei() override;
  std::unique_ptr<host::ClRuleShiwake> NewRuleShiwake() override;
  std::unique_ptr<host::ClRuleKamoku> NewRuleKamoku() override;
  std::unique_ptr<host::ClRuleGenkashokyaku> NewRuleGenkashokyaku() override;
  void SetMessageSink(host::MessageSink sink) override { sink_ = std::move(sink); }
  void SetStopCheck(host::StopCheck check) override { stopCheck = std::move(check); }

  // The stop check the program installed (empty for none).
  host::StopCheck stopCheck;

  // Helpers for the fakes.
  bool JournalMatches(const FakeJournalEntry& e, const host::StFINDINFO* condition) const;
  void Log(std::string call) { calls.push_back(std::move(call)); }

 private:
  struct Parts;
  std::unique_ptr<Parts> parts_;
  host::MessageSink sink_;
};

}  // namespace ltb::testing
