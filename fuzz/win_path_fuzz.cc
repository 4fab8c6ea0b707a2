// The Windows path helpers and the drive table over fuzzed paths.
//
// Input: a Windows path (CP932), a current folder (CP932), a Linux path
// (UTF-8), each ending in 0x00, then a drive table configuration.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_input.h"
#include "platform/cp932.h"
#include "platform/win_path.h"

namespace {

using namespace ltb::platform;

void CheckRootHelpers(std::string_view path) {
  std::string root(path);
  if (PathStripToRoot(&root)) {
    LTB_FUZZ_CHECK(root.size() <= path.size());
    LTB_FUZZ_CHECK(path.starts_with(root));
  } else {
    LTB_FUZZ_CHECK(root.empty());
  }
  const size_t skip = PathSkipRoot(path);
  LTB_FUZZ_CHECK(skip == std::string_view::npos || (skip > 0 && skip <= path.size()));

  std::string drive, dir;
  SplitPath(path, &drive, &dir);
  LTB_FUZZ_CHECK(path.starts_with(drive + dir));
  LTB_FUZZ_CHECK(dir.empty() || dir.back() == '\\' || dir.back() == '/');
}

// True when every lead byte has its trail byte. A lone lead byte at the end
// of a name would join with the backslash put after it, which is how CP932
// text behaves, not a fault of the path helpers.
bool IsWellFormed(std::string_view s) {
  for (size_t i = 0; i < s.size(); ++i) {
    const ByteKind kind = KindAt(s, i);
    if (kind == ByteKind::kIllegal) return false;
    if (kind == ByteKind::kLead && i + 1 == s.size()) return false;
  }
  return true;
}

// The absolute form is already absolute and normal: taking it again gives
// it back, whatever the current folder.
void CheckFullPath(std::string_view path, std::string_view currentDir) {
  std::string full;
  if (!FullWindowsPath(path, currentDir, &full)) return;
  LTB_FUZZ_CHECK(!full.empty());
  if (path.size() > 512 || currentDir.size() > 512 || !IsWellFormed(path) ||
      !IsWellFormed(currentDir)) {
    return;
  }
  std::string again;
  LTB_FUZZ_CHECK(FullWindowsPath(full, "", &again));
  LTB_FUZZ_CHECK(again == full);
  // Below the root (whose share name may be anything) no "." or ".." is left.
  const size_t rest = PathSkipRoot(full);
  if (rest == std::string::npos) return;
  const std::string below = "\\" + full.substr(rest) + "\\";
  LTB_FUZZ_CHECK(FindText(below, "\\.\\") == std::string::npos);
  LTB_FUZZ_CHECK(FindText(below, "\\..\\") == std::string::npos);
}

void CheckDriveTable(std::string_view config, std::string_view winPath, std::string_view currentDir,
                     std::string_view linuxPath) {
  DriveTable table;
  std::string error;
  if (!table.LoadConfig(config, &error)) LTB_FUZZ_CHECK(!error.empty());

  std::string linux;
  if (table.ToLinux(winPath, currentDir, &linux)) {
    LTB_FUZZ_CHECK(!linux.empty() && linux.front() == '/');
    LTB_FUZZ_CHECK(linux.find('\0') == std::string::npos);
  }
  std::string root;
  table.RootOf(winPath, &root);

  // A Linux path that has a Windows form leads back to the same place.
  std::string win;
  if (table.ToWindows(linuxPath, &win)) {
    std::string back, backWin;
    LTB_FUZZ_CHECK(table.ToLinux(win, "", &back));
    LTB_FUZZ_CHECK(table.ToWindows(back, &backWin));
    LTB_FUZZ_CHECK(backWin == win);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ltb::fuzz::FuzzInput in(data, size);
  const std::string_view winPath = in.Field();
  const std::string_view currentDir = in.Field();
  const std::string_view linuxPath = in.Field();
  const std::string_view config = in.Rest();

  CheckRootHelpers(winPath);
  CheckFullPath(winPath, currentDir);
  CheckDriveTable(config, winPath, currentDir, linuxPath);
  const std::string typed = UserPathToWindows(DriveTable(), linuxPath);
  (void)typed;
  return 0;
}
