// An Env of in-memory files keyed by their Windows path, with a current
// folder and a program path, for unit tests and the fuzz targets.
//
// By default it is a store of files alone: a file can be created at any
// path and files are renamed and removed, but no folder exists or can be
// made. With `folderTree` set it is a small file system instead: folders
// live in `folders` (paths compared byte for byte, a trailing backslash of a
// folder ignored), a file is created only inside an existing folder, and
// files and empty folders can be renamed and removed.
//
// Faults: a chosen append (counted from 1) and every one after it fail, as
// on a full disk; a chosen folder creation fails, so that the rollback of a
// folder tree is exercised; `writable` false refuses every write, as a
// read-only drive does.
#pragma once

#include <cerrno>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>

#include "platform/cp932.h"
#include "platform/env.h"

namespace ltb::platform::testing {

class MemoryEnv : public Env {
 public:
  std::map<std::string, std::string> files;
  bool folderTree = false;
  std::set<std::string> folders;  // with folderTree: no trailing backslash but "C:\"
  std::string cwd = "C:\\prog";
  std::string programPath = "C:\\prog\\a.exe";
  DriveType driveType = DriveType::kFixed;
  bool writable = true;
  bool refuseCreate = false;  // NewWritableFile gives null
  int failFromAppend = 0;     // 0: never fail
  int failCreateDirAt = 0;    // 1 fails the first CreateDir, 0 never
  int appends = 0;
  int closes = 0;
  int createDirCalls = 0;

  // A folder path without its trailing backslash, except for a drive root.
  static std::string Normal(const std::string& p) {
    std::string n = p;
    while (n.size() > 3 && n.back() == '\\' && !EndsWithDoubleByteChar(n)) n.pop_back();
    return n;
  }
  // The folder holding `normal`, normalised; empty for a drive root.
  static std::string Parent(const std::string& normal) {
    const size_t last = FindLastChar(normal, '\\');
    if (last == std::string::npos) return {};
    return Normal(normal.substr(0, last + 1));
  }

  // What has been written for path: while a temporary file beside it is
  // being written (Env::NewTempFile), that file's text, else path's own.
  const std::string& Written(const std::string& path) {
    const std::string tempPrefix = path.substr(0, path.rfind('\\') + 1) + ".~ltb";
    for (auto& [name, data] : files) {
      if (name.starts_with(tempPrefix)) return data;
    }
    return files[path];
  }

  IoStatus ReadFile(const std::string& path, std::string* data, size_t maxBytes) override {
    data->clear();
    auto it = files.find(path);
    if (it == files.end()) return IoStatus::FromErrno(path, ENOENT);
    *data = it->second.substr(0, maxBytes);
    return IoStatus::OK();
  }
  std::unique_ptr<WritableFile> NewWritableFile(const std::string& path) override {
    if (refuseCreate || !writable) return nullptr;
    if (folderTree && !folders.count(Parent(path))) return nullptr;
    files[path].clear();
    return std::make_unique<File>(this, path);
  }
  IoStatus RenameFile(const std::string& from, const std::string& to) override {
    auto it = files.find(from);
    if (it == files.end()) return IoStatus::FromErrno(to, ENOENT);
    if (!writable) return IoStatus::FromErrno(to, EROFS);
    std::string data = std::move(it->second);
    files.erase(it);
    files[to] = std::move(data);
    return IoStatus::OK();
  }
  IoStatus RemoveFile(const std::string& p) override {
    return files.erase(p) != 0 ? IoStatus::OK() : IoStatus::FromErrno(p, ENOENT);
  }
  IoStatus CreateDir(const std::string& p) override {
    ++createDirCalls;
    if (!folderTree || createDirCalls == failCreateDirAt) return IoStatus::FromErrno(p, EACCES);
    const std::string n = Normal(p);
    if (folders.count(n) || files.count(n)) return IoStatus::FromErrno(p, EEXIST);
    if (!folders.count(Parent(n))) return IoStatus::FromErrno(p, ENOENT);
    folders.insert(n);
    return IoStatus::OK();
  }
  IoStatus RemoveDir(const std::string& p) override {
    const std::string n = Normal(p);
    if (!folderTree || !folders.count(n)) return IoStatus::FromErrno(p, ENOENT);
    for (const std::string& f : folders) {
      if (f != n && Parent(f) == n) return IoStatus::FromErrno(p, ENOTEMPTY);
    }
    for (const auto& file : files) {
      if (Parent(file.first) == n) return IoStatus::FromErrno(p, ENOTEMPTY);
    }
    folders.erase(n);
    return IoStatus::OK();
  }
  bool FileExists(const std::string& p) override { return files.count(p) != 0 || IsDirectory(p); }
  bool IsDirectory(const std::string& p) override {
    return folderTree && folders.count(Normal(p)) != 0;
  }
  bool Access(const std::string& p, int mode) override {
    if (!FileExists(p)) return false;
    return writable || (mode & kAccessWrite) == 0;
  }
  int64_t FileSize(const std::string& p) override {
    auto it = files.find(p);
    return it == files.end() ? -1 : static_cast<int64_t>(it->second.size());
  }
  DriveType GetDriveType(const std::string&) override { return driveType; }
  std::string GetCurrentDir() override { return cwd; }
  IoStatus SetCurrentDir(const std::string& p) override {
    cwd = p;
    return IoStatus::OK();
  }
  std::string TempPath() override { return "C:\\tmp\\"; }
  std::string ProgramPath() override { return programPath; }

 private:
  class File : public WritableFile {
   public:
    File(MemoryEnv* env, std::string path) : env_(env), path_(std::move(path)) {}
    IoStatus Append(std::string_view data) override {
      ++env_->appends;
      if (env_->failFromAppend > 0 && env_->appends >= env_->failFromAppend) {
        return IoStatus::FromErrno(path_, ENOSPC);
      }
      env_->files[path_].append(data);
      return IoStatus::OK();
    }
    IoStatus Flush() override { return IoStatus::OK(); }
    IoStatus Sync() override { return IoStatus::OK(); }
    IoStatus Close() override {
      ++env_->closes;
      return IoStatus::OK();
    }

   private:
    MemoryEnv* env_;
    std::string path_;
  };
};

}  // namespace ltb::platform::testing
