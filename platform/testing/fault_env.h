// An Env for tests that fails a chosen write, flush, sync, close, rename,
// folder creation, temporary-file creation or lock.
//
// Every WritableFile Append, Flush, Sync and Close, every RenameFile, every
// CreateDir, every NewTempFile and every LockFile is a "fault point". FailAt(n) makes the n-th
// point from then on fail (1 = the next one; 0 = never). A test first runs the operation once to
// count its points, then runs it again failing point 1, 2, ... in turn and checks that each run
// ends in success or a reported failure, never in damaged data.
//
// A failed point does nothing: an Append writes nothing (or, with
// SetPartialAppend(true), only the first half of its data, like a disk
// filling up mid-write); a failed Close still closes the real file; a
// failed rename, folder creation or temporary-file creation leaves the file
// system as it was; a failed lock is a lock that could not be taken. With
// SetSticky(true) every point after the failed one fails too.
//
// REQUIRES: the FaultInjectionEnv outlives the files it hands out.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/env.h"

namespace ltb::platform {

class FaultInjectionEnv : public EnvWrapper {
 public:
  explicit FaultInjectionEnv(Env* target) : EnvWrapper(target) {}

  // Fails the n-th fault point counted from now; 0 disables injection.
  void FailAt(int n) {
    failAt_ = n > 0 ? points_ + n : 0;
    failed_ = false;
  }
  void SetSticky(bool sticky) { sticky_ = sticky; }
  void SetPartialAppend(bool partial) { partialAppend_ = partial; }
  // Fault points seen since construction.
  int points() const { return points_; }
  // Whether a fault has been injected since the last FailAt.
  bool injected() const { return failed_; }
  // The kind of the point that failed first since the last FailAt: "append",
  // "flush", "sync", "close", "rename", "mkdir", "tempfile" or "lock".
  const char* injectedKind() const { return failed_ ? injectedKind_ : ""; }

  std::unique_ptr<WritableFile> NewWritableFile(const std::string& path) override {
    std::unique_ptr<WritableFile> file = target()->NewWritableFile(path);
    if (!file) return nullptr;
    return std::make_unique<File>(this, std::move(file));
  }
  std::unique_ptr<WritableFile> NewTempFile(const std::string& path, TempFileMode mode,
                                            std::string* tempPath) override {
    if (Fault("tempfile")) return nullptr;
    std::unique_ptr<WritableFile> file = target()->NewTempFile(path, mode, tempPath);
    if (!file) return nullptr;
    return std::make_unique<File>(this, std::move(file));
  }
  std::unique_ptr<FileLock> LockFile(const std::string& path, int timeoutMs) override {
    if (Fault("lock")) return nullptr;
    return target()->LockFile(path, timeoutMs);
  }
  bool RenameFile(const std::string& from, const std::string& to) override {
    return !Fault("rename") && target()->RenameFile(from, to);
  }
  bool CreateDir(const std::string& path) override {
    return !Fault("mkdir") && target()->CreateDir(path);
  }

 private:
  class File final : public WritableFile {
   public:
    File(FaultInjectionEnv* env, std::unique_ptr<WritableFile> base)
        : env_(env), base_(std::move(base)) {}
    bool Append(std::string_view data) override {
      if (env_->Fault("append")) {
        if (env_->partialAppend_) base_->Append(data.substr(0, data.size() / 2));
        return false;
      }
      return base_->Append(data);
    }
    bool Flush() override { return !env_->Fault("flush") && base_->Flush(); }
    bool Sync() override { return !env_->Fault("sync") && base_->Sync(); }
    bool Close() override {
      bool fault = env_->Fault("close");
      bool closed = base_->Close();
      return !fault && closed;
    }

   private:
    FaultInjectionEnv* env_;
    std::unique_ptr<WritableFile> base_;
  };

  // Counts one fault point; true when it is to fail.
  bool Fault(const char* kind) {
    ++points_;
    if (failed_ && sticky_) return true;
    if (failAt_ != 0 && points_ == failAt_) {
      failed_ = true;
      injectedKind_ = kind;
      return true;
    }
    return false;
  }

  int points_ = 0;
  int failAt_ = 0;  // absolute point number to fail, 0 = none
  bool failed_ = false;
  const char* injectedKind_ = "";
  bool sticky_ = false;
  bool partialAppend_ = false;
};

}  // namespace ltb::platform
