#include "platform/io_status.h"

#include <cerrno>
#include <cstring>

#include "platform/cp932.h"
#include "platform/messages.h"

namespace ltb::platform {
namespace {

// The system's text for an errno value (strerror_r in its GNU form, which
// returns the text, maybe not in buf), in CP932 like every text of the
// program: a Japanese locale gives it in UTF-8.
std::string SystemReason(int errorNumber) {
  char buf[256];
  if (errorNumber == 0) return Tr932("the system gave no reason");
  const char* text = strerror_r(errorNumber, buf, sizeof buf);
  if (text == nullptr) return Format(Tr932("system error %d").c_str(), errorNumber);
  std::string cp932;
  return Utf8ToCp932(text, &cp932) ? cp932 : std::string(text);
}

}  // namespace

IoStatus IoStatus::FromErrno(std::string_view path, int errorNumber) {
  const Code code =
      errorNumber == ENOENT || errorNumber == ENOTDIR ? Code::kNotFound : Code::kIoError;
  return IoStatus(code, path, errorNumber, SystemReason(errorNumber));
}

IoStatus IoStatus::IoError(std::string_view path, std::string_view reason) {
  return IoStatus(Code::kIoError, path, 0, std::string(reason));
}

IoStatus IoStatus::BadPath(std::string_view path) {
  return IoStatus(Code::kBadPath, path, 0, Tr932("no drive of this machine holds this path"));
}

std::string IoStatus::ToString() const {
  if (ok()) return "OK";
  return path_.empty() ? reason_ : path_ + ": " + reason_;
}

}  // namespace ltb::platform
