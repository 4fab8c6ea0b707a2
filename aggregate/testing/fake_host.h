// Hand-written fakes of the host libraries for unit tests: scripted
// records, simple failure injection, and a log of what the program asked.
//
// Fill the public fields of FakeHost, hand it to the code under test, then
// inspect the observation fields. Search conditions are evaluated the way
// the host does (AND binding tighter than OR, nested groups), over the
// fields the fake knows: tax category per side (3), classification code
// (16), month position (17) and fixed-asset date (203).
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "host/host.h"

namespace ltb::testing {

// ---- Record builders ----------------------------------------------------------

host::StKAMOKUINFO MakeAccount(int32_t code, int32_t classCode, uint8_t listExclusion = 0);

// Account sums with one debit/credit pair in `slot` (both arrays: tax
// excluded and tax included get the same values unless set otherwise).
host::StKAMOKUSUMINFO MakeAccountSums(int32_t classCode, uint8_t summaryLine = 0,
                                      uint8_t balanceSide = 1);
void SetSlot(host::StKAMOKUSUMINFO* sums, int slot, int64_t debit, int64_t credit,
             bool taxIncluded = false);

struct JournalSide {
  int32_t account = 0;
  int64_t amount = 0;
  uint8_t category = 0;
  int32_t department = 0;
  int64_t tax = 0;
};
host::StSWKTINFO MakeEntry(const JournalSide& debit, const JournalSide& credit);

host::StBUMONINFO MakeDepartment(int32_t code, uint8_t kind, int32_t link, uint8_t incomeType);
host::StKOTEISHISANINFO MakeAsset(int32_t kind, int64_t amount, int16_t incomeType = 0);
host::StTAXSUMINFO MakeTaxSumLine(const std::string& codeText, int64_t amount);

// True when `items` (an array ended by link 0) matches; valueOf gives the
// value of a field (with the journal side for field 3), or nothing when the
// record has no such field (the comparison is then false).
bool ConditionMatches(const host::StFINDINFO* items,
                      const std::function<std::optional<int64_t>(int32_t field, int16_t side)>&
                          valueOf);

// ---- Scripted data ---------------------------------------------------------------

struct FakeJournalEntry {
  host::StSWKTINFO record;
  int month = 1;          // month position 1..12, or closing code 15/18
  int businessType = 1;   // 1..6
  int ratePercent = 8;    // 10 marks the entries the 10% check looks for
};

struct FakeAsset {
  host::StKOTEISHISANINFO record;
  int32_t date = 0;  // yyyymmdd
};

struct FakeTaxSumLine {
  host::StTAXSUMINFO record;
  long rate = 300;
};

class FakeHost : public host::HostLibrary {
 public:
  FakeHost();
  ~FakeHost() override;

  // Scripted data.
  host::StDATAINFO dataset;
  host::StSHOHIZEIINFO taxSettings;
  bool hasTaxSettingsSet = true;
  long taxRateCount = 3;
  std::vector<host::StKAMOKUINFO> accounts;
  std::vector<host::StBUMONINFO> departments;
  // Account sums per department code; key 0 holds the sums of a walk
  // without a department.
  std::map<int32_t, std::vector<host::StKAMOKUSUMINFO>> accountSums;
  std::vector<FakeJournalEntry> journal;
  std::vector<FakeAsset> assets;
  std::vector<FakeTaxSumLine> taxSumLines;
  // First and last day per month slot (1..12, 15, 18); other slots fail.
  std::map<int, std::pair<long, long>> slotDates;
  // Fills the report arrays in SumTax (rates, businessTypes, rate count).
  std::function<void(host::StTAXREPORTRATEINFO*, host::StTAXREPORTBUSINESSTYPEINFO*, long)>
      fillTaxReport;

  // Failure injection.
  std::set<std::string> cannotCreate;  // "Shiwake", "Kamoku", "Shohizei",
                                       // "Shinkoku", "Genkashokyaku", "Period"
  long zeiRateStatus = 0;       // result of CheckExistSwkByZeiRate
  long jigyoBunruiStatus = 0;   // result of CheckExistSwkByJigyoBunrui
  long swkCountStatus = 0;      // result of GetSwkCount
  long journalFailAt = -1;      // MoveNext of this entry index fails ...
  long journalFailStatus = 9;   // ... with this status
  long taxSumFailAt = -1;       // MoveNext of this tax-summary line fails
  long assetFailAt = -1;        // Move of this asset index fails
  std::set<int32_t> failingDepartmentWalks;  // Kamoku MoveReady fails for these codes

  // Observations.
  struct LastError { long code; std::string source; unsigned long line; };
  std::vector<LastError> lastErrors;
  int liveWalkers = 0;
  int walkersCreated = 0;
  int openDepartmentCursors = 0;
  int taxReportCalls = 0;
  uint8_t lastFilingClass = 0;
  struct TaxSumReady { int16_t from; int16_t to; long rate; int taxIncluded; };
  std::vector<TaxSumReady> taxSumReadies;
  std::vector<int> kamokuDepartmentTypes;  // departmentType of each Kamoku MoveReady
  std::vector<std::pair<long, long>> assetDateRanges;  // per asset MoveReady
  std::vector<std::string> calls;  // e.g. "Shiwake.MoveFinish"

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

  // Helpers for the fakes.
  bool JournalMatches(const FakeJournalEntry& e, const host::StFINDINFO* condition) const;
  void Log(std::string call) { calls.push_back(std::move(call)); }

 private:
  struct Parts;
  std::unique_ptr<Parts> parts_;
  host::MessageSink sink_;
};

}  // namespace ltb::testing
