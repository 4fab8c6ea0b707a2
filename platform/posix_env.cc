// The real Env: Windows paths mapped through its drive table onto the Linux
// file system; CP932 names become UTF-8 for the OS and back.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <mutex>
#include <utility>

#include "platform/drive_type_probe.h"
#include "platform/env.h"
#include "platform/posix_env.h"
#include "platform/temp_file_registry.h"
#include "platform/temp_name.h"
#include "platform/win_path.h"
#include "platform/windows_root.h"

namespace ltb::platform {
namespace {

// Unbuffered: every Append reaches the kernel before it returns, so a full
// disk shows at the call that hit it.
// Failures name `path`, the file the person knows: for a temporary file
// the file it is to replace.
class PosixWritableFile final : public WritableFile {
 public:
  PosixWritableFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
  ~PosixWritableFile() override { Close(); }

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
    int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0 ? IoStatus::OK() : IoStatus::FromErrno(path_, errno);
  }

 private:
  int fd_;
  std::string path_;
};

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
  PosixEnv(DriveTable drives, std::string tempDir)
      : drives_(std::move(drives)), tempDir_(std::move(tempDir)) {}

  std::unique_ptr<WritableFile> NewTempFile(const std::string& target, bool keepTargetMode,
                                            std::string* tempPath, IoStatus* status) override {
    IoStatus ignored;
    if (status == nullptr) status = &ignored;
    std::string targetLin;
    if (!Resolve(target, &targetLin)) {
      *status = IoStatus::BadPath(target);
      return nullptr;
    }
    struct stat model;
    const bool haveModel =
        keepTargetMode && ::lstat(targetLin.c_str(), &model) == 0 && S_ISREG(model.st_mode);
    for (int attempt = 0; attempt < kTempNameAttempts; ++attempt) {
      const std::string win = TempNameBeside(target);
      std::string lin;
      if (!Resolve(win, &lin)) {
        *status = IoStatus::BadPath(target);
        return nullptr;
      }
      const int fd = CreateListedTempFile(lin);
      if (fd < 0) {
        if (errno == EEXIST) continue;
        *status = IoStatus::FromErrno(target, errno);
        return nullptr;
      }
      if (haveModel) {
        // The group where this process may give it (an owner in that
        // group); otherwise the folder's default stays. Only the read,
        // write and execute bits are copied: a set-id bit planted on the
        // old file never lands on a file this user owns.
        if (::fchown(fd, static_cast<uid_t>(-1), model.st_gid) != 0) {
          // Not a member of the file's group.
        }
        ::fchmod(fd, model.st_mode & 0777);
      }
      *tempPath = win;
      *status = IoStatus::OK();
      return std::make_unique<PosixWritableFile>(fd, target);
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
    if (!Resolve(path, &lin)) return ReadStatus::kFailed;
    int fd = ::open(lin.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
      if (errno == ENOENT) return ReadStatus::kMissing;
      // O_NOFOLLOW fails a link with ELOOP; a FIFO without a writer opens.
      return errno == ELOOP ? ReadStatus::kNotRegular : ReadStatus::kFailed;
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
    if (status == ReadStatus::kOk) status = ReadBounded(fd, data, maxBytes);
    ::close(fd);
    if (status != ReadStatus::kOk) data->clear();
    return status;
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
  // Reads to the end of a regular file, one byte past maxBytes at most (a
  // file that grew since it was examined is too large as well).
  static ReadStatus ReadBounded(int fd, std::string* data, size_t maxBytes) {
    char buf[65536];
    for (;;) {
      ssize_t n = ::read(fd, buf, sizeof buf);
      if (n < 0) {
        if (errno == EINTR) continue;
        return ReadStatus::kFailed;
      }
      if (n == 0) return ReadStatus::kOk;
      if (static_cast<size_t>(n) > maxBytes - data->size()) return ReadStatus::kTooLarge;
      data->append(buf, static_cast<size_t>(n));
    }
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
  std::mutex mu_;
  std::string current_;  // Windows form; empty until first asked
};

}  // namespace

std::unique_ptr<Env> NewPosixEnv(DriveTable drives, std::string tempDir) {
  return std::make_unique<PosixEnv>(std::move(drives), std::move(tempDir));
}

Env* Env::Default() {
  static Env* env = NewPosixEnv(DriveTable()).release();
  return env;
}

}  // namespace ltb::platform
