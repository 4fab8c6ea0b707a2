#include "tools/ledger_tool/csv_table.h"

#include <gtest/gtest.h>

namespace ltb::ledger_tool {
namespace {

TEST(CsvTableTest, QuotingLineEndsAndLineNumbers) {
  CsvTable t;
  std::string error;
  ASSERT_TRUE(
      t.Parse("\xEF\xBB\xBF"
              "a, b ,c\r\n"
              "1,\"two, with \"\"quotes\"\"\",3\r\n"
              "\n"
              "4,\"multi\nline\", 6 \n"
              "7,8,9",
              &error))
      << error;
  EXPECT_EQ(t.header(), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(t.Column("b"), 1);
  EXPECT_EQ(t.Column("z"), -1);
  ASSERT_EQ(t.rows().size(), 3u);
  EXPECT_EQ(t.rows()[0].line, 2);
  EXPECT_EQ(t.rows()[0].fields[1], "two, with \"quotes\"");
  EXPECT_EQ(t.rows()[1].line, 4);  // the blank line 3 is skipped
  EXPECT_EQ(t.rows()[1].fields[1], "multi\nline");
  EXPECT_EQ(t.rows()[1].fields[2], "6");
  EXPECT_EQ(t.rows()[2].line, 6);  // after the line break inside quotes
  EXPECT_EQ(t.rows()[2].fields[2], "9");
}

TEST(CsvTableTest, RefusesBrokenFiles) {
  CsvTable t;
  std::string error;
  EXPECT_FALSE(t.Parse("", &error));
  EXPECT_EQ(error, "The file has no header row; the first line must name the columns.");
  EXPECT_FALSE(t.Parse("\na,b\n", &error));
  EXPECT_EQ(error, "line 1: the header row is empty; the first line must name the columns.");
  EXPECT_FALSE(t.Parse("a,b\n1,2\n3\n", &error));
  EXPECT_EQ(error, "line 3: 1 fields, the header has 2; check the commas and quotes of the row.");
  EXPECT_FALSE(t.Parse("a\n\"x\n", &error));
  EXPECT_EQ(error, "line 2: a quoted field is not closed; add the closing double quote.");
}

// A file read block by block gives the rows and line numbers of a parse in
// one piece, with quoted line breaks and CR LF falling on any block edge.
TEST(CsvTableTest, StreamingAFileLargerThanABlockKeepsEveryRow) {
  std::string text = "a,b\r\n";
  for (int i = 0; i < 90000; ++i) {
    text += std::to_string(i) + (i % 7 == 0 ? ",\"two\nlines\"\r\n" : ",x\r\n");
  }
  CsvTable whole;
  std::string error;
  ASSERT_TRUE(whole.Parse(text, &error)) << error;
  std::FILE* file = ::fmemopen(text.data(), text.size(), "r");
  ASSERT_NE(file, nullptr);
  CsvTable streamed;
  size_t n = 0;
  bool same = true;
  const bool ok = streamed.Stream(
      file, [](std::string*) { return true; },
      [&](const CsvRow& row, std::string*) {
        same = same && n < whole.rows().size() && row.line == whole.rows()[n].line &&
               row.fields == whole.rows()[n].fields;
        ++n;
        return true;
      },
      &error);
  std::fclose(file);
  ASSERT_TRUE(ok) << error;
  EXPECT_EQ(n, 90000u);
  EXPECT_TRUE(same);
  EXPECT_TRUE(streamed.rows().empty());
}

}  // namespace
}  // namespace ltb::ledger_tool
