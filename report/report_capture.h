// Runs report writers into memory instead of a file, so that the program
// can look at what a report would hold without writing one: the layout a
// report must have, and the DATA sections of both methods side by side.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "report/report_writer.h"

namespace ltb::report {

// The bytes `write` puts through a ReportWriter whose file lives in memory;
// nullopt when `write` returns false. Nothing touches the disk.
std::optional<std::string> CaptureReportText(const std::function<bool(ReportWriter&)>& write);

// The first line of every report, with its CR LF.
inline constexpr std::string_view kReportDeclaration =
    "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n";

// A whole report as the writers lay it out (declaration, REPORT, SYSTEM,
// BASIC, DATA with every block and element, in the order of the file),
// with the values of an empty dataset.
const std::string& ReportLayoutText();

}  // namespace ltb::report
