// The application object: start-up runs the whole job, shut-down closes the
// host connection and tells the parent program how the run ended.
#pragma once

#include <memory>
#include <string_view>

#include "app/parent_window.h"
#include "app/run_components.h"
#include "app/run_context.h"
#include "host/host.h"
#include "platform/env.h"
#include "resources/edition.h"
#include "ui/seat.h"

namespace ltb::app {

class TaxLinkApp {
 public:
  // Routes the host's message boxes to the seat. None of the references
  // are owned; all must outlive the object.
  TaxLinkApp(host::HostLibrary& host, platform::Env& env, ui::Seat& seat,
             const Edition& edition, ParentWindow& parent, RunComponents& components);
  // Takes the message route back from the host.
  ~TaxLinkApp();
  TaxLinkApp(const TaxLinkApp&) = delete;
  TaxLinkApp& operator=(const TaxLinkApp&) = delete;

  // Start-up: connection, command line, parent, working folder, environment,
  // link permission, dataset, dialog, checks, aggregation, report, settings,
  // final message. False when the run ended early.
  bool InitInstance(std::string_view commandLine);
  // Shut-down: logs out of the host and notifies the parent. Runs after
  // InitInstance on every path.
  void ExitInstance();
  // Both, in order; returns exitCode.
  int Run(std::string_view commandLine);

  const RunContext& context() const { return ctx_; }

 private:
  bool RunJournalMethod(Aggregation& aggregation, const host::StDATAINFO& data,
                        int startMonth, int endMonth, const std::string& outputPath);
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
