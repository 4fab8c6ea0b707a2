// Env::Default(): Windows paths mapped through the drive table onto the
// Linux file system; CP932 names become UTF-8 for the OS and back.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <mutex>

#include "platform/drive_type_probe.h"
#include "platform/env.h"
#include "platform/win_path.h"
#include "platform/windows_root.h"

namespace ltb::platform {
namespace {

// Unbuffered: every Append reaches the kernel before it returns, so a full
// disk shows at the call that hit it.
class PosixWritableFile final : public WritableFile {
 public:
  explicit PosixWritableFile(int fd) : fd_(fd) {}
  ~PosixWritableFile() override { Close(); }

  bool Append(std::string_view data) override {
    if (fd_ < 0) return false;
    while (!data.empty()) {
      ssize_t n = ::write(fd_, data.data(), data.size());
      if (n < 0) {
        if (errno == EINTR) continue;
        return false;
      }
      data.remove_prefix(static_cast<size_t>(n));
    }
    return true;
  }
  bool Flush() override { return fd_ >= 0; }
  bool Sync() override { return fd_ >= 0 && ::fsync(fd_) == 0; }
  bool Close() override {
    if (fd_ < 0) return true;
    int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
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

class PosixEnv final : public Env {
 public:
  bool ReadFile(const std::string& path, std::string* data, size_t maxBytes) override {
    data->clear();
    std::string lin;
    if (!Resolve(path, &lin)) return false;
    int fd = ::open(lin.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st;
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
      ::close(fd);
      return false;
    }
    if (S_ISREG(st.st_mode) && st.st_size > 0) {
      data->reserve(std::min<size_t>(static_cast<size_t>(st.st_size), maxBytes));
    }
    char buf[65536];
    bool ok = true;
    while (data->size() < maxBytes) {
      size_t want = std::min(sizeof(buf), maxBytes - data->size());
      ssize_t n = ::read(fd, buf, want);
      if (n < 0) {
        if (errno == EINTR) continue;
        ok = false;
        break;
      }
      if (n == 0) break;
      data->append(buf, static_cast<size_t>(n));
    }
    ::close(fd);
    if (!ok) data->clear();
    return ok;
  }

  std::unique_ptr<WritableFile> NewWritableFile(const std::string& path) override {
    std::string lin;
    if (!Resolve(path, &lin)) return nullptr;
    int fd = ::open(lin.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    return std::make_unique<PosixWritableFile>(fd);
  }

  bool RenameFile(const std::string& from, const std::string& to) override {
    std::string a, b;
    if (!Resolve(from, &a) || !Resolve(to, &b)) return false;
    if (::rename(a.c_str(), b.c_str()) != 0) return false;
    SyncParentFolder(b);
    return true;
  }

  bool RemoveFile(const std::string& path) override {
    std::string lin;
    return Resolve(path, &lin) && ::unlink(lin.c_str()) == 0;
  }

  bool CreateDir(const std::string& path) override {
    std::string lin;
    return Resolve(path, &lin) && ::mkdir(lin.c_str(), 0777) == 0;
  }

  bool RemoveDir(const std::string& path) override {
    std::string lin;
    return Resolve(path, &lin) && ::rmdir(lin.c_str()) == 0;
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
    if (!DriveTable::Global().RootOf(root, &folder)) return DriveType::kNoRootDir;
    return ProbeDriveType(folder);
  }

  std::string GetCurrentDir() override {
    std::lock_guard<std::mutex> lock(mu_);
    return CurrentDirLocked();
  }

  bool SetCurrentDir(const std::string& path) override {
    std::lock_guard<std::mutex> lock(mu_);
    std::string full, lin;
    if (!FullWindowsPath(path, CurrentDirLocked(), &full) ||
        !DriveTable::Global().ToLinux(full, "", &lin) || ::chdir(lin.c_str()) != 0) {
      return false;
    }
    current_ = StripTrailingBackslash(full);
    return true;
  }

  std::string TempPath() override {
    std::string win;
    const char* tmp = std::getenv("TMPDIR");
    if (tmp == nullptr || tmp[0] != '/' || !DriveTable::Global().ToWindows(tmp, &win)) {
      if (!DriveTable::Global().ToWindows("/tmp", &win)) return {};
    }
    if (!EndsWithBackslash(win)) win += '\\';
    return win;
  }

  std::string ProgramPath() override {
    char buf[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buf, sizeof(buf) - 1);
    std::string win;
    if (n <= 0 || !DriveTable::Global().ToWindows(std::string_view(buf, n), &win)) return {};
    return win;
  }

 private:
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
    if (::getcwd(buf, sizeof(buf)) != nullptr && DriveTable::Global().ToWindows(buf, &win)) {
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
    return DriveTable::Global().ToLinux(winPath, GetCurrentDir(), linuxPath);
  }

  std::mutex mu_;
  std::string current_;  // Windows form; empty until first asked
};

}  // namespace

Env* Env::Default() {
  static Env* env = new PosixEnv();
  return env;
}

}  // namespace ltb::platform
