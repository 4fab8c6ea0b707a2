// Test support: a real file system under a fresh temporary folder mapped as
// drive C:, reported as a fixed disk, with faults injectable per call
// (FailAt and the other controls of platform::FaultInjectionEnv).
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <string>

#include "platform/env.h"
#include "platform/testing/fault_env.h"
#include "platform/win_path.h"

namespace ltb::dialog::testing {

class TempDriveEnv : public platform::FaultInjectionEnv {
 public:
  TempDriveEnv() : FaultInjectionEnv(platform::Env::Default()) {
    char tmpl[] = "/tmp/ltb-dialog-XXXXXX";
    root_ = ::mkdtemp(tmpl);
    platform::DriveTable::Global().MapDrive('C', root_);
  }
  ~TempDriveEnv() override {
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }

  // The Linux path of a Windows path on C: ("C:\a\b" -> <root>/a/b).
  std::string Linux(std::string_view winPath) const {
    std::string p = root_;
    for (char c : winPath.substr(2)) p.push_back(c == '\\' ? '/' : c);
    return p;
  }

  platform::DriveType GetDriveType(const std::string& r) override {
    if (r == "C:\\" || r == "c:\\") return platform::DriveType::kFixed;
    return FaultInjectionEnv::GetDriveType(r);
  }

 private:
  std::string root_;
};

}  // namespace ltb::dialog::testing
