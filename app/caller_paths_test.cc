#include "app/caller_paths.h"

#include <gtest/gtest.h>

#include "app/parent_line.h"

namespace ltb::app {
namespace {

// The parent line through the default drive table (Z: is /).
std::string LineToCp932(std::string_view utf8, std::string_view callerDir = {}) {
  return ParentLineToCp932(platform::DriveTable(), utf8, callerDir);
}

TEST(CallerPathsTest, RelativePathsJoinTheCallersFolder) {
  const struct {
    const char* typed;
    const char* expected;
  } cases[] = {
      {"rel.xml", "/home/u/w/rel.xml"},
      {"sub/a.xml", "/home/u/w/sub/a.xml"},
      {"sub\\a.xml", "/home/u/w/sub/a.xml"},
      {"../a.xml", "/home/u/w/../a.xml"},
      {"/tmp/a.xml", "/tmp/a.xml"},
      {"C:\\out\\a.xml", "C:\\out\\a.xml"},
      {"c:a.xml", "c:a.xml"},
      {"\\out\\a.xml", "\\out\\a.xml"},
      {"\\\\srv\\share\\a.xml", "\\\\srv\\share\\a.xml"},
      {"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CallerAbsolutePath(c.typed, "/home/u/w"), c.expected) << c.typed;
  }
  EXPECT_EQ(CallerAbsolutePath("a.xml", "/"), "/a.xml");
}

TEST(CallerPathsTest, ParentsRelativeOutputItemIsTheCallers) {
  EXPECT_EQ(LineToCp932("1,2,3,out.xml", "/home/u"), "1,2,3,Z:\\home\\u\\out.xml");
  EXPECT_EQ(LineToCp932("1,2,3,C:\\a.xml", "/home/u"), "1,2,3,C:\\a.xml");
  EXPECT_EQ(LineToCp932("1,2,3,", "/home/u"), "1,2,3,");
  EXPECT_EQ(LineToCp932("1,2,3,out.xml"), "1,2,3,out.xml");
}

}  // namespace
}  // namespace ltb::app
