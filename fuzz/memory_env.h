// An Env of in-memory files and folders for the fuzz targets: Windows paths
// compared byte for byte (a trailing backslash of a folder is ignored),
// drive types per letter, and a countdown that fails the n-th folder
// creation so that the rollback of a folder tree is exercised.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>

#include "platform/cp932.h"
#include "platform/env.h"

namespace ltb::fuzz {

class MemoryEnv : public platform::Env {
 public:
  std::map<std::string, std::string> files;
  std::set<std::string> folders;  // normalised: no trailing backslash but "C:\"
  platform::DriveType driveType = platform::DriveType::kFixed;
  bool writable = true;
  int failCreateDirAt = 0;  // 1 fails the first CreateDir, 0 never
  int createDirCalls = 0;
  std::string cwd = "C:\\prog";

  static std::string Normal(const std::string& p) {
    std::string n = p;
    while (n.size() > 3 && n.back() == '\\' && !platform::EndsWithDoubleByteChar(n)) {
      n.pop_back();
    }
    return n;
  }
  static std::string Parent(const std::string& normal) {
    const size_t last = platform::FindLastChar(normal, '\\');
    if (last == std::string::npos) return {};
    return Normal(normal.substr(0, last + 1));
  }

  bool ReadFile(const std::string& p, std::string* d, size_t m) override {
    auto it = files.find(p);
    if (it == files.end()) return false;
    *d = it->second.substr(0, m);
    return true;
  }
  std::unique_ptr<platform::WritableFile> NewWritableFile(const std::string& p) override {
    if (!writable || !folders.count(Parent(p))) return nullptr;
    files[p].clear();
    return std::make_unique<File>(this, p);
  }
  bool RenameFile(const std::string& from, const std::string& to) override {
    auto it = files.find(from);
    if (it == files.end() || !writable) return false;
    files[to] = it->second;
    files.erase(from);
    return true;
  }
  bool RemoveFile(const std::string& p) override { return files.erase(p) != 0; }
  bool CreateDir(const std::string& p) override {
    ++createDirCalls;
    if (createDirCalls == failCreateDirAt) return false;
    const std::string n = Normal(p);
    if (folders.count(n) || files.count(n) || !folders.count(Parent(n))) return false;
    folders.insert(n);
    return true;
  }
  bool RemoveDir(const std::string& p) override {
    const std::string n = Normal(p);
    if (!folders.count(n)) return false;
    for (const std::string& f : folders) {
      if (f != n && Parent(f) == n) return false;
    }
    for (const auto& file : files) {
      if (Parent(file.first) == n) return false;
    }
    folders.erase(n);
    return true;
  }
  bool FileExists(const std::string& p) override {
    return files.count(p) != 0 || folders.count(Normal(p)) != 0;
  }
  bool IsDirectory(const std::string& p) override { return folders.count(Normal(p)) != 0; }
  bool Access(const std::string& p, int mode) override {
    if (!FileExists(p)) return false;
    return writable || (mode & platform::kAccessWrite) == 0;
  }
  int64_t FileSize(const std::string& p) override {
    auto it = files.find(p);
    return it == files.end() ? -1 : static_cast<int64_t>(it->second.size());
  }
  platform::DriveType GetDriveType(const std::string&) override { return driveType; }
  std::string GetCurrentDir() override { return cwd; }
  bool SetCurrentDir(const std::string& p) override {
    cwd = p;
    return true;
  }
  std::string TempPath() override { return "C:\\tmp\\"; }
  std::string ProgramPath() override { return "C:\\prog\\LedTaxBridgeA.exe"; }

 private:
  class File : public platform::WritableFile {
   public:
    File(MemoryEnv* env, std::string path) : env_(env), path_(std::move(path)) {}
    bool Append(std::string_view data) override {
      env_->files[path_].append(data);
      return true;
    }
    bool Flush() override { return true; }
    bool Sync() override { return true; }
    bool Close() override { return true; }

   private:
    MemoryEnv* env_;
    std::string path_;
  };
};

}  // namespace ltb::fuzz
