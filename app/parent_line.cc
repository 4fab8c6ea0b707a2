#include "app/parent_line.h"

#include "platform/cp932.h"
#include "platform/win_path.h"

namespace ltb::app {

std::string ParentLineToCp932(std::string_view utf8) {
  size_t third = std::string_view::npos;
  size_t pos = 0;
  for (int i = 0; i < 3; ++i) {
    pos = utf8.find(',', pos);
    if (pos == std::string_view::npos) break;
    if (i == 2) third = pos;
    ++pos;
  }
  std::string out;
  if (third == std::string_view::npos || third + 1 >= utf8.size() || utf8[third + 1] != '/') {
    platform::Utf8ToCp932(utf8, &out);
    return out;
  }
  platform::Utf8ToCp932(utf8.substr(0, third + 1), &out);
  return out + platform::UserPathToWindows(utf8.substr(third + 1));
}

}  // namespace ltb::app
