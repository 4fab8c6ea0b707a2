#include <gtest/gtest.h>

#include <string>

#include "platform/win_path.h"

namespace ltb::platform {
namespace {

std::string U8(const char8_t* s) { return reinterpret_cast<const char*>(s); }

TEST(DriveTableTest, DefaultMapsZToTheRootFolder) {
  DriveTable t;
  std::string lin, win;
  ASSERT_TRUE(t.ToLinux("Z:\\home\\u\\tax.xml", "", &lin));
  EXPECT_EQ(lin, "/home/u/tax.xml");
  ASSERT_TRUE(t.ToLinux("z:\\", "", &lin));
  EXPECT_EQ(lin, "/");
  ASSERT_TRUE(t.ToWindows("/home/u/tax.xml", &win));
  EXPECT_EQ(win, "Z:\\home\\u\\tax.xml");
  ASSERT_TRUE(t.ToWindows("/", &win));
  EXPECT_EQ(win, "Z:\\");
  EXPECT_FALSE(t.ToLinux("C:\\x", "", &lin));  // not mapped
  EXPECT_FALSE(t.RootOf("C:\\", nullptr));
  EXPECT_TRUE(t.RootOf("Z:", &lin));
  EXPECT_EQ(lin, "/");
}

TEST(DriveTableTest, NamesAreConvertedBetweenCp932AndUtf8) {
  DriveTable t;
  std::string lin, win;
  ASSERT_TRUE(t.ToLinux("Z:\\tmp\\ソフト\\表.xml", "", &lin));
  EXPECT_EQ(lin, U8(u8"/tmp/ソフト/表.xml"));
  ASSERT_TRUE(t.ToWindows(U8(u8"/tmp/ソフト/表.xml"), &win));
  EXPECT_EQ(win, "Z:\\tmp\\ソフト\\表.xml");
  // Relative paths go through the current folder.
  ASSERT_TRUE(t.ToLinux("表\\a", "Z:\\tmp", &lin));
  EXPECT_EQ(lin, U8(u8"/tmp/表/a"));
  // Names with no counterpart on the other side are refused.
  EXPECT_FALSE(t.ToLinux("Z:\\bad\x80name", "", &lin));
  EXPECT_FALSE(t.ToWindows(U8(u8"/tmp/\U0001F600"), &win));
  EXPECT_FALSE(t.ToWindows("/tmp/back\\slash", &win));
  EXPECT_FALSE(t.ToWindows("relative/path", &win));
}

TEST(DriveTableTest, LongestMappedFolderWins) {
  DriveTable t;
  t.MapDrive('d', "/srv/data/");
  t.MapShare("\\\\Server\\Share", "/srv/data/share");
  std::string lin, win;
  ASSERT_TRUE(t.ToWindows("/srv/data/x", &win));
  EXPECT_EQ(win, "D:\\x");
  ASSERT_TRUE(t.ToWindows("/srv/data", &win));
  EXPECT_EQ(win, "D:\\");
  ASSERT_TRUE(t.ToWindows("/srv/data/share/a/b", &win));
  EXPECT_EQ(win, "\\\\Server\\Share\\a\\b");
  ASSERT_TRUE(t.ToWindows("/srv/database", &win));  // not inside /srv/data
  EXPECT_EQ(win, "Z:\\srv\\database");
  // Share names compare case-insensitively.
  ASSERT_TRUE(t.ToLinux("\\\\SERVER\\share\\a", "", &lin));
  EXPECT_EQ(lin, "/srv/data/share/a");
  EXPECT_FALSE(t.ToLinux("\\\\server\\other\\a", "", &lin));
  // ".." never climbs above the mapped folder.
  ASSERT_TRUE(t.ToLinux("D:\\..\\..\\etc", "", &lin));
  EXPECT_EQ(lin, "/srv/data/etc");
  t.MapDrive('D', "");
  EXPECT_FALSE(t.ToLinux("D:\\x", "", &lin));
}

TEST(DriveTableTest, ConfigurationLines) {
  DriveTable t;
  std::string error;
  ASSERT_TRUE(
      t.LoadConfig("# drives\n\nC: /srv/c\n  e:\\ /mnt/e dir \r\n"
                   "\\\\nas\\tax /mnt/nas\n",
                   &error))
      << error;
  std::string lin;
  ASSERT_TRUE(t.ToLinux("C:\\a", "", &lin));
  EXPECT_EQ(lin, "/srv/c/a");
  ASSERT_TRUE(t.ToLinux("E:\\a", "", &lin));
  EXPECT_EQ(lin, "/mnt/e dir/a");
  ASSERT_TRUE(t.ToLinux("\\\\NAS\\tax\\a", "", &lin));
  EXPECT_EQ(lin, "/mnt/nas/a");
  ASSERT_TRUE(t.ToLinux("Z:\\a", "", &lin));  // the default stays

  EXPECT_FALSE(t.LoadConfig("C: relative/dir\n", &error));
  EXPECT_EQ(error.rfind("line 1:", 0), 0u) << error;
  EXPECT_FALSE(t.LoadConfig("\n1: /x\n", &error));
  EXPECT_EQ(error.rfind("line 2:", 0), 0u) << error;
  EXPECT_FALSE(t.LoadConfig("\\\\server /x\n", &error));
  EXPECT_FALSE(t.LoadConfig("\\\\server\\share\\dir /x\n", &error));
  EXPECT_FALSE(t.LoadConfig("C:\n", &error));

  t.Clear();
  EXPECT_FALSE(t.ToLinux("Z:\\a", "", &lin));
}

// A 0x00 byte would cut the Linux path short at the system call and lead
// to another folder: such a folder is refused, never mapped.
TEST(DriveTableTest, ZeroBytesInFoldersAreRefused) {
  using namespace std::string_literals;
  DriveTable t;
  std::string error, lin, win;
  EXPECT_FALSE(t.LoadConfig("\\\\srv\\share /\0\0x\n"s, &error));
  EXPECT_EQ(error.rfind("line 1:", 0), 0u) << error;
  EXPECT_FALSE(t.ToLinux("\\\\srv\\share\\a", "", &lin));
  t.MapDrive('D', "/srv/d\0x"s);
  EXPECT_FALSE(t.ToLinux("D:\\a", "", &lin));
  EXPECT_FALSE(t.ToWindows("/tmp/a\0b"s, &win));
}

TEST(UserPathTest, PosixPathsBecomeZDrivePaths) {
  EXPECT_EQ(UserPathToWindows(DriveTable(), "/home/u/tax.xml"), "Z:\\home\\u\\tax.xml");
  EXPECT_EQ(UserPathToWindows(DriveTable(), U8(u8"/tmp/./表/../ソ.xml")), "Z:\\tmp\\ソ.xml");
  EXPECT_EQ(UserPathToWindows(DriveTable(), U8(u8"C:\\出力\\a.xml")), "C:\\出力\\a.xml");
  EXPECT_EQ(UserPathToWindows(DriveTable(), "out.xml"), "out.xml");
  // A folder keeps its final separator, so the file-name check sees none.
  EXPECT_EQ(UserPathToWindows(DriveTable(), "/tmp/out/"), "Z:\\tmp\\out\\");
  EXPECT_EQ(UserPathToWindows(DriveTable(), "/tmp/out/."), "Z:\\tmp\\out\\");
  EXPECT_EQ(UserPathToWindows(DriveTable(), "/"), "Z:\\");
}

}  // namespace
}  // namespace ltb::platform
