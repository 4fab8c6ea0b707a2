// The frame both reports share: open the file, write the declaration and
// REPORT, run the sections (asking whether to go on after a failed one) and
// close REPORT and the file.
#pragma once

#include <functional>
#include <span>
#include <string>

#include "host/host.h"
#include "platform/env.h"
#include "report/report_writer.h"
#include "ui/seat.h"

namespace ltb::report {

struct ReportSection {
  // The question asked when the section fails.
  const char* failureQuestion;
  std::function<bool(ReportWriter&)> write;
};

// The questions of the three sections.
inline constexpr const char* kSystemFailedQuestion =
    "システム情報の出力に失敗しました。\n\n出力を続けますか？";
inline constexpr const char* kBasicFailedQuestion =
    "基本情報の出力に失敗しました。\n\n出力を続けますか？";
inline constexpr const char* kDataFailedQuestion =
    "連動情報の出力に失敗しました。\n\n出力を続けますか？";
inline constexpr const char* kMessageCaption = "消費税";
// Shown at the end of a run that went through every section while the file
// could not be created, a write failed or the file could not be closed.
inline constexpr const char* kReportNotFinishedMessage =
    "出力ファイルを最後まで書き込めませんでした。出力ファイルは作成されていません"
    "（以前のファイルはそのまま残っています）。\n\n"
    "出力先の空き容量と書き込み権限を確認してください。";

// kReportNotFinishedMessage with the reason the system gave for the first
// failed step (`why`), when there is one.
std::string ReportNotFinishedText(const platform::IoStatus& why);

// Shown, before anything is written, when the output name is a FIFO, a
// device or a socket: writing there would hang the run or feed another
// program instead of making a report.
inline constexpr const char* kOutputNotAFileMessage =
    "出力ファイル名に、ファイルでもフォルダでもないもの（名前付きパイプやデバイスなど）が"
    "存在するため、出力できません。\n\n出力ファイル名を確認してください。";

// Shown, before anything is written, when the output file exists and this
// user may not write it (a report made read-only): it is kept.
std::string ReadOnlyOutputMessage(const std::string& outputPath);

// True when every section ran (failed sections answered Yes) into a file
// that took every write and closed; false when the user answered anything
// but Yes. The file is closed in both cases, with </REPORT> written when the
// file still takes writes. A file that cannot be created shows itself as the
// failure of the first section. When the sections went through but the file
// was not created, a write failed or the close failed, the user is told
// (kReportNotFinishedMessage) and the result is false. The report replaces
// the file at outputPath only when it is written whole (ReportWriter); an
// output name that is neither a file nor a folder is refused at once
// (kOutputNotAFileMessage, false), and so is an output file this user may
// not write (ReadOnlyOutputMessage, false).
bool RunReport(ui::Seat& seat, host::WindowHandle owner, platform::Env* env,
               const std::string& outputPath, std::span<const ReportSection> sections);

}  // namespace ltb::report
