// An Env for tests that fails a chosen write, flush, sync, close, rename,
// folder creation, temporary-file creation or lock.
//
// Every WritableFile Append, Flush, Sync and Close, every RenameFile, every
// CreateDir, every NewTempFile and every LockFile is a "fault point". FailAt(n) makes the n-th
// point from then on fail (1 = the next one; 0 = never). A test first runs the operation once to
// count its points, then runs it again failing point 1, 2, ... in turn and checks that each run
// ends in success or a reported failure, never in damaged data.
//
// A failed point does nothing and reports an I/O error (EIO) on its path: an Append writes nothing
// (or, with SetPartialAppend(true), only the first half of its data, like a disk filling up
// mid-write); a failed Close still closes the real file; a failed rename, folder creation or
// temporary-file creation leaves the file system as it was; a failed lock is a lock that could not
// be taken. With SetSticky(true) every point after the failed one fails too.
//
// REQUIRES: the FaultInjectionEnv outlives the files it hands out.
#pragma once

#include <cerrno>
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
    return std::make_unique<File>(this, std::move(file), path);
  }
  std::unique_ptr<WritableFile> NewTempFile(const std::string& path, TempFileMode mode,
                                            std::string* tempPath,
                                            IoStatus* status = nullptr) override {
    if (Fault("tempfile")) {
      if (status != nullptr) *status = Injected(path);
      return nullptr;
    }
    std::unique_ptr<WritableFile> file = target()->NewTempFile(path, mode, tempPath, status);
    if (!file) return nullptr;
    return std::make_unique<File>(this, std::move(file), path);
  }
  std::unique_ptr<FileLock> LockFile(const std::string& path, int timeoutMs) override {
    if (Fault("lock")) return nullptr;
    return target()->LockFile(path, timeoutMs);
  }
  IoStatus RenameFile(const std::string& from, const std::string& to) override {
    return Fault("rename") ? Injected(to) : target()->RenameFile(from, to);
  }
  IoStatus CreateDir(const std::string& path) override {
    return Fault("mkdir") ? Injected(path) : target()->CreateDir(path);
  }

 private:
  class File final : public WritableFile {
   public:
    File(FaultInjectionEnv* env, std::unique_ptr<WritableFile> base, std::string path)
        : env_(env), base_(std::move(base)), path_(std::move(path)) {}
    IoStatus Append(std::string_view data) override {
      if (env_->Fault("append")) {
        if (env_->partialAppend_) base_->Append(data.substr(0, data.size() / 2));
        return Injected(path_);
      }
      return base_->Append(data);
    }
    IoStatus Flush() override { return env_->Fault("flush") ? Injected(path_) : base_->Flush(); }
    IoStatus Sync() override { return env_->Fault("sync") ? Injected(path_) : base_->Sync(); }
    IoStatus Close() override {
      const bool fault = env_->Fault("close");
      IoStatus closed = base_->Close();
      return fault ? Injected(path_) : closed;
    }

   private:
    FaultInjectionEnv* env_;
    std::unique_ptr<WritableFile> base_;
    std::string path_;
  };

  static IoStatus Injected(const std::string& path) { return IoStatus::FromErrno(path, EIO); }

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
