#include "app/options.h"

#include <gtest/gtest.h>

#include "app/parent_line.h"

namespace ltb::app {
namespace {

// The parent line through the default drive table (Z: is /).
std::string LineToCp932(std::string_view utf8, std::string_view callerDir = {}) {
  return ParentLineToCp932(platform::DriveTable(), utf8, callerDir);
}

bool Parse(std::vector<std::string> args, Options* o, std::string* e) {
  return ParseOptions(args, o, e);
}

TEST(ParseOptions, OptionsAndTheParentLine) {
  Options o;
  std::string e;
  ASSERT_TRUE(Parse(
      {"--ledger", "/tmp/l", "4660,1025,", "--ui=console", "-1,/o.xml", "--months", "4-3", "--yes"},
      &o, &e))
      << e;
  EXPECT_EQ(o.ledger, "/tmp/l");
  EXPECT_EQ(o.ui, UiChoice::kConsole);
  EXPECT_EQ(o.parentCommandLine, "4660,1025, -1,/o.xml");
  ASSERT_TRUE(o.unattended.months.has_value());
  EXPECT_EQ(o.unattended.months->first, 4);
  EXPECT_TRUE(o.unattended.answer.value_or(false));
}

TEST(ParseOptions, BadInputIsRefusedWithAMessage) {
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"--frobnicate"},
                                             {"--ui", "tv"},
                                             {"--ledger"},
                                             {"--ledger="},
                                             {"--help=1"},
                                             {"-x", "1,2,3,/o.xml"},
                                             {"--ui", "console", "-help"},
                                             {"--months", "x"}}) {
    Options o;
    std::string e;
    EXPECT_FALSE(Parse(args, &o, &e)) << args[0];
    EXPECT_FALSE(e.empty());
  }
}

TEST(ParentLineToCp932, PosixOutputPathBecomesItsDrivePath) {
  EXPECT_EQ(LineToCp932("1,2,3,/tmp/a.xml"), "1,2,3,Z:\\tmp\\a.xml");
  EXPECT_EQ(LineToCp932("1,2,3,C:\\a.xml"), "1,2,3,C:\\a.xml");
  EXPECT_EQ(LineToCp932("1,2,/x"), "1,2,/x");
  // UTF-8 katakana so in, CP932 0x83 0x5C out.
  EXPECT_EQ(LineToCp932("1,2,3,C:\\\xE3\x82\xBD.xml"), "1,2,3,C:\\\x83\x5C.xml");
}

}  // namespace
}  // namespace ltb::app
