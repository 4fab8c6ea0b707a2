#include "app/command_line.h"

#include "app/window_id.h"

#include <gtest/gtest.h>

#include <string>

namespace ltb::app {
namespace {

TEST(ParseCommandLine, FourItemsNameTheParentAndTheOutputFile) {
  RunContext ctx;
  EXPECT_TRUE(ParseCommandLine("1234,1025,2,C:\\out\\tax.xml", &ctx));
  EXPECT_EQ(ctx.parentWindow, 1234u);
  EXPECT_EQ(ctx.notifyMessage, 1025u);
  EXPECT_EQ(ctx.notifyWParam, 2);
  EXPECT_EQ(ctx.parentOutputPath, "C:\\out\\tax.xml");
}

TEST(ParseCommandLine, EmptyOrShortLinesAreNoParentButKeepWhatWasRead) {
  RunContext empty;
  EXPECT_FALSE(ParseCommandLine("", &empty));
  EXPECT_EQ(empty.parentWindow, 0u);

  RunContext one;
  EXPECT_FALSE(ParseCommandLine("4660", &one));
  EXPECT_EQ(one.parentWindow, 0u);

  RunContext two;
  EXPECT_FALSE(ParseCommandLine("4660,1025", &two));
  EXPECT_EQ(two.parentWindow, 4660u);  // still owns the environment message
  EXPECT_EQ(two.notifyMessage, 0u);

  RunContext three;
  EXPECT_FALSE(ParseCommandLine("4660,1025,7", &three));
  EXPECT_EQ(three.notifyMessage, 1025u);
  EXPECT_EQ(three.notifyWParam, 1);  // third item needs its closing comma
}

TEST(ParseCommandLine, EmptyFourthItemAndNegativeParameter) {
  RunContext ctx;
  EXPECT_TRUE(ParseCommandLine("4660,1025,-1,", &ctx));
  EXPECT_EQ(ctx.notifyWParam, -1);
  EXPECT_TRUE(ctx.parentOutputPath.empty());
}

TEST(ParseCommandLine, OutputPathKeepsItsCommas) {
  RunContext ctx;
  EXPECT_TRUE(ParseCommandLine("1,2,3,C:\\a,b\\c.xml", &ctx));
  EXPECT_EQ(ctx.parentOutputPath, "C:\\a,b\\c.xml");
}

TEST(ParseCommandLine, NumbersAreReadAsLeadingDigits) {
  RunContext ctx;
  EXPECT_TRUE(ParseCommandLine(" 12ab,x,70000,", &ctx));
  EXPECT_EQ(ctx.parentWindow, 12u);
  EXPECT_EQ(ctx.notifyMessage, 0u);
  EXPECT_EQ(ctx.notifyWParam, static_cast<int16_t>(70000));  // kept to 16 bits
  EXPECT_EQ(LeadingLong("99999999999999999999999"), LONG_MAX);
  EXPECT_EQ(LeadingLong("-"), 0);
}

// Parents pass decimal ids; people copy the hexadecimal ones xwininfo and
// xdotool print. Anything else is read as before and earns a warning.
TEST(ParseCommandLine, WindowIdsInDecimalOrHexadecimal) {
  const struct {
    const char* line;
    host::WindowHandle window;
    bool warns;
  } cases[] = {
      {"4660,1,2,", 4660, false},
      {"0x1a00007,1,2,", 0x1a00007, false},
      {" 0X1A00007 ,1,2,", 0x1a00007, false},
      {"0xffffffff,1,2,", 0xffffffffu, false},
      {"0,1,2,", 0, false},
      {",1,2,", 0, false},
      {"0x,1,2,", 0, true},
      {"0x12g,1,2,", 0x12, true},
      {"12ab,1,2,", 12, true},
      {"win,1,2,", 0, true},
  };
  for (const auto& c : cases) {
    RunContext ctx;
    EXPECT_TRUE(ParseCommandLine(c.line, &ctx));
    EXPECT_EQ(ctx.parentWindow, c.window) << c.line;
    const std::string warning = WindowItemWarning(c.line);
    EXPECT_EQ(!warning.empty(), c.warns) << c.line << ": " << warning;
  }
  EXPECT_EQ(WindowItemWarning("no commas"), "");
  EXPECT_NE(WindowItemWarning("win,1,2,").find("\"win\""), std::string::npos);
}

TEST(ParseCommandLine, LongLineIsCutAtTheBufferWithoutSplittingACharacter) {
  RunContext ctx;
  // 8 bytes of prefix, then double-byte characters: byte 259 would fall
  // inside one, so the cut keeps 258 bytes.
  std::string line = "1,2,3,C:";
  while (line.size() < 400) line += "\x83\x5C";
  EXPECT_TRUE(ParseCommandLine(line, &ctx));
  EXPECT_EQ(ctx.parentOutputPath.size(), 258u - 6u);
  EXPECT_EQ(ctx.parentOutputPath.back(), '\x5C');

  // A comma beyond the buffer is never seen.
  RunContext cut;
  std::string far = "1,2," + std::string(300, '9') + ",x";
  EXPECT_FALSE(ParseCommandLine(far, &cut));
  EXPECT_EQ(cut.notifyMessage, 2u);
}

}  // namespace
}  // namespace ltb::app
