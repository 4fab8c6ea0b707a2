// Test support: a real file system under a fresh temporary folder mapped as
// drive C:, reported as a fixed disk, with faults injectable per call.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <string>

#include "platform/env.h"
#include "platform/win_path.h"

namespace ltb::dialog::testing {

class TempDriveEnv : public platform::EnvWrapper {
 public:
  TempDriveEnv() : EnvWrapper(platform::Env::Default()) {
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
    return EnvWrapper::GetDriveType(r);
  }
  bool CreateDir(const std::string& p) override {
    if (++createDirCalls == failCreateDirAt) return false;
    return EnvWrapper::CreateDir(p);
  }
  bool RenameFile(const std::string& f, const std::string& t) override {
    if (failRename) return false;
    return EnvWrapper::RenameFile(f, t);
  }
  std::unique_ptr<platform::WritableFile> NewWritableFile(const std::string& p) override;

  int createDirCalls = 0;
  int failCreateDirAt = 0;  // 1-based; 0 never
  bool failRename = false;
  bool failAppend = false;  // every Append fails (a full disk)

 private:
  std::string root_;
};

class FailingAppendFile : public platform::WritableFile {
 public:
  explicit FailingAppendFile(std::unique_ptr<platform::WritableFile> f) : f_(std::move(f)) {}
  bool Append(std::string_view data) override {
    // Half the data reaches the disk, then it is full.
    f_->Append(data.substr(0, data.size() / 2));
    return false;
  }
  bool Flush() override { return f_->Flush(); }
  bool Sync() override { return f_->Sync(); }
  bool Close() override { return f_->Close(); }

 private:
  std::unique_ptr<platform::WritableFile> f_;
};

inline std::unique_ptr<platform::WritableFile> TempDriveEnv::NewWritableFile(
    const std::string& p) {
  std::unique_ptr<platform::WritableFile> f = EnvWrapper::NewWritableFile(p);
  if (f && failAppend) return std::make_unique<FailingAppendFile>(std::move(f));
  return f;
}

}  // namespace ltb::dialog::testing
