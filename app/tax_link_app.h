// The application object: start-up runs the whole job, shut-down closes the
// host connection and tells the parent program how the run ended.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "app/parent_window.h"
#include "app/run_components.h"
#include "app/run_context.h"
#include "host/host.h"
#include "platform/env.h"
#include "resources/edition.h"
#include "ui/conditions.h"
#include "ui/seat.h"

namespace ltb::app {

class TaxLinkApp {
 public:
  // Routes the host's message boxes to the seat. None of the references
  // are owned; all must outlive the object.
  TaxLinkApp(host::HostLibrary& host, platform::Env& env, ui::Seat& seat, const Edition& edition,
             ParentWindow& parent, RunComponents& components);
  // Takes the message route back from the host.
  ~TaxLinkApp();
  TaxLinkApp(const TaxLinkApp&) = delete;
  TaxLinkApp& operator=(const TaxLinkApp&) = delete;

  // Start-up, the whole run as its steps: connect to the host, attach to
  // the parent, enter the program's folder, check the environment, get the
  // link permission, read the dataset and the saved tax-return values, ask
  // the conditions, run the chosen method (checks, aggregation and report,
  // or the report from the saved values), remember the conditions, free the
  // run's buffers, tell the person. False when the run ended early.
  bool InitInstance(std::string_view commandLine);
  // Shut-down: logs out of the host and notifies the parent. Runs after
  // InitInstance on every path.
  void ExitInstance();
  // Both, in order; returns exitCode.
  int Run(std::string_view commandLine);

  const RunContext& context() const { return ctx_; }

 private:
  // The conditions chosen in the dialog, as the run uses them.
  struct ChosenConditions {
    int16_t startMonth = 0;
    int16_t endMonth = 0;
    std::string outputPath;  // at most 260 bytes, CP932
    ui::AggregationMode mode = ui::kJournalAggregation;
  };

  // The steps of start-up, in the order they run. A step that returns
  // false has set exitCode (and shown its message, if any); the run ends.
  bool ConnectToHost();
  void AttachToParent(std::string_view commandLine);
  void EnterProgramFolder();
  bool PassEnvironmentCheck();
  bool GetLinkPermission();
  bool LoadReturnValues(const host::StDATAINFO& data);
  ui::ConditionsInput DialogInput(const host::StDATAINFO& data, bool returnValuesAvailable);
  bool AskConditions(ConditionsDialog& dialog, ChosenConditions* chosen);
  bool RunReturnValuesMethod(const host::StDATAINFO& data, const ChosenConditions& chosen);
  bool RunJournalMethod(Aggregation& aggregation, const host::StDATAINFO& data,
                        const ChosenConditions& chosen);
  void RememberConditions(ConditionsDialog& dialog, const ChosenConditions& chosen);
  void FreeRunBuffers();

  // The steps of the journal method.
  bool AllocateTotals();
  void SetSearchCondition(Aggregation& aggregation, const host::StDATAINFO& data,
                          const ChosenConditions& chosen);
  bool CheckSixthBusinessType(Aggregation& aggregation, const host::StSHOHIZEIINFO& settings,
                              int startMonth);
  bool CheckTenPercentEntries(Aggregation& aggregation);
  void NoteImportCategories(Aggregation& aggregation, const host::StSHOHIZEIINFO& settings);
  bool StoppedByPerson(Aggregation& aggregation);
  bool Aggregate(Aggregation& aggregation, const host::StDATAINFO& data,
                 const host::StSHOHIZEIINFO& settings);
  bool WriteJournalReport(const host::StDATAINFO& data, const host::StSHOHIZEIINFO& settings,
                          const std::string& outputPath);

  // Sets exitCode and returns false: the run ends here.
  bool EndRun(int32_t exitCode);
  int Message(std::string_view text, unsigned flags);
  ReportInput MakeReportInput(const std::string& outputPath) const;

  host::HostLibrary& host_;
  platform::Env& env_;
  ui::Seat& seat_;
  const Edition& edition_;
  ParentWindow& parent_;
  RunComponents& components_;
  RunContext ctx_;
};

}  // namespace ltb::app
