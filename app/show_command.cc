#include "app/show_command.h"

#include <cerrno>
#include <cstring>

#include "platform/cp932.h"
#include "platform/messages.h"
#include "platform/posix_env.h"
#include "report/element_labels.h"
#include "report/report_capture.h"

namespace ltb::app {

using platform::Format;
using platform::Tr;
namespace {

constexpr int kShown = 0;
constexpr int kNotAReport = 2;
// Far more than any report; a bigger file is not one.
constexpr size_t kMaxReportBytes = 4 << 20;

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

// The text with its control characters written out (\r, \n, \t, else
// \xHH), so that a line break or a CR in a company name shows as what it is
// and never moves the terminal's cursor. CP932 never uses these bytes
// inside a character.
std::string VisibleText(std::string_view text) {
  std::string out;
  for (char c : text) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u >= 0x20 && u != 0x7F) {
      out.push_back(c);
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else {
      static constexpr char kHex[] = "0123456789ABCDEF";
      out += {'\\', 'x', kHex[u >> 4], kHex[u & 0xF]};
    }
  }
  return out;
}

}  // namespace

bool ReportFigureTable(const std::vector<report::ReportElement>& elements, bool all,
                       FigureTable* table, std::string* error) {
  table->headings = {"項目", "値", "要素名"};
  table->rightAligned = {false, true, false};
  table->rows.clear();
  for (const report::ReportElement& e : elements) {
    const bool figures = e.block != "SYSTEM" && e.block != "BASIC";
    std::string value = VisibleText(e.text);
    if (report::IsCodeElement(e.name)) {
      const std::string_view meaning = report::CodeMeaningOf(e.name, e.text);
      if (!meaning.empty()) value += " " + std::string(meaning);
    } else if (IsDateElement(e.name)) {
      value = DateText(e.text);
    } else if (figures) {
      if (!e.text.empty() && !IsAmount(e.text)) {
        *error = Format(Tr("line %d: %s holds \"%s\", not an amount"), static_cast<int>(e.line),
                        e.name.c_str(), platform::Cp932ToUtf8(e.text).c_str());
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
  // Only a regular file (a link to one is followed: the user named it): a
  // pipe or a device named here would block or never end.
  std::string file;
  switch (platform::ReadRegularLinuxFile(path, true, &file, kMaxReportBytes)) {
    case platform::ReadStatus::kOk: break;
    case platform::ReadStatus::kNotRegular:
      std::fprintf(err, "%s: %s\n", program,
                   Format(Tr("%s is not a regular file: give the report file that the program "
                             "wrote."),
                          path.c_str())
                       .c_str());
      return kNotAReport;
    case platform::ReadStatus::kTooLarge:
      std::fprintf(err, "%s: %s\n", program,
                   Format(Tr("%s is not a report of this program: it is far too large. Give the "
                             "report file that the program wrote."),
                          path.c_str())
                       .c_str());
      return kNotAReport;
    case platform::ReadStatus::kMissing:
    case platform::ReadStatus::kFailed: {
      const int why = errno;
      std::fprintf(err, "%s: %s\n", program,
                   Format(Tr("The program cannot read the report %s: %s. Check the file name."),
                          path.c_str(), std::strerror(why != 0 ? why : ENOENT))
                       .c_str());
      return kNotAReport;
    }
  }
  std::vector<report::ReportElement> elements;
  std::string error;
  FigureTable table;
  if (!report::ReadReport(file, report::ReportLayoutText(env), &elements, &error) ||
      !ReportFigureTable(elements, options.all, &table, &error)) {
    std::fprintf(err, "%s: %s\n", program,
                 Format(Tr("%s is not a report of this program: %s. Give the report file that "
                           "the program wrote."),
                        path.c_str(), error.c_str())
                     .c_str());
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
