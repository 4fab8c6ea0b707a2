#include "report/report.h"

#include "report/data_section.h"
#include "report/header_sections.h"
#include "report/report_run.h"
#include "report/return_data_section.h"

namespace ltb::report {
namespace {

constexpr int kExitError = 2;

}  // namespace

bool WriteJournalReport(ui::Seat& seat, host::WindowHandle owner, const std::string& outputPath,
                        const ReportContext& ctx, const host::StDATAINFO& data,
                        const host::StSHOHIZEIINFO& settings, int* exitCode) {
  const ReportSection sections[] = {
      {kSystemFailedQuestion, [&](ReportWriter& w) { return WriteSystemSection(w, ctx); }},
      {kBasicFailedQuestion,
       [&](ReportWriter& w) { return WriteBasicSection(w, ctx, data, BasicSource::kJournal); }},
      {kDataFailedQuestion,
       [&](ReportWriter& w) { return WriteDataSection(w, ctx, data, settings); }},
  };
  if (RunReport(seat, owner, ctx.env, outputPath, sections)) return true;
  if (exitCode != nullptr) *exitCode = kExitError;
  return false;
}

bool WriteReturnValuesReport(ui::Seat& seat, host::WindowHandle owner,
                             const std::string& outputPath, const ReportContext& ctx,
                             const host::StDATAINFO& data, int* exitCode) {
  const ReportSection sections[] = {
      {kSystemFailedQuestion, [&](ReportWriter& w) { return WriteSystemSection(w, ctx); }},
      {kBasicFailedQuestion,
       [&](ReportWriter& w) {
         return WriteBasicSection(w, ctx, data, BasicSource::kReturnValues);
       }},
      {kDataFailedQuestion, [&](ReportWriter& w) { return WriteReturnDataSection(w, ctx, data); }},
  };
  if (RunReport(seat, owner, ctx.env, outputPath, sections)) return true;
  if (exitCode != nullptr) *exitCode = kExitError;
  return false;
}

}  // namespace ltb::report
