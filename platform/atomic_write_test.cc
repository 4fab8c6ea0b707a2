#include "platform/atomic_write.h"

#include <gtest/gtest.h>

#include <cstdlib>
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
    if (!Env::Default()->ReadFile(path_, &data)) return "<missing>";
    return data;
  }

  std::string path_;
};

TEST_F(AtomicWriteTest, ReplacesTheFile) {
  ASSERT_TRUE(WriteFileAtomically(*Env::Default(), path_, "first"));
  EXPECT_EQ(Read(), "first");
  ASSERT_TRUE(WriteFileAtomically(*Env::Default(), path_, "second"));
  EXPECT_EQ(Read(), "second");
  EXPECT_FALSE(Env::Default()->FileExists(AtomicWriteTempName(path_)));
  EXPECT_FALSE(WriteFileAtomically(*Env::Default(), dir_ + "\\none\\f", "x"));
}

// Every fault point in turn fails: the old content stays whole and no
// temporary file is left behind, or the new content is there in full.
TEST_F(AtomicWriteTest, NoFaultDamagesTheOldFile) {
  const std::string next(100000, 'n');
  FaultInjectionEnv env(Env::Default());
  ASSERT_TRUE(WriteFileAtomically(env, path_, "old"));
  const int points = env.points();
  ASSERT_GE(points, 4);  // append, flush, sync, close, rename
  for (bool partial : {false, true}) {
    for (int n = 1; n <= points; ++n) {
      ASSERT_TRUE(WriteFileAtomically(*Env::Default(), path_, "old"));
      env.SetPartialAppend(partial);
      env.FailAt(n);
      bool ok = WriteFileAtomically(env, path_, next);
      EXPECT_TRUE(env.injected()) << n;
      EXPECT_FALSE(ok) << n;
      EXPECT_EQ(Read(), "old") << n;
      EXPECT_FALSE(Env::Default()->FileExists(AtomicWriteTempName(path_))) << n;
    }
  }
  env.FailAt(0);
  ASSERT_TRUE(WriteFileAtomically(env, path_, next));
  EXPECT_EQ(Read(), next);
}

TEST(FaultInjectionEnvTest, CountsAndStickyFailures) {
  FaultInjectionEnv env(Env::Default());
  env.SetSticky(true);
  env.FailAt(2);
  EXPECT_TRUE(env.CreateDir("Q:\\unmapped") == false);  // point 1: real failure
  EXPECT_FALSE(env.injected());
  EXPECT_FALSE(env.RenameFile("Q:\\a", "Q:\\b"));  // point 2: injected
  EXPECT_TRUE(env.injected());
  EXPECT_EQ(env.points(), 2);
  auto f = env.NewWritableFile("Z:\\dev\\null");
  ASSERT_NE(f, nullptr);
  EXPECT_FALSE(f->Append("x"));  // sticky
  env.FailAt(0);
  EXPECT_TRUE(f->Append("x"));
  EXPECT_TRUE(f->Close());
  EXPECT_EQ(env.points(), 5);
}

}  // namespace
}  // namespace ltb::platform
