#include "report/report_writer.h"

#include <gtest/gtest.h>

#include <set>

#include "platform/testing/fault_env.h"
#include "platform/testing/memory_env.h"

namespace ltb::report {
namespace {

const char kPath[] = "C:\\out\\tax.xml";

class ReportWriterTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(writer.Open(&env, kPath).ok()); }
  const std::string& Output() { return env.Written(kPath); }
  platform::testing::MemoryEnv env;
  ReportWriter writer;
};

TEST_F(ReportWriterTest, LinesAreIndentedByLevelAndEndWithCrLf) {
  EXPECT_TRUE(writer.WriteStartTag("REPORT", 0));
  EXPECT_TRUE(writer.WriteStartTag("DATA", 1));
  EXPECT_TRUE(writer.WriteElement("KAZEIURIAGEZEINUKI8", "1234567", 3));
  EXPECT_TRUE(writer.WriteElement("HIKAZEISHISANHENKANZEINUKI8", "", 3));
  EXPECT_TRUE(writer.WriteEndTag("DATA", -1));
  EXPECT_EQ(Output(),
            "<REPORT>\r\n"
            "\t<DATA>\r\n"
            "\t\t\t<KAZEIURIAGEZEINUKI8>1234567</KAZEIURIAGEZEINUKI8>\r\n"
            "\t\t\t<HIKAZEISHISANHENKANZEINUKI8></HIKAZEISHISANHENKANZEINUKI8>\r\n"
            "</DATA>\r\n");
}

TEST_F(ReportWriterTest, TextIsEscapedOnceAndDoubleByteTextPassesUnchanged) {
  EXPECT_EQ(ReportWriter::EscapeText("A&B<\"x\">'"), "A&amp;B&lt;&quot;x&quot;&gt;&apos;");
  EXPECT_EQ(ReportWriter::EscapeText("&amp;"), "&amp;amp;");
  // "ソ" and "表" have 0x5C as their second byte; nothing here may change them.
  const std::string name = "株式会社ソ表";
  EXPECT_TRUE(writer.WriteElement("KOMONSAKINAME", name, 2));
  EXPECT_EQ(Output(), "\t\t<KOMONSAKINAME>" + name + "</KOMONSAKINAME>\r\n");
}

TEST_F(ReportWriterTest, AttributesNeedNameAndValueAndTheSecondNeedsTheFirst) {
  EXPECT_TRUE(writer.WriteStartTag("A", 0, {"x", "1<2", "y", "\""}));
  EXPECT_TRUE(writer.WriteElement("B", "t", 1, {"x", nullptr, "y", "2"}));
  EXPECT_TRUE(writer.WriteElement("C", "", 0, {"x", "1", "y", nullptr}));
  EXPECT_EQ(Output(),
            "<A x=\"1&lt;2\" y=\"&quot;\">\r\n"
            "\t<B>t</B>\r\n"
            "<C x=\"1\"></C>\r\n");
}

TEST_F(ReportWriterTest, WriteErrorClosesTheFileOnceAndEveryLaterWriteFails) {
  EXPECT_TRUE(writer.WriteLine("first\r\n"));
  env.failFromAppend = 2;
  EXPECT_FALSE(writer.WriteElement("X", "1", 1));
  EXPECT_TRUE(writer.broken());
  EXPECT_EQ(env.closes, 1);
  env.failFromAppend = 0;  // the device has room again: nothing may reach it
  EXPECT_FALSE(writer.WriteStartTag("Y", 1));
  EXPECT_FALSE(writer.WriteEndTag("Y", 1));
  EXPECT_FALSE(writer.WriteLine("z"));
  EXPECT_EQ(writer.Close(), 0);
  EXPECT_EQ(env.closes, 1);
  // The broken file never takes the report's name, and does not stay.
  EXPECT_TRUE(env.files.empty());
}

TEST_F(ReportWriterTest, TheReportIsReplacedOnlyWhenClosedWhole) {
  env.files[kPath] = "the previous report";
  EXPECT_TRUE(writer.WriteLine("new\r\n"));
  EXPECT_EQ(env.files[kPath], "the previous report");
  EXPECT_EQ(writer.Close(), 0);
  EXPECT_FALSE(writer.broken());
  EXPECT_EQ(env.files[kPath], "new\r\n");
  EXPECT_EQ(env.files.size(), 1u);
}

TEST(ReportWriterAbandoned, ADestroyedWriterLeavesThePreviousReport) {
  platform::testing::MemoryEnv env;
  env.files[kPath] = "the previous report";
  {
    ReportWriter writer;
    ASSERT_TRUE(writer.Open(&env, kPath).ok());
    EXPECT_TRUE(writer.WriteLine("half of a new one\r\n"));
  }
  EXPECT_EQ(env.files[kPath], "the previous report");
  EXPECT_EQ(env.files.size(), 1u);
}

// Each step of writing a report fails in turn: the previous report stays
// and the writer says it is broken. The new report reaches the disk (sync)
// before it takes the report's name, so a crash just after the rename never
// leaves an empty file where the previous report was.
TEST(ReportWriterFaults, EveryFailedStepLeavesThePreviousReport) {
  platform::testing::MemoryEnv memory;
  platform::FaultInjectionEnv env(&memory);
  auto write = [&] {
    memory.files = {{kPath, "the previous report"}};
    ReportWriter writer;
    if (!writer.Open(&env, kPath).ok()) return false;
    writer.WriteLine("new\r\n");
    writer.Close();
    return !writer.broken();
  };
  ASSERT_TRUE(write());
  EXPECT_EQ(memory.files[kPath], "new\r\n");
  const int points = env.points();
  std::set<std::string> kinds;
  for (int n = 1; n <= points; ++n) {
    env.FailAt(n);
    EXPECT_FALSE(write()) << n;
    kinds.insert(env.injectedKind());
    EXPECT_EQ(memory.files[kPath], "the previous report") << n;
    EXPECT_EQ(memory.files.size(), 1u) << n;
  }
  EXPECT_EQ(kinds,
            (std::set<std::string>{"tempfile", "append", "flush", "sync", "close", "rename"}));
}

TEST_F(ReportWriterTest, ControlCharactersBecomeSpacesAndTabCrLfStay) {
  const std::string text = std::string(
                               "a\x01"
                               "b\x1b"
                               "c\x7f"
                               "d\te\r\n") +
                           '\0' + "表";
  EXPECT_EQ(ReportWriter::EscapeText(text), std::string("a b c d\te\r\n ") + "表");
}

TEST(ReportWriterOpen, RefusesMissingArgumentsAndUncreatableFiles) {
  platform::testing::MemoryEnv env;
  ReportWriter writer;
  EXPECT_EQ(writer.Close(), 0);  // nothing attached: nothing happens
  EXPECT_FALSE(writer.Open(nullptr, kPath).ok());
  EXPECT_FALSE(writer.Open(&env, "").ok());
  env.refuseCreate = true;
  EXPECT_FALSE(writer.Open(&env, kPath).ok());
  EXPECT_FALSE(writer.WriteLine("x"));
  EXPECT_EQ(env.closes, 0);
}

TEST(FitElementText, CutsOnAWholeCharacterSoTheLineFits) {
  // Overhead at level 2 for name "N": 2 TABs + "<N>" + "</N>" + CR LF + NUL = 12.
  std::string ascii(300, 'a');
  EXPECT_EQ(FitElementText("N", ascii, 2, 20).size(), 8u);
  std::string kanji = "a" + std::string("漢字漢字");      // 1 + 8 bytes
  EXPECT_EQ(FitElementText("N", kanji, 2, 12 + 2), "a");  // room 2: no half a kanji
  EXPECT_EQ(FitElementText("N", kanji, 2, 12 + 5), "a漢字");
  EXPECT_EQ(FitElementText("N", "&&&", 2, 12 + 10), "&&");  // each & takes 5 bytes
  EXPECT_EQ(FitElementText("N", "short", 2), "short");
}

}  // namespace
}  // namespace ltb::report
