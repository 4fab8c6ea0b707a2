// An Env of a few in-memory files and a current folder, for the driver's
// tests.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "platform/env.h"

namespace ltb::app::testing {

class MemoryEnv : public platform::Env {
 public:
  std::map<std::string, std::string> files;
  std::string cwd = "C:\\prog";
  bool ReadFile(const std::string& p, std::string* d, size_t m) override {
    auto it = files.find(p);
    if (it == files.end()) return false;
    *d = it->second.substr(0, m);
    return true;
  }
  std::unique_ptr<platform::WritableFile> NewWritableFile(const std::string&) override {
    return nullptr;
  }
  bool RenameFile(const std::string&, const std::string&) override { return false; }
  bool RemoveFile(const std::string&) override { return false; }
  bool CreateDir(const std::string&) override { return false; }
  bool RemoveDir(const std::string&) override { return false; }
  bool FileExists(const std::string& p) override { return files.count(p) != 0; }
  bool IsDirectory(const std::string&) override { return false; }
  bool Access(const std::string& p, int) override { return files.count(p) != 0; }
  int64_t FileSize(const std::string& p) override {
    return files.count(p) ? static_cast<int64_t>(files[p].size()) : -1;
  }
  platform::DriveType GetDriveType(const std::string&) override {
    return platform::DriveType::kFixed;
  }
  std::string GetCurrentDir() override { return cwd; }
  bool SetCurrentDir(const std::string& p) override { cwd = p; return true; }
  std::string TempPath() override { return "C:\\tmp\\"; }
  std::string programPath = "C:\\prog\\a.exe";
  std::string ProgramPath() override { return programPath; }
};

}  // namespace ltb::app::testing
