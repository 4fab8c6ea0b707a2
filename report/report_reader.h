// Reads a report file back: splits it into its lines, checks them against
// the layout the writers produce (declaration, sections, blocks, element
// names and order, indentation, CR LF) and hands out the elements with
// their texts.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ltb::report {

// One line of a report, without its CR LF.
struct ReportLine {
  enum class Kind { kOther, kStartTag, kElement, kEndTag };
  Kind kind = Kind::kOther;
  int level = 0;     // leading TABs
  std::string name;  // tag name
  std::string text;  // an element's text with the entities replaced
};

// Splits `line` (no CR LF) into its parts. An element's text must be free
// of '<' and '>', use '&' only for the five entities the writer makes and
// hold no control character the writer keeps out (XmlSafeByte); otherwise,
// or for anything but a bare tag, the kind is kOther.
ReportLine ParseReportLine(std::string_view line);

// An element of a report and where it stands.
struct ReportElement {
  std::string block;  // the enclosing section or block (SYSTEM, D020110, KANPUK ...)
  std::string name;
  std::string text;  // CP932, entities replaced
  int line = 0;      // 1-based line number in the file
};

// Splits `text` (a whole report, or a section of one) into elements, the
// tag lines giving the blocks. False with *error when a line does not end
// in CR LF or is no tag line; *error names the line.
bool ReportElements(std::string_view text, std::vector<ReportElement>* elements,
                    std::string* error);

// Checks `file` (the bytes of a report file) line by line against `layout`
// (ReportLayoutText()): the same lines, tags, names, levels and order, any
// element text. On success fills *elements. Otherwise *error (UTF-8) names
// the first line that differs, with what was expected and what was found.
bool ReadReport(std::string_view file, std::string_view layout,
                std::vector<ReportElement>* elements, std::string* error);

}  // namespace ltb::report
