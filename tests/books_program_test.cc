// Bookkeepers' journal files through the real ledger tool: the sample
// ledger exported and imported back gives the same reports, awkward rows
// are read or refused as a bookkeeper expects, and every shipped layout
// imports.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "ledger/ledger_db.h"
#include "ledger/ledger_host.h"
#include "ledger/sql_statement.h"
#include "platform/cp932.h"
#include "tests/program_runner.h"

namespace ltb::e2e {
namespace {

const std::map<std::string, std::string> kEnv = {
    {"LEDORA_HOME", ""}, {"LEDORA_USER", "books"}, {"LTB_DRIVES", ""}};

// The ledger tool of the build, or $LTB_TEST_LEDGER_TOOL when set (a copy
// the test command makes for a run as another user).
std::string ToolPath() {
  const char* staged = std::getenv("LTB_TEST_LEDGER_TOOL");
  return staged && *staged ? staged : LTB_LEDGER_TOOL;
}

ProgramResult Tool(const std::vector<std::string>& args) {
  return RunProgram(ToolPath(), args, kEnv);
}

// The journal of a dataset, one text line per row, every column but the
// dataset's number.
std::string Journal(const std::string& home, int dataset) {
  std::string error, out;
  auto db = ledger::LedgerDb::Open(home, ledger::LedgerDb::Mode::kReadOnly, &error);
  EXPECT_TRUE(db) << error;
  if (!db) return out;
  ledger::SqlStatement q(db->handle(),
                         "SELECT * FROM journal WHERE dataset = ?1 ORDER BY entry_no");
  q.Bind(1, dataset);
  while (q.Step()) {
    for (int c = 1; c < 20; ++c) out += q.Text(c) + "|";
    out += "\n";
  }
  return out;
}

void EmptyJournal(const std::string& home) {
  std::string error;
  auto db = ledger::LedgerDb::Open(home, ledger::LedgerDb::Mode::kReadWrite, &error);
  ASSERT_TRUE(db) << error;
  ASSERT_TRUE(db->Exec("DELETE FROM journal", &error)) << error;
}

// The report of a run on `home` for dataset `dataset`, or the run's
// output when it did not end with status 0.
std::string Report(const TempDir& dir, const std::string& home, int dataset,
                   const std::string& method) {
  EXPECT_EQ(Tool({"select", home, "books", std::to_string(dataset)}).status, 0);
  const std::string out = dir / "report.xml";
  std::filesystem::remove(out);
  std::vector<std::string> args = {"--ledger", home,       "--ui", "console",   "--method",
                                   method,     "--output", out,    "--execute", "--yes"};
  if (method == "journal") args.insert(args.end(), {"--months", "4-3"});
  std::map<std::string, std::string> env = kEnv;
  env["HOME"] = dir.path();
  env["XDG_DATA_HOME"] = dir / "share";
  const ProgramResult r = RunProgram(ProgramDir() + "/LedTaxBridgeA", args, env);
  return r.status == 0 ? ReadWholeFile(out) : "status " + std::to_string(r.status) + r.output;
}

TEST(BooksRoundTripTest, EverySampleDatasetExportedAndImportedGivesTheSameReports) {
  TempDir dir;
  const std::string sample = dir / "sample", copy = dir / "copy";
  std::string error;
  ASSERT_TRUE(ledger::CreateSampleLedger(sample, &error)) << error;
  std::filesystem::create_directory(copy);
  std::filesystem::copy_file(sample + "/ledger.db", copy + "/ledger.db");
  EmptyJournal(copy);
  for (int dataset = 1; dataset <= 3; ++dataset) {
    SCOPED_TRACE("dataset " + std::to_string(dataset));
    const std::string file = dir / ("books" + std::to_string(dataset) + ".csv");
    ProgramResult r = Tool({"export-books", sample, std::to_string(dataset), file});
    ASSERT_EQ(r.status, 0) << r.output;
    r = Tool({"import-books", copy, std::to_string(dataset), file});
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(Journal(copy, dataset), Journal(sample, dataset));
    for (const char* method : {"journal", "return"}) {
      const std::string expected = Report(dir, sample, dataset, method);
      const std::string produced = Report(dir, copy, dataset, method);
      EXPECT_TRUE(produced == expected) << method << "\n" << produced.substr(0, 2000);
      if (dataset == 1) {
        const std::string golden =
            std::string(method) == "journal" ? "sample_journal.xml" : "sample_return_values.xml";
        EXPECT_TRUE(produced == ReadWholeFile(GoldenDir() + "/" + golden)) << method;
      }
    }
  }
}

// A new ledger from the standard chart with one dataset of the fiscal year
// April 2016 to March 2017.
std::string NewLedger(const TempDir& dir, const std::string& name) {
  const std::string home = dir / name;
  EXPECT_EQ(Tool({"init", home, "--standard-chart"}).status, 0);
  EXPECT_EQ(
      Tool({"add-dataset", home, "1", "SHOP", "--from", "20160401", "--to", "20170331"}).status, 0);
  return home;
}

std::string ToCp932(const std::string& utf8) {
  std::string out;
  EXPECT_TRUE(platform::Utf8ToCp932(utf8, &out)) << utf8;
  return out;
}

TEST(BooksImportTest, AwkwardRowsAreReadOrRefusedWithLineColumnAndValue) {
  const std::string header = Utf8(
      u8"伝票番号,日付,借方勘定科目,借方補助科目,借方税区分,借方金額,貸方勘定科目,貸方部門,"
      u8"貸方税区分,貸方金額,摘要\n");
  struct Case {
    const char* what;
    std::string rows;      // UTF-8, after the header
    bool cp932 = true;     // written in CP932 (else as UTF-8)
    std::string option;    // an extra option of import-books
    std::string expected;  // success: the journal; failure: a text of the message
    bool ok = true;
  };
  // Journal columns: entry, date, slot, closing, description, then per side
  // account, department, amount, tax, category, rate, business type.
  const std::string sale8 =
      "|0|108000000|0|0|0|0|411|0|100000000|8000000|1|800|0|\n";  // 10,800 in, tax 800
  const Case cases[] = {
      {"date with slashes", Utf8(u8",2016/4/15,売掛金,,対象外,10800,売上高,,課税売上8%,10800,\n"),
       true, "", "1|20160415|1|0||135" + sale8},
      {"date with dashes", Utf8(u8",2016-04-15,売掛金,,,10800,売上高,,課税売上8%,10800,\n"), true,
       "", "1|20160415|1|0||135" + sale8},
      {"compact date", Utf8(u8",20160415,売掛金,,,10800,売上高,,課税売上8%,10800,\n"), true, "",
       "1|20160415|1|0||135" + sale8},
      {"Heisei date", Utf8(u8",H28/4/15,売掛金,,,10800,売上高,,課税売上8%,10800,\n"), true, "",
       "1|20160415|1|0||135" + sale8},
      {"thousands separators and full-width digits",
       Utf8(u8",2016/4/15,売掛金,,,\"10,800\",売上高,,課税売上８％,１０，８００,\n"), true, "",
       "1|20160415|1|0||135" + sale8},
      {"tax-included rounding: 1,007 yen at 8% holds 74.59 yen of tax",
       Utf8(u8",2016/4/15,売掛金,,,1007,売上高,,課税売上8%,1007,\n"), true, "",
       "1|20160415|1|0||135|0|10070000|0|0|0|0|411|0|9320000|750000|1|800|0|\n"},
      {"compound entry over three rows",
       Utf8(u8"7,2016/5/1,仕入高,,課対仕入8%,2160,普通預金,,,3240,\n"
            u8"7,2016/5/1,通信費,,共通課税仕入8%,1080,,,,,\n"),
       true, "",
       "1|20160501|2|0||511|0|20000000|1600000|21|800|0|131|0|32400000|0|0|0|0|\n"
       "2|20160501|2|0||612|0|10000000|800000|23|800|0|0|0|0|0|0|0|0|\n"},
      {"line break inside a quoted description, sub-account kept",
       Utf8(u8",2016/4/15,売掛金,A社,,10800,売上高,,課税売上8%,10800,\"一行目\n二行目\"\n"), true,
       "", Utf8(u8"1|20160415|1|0|一行目\n二行目 [借方補助科目: A社]|135") + sale8},
      {"UTF-8 with a byte-order mark",
       Utf8(u8",2016/4/15,売掛金,,,10800,売上高,,課税売上8%,10800,\n"), false, "",
       "1|20160415|1|0||135" + sale8},
      {"unknown tax category", Utf8(u8",2016/4/15,売掛金,,,10800,売上高,,課税売上9%,10800,\n"),
       true, "", Utf8(u8"Line 2: column 貸方税区分, value \"課税売上9%\": this tax category"),
       false},
      {"unknown account", Utf8(u8",2016/4/15,売掛金,,,10800,謎の勘定,,課税売上8%,10800,\n"), true,
       "", Utf8(u8"Line 2: column 貸方勘定科目, value \"謎の勘定\": no account"), false},
      {"every problem, not only the first",
       Utf8(u8",2016/4/31,売掛金,,,10800,売上高,,課税売上8%,10800,\n"
            u8",2016/4/15,売掛金,,,10800,売上高,,課税売上8%,1000,\n"),
       true, "", "the file has 2 problems", false},
      {"a CP932 file read as UTF-8",
       Utf8(u8",2016/4/15,売掛金,,,10800,売上高,,課税売上8%,10800,\n"), true, "--encoding=utf-8",
       "Line 1: the header is not valid utf-8 text", false},
  };
  TempDir dir;
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string home = NewLedger(dir, "ledger" + std::to_string(++n));
    const std::string file = dir / ("rows" + std::to_string(n) + ".csv");
    const std::string text = header + c.rows;
    WriteWholeFile(file, c.cp932 ? ToCp932(text) : "\xEF\xBB\xBF" + text);
    std::vector<std::string> args = {"import-books", home, "1", file};
    if (c.option == "--encoding=utf-8") args.insert(args.end(), {"--encoding", "utf-8"});
    const ProgramResult r = Tool(args);
    if (c.ok) {
      EXPECT_EQ(r.status, 0) << r.output;
      EXPECT_EQ(Journal(home, 1), c.expected);
    } else {
      EXPECT_NE(r.status, 0);
      EXPECT_TRUE(Contains(r.output, c.expected)) << r.output;
      EXPECT_TRUE(Contains(r.output, "Nothing was imported")) << r.output;
      EXPECT_EQ(Journal(home, 1), "");
    }
  }
}

// Entries at the rates of October 2019 are imported, never as the old 8%,
// and a month range that holds one is refused as 10% entries are.
TEST(BooksImportTest, ReducedRateEntriesAreRefusedByTheTenPercentCheck) {
  TempDir dir;
  const std::string home = dir / "ledger";
  ASSERT_EQ(Tool({"init", home, "--standard-chart"}).status, 0);
  ASSERT_EQ(
      Tool({"add-dataset", home, "1", "R2019", "--from", "20190401", "--to", "20200331"}).status,
      0);
  const std::string file = dir / "books.csv";
  WriteWholeFile(file, ToCp932(Utf8(u8"日付,借方勘定科目,借方税区分,借方金額,貸方勘定科目,"
                                    u8"貸方税区分,貸方金額\n"
                                    u8"R1/5/10,売掛金,,1080,売上高,課税売上8%,1080\n"
                                    u8"2019/10/10,仕入高,課対仕入8%(軽),1080,現金,,1080\n")));
  ProgramResult r = Tool({"import-books", home, "1", file});
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_TRUE(Contains(Journal(home, 1), "|21|801|")) << Journal(home, 1);
  EXPECT_EQ(Tool({"select", home, "books", "1"}).status, 0);
  for (const auto& [months, status] : {std::pair{"4-9", 0}, std::pair{"4-3", 1}}) {
    r = RunProgram(ProgramDir() + "/LedTaxBridgeA",
                   {"--ledger", home, "--ui", "console", "--method", "journal", "--months", months,
                    "--output", dir / "out.xml", "--execute", "--yes"},
                   {{"HOME", dir.path()},
                    {"XDG_DATA_HOME", dir / "share"},
                    {"LEDORA_HOME", ""},
                    {"LEDORA_USER", "books"},
                    {"LTB_DRIVES", ""}});
    EXPECT_EQ(r.status, status) << months << "\n" << r.output;
  }
  EXPECT_TRUE(Contains(r.output, Utf8(u8"税率「10%」の仕訳"))) << r.output;
}

TEST(BooksImportTest, EveryShippedLayoutImportsWhatExportWroteInIt) {
  TempDir dir;
  const std::string sample = dir / "sample";
  std::string error;
  ASSERT_TRUE(ledger::CreateSampleLedger(sample, &error)) << error;
  const std::string books = std::filesystem::path(ToolPath()).parent_path() / "books";
  int layouts = 0;
  for (const auto& entry : std::filesystem::directory_iterator(books)) {
    if (entry.path().extension() != ".layout") continue;
    const std::string layout = entry.path().stem();
    SCOPED_TRACE(layout);
    ++layouts;
    const std::string home = dir / layout;
    std::filesystem::create_directory(home);
    std::filesystem::copy_file(sample + "/ledger.db", home + "/ledger.db");
    EmptyJournal(home);
    const std::string file = dir / (layout + ".txt");
    ProgramResult r = Tool({"export-books", sample, "1", file, "--layout", layout});
    ASSERT_EQ(r.status, 0) << r.output;
    r = Tool({"import-books", home, "1", file, "--layout", layout, "--dry-run"});
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_TRUE(Contains(r.output, "Would import 174 journal rows")) << r.output;
    EXPECT_EQ(Journal(home, 1), "");
    r = Tool({"import-books", home, "1", file, "--layout", layout});
    ASSERT_EQ(r.status, 0) << r.output;
    // A layout with tax columns carries every figure; one without has the
    // tax worked out again, so only the rows are counted.
    const std::string imported = Journal(home, 1);
    EXPECT_EQ(std::count(imported.begin(), imported.end(), '\n'), 174);
    if (layout != "compound-rows") {
      EXPECT_EQ(imported, Journal(sample, 1));
    }
  }
  EXPECT_EQ(layouts, 3);
}

// A ledger its user may not write (the file, or the folder its journal
// goes in) is refused when the tool opens it, naming the file and the
// system's reason, before any row is read.
TEST(BooksImportTest, LedgerTheUserMayNotWriteIsRefusedBeforeTheFirstRow) {
  if (geteuid() == 0) GTEST_SKIP() << "the superuser writes every file";
  TempDir dir;
  const std::string file = dir / "rows.csv";
  WriteWholeFile(file, Utf8(u8"日付,借方勘定科目,借方金額,貸方勘定科目,貸方金額\n"
                            u8"2016/4/15,現金,100,売上高,100\n"));
  struct Case {
    const char* what;
    std::filesystem::perms file, folder;
  };
  using P = std::filesystem::perms;
  const Case cases[] = {
      {"read-only file", P::owner_read, P::owner_all},
      {"read-only folder", P::owner_read | P::owner_write, P::owner_read | P::owner_exec},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string home = NewLedger(dir, "ledger" + std::to_string(++n));
    std::filesystem::permissions(home + "/ledger.db", c.file);
    std::filesystem::permissions(home, c.folder);
    std::map<std::string, std::string> env = kEnv;
    env["LC_ALL"] = "C";
    const ProgramResult r = RunProgram(ToolPath(), {"import-books", home, "1", file}, env);
    std::filesystem::permissions(home, P::owner_all);
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(Contains(r.output, home + "/ledger.db cannot be opened for writing: Permission "
                                          "denied."))
        << r.output;
    EXPECT_EQ(Journal(home, 1), "");
  }
}

}  // namespace
}  // namespace ltb::e2e
