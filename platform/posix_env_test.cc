#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/drive_type_probe.h"
#include "platform/env.h"
#include "platform/posix_env.h"
#include "platform/temp_file_registry.h"
#include "platform/testing/temp_folder_test.h"
#include "platform/win_path.h"

namespace ltb::platform {
namespace {

std::string U8(const char8_t* s) { return reinterpret_cast<const char*>(s); }

// The default Env over a fresh folder; a test that maps more drives points
// env_ at a real Env of its own table.
class PosixEnvTest : public testing::TempFolderTest {
 protected:
  bool Write(const std::string& path, std::string_view data) {
    auto f = env_->NewWritableFile(path);
    return f && f->Append(data).ok() && f->Close().ok();
  }

  Env* env_ = Env::Default();
};

TEST_F(PosixEnvTest, FilesWithDoubleByteNamesRoundTrip) {
  const std::string folder = dir_ + "\\ソフト表";
  ASSERT_TRUE(env_->CreateDir(folder).ok());
  EXPECT_FALSE(env_->CreateDir(folder).ok());  // already there
  EXPECT_TRUE(env_->IsDirectory(folder + "\\"));
  struct stat st;
  ASSERT_EQ(::stat((linuxDir_ + U8(u8"/ソフト表")).c_str(), &st), 0);  // UTF-8 on disk

  const std::string file = folder + "\\表.xml";
  ASSERT_TRUE(Write(file, "abc\x83\x5c"));
  EXPECT_TRUE(env_->FileExists(file));
  EXPECT_FALSE(env_->IsDirectory(file));
  EXPECT_EQ(env_->FileSize(file), 5);
  std::string data;
  ASSERT_TRUE(env_->ReadFile(file, &data).ok());
  EXPECT_EQ(data, "abc\x83\x5c");
  ASSERT_TRUE(env_->ReadFile(file, &data, 2).ok());
  EXPECT_EQ(data, "ab");

  EXPECT_FALSE(env_->ReadFile(folder, &data).ok());  // a folder is no file
  EXPECT_FALSE(env_->RemoveDir(folder).ok());        // not empty
  EXPECT_FALSE(env_->RemoveFile(folder).ok());
  ASSERT_TRUE(env_->RenameFile(file, folder + "\\b.xml").ok());
  EXPECT_FALSE(env_->FileExists(file));
  ASSERT_TRUE(env_->RemoveFile(folder + "\\b.xml").ok());
  ASSERT_TRUE(env_->RemoveDir(folder).ok());
  EXPECT_FALSE(env_->FileExists(folder));
  EXPECT_EQ(env_->FileSize(folder), -1);
  EXPECT_FALSE(env_->ReadFile(folder + "\\none", &data).ok());
  EXPECT_FALSE(env_->FileExists("Q:\\unmapped"));
}

// A failure names the file and says why in the system's words, which is
// what the messages about a failed read or write show.
TEST_F(PosixEnvTest, FailuresCarryThePathAndTheSystemsReason) {
  const std::string folder = dir_ + "\\full";
  ASSERT_TRUE(env_->CreateDir(folder).ok());
  ASSERT_TRUE(Write(folder + "\\a", "x"));
  std::string data;
  struct Case {
    IoStatus status;
    IoStatus::Code code;
    std::string path;
    int errorNumber;
  } cases[] = {
      {env_->ReadFile(dir_ + "\\none", &data), IoStatus::Code::kNotFound, dir_ + "\\none", ENOENT},
      {env_->ReadFile(folder, &data), IoStatus::Code::kIoError, folder, EISDIR},
      {env_->RemoveDir(folder), IoStatus::Code::kIoError, folder, ENOTEMPTY},
      {env_->CreateDir(folder), IoStatus::Code::kIoError, folder, EEXIST},
      {env_->RenameFile(dir_ + "\\none", dir_ + "\\b"), IoStatus::Code::kNotFound, dir_ + "\\b",
       ENOENT},
      {env_->ReadFile("Q:\\unmapped", &data), IoStatus::Code::kBadPath, "Q:\\unmapped", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(c.status.code(), c.code);
    EXPECT_EQ(c.status.path(), c.path);
    EXPECT_EQ(c.status.error_number(), c.errorNumber);
    if (c.errorNumber != 0) {
      EXPECT_EQ(c.status.reason(), std::strerror(c.errorNumber));
    }
    EXPECT_EQ(c.status.ToString(), c.path + ": " + c.status.reason());
  }
  EXPECT_EQ(IoStatus::OK().ToString(), "OK");
}

TEST_F(PosixEnvTest, RenameReplacesTheTarget) {
  ASSERT_TRUE(Write(dir_ + "\\a", "new"));
  ASSERT_TRUE(Write(dir_ + "\\b", "old"));
  ASSERT_TRUE(env_->RenameFile(dir_ + "\\a", dir_ + "\\b").ok());
  std::string data;
  ASSERT_TRUE(env_->ReadFile(dir_ + "\\b", &data).ok());
  EXPECT_EQ(data, "new");
}

TEST_F(PosixEnvTest, WriteErrorsShowAtTheAppendThatHitsThem) {
  auto full = env_->NewWritableFile("Z:\\dev\\full");
  ASSERT_NE(full, nullptr);
  EXPECT_FALSE(full->Append("x").ok());  // unbuffered: ENOSPC right here
  full->Close().ok();
  EXPECT_FALSE(full->Append("x").ok());  // closed
  EXPECT_EQ(env_->NewWritableFile(dir_ + "\\missing\\f"), nullptr);
  EXPECT_EQ(env_->NewWritableFile(dir_), nullptr);  // a folder

  auto f = env_->NewWritableFile(dir_ + "\\f");
  ASSERT_NE(f, nullptr);
  EXPECT_TRUE(f->Append("12").ok() && f->Flush().ok() && f->Sync().ok() && f->Close().ok());
}

TEST_F(PosixEnvTest, CurrentFolderIsKeptInWindowsForm) {
  const std::string before = env_->GetCurrentDir();
  ASSERT_TRUE(env_->CreateDir(dir_ + "\\表").ok());
  ASSERT_TRUE(env_->SetCurrentDir(dir_ + "\\表\\").ok());
  EXPECT_EQ(env_->GetCurrentDir(), dir_ + "\\表");
  char buf[4096];
  ASSERT_NE(::getcwd(buf, sizeof(buf)), nullptr);
  EXPECT_EQ(std::string(buf), linuxDir_ + U8(u8"/表"));
  // Relative names now resolve there.
  ASSERT_TRUE(Write("rel.txt", "r"));
  EXPECT_TRUE(env_->FileExists(dir_ + "\\表\\rel.txt"));
  ASSERT_TRUE(env_->SetCurrentDir("..").ok());
  EXPECT_EQ(env_->GetCurrentDir(), dir_);
  EXPECT_FALSE(env_->SetCurrentDir(dir_ + "\\none").ok());
  EXPECT_EQ(env_->GetCurrentDir(), dir_);
  EXPECT_FALSE(env_->SetCurrentDir("Q:\\").ok());
  ASSERT_TRUE(env_->SetCurrentDir(before).ok());
}

TEST_F(PosixEnvTest, TempAndProgramPaths) {
  // The temporary folder the process's settings name ($TMPDIR).
  auto tempPathOf = [](const std::string& tempDir) {
    return NewPosixEnv(DriveTable(), tempDir)->TempPath();
  };
  EXPECT_EQ(tempPathOf(linuxDir_), dir_ + "\\");
  // A folder whose name ends in 表 (second byte 0x5C) still gets its separator.
  const std::string hyo = linuxDir_ + reinterpret_cast<const char*>(u8"/表");
  EXPECT_EQ(tempPathOf(hyo), dir_ + "\\表\\");
  EXPECT_EQ(tempPathOf(""), "Z:\\tmp\\");
  EXPECT_EQ(env_->TempPath(), "Z:\\tmp\\");

  const std::string program = env_->ProgramPath();
  ASSERT_EQ(program.rfind("Z:\\", 0), 0u) << program;
  EXPECT_NE(program.find("platform_tests"), std::string::npos) << program;
  EXPECT_TRUE(env_->FileExists(program));
}

TEST_F(PosixEnvTest, DriveTypesComeFromTheMappedFileSystem) {
  DriveTable table;
  EXPECT_EQ(env_->GetDriveType(""), DriveType::kNoRootDir);
  EXPECT_EQ(env_->GetDriveType("Z"), DriveType::kNoRootDir);
  EXPECT_EQ(env_->GetDriveType("Z?"), DriveType::kNoRootDir);
  EXPECT_EQ(env_->GetDriveType("?"), DriveType::kNoRootDir);
  EXPECT_EQ(env_->GetDriveType("Z:\\tmp"), DriveType::kNoRootDir);  // not a root
  EXPECT_EQ(env_->GetDriveType("Q:\\"), DriveType::kNoRootDir);     // unmapped
  EXPECT_EQ(env_->GetDriveType("\\\\nosuch\\share\\"), DriveType::kNoRootDir);

  table.MapDrive('R', "/dev/shm");  // tmpfs
  table.MapDrive('P', "/proc");
  table.MapDrive('M', linuxDir_ + "/missing");
  table.MapShare("\\\\srv\\tmp", "/dev/shm");
  const std::unique_ptr<Env> mapped = NewPosixEnv(table);
  env_ = mapped.get();
  EXPECT_EQ(env_->GetDriveType("R:\\"), DriveType::kRamDisk);
  EXPECT_EQ(env_->GetDriveType("r:"), DriveType::kRamDisk);
  EXPECT_EQ(env_->GetDriveType("\\\\SRV\\tmp\\"), DriveType::kRamDisk);
  EXPECT_EQ(env_->GetDriveType("\\\\srv\\tmp"), DriveType::kRamDisk);
  EXPECT_EQ(env_->GetDriveType("P:\\"), DriveType::kFixed);
  EXPECT_EQ(env_->GetDriveType("M:\\"), DriveType::kNoRootDir);  // folder gone
}

TEST(DriveTypeOfTest, FileSystemKinds) {
  EXPECT_EQ(DriveTypeOf(0x6969, ""), DriveType::kRemote);      // NFS
  EXPECT_EQ(DriveTypeOf(0xFF534D42, ""), DriveType::kRemote);  // CIFS
  EXPECT_EQ(DriveTypeOf(0xFE534D42, ""), DriveType::kRemote);  // SMB2
  EXPECT_EQ(DriveTypeOf(0x517B, ""), DriveType::kRemote);      // SMB
  EXPECT_EQ(DriveTypeOf(0x01021997, ""), DriveType::kRemote);  // 9p
  EXPECT_EQ(DriveTypeOf(0x65735546, "fuse.sshfs"), DriveType::kRemote);
  EXPECT_EQ(DriveTypeOf(0x65735546, "fuse.ntfs-3g"), DriveType::kFixed);
  EXPECT_EQ(DriveTypeOf(0x9660, ""), DriveType::kCdRom);
  EXPECT_EQ(DriveTypeOf(0x15013346, ""), DriveType::kCdRom);  // UDF
  EXPECT_EQ(DriveTypeOf(0x01021994, ""), DriveType::kRamDisk);
  EXPECT_EQ(DriveTypeOf(0x858458F6, ""), DriveType::kRamDisk);
  EXPECT_EQ(DriveTypeOf(0xEF53, ""), DriveType::kFixed);  // ext4
}

// Write access follows the permissions of the caller, except at a drive or
// share root, which asks about the volume: a present folder on a writable
// mount is usable for everyone, even where only its owner may write. The
// superuser may write anywhere except on a read-only mount, so when the
// tests run as root the permission checks run in a child that has dropped
// to "nobody".
TEST_F(PosixEnvTest, AccessFollowsPermissions) {
  ASSERT_TRUE(env_->CreateDir(dir_ + "\\ro").ok());
  ASSERT_TRUE(env_->CreateDir(dir_ + "\\rw").ok());
  ASSERT_EQ(::chmod(linuxDir_.c_str(), 0755), 0);
  ASSERT_EQ(::chmod((linuxDir_ + "/ro").c_str(), 0555), 0);
  ASSERT_EQ(::chmod((linuxDir_ + "/rw").c_str(), 0777), 0);

  EXPECT_TRUE(env_->Access(dir_ + "\\ro", kAccessExists));
  EXPECT_FALSE(env_->Access(dir_ + "\\none", kAccessExists));
  EXPECT_FALSE(env_->Access("Q:\\", kAccessExists));
  ASSERT_TRUE(Write(dir_ + "\\file", "x"));
  DriveTable table;
  table.MapDrive('R', linuxDir_ + "/ro");
  table.MapDrive('F', linuxDir_ + "/file");
  table.MapDrive('M', linuxDir_ + "/missing");
  table.MapShare("\\\\srv\\ro", linuxDir_ + "/ro");
  const std::unique_ptr<Env> mapped = NewPosixEnv(table);
  env_ = mapped.get();
  EXPECT_FALSE(env_->Access("F:\\", kAccessExists));  // a file is no volume
  EXPECT_FALSE(env_->Access("M:\\", kAccessReadWrite));

  pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    if (::geteuid() == 0 && ::setresuid(65534, 65534, 65534) != 0) ::_exit(10);
    int fails = 0;
    if (env_->Access(dir_ + "\\ro", kAccessReadWrite)) fails |= 1;
    if (!env_->Access(dir_ + "\\ro", kAccessRead)) fails |= 2;
    if (!env_->Access(dir_ + "\\rw", kAccessReadWrite)) fails |= 4;
    if (!env_->Access("R:\\", kAccessReadWrite)) fails |= 8;
    if (!env_->Access("\\\\SRV\\ro", kAccessReadWrite)) fails |= 32;
    if (!env_->Access("Z:\\", kAccessReadWrite)) fails |= 64;
    ::_exit(fails);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

// What the shared-folder operations make of each kind of entry at a name:
// only a regular file is read, and never through a link or by waiting on a
// FIFO; a longer file than asked for is refused whole.
TEST_F(PosixEnvTest, ReadRegularFileReadsOnlyRegularFilesWithinTheLimit) {
  ASSERT_TRUE(Write(dir_ + "\\f", "12345"));
  ASSERT_EQ(::symlink((linuxDir_ + "/f").c_str(), (linuxDir_ + "/link").c_str()), 0);
  ASSERT_EQ(::mkfifo((linuxDir_ + "/fifo").c_str(), 0600), 0);
  ASSERT_EQ(::symlink("/dev/zero", (linuxDir_ + "/zero").c_str()), 0);
  struct Case {
    const char* name;
    size_t limit;
    ReadStatus status;
    EntryKind kind;
  } cases[] = {
      {"f", 5, ReadStatus::kOk, EntryKind::kRegular},
      {"f", 4, ReadStatus::kTooLarge, EntryKind::kRegular},
      {"link", 100, ReadStatus::kNotRegular, EntryKind::kLink},
      {"fifo", 100, ReadStatus::kNotRegular, EntryKind::kOther},
      {"zero", 100, ReadStatus::kNotRegular, EntryKind::kLink},
      {"none", 100, ReadStatus::kMissing, EntryKind::kNone},
  };
  for (const Case& c : cases) {
    std::string data = "stale";
    EXPECT_EQ(env_->ReadRegularFile(dir_ + "\\" + c.name, &data, c.limit), c.status) << c.name;
    EXPECT_EQ(data, c.status == ReadStatus::kOk ? "12345" : "") << c.name;
    EXPECT_EQ(env_->GetEntryKind(dir_ + "\\" + c.name), c.kind) << c.name;
  }
}

// The access mode (O_RDONLY, O_WRONLY or O_RDWR) of this process's
// descriptor open on the file, or -1 when none is.
int AccessModeOfOpenFile(const std::string& linuxPath) {
  const std::filesystem::path file = std::filesystem::canonical(linuxPath);
  for (const auto& fd : std::filesystem::directory_iterator("/proc/self/fd")) {
    std::error_code ec;
    if (std::filesystem::read_symlink(fd.path(), ec) != file) continue;
    std::ifstream info("/proc/self/fdinfo/" + fd.path().filename().string());
    for (std::string key, value; info >> key >> value;) {
      if (key == "flags:") return std::stoi(value, nullptr, 8) & O_ACCMODE;
    }
  }
  return -1;
}

// Over NFS an exclusive lock is a lock of the whole file for writing, which
// a descriptor open only for reading cannot take. The lock is held through
// a descriptor open for writing, on a lock file its maker lets every
// colleague open that way; a lock file this user may only read still
// serves where the file system allows it.
TEST_F(PosixEnvTest, TheLockIsHeldThroughADescriptorOpenForWriting) {
  const std::string lin = linuxDir_ + "/s.env.lock";
  const mode_t oldMask = ::umask(077);
  std::unique_ptr<FileLock> lock = env_->LockFile(dir_ + "\\s.env.lock", 50);
  ::umask(oldMask);
  ASSERT_NE(lock, nullptr);
  EXPECT_EQ(AccessModeOfOpenFile(lin), O_RDWR);
  struct stat st;
  ASSERT_EQ(::stat(lin.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0666u);
  lock.reset();
  EXPECT_EQ(AccessModeOfOpenFile(lin), -1);  // released and closed

  ASSERT_EQ(::chmod(lin.c_str(), 0444), 0);
  lock = env_->LockFile(dir_ + "\\s.env.lock", 50);
  EXPECT_NE(lock, nullptr);
}

// The lock excludes a second holder until the first is released, and its
// file stays; a temporary file is never created through a planted name.
TEST_F(PosixEnvTest, LockFileExcludesAndTempFilesAreNewAndUnpredictable) {
  const std::string lockPath = dir_ + "\\s.env.lock";
  std::unique_ptr<FileLock> first = env_->LockFile(lockPath, 1000);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(env_->LockFile(lockPath, 50), nullptr);  // waits 50 ms, then gives up
  first.reset();
  EXPECT_NE(env_->LockFile(lockPath, 50), nullptr);
  EXPECT_EQ(env_->GetEntryKind(lockPath), EntryKind::kRegular);
  ASSERT_EQ(::mkfifo((linuxDir_ + "/fifo.lock").c_str(), 0600), 0);
  EXPECT_EQ(env_->LockFile(dir_ + "\\fifo.lock", 50), nullptr);
  // A name planted as a hard link to another file of this user is locked,
  // but that file's permissions are never widened.
  ASSERT_TRUE(Write(dir_ + "\\private", "secret"));
  ASSERT_EQ(::chmod((linuxDir_ + "/private").c_str(), 0600), 0);
  ASSERT_EQ(::link((linuxDir_ + "/private").c_str(), (linuxDir_ + "/planted.lock").c_str()), 0);
  EXPECT_NE(env_->LockFile(dir_ + "\\planted.lock", 50), nullptr);
  struct stat st;
  ASSERT_EQ(::stat((linuxDir_ + "/private").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);

  std::string a, b;
  auto fa = env_->NewTempFile(dir_ + "\\r.xml", TempFileMode::kPlain, &a);
  auto fb = env_->NewTempFile(dir_ + "\\r.xml", TempFileMode::kPlain, &b);
  ASSERT_TRUE(fa && fb);
  EXPECT_NE(a, b);
  EXPECT_EQ(a.rfind(dir_ + "\\.~ltb", 0), 0u) << a;
  EXPECT_TRUE(env_->RemoveFile(a).ok() && env_->RemoveFile(b).ok());
}

// Whether the file system of folder has unnamed files (O_TMPFILE).
bool HasUnnamedFiles(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

size_t EntriesIn(const std::string& folder) {
  return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(folder),
                                           std::filesystem::directory_iterator()));
}

// A temporary file has no name until it is closed whole, and one removed
// before that never takes one. Where the file system has no unnamed files
// (played by a real Env told to make none), the named file that stands in
// is removed by every catchable signal that ends the process.
TEST_F(PosixEnvTest, TemporaryFilesShowOnlyWholeAndNamedOnesGoWithEverySignal) {
  if (HasUnnamedFiles(linuxDir_)) {
    std::string temp;
    auto file = env_->NewTempFile(dir_ + "\\r.xml", TempFileMode::kPlain, &temp);
    ASSERT_TRUE(file && file->Append("whole").ok() && file->Sync().ok());
    EXPECT_EQ(EntriesIn(linuxDir_), 0u);
    ASSERT_TRUE(file->Close().ok());
    ASSERT_TRUE(env_->RenameFile(temp, dir_ + "\\r.xml").ok());
    std::string data;
    ASSERT_TRUE(env_->ReadFile(dir_ + "\\r.xml", &data).ok());
    EXPECT_EQ(data, "whole");
    file = env_->NewTempFile(dir_ + "\\r.xml", TempFileMode::kPlain, &temp);
    ASSERT_TRUE(file && file->Append("half").ok());
    EXPECT_TRUE(env_->RemoveFile(temp).ok());
    EXPECT_TRUE(file->Close().ok());
    EXPECT_EQ(EntriesIn(linuxDir_), 1u);
  }

  const size_t before = EntriesIn(linuxDir_);
  const std::unique_ptr<Env> named = NewPosixEnv(DriveTable(), {}, false);
  for (int sig : {SIGTERM, SIGQUIT, SIGUSR1, SIGALRM, SIGPIPE, SIGRTMIN}) {
    SCOPED_TRACE(sig);
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      const struct rlimit noCore = {0, 0};
      ::setrlimit(RLIMIT_CORE, &noCore);
      ::signal(sig, SIG_DFL);
      InstallTempFileCleanup();
      std::string temp;
      auto file = named->NewTempFile(dir_ + "\\s.xml", TempFileMode::kPlain, &temp);
      const char byte = file && file->Append("part").ok() && named->FileExists(temp) ? 'y' : 'n';
      if (::write(ready[1], &byte, 1) != 1) ::_exit(3);
      for (;;) ::pause();
    }
    ::close(ready[1]);
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    ::close(ready[0]);
    EXPECT_EQ(byte, 'y') << "no named temporary file";
    ::kill(child, sig);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == sig) << status;
    EXPECT_EQ(EntriesIn(linuxDir_), before) << "the temporary file stayed";
  }
}

}  // namespace
}  // namespace ltb::platform
