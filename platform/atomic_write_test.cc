#include "platform/atomic_write.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/testing/fault_env.h"
#include "platform/testing/temp_folder_test.h"
#include "platform/win_path.h"

namespace ltb::platform {
namespace {

class AtomicWriteTest : public testing::TempFolderTest {
 protected:
  void SetUp() override {
    TempFolderTest::SetUp();
    path_ = dir_ + "\\設定.env";
  }
  std::string Read() {
    std::string data;
    if (!Env::Default()->ReadFile(path_, &data).ok()) return "<missing>";
    return data;
  }

  // Entries of the folder besides the file itself.
  int Leftovers() {
    int n = 0;
    for (const auto& e : std::filesystem::directory_iterator(linuxDir_)) {
      (void)e;
      ++n;
    }
    return Read() == "<missing>" ? n : n - 1;
  }
  // The file's Linux name (UTF-8), when it is the folder's only entry.
  std::string LinuxPath() const {
    for (const auto& e : std::filesystem::directory_iterator(linuxDir_)) return e.path();
    return {};
  }

  std::string path_;
};

TEST_F(AtomicWriteTest, ReplacesTheFile) {
  ASSERT_TRUE(WriteFileAtomically(*Env::Default(), path_, "first").ok());
  EXPECT_EQ(Read(), "first");
  ASSERT_TRUE(WriteFileAtomically(*Env::Default(), path_, "second").ok());
  EXPECT_EQ(Read(), "second");
  EXPECT_EQ(Leftovers(), 0);
  EXPECT_FALSE(WriteFileAtomically(*Env::Default(), dir_ + "\\none\\f", "x").ok());
}

// A colleague's file in a shared folder stays shared: the new file has the
// old one's permission bits, not those of this process's umask.
TEST_F(AtomicWriteTest, KeepsThePermissionBitsOfTheFileItReplaces) {
  ASSERT_TRUE(WriteFileAtomically(*Env::Default(), path_, "first").ok());
  for (mode_t mode : {0666, 0640, 0604}) {
    ASSERT_EQ(::chmod(LinuxPath().c_str(), mode), 0);
    const mode_t oldMask = ::umask(077);
    const bool ok = WriteFileAtomically(*Env::Default(), path_, "next").ok();
    ::umask(oldMask);
    ASSERT_TRUE(ok);
    struct stat st;
    ASSERT_EQ(::stat(LinuxPath().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, mode);
  }
}

// Every fault point in turn fails: the old content stays whole and no
// temporary file is left behind, or the new content is there in full.
TEST_F(AtomicWriteTest, NoFaultDamagesTheOldFile) {
  const std::string next(100000, 'n');
  FaultInjectionEnv env(Env::Default());
  ASSERT_TRUE(WriteFileAtomically(env, path_, "old").ok());
  const int points = env.points();
  ASSERT_GE(points, 6);  // exclusive create, append, flush, sync, close, rename
  for (bool partial : {false, true}) {
    for (int n = 1; n <= points; ++n) {
      ASSERT_TRUE(WriteFileAtomically(*Env::Default(), path_, "old").ok());
      env.SetPartialAppend(partial);
      env.FailAt(n);
      bool ok = WriteFileAtomically(env, path_, next).ok();
      EXPECT_TRUE(env.injected()) << n;
      EXPECT_FALSE(ok) << n;
      EXPECT_EQ(Read(), "old") << n;
      EXPECT_EQ(Leftovers(), 0) << n;
    }
  }
  env.FailAt(0);
  ASSERT_TRUE(WriteFileAtomically(env, path_, next).ok());
  EXPECT_EQ(Read(), next);
}

TEST(FaultInjectionEnvTest, CountsAndStickyFailures) {
  FaultInjectionEnv env(Env::Default());
  env.SetSticky(true);
  env.FailAt(2);
  EXPECT_TRUE(env.CreateDir("Q:\\unmapped").ok() == false);  // point 1: real failure
  EXPECT_FALSE(env.injected());
  EXPECT_FALSE(env.RenameFile("Q:\\a", "Q:\\b").ok());  // point 2: injected
  EXPECT_TRUE(env.injected());
  EXPECT_EQ(env.points(), 2);
  auto f = env.NewWritableFile("Z:\\dev\\null");
  ASSERT_NE(f, nullptr);
  EXPECT_FALSE(f->Append("x").ok());  // sticky
  env.FailAt(0);
  EXPECT_TRUE(f->Append("x").ok());
  EXPECT_TRUE(f->Close().ok());
  EXPECT_EQ(env.points(), 5);
}

}  // namespace
}  // namespace ltb::platform
