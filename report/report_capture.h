// Runs report writers into memory instead of a file, so that the program
// can look at what a report would hold without writing one: the layout a
// report must have, and the DATA sections of both methods side by side.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/env.h"
#include "report/report_writer.h"

namespace ltb::report {

// The bytes `write` puts through a ReportWriter whose file lives in memory;
// nullopt when `write` returns false. Nothing is written to the disk:
// what is created, renamed or removed stays in memory, and reading falls
// back to `files`.
std::optional<std::string> CaptureReportText(platform::Env& files,
                                             const std::function<bool(ReportWriter&)>& write);

// The first line of every report, with its CR LF.
inline constexpr std::string_view kReportDeclaration =
    "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n";

// A whole report as the writers lay it out (declaration, REPORT, SYSTEM,
// BASIC, DATA with every block and element, in the order of the file),
// with the values of an empty dataset. Built once, on the first call,
// reading through `files`.
const std::string& ReportLayoutText(platform::Env& files);

}  // namespace ltb::report
