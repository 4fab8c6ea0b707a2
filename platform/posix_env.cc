// The real Env: Windows paths mapped through its drive table onto the Linux
// file system; CP932 names become UTF-8 for the OS and back.
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/drive_type_probe.h"
#include "platform/env.h"
#include "platform/posix_env.h"
#include "platform/temp_file_registry.h"
#include "platform/temp_name.h"
#include "platform/win_path.h"
#include "platform/windows_root.h"

namespace ltb::platform {
namespace {

// A temporary file created without a name: it takes its name when it is
// closed, unless it was abandoned (removed through the Env) before.
struct PendingName {
  std::mutex mu;
  std::string linuxPath;
  bool linked = false;
  bool abandoned = false;
};

// Unbuffered: every Append reaches the kernel before it returns, so a full
// disk shows at the call that hit it.
// Failures name `path`, the file the person knows: for a temporary file
// the file it is to replace.
class PosixWritableFile final : public WritableFile {
 public:
  explicit PosixWritableFile(int fd, std::string path,
                             std::shared_ptr<PendingName> pending = nullptr)
      : fd_(fd), path_(std::move(path)), pending_(std::move(pending)) {}
  ~PosixWritableFile() override {
    // Never closed: an unnamed file goes with its descriptor.
    if (pending_) {
      std::lock_guard<std::mutex> lock(pending_->mu);
      pending_->abandoned = pending_->abandoned || !pending_->linked;
    }
    Close();
  }

  IoStatus Append(std::string_view data) override {
    if (fd_ < 0) return IoStatus::FromErrno(path_, EBADF);
    while (!data.empty()) {
      ssize_t n = ::write(fd_, data.data(), data.size());
      if (n < 0) {
        if (errno == EINTR) continue;
        return IoStatus::FromErrno(path_, errno);
      }
      data.remove_prefix(static_cast<size_t>(n));
    }
    return IoStatus::OK();
  }
  IoStatus Flush() override {
    return fd_ >= 0 ? IoStatus::OK() : IoStatus::FromErrno(path_, EBADF);
  }
  IoStatus Sync() override {
    if (fd_ < 0) return IoStatus::FromErrno(path_, EBADF);
    return ::fsync(fd_) == 0 ? IoStatus::OK() : IoStatus::FromErrno(path_, errno);
  }
  IoStatus Close() override {
    if (fd_ < 0) return IoStatus::OK();
    const bool named = TakeName();
    const int why = errno;
    int fd = fd_;
    fd_ = -1;
    const bool closed = ::close(fd) == 0;
    if (!named) return IoStatus::FromErrno(path_, why);
    return closed ? IoStatus::OK() : IoStatus::FromErrno(path_, errno);
  }

 private:
  bool TakeName() {
    if (!pending_) return true;
    std::lock_guard<std::mutex> lock(pending_->mu);
    if (pending_->abandoned || pending_->linked) return true;
    pending_->linked = LinkListedTempFile(fd_, pending_->linuxPath);
    return pending_->linked;
  }

  int fd_;
  std::string path_;
  std::shared_ptr<PendingName> pending_;
};

// The folder part of a Linux path.
std::string FolderOf(const std::string& linuxPath) {
  const size_t slash = linuxPath.rfind('/');
  return slash == 0 || slash == std::string::npos ? "/" : linuxPath.substr(0, slash);
}

// Gives a new temporary file its mode: the permission bits and group of
// `model` when there is one; else, when asked, group read and write in a
// folder that its group may write (a folder colleagues share), so that a
// creator's private umask does not shut the others out.
void GiveMode(int fd, TempFileMode mode, const struct stat* model, const std::string& folder) {
  if (model != nullptr) {
    // The group where this process may give it (an owner in that group);
    // otherwise the folder's default stays. Only the read, write and
    // execute bits are copied: a set-id bit planted on the old file never
    // lands on a file this user owns.
    if (::fchown(fd, static_cast<uid_t>(-1), model->st_gid) != 0) {
      // Not a member of the file's group.
    }
    ::fchmod(fd, model->st_mode & 0777);
    return;
  }
  if (mode != TempFileMode::kKeepTargetOrShareWithFolderGroup) return;
  struct stat dir, self;
  if (::stat(folder.c_str(), &dir) != 0 || (dir.st_mode & S_IWGRP) == 0) return;
  if (::fstat(fd, &self) != 0) return;
  if (self.st_gid != dir.st_gid && ::fchown(fd, static_cast<uid_t>(-1), dir.st_gid) != 0) {
    return;  // not a member of the folder's group: nothing to share with
  }
  ::fchmod(fd, (self.st_mode & 0777) | 0660);
}

// Whether the kernel can give an unnamed file a name later: through
// /proc/self/fd (or, for the superuser, AT_EMPTY_PATH).
bool CanNameUnnamedFiles() {
  static const bool can = ::access("/proc/self/fd", X_OK) == 0 || ::geteuid() == 0;
  return can;
}

// An error of open(O_TMPFILE) that means the file system (or kernel) has no
// unnamed files, so a named temporary file is made instead.
bool NoUnnamedFilesHere(int error) {
  return error == EOPNOTSUPP || error == EISDIR || error == EINVAL;
}

// Makes a rename durable: the folder that holds the new name is synced.
void SyncParentFolder(const std::string& linuxPath) {
  size_t slash = linuxPath.rfind('/');
  std::string dir = slash == 0 ? "/" : linuxPath.substr(0, slash);
  int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

class PosixFileLock final : public FileLock {
 public:
  explicit PosixFileLock(int fd) : fd_(fd) {}
  ~PosixFileLock() override { ::close(fd_); }  // closing releases the lock

 private:
  int fd_;
};

// Tries again after a failed exclusive create with a name that was taken.
constexpr int kTempNameAttempts = 16;
constexpr int kLockPollMicros = 5000;

class PosixEnv final : public Env {
 public:
  PosixEnv(DriveTable drives, std::string tempDir, bool unnamedTempFiles)
      : drives_(std::move(drives)),
        tempDir_(std::move(tempDir)),
        unnamedTempFiles_(unnamedTempFiles) {}

  std::unique_ptr<WritableFile> NewTempFile(const std::string& target, TempFileMode mode,
                                            std::string* tempPath, IoStatus* status) override {
    IoStatus ignored;
    if (status == nullptr) status = &ignored;
    std::string targetLin;
    if (!Resolve(target, &targetLin)) {
      *status = IoStatus::BadPath(target);
      return nullptr;
    }
    struct stat model;
    const bool haveModel = mode != TempFileMode::kPlain &&
                           ::lstat(targetLin.c_str(), &model) == 0 && S_ISREG(model.st_mode);
    const std::string folder = FolderOf(targetLin);
    for (int attempt = 0; attempt < kTempNameAttempts; ++attempt) {
      const std::string win = TempNameBeside(target);
      std::string lin;
      if (!Resolve(win, &lin)) {
        *status = IoStatus::BadPath(target);
        return nullptr;
      }
      std::shared_ptr<PendingName> pending;
      int fd = -1;
      if (unnamedTempFiles_ && CanNameUnnamedFiles()) {
        fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        if (fd < 0 && !NoUnnamedFilesHere(errno)) {
          *status = IoStatus::FromErrno(target, errno);
          return nullptr;
        }
        if (fd >= 0) {
          pending = std::make_shared<PendingName>();
          pending->linuxPath = lin;
        }
      }
      if (fd < 0) {
        fd = CreateListedTempFile(lin);
        if (fd < 0) {
          if (errno == EEXIST) continue;
          *status = IoStatus::FromErrno(target, errno);
          return nullptr;
        }
      }
      GiveMode(fd, mode, haveModel ? &model : nullptr, folder);
      if (pending) {
        std::lock_guard<std::mutex> lock(pendingMu_);
        std::erase_if(pending_, [](const std::weak_ptr<PendingName>& p) { return p.expired(); });
        pending_.push_back(pending);
      }
      *tempPath = win;
      *status = IoStatus::OK();
      return std::make_unique<PosixWritableFile>(fd, target, std::move(pending));
    }
    *status = IoStatus::FromErrno(target, EEXIST);
    return nullptr;
  }

  std::unique_ptr<FileLock> LockFile(const std::string& path, int timeoutMs) override {
    std::string lin;
    if (!Resolve(path, &lin)) return nullptr;
    // Over NFS flock locks the whole file for writing, which needs a
    // descriptor open for writing; on a local disk read-only is enough, so a
    // lock file this user may only read still serves there. O_NONBLOCK
    // keeps a FIFO from hanging the open.
    constexpr int kFlags = O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    int fd = ::open(lin.c_str(), O_RDWR | kFlags, 0666);
    if (fd < 0 && (errno == EACCES || errno == EROFS)) {
      fd = ::open(lin.c_str(), O_RDONLY | kFlags, 0666);
    }
    if (fd < 0) return nullptr;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
      ::close(fd);
      return nullptr;
    }
    // Whoever made the lock file lets every other user open it for writing,
    // whatever that user's umask was; the file holds nothing. A name with a
    // second link is another file of this user planted in the shared
    // folder: its permissions stay.
    if (st.st_uid == ::geteuid() && st.st_nlink == 1 && (st.st_mode & 0666) != 0666) {
      ::fchmod(fd, (st.st_mode & 07777) | 0666);
    }
    const int64_t deadline = NowNanos() + int64_t{timeoutMs} * 1000000;
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      if ((errno != EWOULDBLOCK && errno != EINTR) || NowNanos() >= deadline) {
        ::close(fd);
        return nullptr;
      }
      ::usleep(kLockPollMicros);
    }
    return std::make_unique<PosixFileLock>(fd);
  }

  ReadStatus ReadRegularFile(const std::string& path, std::string* data, size_t maxBytes) override {
    data->clear();
    std::string lin;
    if (!Resolve(path, &lin)) {
      errno = ENOENT;
      return ReadStatus::kFailed;
    }
    return ReadRegularLinuxFile(lin, false, data, maxBytes);
  }

  std::string OwnerName(const std::string& path) override {
    std::string lin;
    struct stat st;
    if (!Resolve(path, &lin) || ::lstat(lin.c_str(), &st) != 0) return {};
    struct passwd pw, *found = nullptr;
    char buf[4096];
    if (::getpwuid_r(st.st_uid, &pw, buf, sizeof buf, &found) == 0 && found != nullptr) {
      return found->pw_name;
    }
    return std::to_string(st.st_uid);
  }

  EntryKind GetEntryKind(const std::string& path) override {
    std::string lin;
    struct stat st;
    if (!Resolve(path, &lin) || ::lstat(lin.c_str(), &st) != 0) return EntryKind::kNone;
    if (S_ISREG(st.st_mode)) return EntryKind::kRegular;
    if (S_ISDIR(st.st_mode)) return EntryKind::kDirectory;
    if (S_ISLNK(st.st_mode)) return EntryKind::kLink;
    return EntryKind::kOther;
  }

  IoStatus ReadFile(const std::string& path, std::string* data, size_t maxBytes) override {
    data->clear();
    std::string lin;
    if (!Resolve(path, &lin)) return IoStatus::BadPath(path);
    int fd = ::open(lin.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return IoStatus::FromErrno(path, errno);
    struct stat st;
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
      const int error = S_ISDIR(st.st_mode) ? EISDIR : errno;
      ::close(fd);
      return IoStatus::FromErrno(path, error);
    }
    if (S_ISREG(st.st_mode) && st.st_size > 0) {
      data->reserve(std::min<size_t>(static_cast<size_t>(st.st_size), maxBytes));
    }
    char buf[65536];
    int error = 0;
    while (data->size() < maxBytes) {
      size_t want = std::min(sizeof(buf), maxBytes - data->size());
      ssize_t n = ::read(fd, buf, want);
      if (n < 0) {
        if (errno == EINTR) continue;
        error = errno;
        break;
      }
      if (n == 0) break;
      data->append(buf, static_cast<size_t>(n));
    }
    ::close(fd);
    if (error == 0) return IoStatus::OK();
    data->clear();
    return IoStatus::FromErrno(path, error);
  }

  std::unique_ptr<WritableFile> NewWritableFile(const std::string& path) override {
    std::string lin;
    if (!Resolve(path, &lin)) return nullptr;
    int fd = ::open(lin.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    return std::make_unique<PosixWritableFile>(fd, path);
  }

  // A failed rename names `to`, the file the person asked for.
  IoStatus RenameFile(const std::string& from, const std::string& to) override {
    std::string a, b;
    if (!Resolve(from, &a) || !Resolve(to, &b)) return IoStatus::BadPath(to);
    if (::rename(a.c_str(), b.c_str()) != 0) return IoStatus::FromErrno(to, errno);
    ForgetTempFile(a);
    SyncParentFolder(b);
    return IoStatus::OK();
  }

  IoStatus RemoveFile(const std::string& path) override {
    std::string lin;
    if (!Resolve(path, &lin)) return IoStatus::BadPath(path);
    if (AbandonUnnamed(lin)) return IoStatus::OK();
    const int error = ::unlink(lin.c_str()) == 0 ? 0 : errno;
    ForgetTempFile(lin);
    return error == 0 ? IoStatus::OK() : IoStatus::FromErrno(path, error);
  }

  IoStatus CreateDir(const std::string& path) override {
    std::string lin;
    if (!Resolve(path, &lin)) return IoStatus::BadPath(path);
    return ::mkdir(lin.c_str(), 0777) == 0 ? IoStatus::OK() : IoStatus::FromErrno(path, errno);
  }

  IoStatus RemoveDir(const std::string& path) override {
    std::string lin;
    if (!Resolve(path, &lin)) return IoStatus::BadPath(path);
    return ::rmdir(lin.c_str()) == 0 ? IoStatus::OK() : IoStatus::FromErrno(path, errno);
  }

  bool FileExists(const std::string& path) override {
    std::string lin;
    struct stat st;
    return Resolve(path, &lin) && ::lstat(lin.c_str(), &st) == 0;
  }

  bool IsDirectory(const std::string& path) override {
    std::string lin;
    struct stat st;
    return Resolve(path, &lin) && ::stat(lin.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
  }

  bool Access(const std::string& path, int mode) override {
    std::string lin;
    if (!Resolve(path, &lin)) return false;
    if (IsWholeRoot(path)) return VolumeUsable(lin, mode);
    if ((mode & kAccessReadWrite) == 0) {
      struct stat st;
      return ::stat(lin.c_str(), &st) == 0;
    }
    int flags = 0;
    if (mode & kAccessRead) flags |= R_OK;
    if (mode & kAccessWrite) flags |= W_OK;
    if (::faccessat(AT_FDCWD, lin.c_str(), flags, AT_EACCESS) != 0) return false;
    if (mode & kAccessWrite) {
      // A file whose owner took away every write bit is read-only, as a
      // file with the read-only attribute is for every user on Windows.
      struct stat st;
      if (::stat(lin.c_str(), &st) == 0 && S_ISREG(st.st_mode) && (st.st_mode & 0222) == 0) {
        errno = EACCES;
        return false;
      }
      // The superuser passes the permission test everywhere; a read-only
      // mount still stops every writer.
      struct statvfs vfs;
      if (::statvfs(lin.c_str(), &vfs) != 0 || (vfs.f_flag & ST_RDONLY)) return false;
    }
    return true;
  }

  int64_t FileSize(const std::string& path) override {
    std::string lin;
    struct stat st;
    if (!Resolve(path, &lin) || ::stat(lin.c_str(), &st) != 0) return -1;
    return S_ISDIR(st.st_mode) ? 0 : static_cast<int64_t>(st.st_size);
  }

  DriveType GetDriveType(const std::string& root) override {
    // Only a root names a volume: "C:", "C:\", "\\srv\share", "\\srv\share\".
    WindowsRoot parsed = ParseWindowsRoot(root);
    if (parsed.kind == WindowsRoot::Kind::kNone || parsed.length != root.size()) {
      return DriveType::kNoRootDir;
    }
    std::string folder;
    if (!drives_.RootOf(root, &folder)) return DriveType::kNoRootDir;
    return ProbeDriveType(folder);
  }

  std::string GetCurrentDir() override {
    std::lock_guard<std::mutex> lock(mu_);
    return CurrentDirLocked();
  }

  IoStatus SetCurrentDir(const std::string& path) override {
    std::lock_guard<std::mutex> lock(mu_);
    std::string full, lin;
    if (!FullWindowsPath(path, CurrentDirLocked(), &full) || !drives_.ToLinux(full, "", &lin)) {
      return IoStatus::BadPath(path);
    }
    if (::chdir(lin.c_str()) != 0) return IoStatus::FromErrno(path, errno);
    current_ = StripTrailingBackslash(full);
    return IoStatus::OK();
  }

  std::string TempPath() override {
    std::string win;
    if (tempDir_.empty() || tempDir_[0] != '/' || !drives_.ToWindows(tempDir_, &win)) {
      if (!drives_.ToWindows("/tmp", &win)) return {};
    }
    if (!EndsWithBackslash(win)) win += '\\';
    return win;
  }

  const DriveTable& Drives() override { return drives_; }

  std::string ProgramPath() override {
    char buf[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buf, sizeof(buf) - 1);
    std::string win;
    if (n <= 0 || !drives_.ToWindows(std::string_view(buf, n), &win)) return {};
    return win;
  }

 private:
  // A temporary file that has no name yet is abandoned instead of
  // removed: it then never takes one. True when path was such a file.
  bool AbandonUnnamed(const std::string& linuxPath) {
    std::lock_guard<std::mutex> lock(pendingMu_);
    for (const std::weak_ptr<PendingName>& weak : pending_) {
      std::shared_ptr<PendingName> pending = weak.lock();
      if (!pending || pending->linuxPath != linuxPath) continue;
      std::lock_guard<std::mutex> fileLock(pending->mu);
      if (pending->linked) return false;
      pending->abandoned = true;
      return true;
    }
    return false;
  }

  // The current folder has no trailing backslash, except a drive root.
  static std::string StripTrailingBackslash(std::string full) {
    WindowsRoot root = ParseWindowsRoot(full);
    if (root.kind == WindowsRoot::Kind::kShare && root.length == full.size() &&
        full.back() == '\\') {
      full.pop_back();
    }
    return full;
  }

  std::string CurrentDirLocked() {
    if (!current_.empty()) return current_;
    char buf[PATH_MAX];
    std::string win;
    if (::getcwd(buf, sizeof(buf)) != nullptr && drives_.ToWindows(buf, &win)) {
      current_ = win;
    }
    return current_;
  }

  static bool IsWholeRoot(const std::string& path) {
    const WindowsRoot root = ParseWindowsRoot(path);
    return root.kind != WindowsRoot::Kind::kNone && root.length == path.size() &&
           (root.kind == WindowsRoot::Kind::kShare || root.absolute);
  }

  // A drive or share root is usable as a volume is on Windows, for every
  // user: its folder exists and, for writing, its file system is not mounted
  // read-only. Whether this user may write in a folder under it shows where
  // that folder is created or the file written, never at the root, which
  // on Linux only the superuser may write.
  static bool VolumeUsable(const std::string& linuxRoot, int mode) {
    struct stat st;
    if (::stat(linuxRoot.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
    if ((mode & kAccessWrite) == 0) return true;
    struct statvfs vfs;
    return ::statvfs(linuxRoot.c_str(), &vfs) == 0 && (vfs.f_flag & ST_RDONLY) == 0;
  }

  bool Resolve(const std::string& winPath, std::string* linuxPath) {
    return drives_.ToLinux(winPath, GetCurrentDir(), linuxPath);
  }

  const DriveTable drives_;
  const std::string tempDir_;  // Linux folder; empty: /tmp
  const bool unnamedTempFiles_;
  std::mutex mu_;
  std::mutex pendingMu_;
  std::vector<std::weak_ptr<PendingName>> pending_;  // unnamed temporary files
  std::string current_;                              // Windows form; empty until first asked
};

}  // namespace

std::unique_ptr<Env> NewPosixEnv(DriveTable drives, std::string tempDir, bool unnamedTempFiles) {
  return std::make_unique<PosixEnv>(std::move(drives), std::move(tempDir), unnamedTempFiles);
}

ReadStatus ReadRegularLinuxFile(const std::string& linuxPath, bool followLink, std::string* data,
                                size_t maxBytes) {
  data->clear();
  const int fd = ::open(linuxPath.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC |
                                               (followLink ? 0 : O_NOFOLLOW));
  if (fd < 0) {
    if (errno == ENOENT) return ReadStatus::kMissing;
    // O_NOFOLLOW fails a link with ELOOP; a FIFO without a writer opens.
    return errno == ELOOP && !followLink ? ReadStatus::kNotRegular : ReadStatus::kFailed;
  }
  struct stat st;
  ReadStatus status = ReadStatus::kOk;
  if (::fstat(fd, &st) != 0) {
    status = ReadStatus::kFailed;
  } else if (!S_ISREG(st.st_mode)) {
    status = ReadStatus::kNotRegular;
  } else if (static_cast<uint64_t>(st.st_size) > maxBytes) {
    status = ReadStatus::kTooLarge;
  }
  // To the end of the file, one read past maxBytes at most (a file that
  // grew since it was examined is too large as well).
  char buf[65536];
  while (status == ReadStatus::kOk) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0) {
      if (errno != EINTR) status = ReadStatus::kFailed;
      continue;
    }
    if (n == 0) break;
    if (static_cast<size_t>(n) > maxBytes - data->size()) {
      status = ReadStatus::kTooLarge;
    } else {
      data->append(buf, static_cast<size_t>(n));
    }
  }
  const int why = errno;
  ::close(fd);
  errno = why;
  if (status != ReadStatus::kOk) data->clear();
  return status;
}

Env* Env::Default() {
  static Env* env = NewPosixEnv(DriveTable()).release();
  return env;
}

}  // namespace ltb::platform
