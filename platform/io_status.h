// The result of an operation of the Env and of the writers above it: ok,
// or what failed (a code), on which file (its Windows path) and why (the
// system's reason). Cheap to copy when ok; a failure carries its texts.
#pragma once

#include <string>
#include <string_view>
#include <utility>

namespace ltb::platform {

class IoStatus {
 public:
  enum class Code : int {
    kOk,
    kNotFound,  // nothing at the path (ENOENT, ENOTDIR)
    kIoError,   // the system refused or failed the operation (errno)
    kBadPath,   // the path names no place this machine's drive table maps
  };

  IoStatus() = default;
  static IoStatus OK() { return IoStatus(); }
  // A failed system call on `path`, with the errno value it left.
  static IoStatus FromErrno(std::string_view path, int errorNumber);
  // A failure the system gave no errno for; `reason` says why.
  static IoStatus IoError(std::string_view path, std::string_view reason);
  static IoStatus BadPath(std::string_view path);

  bool ok() const { return code_ == Code::kOk; }
  Code code() const { return code_; }
  bool IsNotFound() const { return code_ == Code::kNotFound; }
  // The Windows path of the failing file, CP932; empty when ok.
  const std::string& path() const { return path_; }
  // The errno value, or 0 when the failure has none.
  int error_number() const { return errno_; }
  // Why it failed, in the system's words (strerror), or the reason given.
  const std::string& reason() const { return reason_; }
  // "OK", or "path: reason".
  std::string ToString() const;

 private:
  IoStatus(Code code, std::string_view path, int errorNumber, std::string reason)
      : code_(code), errno_(errorNumber), path_(path), reason_(std::move(reason)) {}

  Code code_ = Code::kOk;
  int errno_ = 0;
  std::string path_;
  std::string reason_;
};

}  // namespace ltb::platform
