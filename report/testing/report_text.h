// Reading the report text back in tests.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ltb::report::testing {

// The text of the first element <name>...</name> on one line, or nullopt.
inline std::optional<std::string> ElementText(std::string_view file, std::string_view name,
                                              size_t from = 0) {
  std::string open = "<" + std::string(name) + ">";
  std::string close = "</" + std::string(name) + ">";
  size_t at = file.find(open, from);
  if (at == std::string_view::npos) return std::nullopt;
  size_t start = at + open.size();
  size_t end = file.find(close, start);
  if (end == std::string_view::npos) return std::nullopt;
  return std::string(file.substr(start, end - start));
}

// The lines of `file`, split at CR LF (without them).
inline std::vector<std::string> Lines(std::string_view file) {
  std::vector<std::string> lines;
  size_t pos = 0;
  while (pos < file.size()) {
    size_t end = file.find("\r\n", pos);
    if (end == std::string_view::npos) {
      lines.emplace_back(file.substr(pos));
      break;
    }
    lines.emplace_back(file.substr(pos, end - pos));
    pos = end + 2;
  }
  return lines;
}

// The part of `file` from <block> to </block>.
inline std::string BlockText(std::string_view file, std::string_view block) {
  std::string open = "<" + std::string(block) + ">";
  std::string close = "</" + std::string(block) + ">";
  size_t at = file.find(open);
  size_t end = file.find(close, at == std::string_view::npos ? 0 : at);
  if (at == std::string_view::npos || end == std::string_view::npos) return {};
  return std::string(file.substr(at, end + close.size() - at));
}

}  // namespace ltb::report::testing
