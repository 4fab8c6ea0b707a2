// The report reader (the input of --show) over a fuzzed report file.
//
// Input: the bytes of a report file. The seeds are cut from the golden
// reports, which the seed replay also runs whole.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/show_command.h"
#include "fuzz/fuzz_check.h"
#include "platform/testing/memory_env.h"
#include "report/report_capture.h"
#include "report/report_reader.h"
#include "report/report_writer.h"

namespace {

using ltb::report::ReportLine;

// An element's text read back is one the writer writes unchanged: written
// again and read again, the line gives the same name and text.
void CheckElementRoundTrip(const ReportLine& line) {
  std::string again(static_cast<size_t>(line.level), '\t');
  again.append("<").append(line.name).append(">");
  again.append(ltb::report::ReportWriter::EscapeText(line.text));
  again.append("</").append(line.name).append(">");
  const ReportLine reread = ltb::report::ParseReportLine(again);
  LTB_FUZZ_CHECK(reread.kind == ReportLine::Kind::kElement);
  LTB_FUZZ_CHECK(reread.name == line.name);
  LTB_FUZZ_CHECK(reread.text == line.text);
  LTB_FUZZ_CHECK(reread.level == line.level);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view file(reinterpret_cast<const char*>(data), size);

  // Every line on its own: an element's text survives being written again.
  size_t from = 0;
  while (from <= file.size()) {
    size_t end = file.find('\n', from);
    if (end == std::string_view::npos) end = file.size();
    std::string_view line = file.substr(from, end - from);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const ReportLine parsed = ltb::report::ParseReportLine(line);
    LTB_FUZZ_CHECK(parsed.level >= 0 && static_cast<size_t>(parsed.level) <= line.size());
    if (parsed.kind == ReportLine::Kind::kElement) CheckElementRoundTrip(parsed);
    from = end + 1;
  }

  // The whole file against the layout: either elements that stand on lines
  // of the file, in order, or an error that says where.
  ltb::platform::testing::MemoryEnv env;
  std::vector<ltb::report::ReportElement> elements;
  std::string error;
  const bool read =
      ltb::report::ReadReport(file, ltb::report::ReportLayoutText(env), &elements, &error);
  if (!read) {
    LTB_FUZZ_CHECK(!error.empty());
    return 0;
  }
  const size_t lines = static_cast<size_t>(std::count(file.begin(), file.end(), '\n'));
  int previous = 0;
  for (const ltb::report::ReportElement& e : elements) {
    LTB_FUZZ_CHECK(!e.block.empty() && !e.name.empty());
    LTB_FUZZ_CHECK(e.line > previous && static_cast<size_t>(e.line) <= lines);
    previous = e.line;
  }
  // A report that reads gives its figures, or says why not.
  ltb::app::FigureTable table;
  for (bool all : {false, true}) {
    error.clear();
    if (!ltb::app::ReportFigureTable(elements, all, &table, &error)) {
      LTB_FUZZ_CHECK(!error.empty());
    }
  }
  return 0;
}
