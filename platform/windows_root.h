// The root of a Windows path: a drive ("C:" or "C:\") or a network share
// ("\\server\share" or "\\server\share\"). Both '\' and '/' separate, as
// the Windows file calls accept either; searches are double-byte aware.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ltb::platform {

bool IsPathSeparator(char c);

struct WindowsRoot {
  enum class Kind { kNone, kDrive, kShare };
  Kind kind = Kind::kNone;
  char letter = 0;        // kDrive: the upper-case drive letter
  bool absolute = false;  // kDrive: a separator follows "C:"
  std::string share;      // kShare: "\\server\share" with backslashes
  size_t length = 0;      // bytes of the root, including one separator after it
};

// kNone for relative paths, "\dir" paths, "\\server" alone and the
// "\\?\" and "\\.\" device forms.
WindowsRoot ParseWindowsRoot(std::string_view path);

}  // namespace ltb::platform
