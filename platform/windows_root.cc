#include "platform/windows_root.h"

#include "platform/cp932.h"

namespace ltb::platform {
namespace {

// The first separator at or after `from`, skipping double-byte characters.
size_t FindSeparator(std::string_view s, size_t from) {
  size_t back = FindChar(s, '\\', from);
  size_t slash = FindChar(s, '/', from);
  return back < slash ? back : slash;
}

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

bool IsPathSeparator(char c) { return c == '\\' || c == '/'; }

WindowsRoot ParseWindowsRoot(std::string_view path) {
  WindowsRoot root;
  if (path.size() >= 2 && IsPathSeparator(path[0]) && IsPathSeparator(path[1])) {
    size_t serverEnd = FindSeparator(path, 2);
    if (serverEnd == std::string_view::npos || serverEnd == 2) return root;
    std::string_view server = path.substr(2, serverEnd - 2);
    if (server == "?" || server == ".") return root;  // device namespaces
    size_t shareEnd = FindSeparator(path, serverEnd + 1);
    if (shareEnd == std::string_view::npos) shareEnd = path.size();
    if (shareEnd == serverEnd + 1) return root;  // empty share name
    root.kind = WindowsRoot::Kind::kShare;
    root.share = "\\\\";
    root.share += server;
    root.share += '\\';
    root.share += path.substr(serverEnd + 1, shareEnd - serverEnd - 1);
    root.length = shareEnd < path.size() ? shareEnd + 1 : shareEnd;
    return root;
  }
  if (path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == ':') {
    root.kind = WindowsRoot::Kind::kDrive;
    root.letter = static_cast<char>(path[0] >= 'a' ? path[0] - 'a' + 'A' : path[0]);
    root.absolute = path.size() > 2 && IsPathSeparator(path[2]);
    root.length = root.absolute ? 3 : 2;
  }
  return root;
}

}  // namespace ltb::platform
