#include "app/environment_check.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "host/testing/fake_host.h"
#include "platform/testing/memory_env.h"

namespace ltb::app {
namespace {

TEST(IniPathFor, SeparatorRules) {
  EXPECT_EQ(IniPathFor("C:\\prog"), "C:\\prog\\ZenkitDef.ini");
  EXPECT_EQ(IniPathFor("C:\\"), "C:\\ZenkitDef.ini");
  EXPECT_EQ(IniPathFor(""), "ZenkitDef.ini");
  // A folder ending in katakana so (0x83 0x5C) still gets its backslash.
  EXPECT_EQ(IniPathFor("C:\\\x83\x5C"), "C:\\\x83\x5C\\ZenkitDef.ini");
  // A folder of 516 bytes gets no separator and the name is cut at the buffer.
  const std::string huge(516, 'a');
  EXPECT_EQ(IniPathFor(huge), huge);
  EXPECT_LE(IniPathFor(std::string(510, 'a')).size(), 516u);
}

struct LevelCase {
  const char* ini;  // null: no file
  int level;
};

class EnvironmentLevelTest : public ::testing::TestWithParam<LevelCase> {};

TEST_P(EnvironmentLevelTest, ReadsTheProgramLevel) {
  platform::testing::MemoryEnv env;
  if (GetParam().ini) env.files["C:\\prog\\ZenkitDef.ini"] = GetParam().ini;
  EXPECT_EQ(ReadEnvironmentLevel(env), GetParam().level);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EnvironmentLevelTest,
    ::testing::Values(LevelCase{nullptr, kLevelBroken},
                      LevelCase{"[ProgramLevel]\r\nSY26=1\r\n", kLevelFits},
                      LevelCase{"[ProgramLevel]\r\nSY26=0\r\n", kLevelHostTooOld},
                      LevelCase{"[ProgramLevel]\r\nSY26=abc\r\n", kLevelHostTooOld},
                      LevelCase{"[ProgramLevel]\r\nSY26=2\r\n", kLevelLinkTooOld},
                      LevelCase{"[ProgramLevel]\r\nSY26=\r\n", kLevelBroken},
                      LevelCase{"[ProgramLevel]\r\nOTHER=5\r\n", kLevelFits},
                      LevelCase{"[Elsewhere]\r\nSY26=2\r\n", kLevelFits},
                      LevelCase{"", kLevelFits}));

TEST(CheckEnvironment, HugeIniIsReadLikeAnyOther) {
  platform::testing::MemoryEnv env;
  std::string ini;
  while (ini.size() < 8 * 1024 * 1024) ini += "; padding line of a large file\r\n";
  env.files["C:\\prog\\ZenkitDef.ini"] = ini + "[ProgramLevel]\r\nSY26=2\r\n";
  EXPECT_EQ(ReadEnvironmentLevel(env), kLevelLinkTooOld);
  // A value longer than the 16-byte buffer is cut, then read as digits.
  env.files["C:\\prog\\ZenkitDef.ini"] = "[ProgramLevel]\nSY26=1" + std::string(40, '0') + "\n";
  EXPECT_EQ(ReadEnvironmentLevel(env), kLevelLinkTooOld);
}

TEST(CheckEnvironment, FolderEndingInTrailByte0x5CFindsItsIni) {
  platform::testing::MemoryEnv env;
  env.cwd = "C:\\\x83\x5C";
  env.files["C:\\\x83\x5C\\ZenkitDef.ini"] = "[ProgramLevel]\nSY26=2\n";
  EXPECT_EQ(ReadEnvironmentLevel(env), kLevelLinkTooOld);
}

TEST(CheckEnvironment, ShowsTheLevelMessageThroughTheHostWithItsOwner) {
  platform::testing::MemoryEnv env;
  ltb::testing::FakeHost host;
  EXPECT_EQ(CheckEnvironment(env, host.AccConnect(), 4660, true), 0);
  ASSERT_EQ(host.dispMessages.size(), 1u);
  EXPECT_EQ(host.dispMessages[0], EnvironmentMessage(kLevelBroken));
  EXPECT_NE(host.dispMessages[0].find("ES_APRPACKAGENAME"), std::string::npos);
  EXPECT_EQ(host.dispOwner, 4660u);

  EXPECT_EQ(CheckEnvironment(env, host.AccConnect(), 0, false), 0);
  EXPECT_EQ(host.dispMessages.size(), 1u);

  env.files["C:\\prog\\ZenkitDef.ini"] = "[ProgramLevel]\nSY26=1\n";
  EXPECT_EQ(CheckEnvironment(env, host.AccConnect(), 0, true), 1);
  EXPECT_EQ(host.dispMessages.size(), 1u);
  EXPECT_NE(std::string(EnvironmentMessage(kLevelHostTooOld)),
            EnvironmentMessage(kLevelLinkTooOld));
}

}  // namespace
}  // namespace ltb::app
