#include "app/caller_paths.h"

#include "platform/process.h"

namespace ltb::app {
namespace {

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

std::string CallerWorkingDir() { return platform::CurrentLinuxFolder(); }

bool IsCallerRelative(std::string_view typed) {
  if (typed.empty() || typed[0] == '/' || typed[0] == '\\') return false;
  return !(typed.size() >= 2 && IsAsciiLetter(typed[0]) && typed[1] == ':');
}

std::string CallerAbsolutePath(std::string_view typed, std::string_view callerDir) {
  if (!IsCallerRelative(typed)) return std::string(typed);
  std::string path(callerDir);
  if (path.empty() || path.back() != '/') path += '/';
  // A backslash never occurs inside a UTF-8 sequence; it separates, as it
  // does in the Windows paths the program keeps.
  for (char c : typed) path += c == '\\' ? '/' : c;
  return path;
}

}  // namespace ltb::app
