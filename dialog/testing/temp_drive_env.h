// Test support: a real file system under a fresh temporary folder mapped as
// drive C: in a drive table of its own (besides Z: for /), reported as a
// fixed disk, with faults injectable per call (FailAt and the other
// controls of platform::FaultInjectionEnv).
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>

#include "platform/env.h"
#include "platform/posix_env.h"
#include "platform/testing/fault_env.h"
#include "platform/win_path.h"

namespace ltb::dialog::testing {

// The real Env of a TempDriveEnv, made before the fault layer that wraps it.
struct TempDriveRealEnv {
  explicit TempDriveRealEnv(std::string folder) : root(std::move(folder)) {
    platform::DriveTable drives;
    drives.MapDrive('C', root);
    real = platform::NewPosixEnv(std::move(drives));
  }
  std::string root;
  std::unique_ptr<platform::Env> real;
};

class TempDriveEnv : private TempDriveRealEnv, public platform::FaultInjectionEnv {
 public:
  TempDriveEnv() : TempDriveRealEnv(MakeRoot()), FaultInjectionEnv(real.get()) {}
  ~TempDriveEnv() override {
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
  }

  // The Linux path of a Windows path on C: ("C:\a\b" -> <root>/a/b).
  std::string Linux(std::string_view winPath) const {
    std::string p = root;
    for (char c : winPath.substr(2)) p.push_back(c == '\\' ? '/' : c);
    return p;
  }

  platform::DriveType GetDriveType(const std::string& r) override {
    if (r == "C:\\" || r == "c:\\") return platform::DriveType::kFixed;
    return FaultInjectionEnv::GetDriveType(r);
  }

 private:
  static std::string MakeRoot() {
    char tmpl[] = "/tmp/ltb-dialog-XXXXXX";
    return ::mkdtemp(tmpl);
  }
};

}  // namespace ltb::dialog::testing
