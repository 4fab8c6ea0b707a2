// The run's real pieces: the conditions dialog, the aggregation engine with
// its progress dialog, and the report writers.
#pragma once

#include "app/run_components.h"
#include "host/host.h"
#include "platform/env.h"
#include "report/report.h"
#include "resources/edition.h"
#include "ui/seat.h"

namespace ltb::app {

class RealComponents : public RunComponents, public ReportWriters {
 public:
  // Nothing is owned; all must outlive the object.
  RealComponents(host::HostLibrary& host, platform::Env& env, ui::Seat& seat,
                 const Edition& edition);

  std::unique_ptr<ConditionsDialog> NewConditionsDialog(host::WindowHandle owner) override;
  std::unique_ptr<Aggregation> NewAggregation(ui::ProgressView* view) override;
  ReportWriters& Reports() override { return *this; }

  bool WriteJournalReport(const ReportInput& in, const host::StDATAINFO& data,
                          const host::StSHOHIZEIINFO& settings, int32_t* exitCode) override;
  bool WriteReturnValuesReport(const ReportInput& in, const host::StDATAINFO& data,
                               int32_t* exitCode) override;

 private:
  host::HostLibrary& host_;
  platform::Env& env_;
  ui::Seat& seat_;
  const Edition& edition_;
};

// The report writers' view of the driver's input.
report::ReportContext ToReportContext(host::HostLibrary& host, platform::Env& env,
                                      const Edition& edition, const ReportInput& in);

}  // namespace ltb::app
