#include "report/report_reader.h"

#include <algorithm>

#include "platform/cp932.h"
#include "platform/messages.h"
#include "report/xml_safe_text.h"

namespace ltb::report {
namespace {

// How much of a line a message quotes.
constexpr size_t kQuotedBytes = 80;

bool IsNameChar(char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

bool IsName(std::string_view name) {
  if (name.empty()) return false;
  for (char c : name) {
    if (!IsNameChar(c)) return false;
  }
  return true;
}

// Replaces the writer's five entities; false on a bare '<', '>' or '&', and
// on a control character the writer never writes (--show prints the text
// to a terminal, which an ESC would drive).
bool Unescape(std::string_view text, std::string* out) {
  static constexpr std::pair<std::string_view, char> kEntities[] = {
      {"&amp;", '&'}, {"&gt;", '>'}, {"&lt;", '<'}, {"&quot;", '"'}, {"&apos;", '\''}};
  out->clear();
  for (char c : text) {
    if (XmlSafeByte(c) != c) return false;
  }
  for (size_t i = 0; i < text.size();) {
    const char c = text[i];
    if (c == '<' || c == '>') return false;
    if (c != '&') {
      // A double-byte character is taken whole: its second byte is no
      // markup, whatever its value.
      const size_t width =
          platform::IsLeadByte(static_cast<unsigned char>(c)) && i + 1 < text.size() ? 2 : 1;
      out->append(text.substr(i, width));
      i += width;
      continue;
    }
    bool known = false;
    for (const auto& [entity, plain] : kEntities) {
      if (text.substr(i, entity.size()) == entity) {
        out->push_back(plain);
        i += entity.size();
        known = true;
        break;
      }
    }
    if (!known) return false;
  }
  return true;
}

// The line quoted for a message, in UTF-8. Control characters other than
// tab appear as \xHH: a damaged file must not drive the terminal.
std::string Quote(std::string_view line) {
  const bool cut = line.size() > kQuotedBytes;
  if (cut) line = platform::CutOnCharBoundary(line, kQuotedBytes);
  std::string visible;
  for (char c : line) {
    const unsigned char u = static_cast<unsigned char>(c);
    if ((u < 0x20 && c != '\t') || u == 0x7F) {
      static constexpr char kHex[] = "0123456789ABCDEF";
      visible.append({'\\', 'x', kHex[u >> 4], kHex[u & 0xF]});
    } else {
      visible.push_back(c);
    }
  }
  return "\"" + platform::Cp932ToUtf8(visible) + (cut ? "...\"" : "\"");
}

// What a layout line asks for, in words.
std::string Expected(const ReportLine& want, std::string_view raw) {
  if (want.kind == ReportLine::Kind::kElement) {
    return platform::Format(platform::Tr("the element %s at level %d"), want.name.c_str(),
                            want.level);
  }
  if (want.kind == ReportLine::Kind::kOther) return Quote(raw);
  return platform::Format(want.kind == ReportLine::Kind::kStartTag
                              ? platform::Tr("<%s> at level %d")
                              : platform::Tr("</%s> at level %d"),
                          want.name.c_str(), want.level);
}

// The next line of `text` from *pos without its CR LF; false at the end.
// *terminated tells whether it ended in CR LF.
bool NextLine(std::string_view text, size_t* pos, std::string_view* line, bool* terminated) {
  if (*pos >= text.size()) return false;
  // Lines are cut at LF, so that a file with other line ends is still
  // quoted line by line; only CR LF counts as a proper end.
  const size_t lf = text.find('\n', *pos);
  const size_t stop = lf == std::string_view::npos ? text.size() : lf;
  *terminated = lf != std::string_view::npos && lf > *pos && text[lf - 1] == '\r';
  *line = text.substr(*pos, stop - *pos - (*terminated ? 1 : 0));
  *pos = lf == std::string_view::npos ? text.size() : lf + 1;
  return true;
}

// An element whose text holds a line break (a company name with an LF,
// which the writer keeps) spans several lines of the file: from `start` to
// the first end tag of its name that ends a line. The text holds no '<', so
// that end tag is its own; a damaged file gives no element of `want`'s
// shape, and false. *next is where the line after it starts, *breaks the
// number of line breaks inside it.
bool SpanningElement(std::string_view file, size_t start, const ReportLine& want,
                     std::string_view* element, ReportLine* parsed, size_t* next, int* breaks) {
  const std::string endTag = "</" + want.name + ">\r\n";
  const size_t end = file.find(endTag, start);
  if (end == std::string_view::npos) return false;
  const std::string_view whole = file.substr(start, end + endTag.size() - 2 - start);
  ReportLine line = ParseReportLine(whole);
  if (line.kind != ReportLine::Kind::kElement || line.level != want.level ||
      line.name != want.name) {
    return false;
  }
  *element = whole;
  *parsed = std::move(line);
  *next = end + endTag.size();
  *breaks = static_cast<int>(std::count(whole.begin(), whole.end(), '\n'));
  return true;
}

bool SameShape(const ReportLine& a, const ReportLine& b) {
  return a.kind == b.kind && a.level == b.level && a.name == b.name;
}

// Keeps track of the enclosing section or block while elements go by.
class BlockTracker {
 public:
  void Take(const ReportLine& line, int number, std::vector<ReportElement>* elements) {
    if (line.kind == ReportLine::Kind::kStartTag) {
      open_.push_back(line.name);
    } else if (line.kind == ReportLine::Kind::kEndTag) {
      if (!open_.empty()) open_.pop_back();
    } else if (line.kind == ReportLine::Kind::kElement) {
      elements->push_back(
          {open_.empty() ? std::string() : open_.back(), line.name, line.text, number});
    }
  }

 private:
  std::vector<std::string> open_;
};

}  // namespace

ReportLine ParseReportLine(std::string_view line) {
  ReportLine out;
  size_t level = 0;
  while (level < line.size() && line[level] == '\t') ++level;
  out.level = static_cast<int>(level);
  std::string_view rest = line.substr(level);
  if (rest.size() < 3 || rest.front() != '<' || rest.back() != '>') return out;
  if (rest[1] == '/') {
    std::string_view name = rest.substr(2, rest.size() - 3);
    if (!IsName(name)) return out;
    out.kind = ReportLine::Kind::kEndTag;
    out.name = std::string(name);
    return out;
  }
  const size_t close = rest.find('>');
  std::string_view name = rest.substr(1, close - 1);
  if (!IsName(name)) return out;
  if (close == rest.size() - 1) {
    out.kind = ReportLine::Kind::kStartTag;
    out.name = std::string(name);
    return out;
  }
  const std::string endTag = "</" + std::string(name) + ">";
  if (rest.size() < close + 1 + endTag.size() ||
      rest.substr(rest.size() - endTag.size()) != endTag) {
    return out;
  }
  std::string_view text = rest.substr(close + 1, rest.size() - endTag.size() - close - 1);
  if (!Unescape(text, &out.text)) return out;
  out.kind = ReportLine::Kind::kElement;
  out.name = std::string(name);
  return out;
}

bool ReportElements(std::string_view text, std::vector<ReportElement>* elements,
                    std::string* error) {
  elements->clear();
  BlockTracker blocks;
  size_t pos = 0;
  std::string_view raw;
  bool terminated = false;
  for (int number = 1; NextLine(text, &pos, &raw, &terminated); ++number) {
    const ReportLine line = ParseReportLine(raw);
    if (!terminated || line.kind == ReportLine::Kind::kOther) {
      *error =
          platform::Format(platform::Tr("line %d is no tag line: %s"), number, Quote(raw).c_str());
      return false;
    }
    blocks.Take(line, number, elements);
  }
  return true;
}

bool ReadReport(std::string_view file, std::string_view layout,
                std::vector<ReportElement>* elements, std::string* error) {
  elements->clear();
  BlockTracker blocks;
  size_t filePos = 0, layoutPos = 0;
  std::string_view want, got;
  bool wantEnded = false, gotEnded = false;
  int fileLine = 0;  // the file's line number, ahead of the layout's after a spanning element
  for (int number = 1;; ++number) {
    ++fileLine;
    const size_t lineStart = filePos;
    const bool haveWant = NextLine(layout, &layoutPos, &want, &wantEnded);
    const bool haveGot = NextLine(file, &filePos, &got, &gotEnded);
    if (!haveWant && !haveGot) return true;
    const ReportLine wanted = ParseReportLine(want);
    if (!haveGot) {
      *error = platform::Format(platform::Tr("line %d: the file ends where %s should follow"),
                                fileLine, Expected(wanted, want).c_str());
      return false;
    }
    if (!haveWant) {
      *error = platform::Format(platform::Tr("line %d: the report should have ended, found %s"),
                                fileLine, Quote(got).c_str());
      return false;
    }
    ReportLine found = ParseReportLine(got);
    int breaks = 0;
    if (wanted.kind == ReportLine::Kind::kElement && !SameShape(wanted, found) &&
        SpanningElement(file, lineStart, wanted, &got, &found, &filePos, &breaks)) {
      gotEnded = true;
    }
    const bool same =
        wanted.kind == ReportLine::Kind::kOther ? got == want : SameShape(wanted, found);
    if (!same) {
      *error = platform::Format(platform::Tr("line %d: expected %s, found %s"), fileLine,
                                Expected(wanted, want).c_str(), Quote(got).c_str());
      return false;
    }
    if (!gotEnded) {
      *error = platform::Format(platform::Tr("line %d: the line does not end in CR LF"), fileLine);
      return false;
    }
    blocks.Take(found, fileLine, elements);
    fileLine += breaks;
  }
}

}  // namespace ltb::report
