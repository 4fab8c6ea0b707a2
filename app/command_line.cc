#include "app/command_line.h"

#include <cerrno>
#include <cstdlib>
#include <string>

#include "app/window_id.h"
#include "platform/cp932.h"

namespace ltb::app {

long LeadingLong(std::string_view text) {
  const std::string copy(text);  // strtol needs a terminated string
  errno = 0;
  return std::strtol(copy.c_str(), nullptr, 10);  // saturates at LONG_MIN/MAX
}

bool ParseCommandLine(std::string_view line, RunContext* ctx) {
  if (line.empty()) return false;
  const std::string_view buf = platform::CutOnCharBoundary(line, kCommandLineBuffer - 1);

  size_t first = buf.find(',');
  if (first == std::string_view::npos) return false;
  ctx->parentWindow = ReadWindowId(buf.substr(0, first));

  size_t second = buf.find(',', first + 1);
  if (second == std::string_view::npos) return false;
  ctx->notifyMessage =
      static_cast<uint32_t>(LeadingLong(buf.substr(first + 1, second - first - 1)));

  size_t third = buf.find(',', second + 1);
  if (third == std::string_view::npos) return false;
  ctx->notifyWParam = static_cast<int16_t>(LeadingLong(buf.substr(second + 1, third - second - 1)));

  std::string_view rest = buf.substr(third + 1);
  if (!rest.empty()) ctx->parentOutputPath = std::string(rest);
  return true;
}

}  // namespace ltb::app
