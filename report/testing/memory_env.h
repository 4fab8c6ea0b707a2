// An in-memory Env for the report's tests: files are strings keyed by their
// Windows path; a chosen append (counted from 1) and every one after it fail,
// as on a full disk. Only reading and writing files are supported.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "platform/env.h"

namespace ltb::report::testing {

class MemoryEnv : public platform::EnvWrapper {
 public:
  MemoryEnv() : EnvWrapper(nullptr) {}

  bool ReadFile(const std::string& path, std::string* data, size_t maxBytes) override {
    auto it = files.find(path);
    if (it == files.end()) return false;
    *data = it->second.substr(0, maxBytes);
    return true;
  }

  std::unique_ptr<platform::WritableFile> NewWritableFile(const std::string& path) override {
    if (refuseCreate) return nullptr;
    files[path].clear();
    return std::make_unique<File>(this, path);
  }

  std::map<std::string, std::string> files;
  bool refuseCreate = false;
  int failFromAppend = 0;  // 0: never fail
  int appends = 0;
  int closes = 0;

 private:
  class File : public platform::WritableFile {
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

}  // namespace ltb::report::testing
