#include "platform/win_path.h"

#include <gtest/gtest.h>

#include <string>

namespace ltb::platform {
namespace {

constexpr size_t npos = std::string_view::npos;

struct StripRow {
  const char* in;
  const char* out;
  bool ok;
};

TEST(PathStripToRootTest, WindowsTable) {
  const StripRow rows[] = {
      {"Q:\\", "Q:\\", true},
      {"Q:\\test1\\test2", "Q:\\", true},
      {"Q:\\\\test1", "Q:\\", true},
      {"Q:\\\\", "Q:\\", true},
      {"Q:", "Q:", true},
      {"C:a", "C:", true},
      {"Q:/", "Q:", true},  // '/' does not separate here
      {"Q:/test1/test2", "Q:", true},
      {"\\", "\\", true},
      {"\\a", "\\", true},
      {"\\a\\b", "\\", true},
      {"\\Q:", "\\", true},
      {"\\\\", "\\\\", true},
      {"\\\\\\", "\\\\", true},
      {"\\\\a", "\\\\a", true},
      {"\\\\a\\", "\\\\a", true},
      {"\\\\aa\\b", "\\\\aa\\b", true},
      {"\\\\aa\\b\\c", "\\\\aa\\b", true},
      {"\\\\a\\b\\", "\\\\a\\b", true},
      {"\\\\a\\\\b", "\\\\a", true},
      {"test", "", false},
      {"a\\b", "", false},
      {"", "", false},
      {"|:", "", false},
      {"0:/test1/test2", "", false},
      {"\\\\?\\Q:\\", "", false},
      {"\\\\.\\Q:\\", "\\\\.\\Q:", true},
      // Share names ending in a character whose second byte is 0x5C.
      {"\\\\srv\\表\\dir", "\\\\srv\\表", true},
      {"\\\\ソ\\share\\x", "\\\\ソ\\share", true},
  };
  for (const StripRow& r : rows) {
    std::string p = r.in;
    EXPECT_EQ(PathStripToRoot(&p), r.ok) << r.in;
    EXPECT_EQ(p, r.out) << r.in;
  }
}

TEST(PathSkipRootTest, RootsAndNonRoots) {
  const std::pair<const char*, size_t> rows[] = {
      {"C:\\", 3},
      {"C:\\a\\b", 3},
      {"\\\\server\\share\\dir", 15},
      {"\\\\server\\share\\", 15},
      {"\\\\server\\share", npos},
      {"\\\\server", npos},
      {"a\\b", npos},
      {"\\a", npos},
      {"C:", npos},
      {"C:a", npos},
      {"C:/a", npos},
      {"", npos},
      {"\x83\x41:\\x", npos},    // first byte is a lead byte
      {"\\\\ソ\\share\\x", 11},  // the 0x5C inside ソ is not a separator
  };
  for (const auto& [in, offset] : rows) EXPECT_EQ(PathSkipRoot(in), offset) << in;
}

TEST(SplitPathTest, DriveAndDirectory) {
  struct Row {
    const char* in;
    const char* drive;
    const char* dir;
  };
  const Row rows[] = {
      {"c:\\ソフト.bin", "c:", "\\"},  // the 0x5C in ソ is skipped
      {"C:\\", "C:", "\\"},
      {"C:\\a\\b", "C:", "\\a\\"},
      {"\\\\server\\share\\dir", "", "\\\\server\\share\\"},
      {"\\\\server", "", "\\\\"},
      {"a\\b", "", "a\\"},
      {"C:", "C:", ""},
      {"C:a", "C:", ""},
      {"c:/a/b.txt", "c:", "/a/"},
      {"a.b.c", "", ""},
      {"C:\\表\\a.xml", "C:", "\\表\\"},
      {"C:\\表", "C:", "\\"},
      {"a\\\x83", "", "a\\"},  // dangling lead byte at the end
  };
  for (const Row& r : rows) {
    std::string drive = "x", dir = "x";
    SplitPath(r.in, &drive, &dir);
    EXPECT_EQ(drive, r.drive) << r.in;
    EXPECT_EQ(dir, r.dir) << r.in;
  }
}

TEST(FullWindowsPathTest, ResolvesAgainstTheCurrentFolder) {
  struct Row {
    const char* path;
    const char* cwd;
    const char* full;  // nullptr: fails
  };
  const Row rows[] = {
      {"C:\\a\\b", "", "C:\\a\\b"},
      {"c:\\a\\..\\b\\.\\c\\", "", "C:\\b\\c"},
      {"C:\\..\\..", "", "C:\\"},
      {"C:/a//b", "", "C:\\a\\b"},
      {"x.xml", "D:\\work", "D:\\work\\x.xml"},
      {"..\\x.xml", "D:\\work\\sub", "D:\\work\\x.xml"},
      {"\\x.xml", "D:\\work", "D:\\x.xml"},
      {"D:x.xml", "D:\\work", "D:\\work\\x.xml"},
      {"E:x.xml", "D:\\work", "E:\\x.xml"},
      {"\\\\srv\\share\\d\\f", "", "\\\\srv\\share\\d\\f"},
      {"\\\\srv\\share", "", "\\\\srv\\share\\"},
      {"f", "\\\\srv\\share\\d", "\\\\srv\\share\\d\\f"},
      {"\\f", "\\\\srv\\share\\d", "\\\\srv\\share\\f"},
      {"ソ\\表\\f", "C:\\", "C:\\ソ\\表\\f"},
      {"x", "", nullptr},
      {"\\\\server", "C:\\", nullptr},
      {"\\\\?\\C:\\x", "C:\\", nullptr},
  };
  for (const Row& r : rows) {
    std::string full = "unchanged";
    bool ok = FullWindowsPath(r.path, r.cwd, &full);
    EXPECT_EQ(ok, r.full != nullptr) << r.path;
    if (r.full) {
      EXPECT_EQ(full, r.full) << r.path;
    }
  }
}

}  // namespace
}  // namespace ltb::platform
