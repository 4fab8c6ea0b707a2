#include "report/report_run.h"

namespace ltb::report {

bool RunReport(ui::Seat& seat, host::WindowHandle owner, platform::Env* env,
               const std::string& outputPath, std::span<const ReportSection> sections) {
  ReportWriter writer;
  // A file that cannot be created, or a failing first line, shows itself as
  // the failure of the first section, so these results are not checked.
  writer.Open(env, outputPath);
  writer.WriteLine("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n");
  writer.WriteStartTag("REPORT", 0);

  bool completed = true;
  for (const ReportSection& section : sections) {
    if (section.write(writer)) continue;
    int answer = seat.MessageBox(owner, section.failureQuestion, kMessageCaption,
                                 ui::kMbYesNo | ui::kMbIconWarning);
    if (answer != ui::kIdYes) {
      completed = false;
      break;
    }
  }
  // The user has not heard of a failure that first shows at the closing
  // tag or at the close itself: the report would be called finished while
  // its end never reached the disk.
  const bool wasWritable = writer.writable();
  writer.WriteEndTag("REPORT", 0);
  writer.Close();
  if (completed && wasWritable && writer.broken()) {
    seat.MessageBox(owner, kReportNotFinishedMessage, kMessageCaption,
                    ui::kMbOk | ui::kMbIconWarning);
    completed = false;
  }
  return completed;
}

}  // namespace ltb::report
