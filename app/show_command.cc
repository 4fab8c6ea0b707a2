#include "app/show_command.h"

#include <sys/stat.h>

#include <fstream>

#include "platform/cp932.h"
#include "report/element_labels.h"
#include "report/report_capture.h"

namespace ltb::app {
namespace {

constexpr int kShown = 0;
constexpr int kNotAReport = 2;
// Far more than any report; a bigger file is not one.
constexpr std::streamsize kMaxReportBytes = 4 << 20;

bool IsAmount(std::string_view text) {
  if (!text.empty() && text.front() == '-') text.remove_prefix(1);
  if (text.empty() || text.size() > 19) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

bool IsDateElement(std::string_view name) {
  return name == "JIGYOUNENDOFROM" || name == "JIGYOUNENDOTO";
}

// 20160401 gives 2016/04/01; anything else stays as it is.
std::string DateText(const std::string& text) {
  if (text.size() != 8 || !IsAmount(text)) return text;
  return text.substr(0, 4) + "/" + text.substr(4, 2) + "/" + text.substr(6, 2);
}

}  // namespace

bool ReportFigureTable(const std::vector<report::ReportElement>& elements, bool all,
                       FigureTable* table, std::string* error) {
  table->headings = {"項目", "値", "要素名"};
  table->rightAligned = {false, true, false};
  table->rows.clear();
  for (const report::ReportElement& e : elements) {
    const bool figures = e.block != "SYSTEM" && e.block != "BASIC";
    std::string value = e.text;
    if (report::IsCodeElement(e.name)) {
      const std::string_view meaning = report::CodeMeaningOf(e.name, e.text);
      if (!meaning.empty()) value += " " + std::string(meaning);
    } else if (IsDateElement(e.name)) {
      value = DateText(e.text);
    } else if (figures) {
      if (!e.text.empty() && !IsAmount(e.text)) {
        *error = "line " + std::to_string(e.line) + ": " + e.name + " holds \"" +
                 platform::Cp932ToUtf8(e.text) + "\", not an amount";
        return false;
      }
      value = WithThousandsSeparators(e.text);
    }
    if (e.text.empty() && !all) continue;
    std::string label(report::ElementLabel(e.name));
    std::string group(report::BlockLabel(e.block));
    table->rows.push_back({group.empty() ? e.block : group,
                           {label.empty() ? e.name : label, value, e.name},
                           !figures});
  }
  return true;
}

int RunShowCommand(platform::Env& env, const char* program, const std::string& path,
                   const ShowOptions& options, std::FILE* out, std::FILE* err) {
  // Only a regular file: a pipe or a device named here would block or
  // never end.
  struct stat st;
  if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
    std::fprintf(err, "%s: %s is not a regular file\n", program, path.c_str());
    return kNotAReport;
  }
  std::ifstream in(path, std::ios::binary);
  std::string file;
  if (in) {
    file.resize(static_cast<size_t>(kMaxReportBytes) + 1);
    in.read(file.data(), kMaxReportBytes + 1);
    file.resize(static_cast<size_t>(in.gcount()));
  }
  if (!in && !in.eof()) {
    std::fprintf(err, "%s: cannot read %s\n", program, path.c_str());
    return kNotAReport;
  }
  if (file.size() > static_cast<size_t>(kMaxReportBytes)) {
    std::fprintf(err, "%s: %s is not a report of this program: it is far too large\n", program,
                 path.c_str());
    return kNotAReport;
  }
  std::vector<report::ReportElement> elements;
  std::string error;
  FigureTable table;
  if (!report::ReadReport(file, report::ReportLayoutText(env), &elements, &error) ||
      !ReportFigureTable(elements, options.all, &table, &error)) {
    std::fprintf(err, "%s: %s is not a report of this program: %s\n", program, path.c_str(),
                 error.c_str());
    return kNotAReport;
  }
  if (options.csv) {
    PrintCsv(table, "区分", out);
  } else {
    PrintTable(table, out);
  }
  return std::fflush(out) == 0 ? kShown : kNotAReport;
}

}  // namespace ltb::app
