// The one seam between the program and the operating system.
//
// Every path crossing this interface is a Windows path in CP932 bytes
// (C:\dir\file.xml, \\server\share\file.xml, or relative to the current
// folder); the implementation maps it onto the Linux file system through the
// drive table the Env was made with. The real one is made by NewPosixEnv
// (platform/posix_env.h) from the process's settings; tests wrap an Env
// (EnvWrapper) to inject faults at a chosen write, flush, rename or folder
// creation, and drive its clock.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/io_status.h"

namespace ltb::platform {

class DriveTable;  // platform/win_path.h

// Drive types with the values GetDriveTypeA returns.
enum class DriveType : int {
  kUnknown = 0,
  kNoRootDir = 1,
  kRemovable = 2,
  kFixed = 3,
  kRemote = 4,
  kCdRom = 5,
  kRamDisk = 6,
};

// _access modes.
enum AccessMode : int {
  kAccessExists = 0,
  kAccessWrite = 2,
  kAccessRead = 4,
  kAccessReadWrite = 6
};

// A file open for writing. Every operation returns what failed and why;
// after a failure the file stays open until Close or destruction.
class WritableFile {
 public:
  virtual ~WritableFile() = default;
  virtual IoStatus Append(std::string_view data) = 0;
  virtual IoStatus Flush() = 0;
  // Flushes and makes the data durable.
  virtual IoStatus Sync() = 0;
  // A temporary file (Env::NewTempFile) takes its name here at the latest:
  // until then it may have none, so nothing half-written is ever visible.
  // Destroyed unclosed, such a file never takes its name.
  virtual IoStatus Close() = 0;
};

// An advisory lock held until the object is destroyed.
class FileLock {
 public:
  virtual ~FileLock() = default;
};

// What a name in a folder is, the name itself examined (a link is not
// followed).
enum class EntryKind : int { kNone, kRegular, kDirectory, kLink, kOther };

// The mode of a temporary file made to replace `target` (Env::NewTempFile).
enum class TempFileMode : int {
  // A plain create's mode (0666 less the umask).
  kPlain,
  // The permission bits and, where this process may set it, the group of a
  // regular file at `target`; a plain create's mode when there is none.
  kKeepTarget,
  // As kKeepTarget; with no file at `target` in a folder its group may
  // write (a folder colleagues share), readable and writable by that
  // folder's group whatever the umask.
  kKeepTargetOrShareWithFolderGroup,
};

// How ReadRegularFile ended.
enum class ReadStatus : int {
  kOk,
  kMissing,     // nothing at the name
  kNotRegular,  // a link, folder, FIFO, device or socket: not opened
  kTooLarge,    // more than maxBytes: *data is left empty
  kFailed,      // could not be opened or read
};

class Env {
 public:
  virtual ~Env() = default;
  // A process-wide real Env over the default drive table (Z: is /) whose
  // temporary folder is /tmp, for tests and tools that need no settings of
  // their own. The program makes its own (NewPosixEnv). Never deleted.
  static Env* Default();

  // Reads at most maxBytes of the file into *data (left empty on failure).
  virtual IoStatus ReadFile(const std::string& path, std::string* data,
                            size_t maxBytes = SIZE_MAX) = 0;
  // Creates or truncates the file for writing; null when that fails.
  virtual std::unique_ptr<WritableFile> NewWritableFile(const std::string& path) = 0;
  // Creates a new, empty file with an unpredictable name in the folder of
  // `target`, exclusively: never through a name that exists, never through
  // a link. Its Windows path goes to *tempPath; its mode follows `mode`.
  // Where the file system allows, the file has no name until it is closed
  // whole (an unnamed file that the kernel removes whatever ends the
  // process); RemoveFile(*tempPath) before Close abandons it. Once it has a
  // name, and until it is renamed or removed through this Env, the file is
  // on the process's list of temporary files, which an interrupted or
  // exiting process removes. Null when it cannot be created, with the
  // reason in *status when given.
  virtual std::unique_ptr<WritableFile> NewTempFile(const std::string& target, TempFileMode mode,
                                                    std::string* tempPath,
                                                    IoStatus* status = nullptr);
  // Takes an exclusive advisory lock on the file `path`, creating it when
  // missing; the file is never removed, so every process locks the same
  // one. Waits at most timeoutMs for another holder. Null when the file
  // cannot be opened, is not a regular file, or the wait runs out.
  virtual std::unique_ptr<FileLock> LockFile(const std::string& path, int timeoutMs);
  // Reads the file only when the name itself is a regular file: no link is
  // followed and opening never blocks (a FIFO is refused unopened). At most
  // maxBytes are read; a longer file gives kTooLarge.
  virtual ReadStatus ReadRegularFile(const std::string& path, std::string* data, size_t maxBytes);
  // The kind of the entry at path, a link not followed.
  virtual EntryKind GetEntryKind(const std::string& path);
  // The name of the user who owns the entry at path (a number when the
  // user has no name), a link not followed; empty when it cannot be told.
  virtual std::string OwnerName(const std::string& path);

  // Replaces `to` by `from` atomically.
  virtual IoStatus RenameFile(const std::string& from, const std::string& to) = 0;
  virtual IoStatus RemoveFile(const std::string& path) = 0;
  virtual IoStatus CreateDir(const std::string& path) = 0;  // one level
  virtual IoStatus RemoveDir(const std::string& path) = 0;  // empty folder only
  // PathFileExistsA: any file-system entry.
  virtual bool FileExists(const std::string& path) = 0;
  // PathIsDirectoryA.
  virtual bool IsDirectory(const std::string& path) = 0;
  // _access: true when the entry exists with the access mode. A regular
  // file without any write permission bit is read-only for writing, for
  // the superuser too, as a file with the read-only attribute. For a drive
  // or share root ("C:\", "\\srv\share") the mode asks about the volume: it
  // is present, and for writing not mounted read-only.
  virtual bool Access(const std::string& path, int mode) = 0;
  // Size in bytes, or -1 when the entry cannot be examined.
  virtual int64_t FileSize(const std::string& path) = 0;
  // GetDriveTypeA of a root such as "C:\" or "\\server\share\".
  virtual DriveType GetDriveType(const std::string& root) = 0;
  // The current folder in Windows form, without a trailing backslash
  // (except for a drive root).
  virtual std::string GetCurrentDir() = 0;
  virtual IoStatus SetCurrentDir(const std::string& path) = 0;
  // GetTempPathA: the temporary folder with a trailing backslash.
  virtual std::string TempPath() = 0;
  // Full Windows path of the running executable.
  virtual std::string ProgramPath() = 0;

  // The table that maps this Env's Windows paths onto Linux folders. The
  // base class gives the default table (Z: is /), as used by Envs whose
  // files are not on the Linux file system.
  virtual const DriveTable& Drives();
  // Nanoseconds of the monotonic clock since an arbitrary start: it never
  // goes backwards and ignores changes of the wall-clock time. Paces
  // repaints and lock waits; the base class reads the real clock.
  virtual int64_t NowNanos();
};

// Forwards every call to another Env; tests override single methods.
class EnvWrapper : public Env {
 public:
  explicit EnvWrapper(Env* target) : target_(target) {}
  Env* target() const { return target_; }

  IoStatus ReadFile(const std::string& p, std::string* d, size_t m = SIZE_MAX) override {
    return target_->ReadFile(p, d, m);
  }
  std::unique_ptr<WritableFile> NewWritableFile(const std::string& p) override {
    return target_->NewWritableFile(p);
  }
  std::unique_ptr<WritableFile> NewTempFile(const std::string& t, TempFileMode m, std::string* tp,
                                            IoStatus* s = nullptr) override {
    return target_->NewTempFile(t, m, tp, s);
  }
  std::unique_ptr<FileLock> LockFile(const std::string& p, int ms) override {
    return target_->LockFile(p, ms);
  }
  ReadStatus ReadRegularFile(const std::string& p, std::string* d, size_t m) override {
    return target_->ReadRegularFile(p, d, m);
  }
  EntryKind GetEntryKind(const std::string& p) override { return target_->GetEntryKind(p); }
  std::string OwnerName(const std::string& p) override { return target_->OwnerName(p); }
  IoStatus RenameFile(const std::string& f, const std::string& t) override {
    return target_->RenameFile(f, t);
  }
  IoStatus RemoveFile(const std::string& p) override { return target_->RemoveFile(p); }
  IoStatus CreateDir(const std::string& p) override { return target_->CreateDir(p); }
  IoStatus RemoveDir(const std::string& p) override { return target_->RemoveDir(p); }
  bool FileExists(const std::string& p) override { return target_->FileExists(p); }
  bool IsDirectory(const std::string& p) override { return target_->IsDirectory(p); }
  bool Access(const std::string& p, int m) override { return target_->Access(p, m); }
  int64_t FileSize(const std::string& p) override { return target_->FileSize(p); }
  DriveType GetDriveType(const std::string& r) override { return target_->GetDriveType(r); }
  std::string GetCurrentDir() override { return target_->GetCurrentDir(); }
  IoStatus SetCurrentDir(const std::string& p) override { return target_->SetCurrentDir(p); }
  std::string TempPath() override { return target_->TempPath(); }
  std::string ProgramPath() override { return target_->ProgramPath(); }
  const DriveTable& Drives() override { return target_->Drives(); }
  int64_t NowNanos() override { return target_->NowNanos(); }

 private:
  Env* target_;
};

}  // namespace ltb::platform
