#include "app/window_id.h"

#include <cstdlib>

#include "app/command_line.h"
#include "platform/messages.h"

namespace ltb::app {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// "0x" or "0X" followed by at least one hexadecimal digit.
bool HasHexPrefix(std::string_view s) {
  return s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X') && IsHexDigit(s[2]);
}

}  // namespace

host::WindowHandle ReadWindowId(std::string_view item) {
  std::string_view s = item;
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  if (HasHexPrefix(s)) {
    const std::string copy(s);  // strtoull needs a terminated string
    return static_cast<host::WindowHandle>(std::strtoull(copy.c_str(), nullptr, 16));
  }
  return static_cast<host::WindowHandle>(LeadingLong(item));
}

bool IsWindowIdText(std::string_view item) {
  std::string_view s = TrimBlanks(item);
  if (HasHexPrefix(s)) {
    for (char c : s.substr(2)) {
      if (!IsHexDigit(c)) return false;
    }
    return true;
  }
  if (!s.empty() && (s[0] == '+' || s[0] == '-')) s.remove_prefix(1);
  if (s.empty()) return false;
  for (char c : s) {
    if (!IsDigit(c)) return false;
  }
  return true;
}

std::string WindowItemWarning(std::string_view line) {
  const size_t comma = line.find(',');
  if (comma == std::string_view::npos) return {};
  const std::string_view item = line.substr(0, comma);
  if (TrimBlanks(item).empty() || IsWindowIdText(item)) return {};
  return platform::Format(platform::Tr("The parent window item \"%s\" is neither a decimal nor a "
                                       "0x hexadecimal window id, so it is read as %llu. Give the "
                                       "window id in decimal or as 0x hexadecimal."),
                          std::string(item).c_str(),
                          static_cast<unsigned long long>(ReadWindowId(item)));
}

}  // namespace ltb::app
