#include "dialog/output_checks.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "dialog/testing/temp_drive_env.h"

namespace ltb::dialog {
namespace {

namespace fs = std::filesystem;
using testing::TempDriveEnv;

// 表 in CP932 is 0x95 0x5C: its trail byte is a backslash.
const std::string kHyo = "\x95\x5C";

TEST(PathCharsTest, RejectsForbiddenCharactersAndDoubleBackslashes) {
  EXPECT_TRUE(HasInvalidPathChars("C:\\out\\*.xml"));
  EXPECT_TRUE(HasInvalidPathChars("C:\\out\\\\a.xml"));
  EXPECT_TRUE(HasInvalidPathChars("C:\\out\\a;b.xml"));
  EXPECT_TRUE(HasInvalidPathChars("C:\\out\\a:b.xml"));
  EXPECT_TRUE(HasInvalidPathChars("C:/out/a.xml"));
  EXPECT_TRUE(HasInvalidPathChars("\\\\srv\\share\\\\a.xml"));
  EXPECT_TRUE(HasInvalidPathChars("\\\\srv\\share\\a|b.xml"));
  // A control character anywhere, the drive part and a network path too.
  for (const char* typed : {"C:\\out\\tax\n2016.xml", "C:\\out\\a.xml\r", "C\t:\\a.xml",
                            "\\\\srv\x1B\\share\\a.xml", "C:\\a\x7F.xml"}) {
    EXPECT_TRUE(HasInvalidPathChars(typed)) << typed;
  }

  EXPECT_FALSE(HasInvalidPathChars("C:\\out\\a.xml"));
  EXPECT_FALSE(HasInvalidPathChars("\\\\srv\\share\\a.xml"));
  EXPECT_FALSE(HasInvalidPathChars("report.xml"));
  // A trail byte 0x5C followed by a backslash is not a double backslash, and
  // a trail byte 0x7C is not a bar.
  EXPECT_FALSE(HasInvalidPathChars("C:\\" + kHyo + "\\a.xml"));
  EXPECT_FALSE(HasInvalidPathChars("C:\\\x83\x7C\\a.xml"));
}

TEST(PathSplitTest, SplitsAtTheLastRealBackslash) {
  EXPECT_EQ(LeadingFolder("C:\\out\\a.xml"), "C:\\out\\");
  EXPECT_EQ(TrailingFileName("C:\\out\\a.xml"), "a.xml");
  EXPECT_EQ(LeadingFolder("report.xml"), "");
  EXPECT_EQ(TrailingFileName("report.xml"), "report.xml");
  EXPECT_EQ(TrailingFileName("C:\\out\\"), "");
  EXPECT_EQ(LeadingFolder("C:\\" + kHyo), "C:\\");
  EXPECT_EQ(TrailingFileName("C:\\" + kHyo), kHyo);
}

TEST(PathSplitTest, AppendBackslashAndFolderPart) {
  std::string p = "C:\\" + kHyo;
  ASSERT_TRUE(AppendBackslash(&p, kPathCapacity));
  EXPECT_EQ(p, "C:\\" + kHyo + "\\");
  p = "C:\\out\\";
  ASSERT_TRUE(AppendBackslash(&p, kPathCapacity));
  EXPECT_EQ(p, "C:\\out\\");
  std::string empty;
  EXPECT_FALSE(AppendBackslash(&empty, kPathCapacity));
  std::string full(260, 'a');
  EXPECT_FALSE(AppendBackslash(&full, kPathCapacity));
  std::string fullDouble = std::string(258, 'a') + kHyo;  // 260 bytes
  EXPECT_FALSE(AppendBackslash(&fullDouble, kPathCapacity));
  EXPECT_EQ(fullDouble.size(), 260u);

  p = "C:abc";
  ASSERT_TRUE(FolderPartOf(&p));
  EXPECT_EQ(p, "C:\\");
  p = "C:\\out\\a.xml";
  ASSERT_TRUE(FolderPartOf(&p));
  EXPECT_EQ(p, "C:\\out\\");
  p = "a.xml";
  EXPECT_FALSE(FolderPartOf(&p));
  EXPECT_EQ(p, "a.xml");
}

TEST(DriveTest, DriveTypesDecideUsability) {
  class TypedEnv : public platform::EnvWrapper {
   public:
    TypedEnv() : EnvWrapper(platform::Env::Default()) {}
    platform::DriveType GetDriveType(const std::string& root) override {
      roots.push_back(root);
      return type;
    }
    bool Access(const std::string&, int) override { return accessible; }
    platform::DriveType type = platform::DriveType::kFixed;
    bool accessible = true;
    std::vector<std::string> roots;
  } env;
  EXPECT_TRUE(IsUsableDriveLetter(env, 'c', platform::kAccessReadWrite));
  EXPECT_EQ(env.roots.back(), "C:\\");
  EXPECT_FALSE(IsUsableDriveLetter(env, '1', platform::kAccessReadWrite));
  env.accessible = false;
  EXPECT_FALSE(IsUsableDriveLetter(env, 'C', platform::kAccessReadWrite));
  env.type = platform::DriveType::kNoRootDir;  // an unmapped letter passes here
  EXPECT_TRUE(IsUsableDrive(env, "Q:\\x\\a.xml"));
  env.type = platform::DriveType::kCdRom;
  EXPECT_FALSE(IsUsableDrive(env, "D:\\a.xml"));
  env.type = platform::DriveType::kRamDisk;
  EXPECT_FALSE(IsUsableDrive(env, "D:\\a.xml"));
  env.type = platform::DriveType::kUnknown;
  EXPECT_FALSE(IsUsableDrive(env, "D:\\a.xml"));
  // Network paths: only the share root's access counts.
  env.accessible = true;
  EXPECT_TRUE(IsUsableDrive(env, "\\\\srv\\share\\a.xml"));
  EXPECT_FALSE(IsUsableDrive(env, "\\\\srv\\share"));
  EXPECT_FALSE(IsUsableDrive(env, "\\\\srv"));
  env.accessible = false;
  EXPECT_FALSE(IsUsableDrive(env, "\\\\srv\\share\\a.xml"));
}

TEST(FolderTreeTest, CreatesEveryLevelFromTheRootDown) {
  TempDriveEnv env;
  ASSERT_TRUE(CreateFolderTree(env, "C:\\a\\b\\c\\"));
  EXPECT_TRUE(fs::is_directory(env.Linux("C:\\a\\b\\c")));
  EXPECT_TRUE(FolderExistsFor(env, "C:\\a\\b\\c\\file.xml"));
  // Existing levels are left alone; a file name at the end is not a folder.
  ASSERT_TRUE(CreateFolderTree(env, "C:\\a\\b\\d\\out.xml"));
  EXPECT_TRUE(fs::is_directory(env.Linux("C:\\a\\b\\d")));
  EXPECT_FALSE(fs::exists(env.Linux("C:\\a\\b\\d\\out.xml")));
}

TEST(FolderTreeTest, FolderEndingInATrailByteBackslashIsCreatedWhole) {
  TempDriveEnv env;
  ASSERT_TRUE(CreateFolderTree(env, "C:\\x" + kHyo + "\\out.xml"));
  // The folder is named "x表", not "x\x95".
  std::error_code ec;
  int entries = 0;
  for (const auto& e : fs::directory_iterator(env.Linux("C:\\"), ec)) {
    ++entries;
    EXPECT_EQ(e.path().filename().string(), "x\xE8\xA1\xA8");  // UTF-8 of 表
  }
  EXPECT_EQ(entries, 1);
}

TEST(FolderTreeTest, RollsBackWhatItCreatedOnFailure) {
  TempDriveEnv env;
  ASSERT_TRUE(CreateFolderTree(env, "C:\\keep\\"));
  env.FailAt(3);  // keep exists; a, b created; c fails
  EXPECT_FALSE(CreateFolderTree(env, "C:\\keep\\a\\b\\c\\"));
  EXPECT_TRUE(fs::is_directory(env.Linux("C:\\keep")));
  EXPECT_FALSE(fs::exists(env.Linux("C:\\keep\\a")));
}

TEST(FolderTreeTest, RefusesPathsWithoutRootOrTooLong) {
  TempDriveEnv env;
  EXPECT_FALSE(CreateFolderTree(env, ""));
  EXPECT_FALSE(CreateFolderTree(env, "relative\\dir\\"));
  EXPECT_FALSE(CreateFolderTree(env, "C:\\" + std::string(258, 'a')));
}

}  // namespace
}  // namespace ltb::dialog
