// An Env of in-memory files keyed by their Windows path, with a current
// folder and a program path, for unit tests. Files written through it land
// in `files`; a chosen append (counted from 1) and every one after it fail,
// as on a full disk. Files are renamed and removed; folders are refused.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "platform/env.h"

namespace ltb::platform::testing {

class MemoryEnv : public Env {
 public:
  std::map<std::string, std::string> files;
  std::string cwd = "C:\\prog";
  std::string programPath = "C:\\prog\\a.exe";
  bool refuseCreate = false;  // NewWritableFile gives null
  int failFromAppend = 0;     // 0: never fail
  int appends = 0;
  int closes = 0;

  // What has been written for path: while a temporary file beside it is
  // being written (Env::NewTempFile), that file's text, else path's own.
  const std::string& Written(const std::string& path) {
    const std::string tempPrefix = path.substr(0, path.rfind('\\') + 1) + ".~ltb";
    for (auto& [name, data] : files) {
      if (name.starts_with(tempPrefix)) return data;
    }
    return files[path];
  }

  bool ReadFile(const std::string& path, std::string* data, size_t maxBytes) override {
    auto it = files.find(path);
    if (it == files.end()) return false;
    *data = it->second.substr(0, maxBytes);
    return true;
  }
  std::unique_ptr<WritableFile> NewWritableFile(const std::string& path) override {
    if (refuseCreate) return nullptr;
    files[path].clear();
    return std::make_unique<File>(this, path);
  }
  bool RenameFile(const std::string& from, const std::string& to) override {
    auto it = files.find(from);
    if (it == files.end()) return false;
    std::string data = std::move(it->second);
    files.erase(it);
    files[to] = std::move(data);
    return true;
  }
  bool RemoveFile(const std::string& p) override { return files.erase(p) != 0; }
  bool CreateDir(const std::string&) override { return false; }
  bool RemoveDir(const std::string&) override { return false; }
  bool FileExists(const std::string& p) override { return files.count(p) != 0; }
  bool IsDirectory(const std::string&) override { return false; }
  bool Access(const std::string& p, int) override { return files.count(p) != 0; }
  int64_t FileSize(const std::string& p) override {
    auto it = files.find(p);
    return it == files.end() ? -1 : static_cast<int64_t>(it->second.size());
  }
  DriveType GetDriveType(const std::string&) override { return DriveType::kFixed; }
  std::string GetCurrentDir() override { return cwd; }
  bool SetCurrentDir(const std::string& p) override {
    cwd = p;
    return true;
  }
  std::string TempPath() override { return "C:\\tmp\\"; }
  std::string ProgramPath() override { return programPath; }

 private:
  class File : public WritableFile {
   public:
    File(MemoryEnv* env, std::string path) : env_(env), path_(std::move(path)) {}
    bool Append(std::string_view data) override {
      ++env_->appends;
      if (env_->failFromAppend > 0 && env_->appends >= env_->failFromAppend) return false;
      env_->files[path_].append(data);
      return true;
    }
    bool Flush() override { return true; }
    bool Sync() override { return true; }
    bool Close() override {
      ++env_->closes;
      return true;
    }

   private:
    MemoryEnv* env_;
    std::string path_;
  };
};

}  // namespace ltb::platform::testing
