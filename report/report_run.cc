#include "report/report_run.h"

#include "platform/messages.h"

namespace ltb::report {

std::string ReadOnlyOutputMessage(const std::string& outputPath) {
  return platform::Format(
      platform::Tr932("The output file %s is read-only for you, so it was kept as it is and no "
                      "report was written; choose another output file, or make this one writable "
                      "and run again.")
          .c_str(),
      outputPath.c_str());
}

std::string ReportNotFinishedText(const platform::IoStatus& why) {
  std::string text = kReportNotFinishedMessage;
  if (why.code() == platform::IoStatus::Code::kBadPath) {
    // Not the disk nor the permissions: the drive is one the drive table
    // does not map.
    text.append("\n\n").append(platform::Format(
        platform::Tr932("The report file %s is on a drive that the drive table does not map: give "
                        "an output file on another drive, or map this drive with --drives.")
            .c_str(),
        why.path().c_str()));
  } else if (!why.ok()) {
    text.append("\n\n").append(
        platform::Format(platform::Tr932("The report file %s could not be written: %s.").c_str(),
                         why.path().c_str(), why.reason().c_str()));
  }
  return text;
}

bool RunReport(ui::Seat& seat, host::WindowHandle owner, platform::Env* env,
               const std::string& outputPath, std::span<const ReportSection> sections) {
  if (env != nullptr && env->GetEntryKind(outputPath) == platform::EntryKind::kOther) {
    seat.MessageBox(owner, kOutputNotAFileMessage, kMessageCaption, ui::kMbOk | ui::kMbIconWarning);
    return false;
  }
  // A report this user may not write (one made read-only) is kept: on
  // Windows it could not be overwritten, and the rename beside it would
  // replace it all the same.
  if (env != nullptr && env->GetEntryKind(outputPath) == platform::EntryKind::kRegular &&
      !env->Access(outputPath, platform::kAccessWrite)) {
    seat.MessageBox(owner, ReadOnlyOutputMessage(outputPath), kMessageCaption,
                    ui::kMbOk | ui::kMbIconWarning);
    return false;
  }
  ReportWriter writer;
  // A file that cannot be created, or a failing first line, shows itself as
  // the failure of the first section, so these results are not checked.
  const bool created = writer.Open(env, outputPath).ok();
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
  writer.WriteEndTag("REPORT", 0);
  writer.Close();
  // Going on after a failed section can still finish a good file; but a
  // file that was never created, or whose writes failed (down to the
  // closing tag or the close itself), is not a finished report, whatever
  // was answered.
  if (completed && (!created || writer.broken())) {
    seat.MessageBox(owner, ReportNotFinishedText(writer.status()), kMessageCaption,
                    ui::kMbOk | ui::kMbIconWarning);
    completed = false;
  }
  return completed;
}

}  // namespace ltb::report
