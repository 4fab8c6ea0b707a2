#include "report/support_info.h"

#include <gtest/gtest.h>

#include "platform/testing/memory_env.h"

namespace ltb::report {
namespace {

class SupportInfoTest : public ::testing::Test {
 protected:
  SupportInfo& Load(const std::string& text) {
    env.files[SupportInfo::kFileName] = text;
    info = std::make_unique<SupportInfo>(&env);
    return *info;
  }
  platform::testing::MemoryEnv env;
  std::unique_ptr<SupportInfo> info;
};

TEST_F(SupportInfoTest, AnswersNameAndVersionWithoutLineEnds) {
  SupportInfo& s = Load("[=製品名=]Ledora１７ Pro\r\n[=製品ﾊﾞｰｼﾞｮﾝ=]17.00.05\r\n");
  EXPECT_EQ(s.ProductName(), "Ledora１７ Pro");
  EXPECT_EQ(s.ProductVersion(), "17.00.05");
  // The file is read once; a later change does not show.
  env.files[SupportInfo::kFileName] = "[=製品名=]Other\r\n";
  EXPECT_EQ(s.ProductName(), "Ledora１７ Pro");
}

TEST_F(SupportInfoTest, MissingFileOrTagGivesEmptyAnswers) {
  SupportInfo missing(&env);
  EXPECT_EQ(missing.ProductName(), "");
  EXPECT_EQ(missing.ProductVersion(), "");
  SupportInfo& s = Load("[=製品名=]Name\r\n");
  EXPECT_EQ(s.ProductVersion(), "");
}

TEST_F(SupportInfoTest, LastValueWithoutLineEndRunsToTheEndOfTheData) {
  EXPECT_EQ(Load("x\r\n[=製品ﾊﾞｰｼﾞｮﾝ=]17.1").ProductVersion(), "17.1");
  // An end-of-file mark ends a value too.
  EXPECT_EQ(Load("[=製品名=]Name\x1A garbage").ProductName(), "Name");
}

TEST_F(SupportInfoTest, FirstOccurrenceOfATagWins) {
  EXPECT_EQ(Load("[=製品名=]First\r\n[=製品名=]Second\r\n").ProductName(), "First");
}

TEST_F(SupportInfoTest, MultiLineEntriesKeepInnerLineBreaks) {
  SupportInfo& s = Load(
      "[=製品名=]Name\r\n"
      "[=お問い合わせ内容=]line 1\r\nline 2\r\n\r\nline 4\r\n"
      "[=症状が再現する手順や条件=]step 1\r\nstep 2"
      "\r\n[=製品ﾊﾞｰｼﾞｮﾝ=]17.00.01\r\n");
  EXPECT_EQ(s.Lookup("[=お問い合わせ内容=]"), "line 1\r\nline 2\r\n\r\nline 4");
  EXPECT_EQ(s.Lookup("[=症状が再現する手順や条件=]"), "step 1\r\nstep 2");
  EXPECT_EQ(s.ProductName(), "Name");
  EXPECT_EQ(s.ProductVersion(), "17.00.01");
  // A multi-line entry at the end of the data runs to its end.
  EXPECT_EQ(Load("[=お問い合わせ内容=]a\r\nb").Lookup("[=お問い合わせ内容=]"), "a\r\nb");
}

TEST_F(SupportInfoTest, OnlyTheFirst30000BytesAreRead) {
  std::string padding(SupportInfo::kMaxBytes - 20, 'x');
  padding += "\r\n";
  // The tag starts inside the limit, its value is cut at it.
  SupportInfo& s = Load(padding + "[=製品名=]abcdefghijkl\r\n[=製品ﾊﾞｰｼﾞｮﾝ=]9\r\n");
  EXPECT_EQ(s.ProductName(), "abcdefgh");
  EXPECT_EQ(s.ProductVersion(), "");
}

}  // namespace
}  // namespace ltb::report
