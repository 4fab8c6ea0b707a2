#include "app/parent_line.h"

#include "app/caller_paths.h"

#include "platform/cp932.h"
#include "platform/win_path.h"

namespace ltb::app {

std::string ParentLineToCp932(const platform::DriveTable& drives, std::string_view utf8,
                              std::string_view callerDir) {
  size_t third = std::string_view::npos;
  size_t pos = 0;
  for (int i = 0; i < 3; ++i) {
    pos = utf8.find(',', pos);
    if (pos == std::string_view::npos) break;
    if (i == 2) third = pos;
    ++pos;
  }
  std::string out;
  const std::string_view item =
      third == std::string_view::npos ? std::string_view() : utf8.substr(third + 1);
  const std::string path =
      callerDir.empty() ? std::string(item) : CallerAbsolutePath(item, callerDir);
  if (path.empty() || path[0] != '/') {
    platform::Utf8ToCp932(utf8, &out);
    return out;
  }
  platform::Utf8ToCp932(utf8.substr(0, third + 1), &out);
  return out + platform::UserPathToWindows(drives, path);
}

}  // namespace ltb::app
