#include "platform/program_folder.h"

#include <gtest/gtest.h>

namespace ltb::platform {
namespace {

class FixedProgramEnv : public EnvWrapper {
 public:
  explicit FixedProgramEnv(std::string path) : EnvWrapper(Env::Default()), path_(path) {}
  std::string ProgramPath() override { return path_; }

 private:
  std::string path_;
};

TEST(ProgramFolderTest, CutsAtTheLastRealBackslash) {
  const std::pair<const char*, const char*> rows[] = {
      {"C:\\Tax\\LedTaxBridgeA", "C:\\Tax"},
      {"C:\\ソフト\\表", "C:\\ソフト"},  // both names end in byte 0x5C
      {"C:\\表\\ソ", "C:\\表"},
      {"Z:\\a", "Z:\\"},
      {"prog", ""},
      {"", ""},
  };
  for (const auto& [path, folder] : rows) {
    FixedProgramEnv env(path);
    EXPECT_EQ(ProgramFolder(env), folder) << path;
  }
}

TEST(ProgramFolder, CutsAtTheLastRealBackslash) {
  EXPECT_EQ(ProgramFolder("Z:\\opt\\bin\\a"), "Z:\\opt\\bin");
  EXPECT_EQ(ProgramFolder("C:\\a"), "C:\\");
  EXPECT_EQ(ProgramFolder("Z:\\\x83\x5C"
                          "a"),
            "Z:\\");
  EXPECT_EQ(ProgramFolder("Z:\\\x83\x5C\\a"), "Z:\\\x83\x5C");
}

TEST(ProgramFolderTest, RealProgramFolderExists) {
  const std::string folder = ProgramFolder(*Env::Default());
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(Env::Default()->ProgramPath().rfind(folder + "\\", 0), 0u);
  EXPECT_TRUE(Env::Default()->IsDirectory(folder));
}

}  // namespace
}  // namespace ltb::platform
