// The real programs, run unattended against ledger homes made for the test.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>

#include "ledger/ledger_db.h"
#include "ledger/ledger_host.h"
#include "ledger/ledger_writer.h"
#include "tests/program_runner.h"

namespace ltb::e2e {
namespace {

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(home());
    std::string error;
    ASSERT_TRUE(ledger::CreateSampleLedger(ledgerHome(), &error)) << error;
    auto db = ledger::LedgerDb::Open(ledgerHome(), ledger::LedgerDb::Mode::kReadWrite, &error);
    ASSERT_TRUE(db) << error;
    ledger::DatasetRow past;
    past.no = 4;
    past.dataId = "PAST04";
    past.companyName = "past";
    past.periodStart = 20150401;
    past.periodEnd = 20160331;
    past.pastResults = 99;
    ledger::DatasetRow exempt = past;
    exempt.no = 5;
    exempt.dataId = "EXEMPT05";
    exempt.pastResults = 0;
    exempt.filingClass = 0;
    ASSERT_TRUE(ledger::AddDataset(*db, past, &error)) << error;
    ASSERT_TRUE(ledger::AddDataset(*db, exempt, &error)) << error;
    ASSERT_TRUE(ledger::AddUser(*db, "past", 4, &error)) << error;
    ASSERT_TRUE(ledger::AddUser(*db, "exempt", 5, &error)) << error;
  }

  std::string home() const { return dir / "home"; }
  std::string ledgerHome() const { return dir / "ledger"; }
  std::string out() const { return dir / "out.xml"; }

  ProgramResult Run(std::vector<std::string> args, const std::string& user = "user01",
                    const std::string& program = ProgramDir() + "/LedTaxBridgeA") {
    return RunProgram(program, args, Env(user));
  }
  std::map<std::string, std::string> Env(const std::string& user = "user01") const {
    return {{"HOME", home()},
            {"XDG_DATA_HOME", home() + "/.local/share"},
            {"XDG_CONFIG_HOME", home() + "/.config"},
            {"LEDORA_HOME", ""},
            {"LEDORA_USER", user},
            {"LTB_DRIVES", ""}};
  }
  std::vector<std::string> Unattended(const std::string& method) {
    std::vector<std::string> args = {"--ledger", ledgerHome(), "--ui", "console",   "--method",
                                     method,     "--output",   out(),  "--execute", "--yes"};
    // The month range belongs to journal aggregation only.
    if (method == "journal") args.insert(args.end(), {"--months", "4-3"});
    return args;
  }

  TempDir dir;
};

TEST_F(ProgramTest, HelpAndVersionInUtf8) {
  // Short and long spellings alike, and an item that only looks like an
  // option, are answered at once, never taken as the parent's line (which
  // would start a run and ask for a terminal).
  struct Case {
    std::vector<std::string> args;
    int status;
    const char* shows;
  };
  for (const Case& c :
       {Case{{"--version"}, 0, "17.00.00"}, Case{{"-V"}, 0, "LedTaxBridgeA 17.00.00"},
        Case{{"--help"}, 0, "--ledger DIR"}, Case{{"-h"}, 0, "--ledger DIR"},
        Case{{"--ui", "console", "-h"}, 0, "Usage: LedTaxBridgeA"},
        Case{{"-help"}, 2, "unknown option -help"}, Case{{"--ui", "sometimes"}, 2, "--ui"}}) {
    SCOPED_TRACE(c.args.back());
    const ProgramResult r = Run(c.args);
    EXPECT_EQ(r.status, c.status) << r.output;
    EXPECT_TRUE(Contains(r.output, c.shows)) << r.output;
  }
}

TEST_F(ProgramTest, EachEditionWritesAJournalReportWithItsProductName) {
  struct Edition {
    const char* program;
    const char* productName;  // CP932, as in the report
  };
  for (const Edition& e : {Edition{"LedTaxBridgeA", "<PROGRAMNAME>Ledora１７</PROGRAMNAME>"},
                           Edition{"LedTaxBridgeB", "<PROGRAMNAME>Ledora１７ Vantage<"},
                           Edition{"LedTaxBridgeC", "<PROGRAMNAME>Ledora１７ Hearth<"}}) {
    SCOPED_TRACE(e.program);
    std::filesystem::remove(out());
    const ProgramResult r = Run(Unattended("journal"), "user01", ProgramDir() + "/" + e.program);
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_TRUE(Contains(r.output, Utf8(u8"消費税情報の出力が終了しました。"))) << r.output;
    const std::string report = ReadWholeFile(out());
    EXPECT_EQ(report.rfind("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n<REPORT>", 0), 0u);
    EXPECT_TRUE(Contains(report, "</REPORT>"));
    EXPECT_TRUE(Contains(report, e.productName));
    EXPECT_TRUE(Contains(report, "<KAZEIURIAGEZEINUKI8>"));
  }
}

TEST_F(ProgramTest, ReturnValuesMethodWritesTheReport) {
  const ProgramResult r = Run(Unattended("return"));
  EXPECT_EQ(r.status, 0) << r.output;
  const std::string report = ReadWholeFile(out());
  EXPECT_TRUE(Contains(report, "<DATA>"));
  EXPECT_TRUE(Contains(report, "</REPORT>"));
}

TEST_F(ProgramTest, RefusedDatasetsEndWithStatusOneAndNoReport) {
  for (const char* user : {"past", "exempt"}) {
    SCOPED_TRACE(user);
    const ProgramResult r = Run(Unattended("journal"), user);
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_TRUE(Contains(r.output, Utf8(u8"[消費税]"))) << r.output;
    EXPECT_FALSE(std::filesystem::exists(out()));
  }
}

TEST_F(ProgramTest, MissingLedgerIsAnErrorWithTheLedgersMessage) {
  const ProgramResult r = Run(
      {"--ledger", dir / "nowhere", "--ui", "console", "--execute", "--yes", "--output", out()});
  EXPECT_EQ(r.status, 2) << r.output;
  EXPECT_FALSE(r.output.empty());
  EXPECT_FALSE(std::filesystem::exists(out()));
}

TEST_F(ProgramTest, QuestionWithoutTerminalOrAnswerDoesNotHang) {
  const ProgramResult r = Run({"--ledger", ledgerHome(), "--ui", "console"});
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.status, -1) << "killed after the time limit";
  EXPECT_FALSE(std::filesystem::exists(out()));
}

// The environment check reads ZenkitDef.ini beside the program: a copy of
// the program in a folder of its own shows what each file does.
TEST_F(ProgramTest, EnvironmentCheckBesideTheProgram) {
  const std::string folder = dir / "prog";
  std::filesystem::create_directories(folder);
  const std::string program = folder + "/LedTaxBridgeA";
  std::filesystem::copy_file(ProgramDir() + "/LedTaxBridgeA", program);

  struct Case {
    const char* ini;  // null: no file
    int status;
    const char8_t* message;
  };
  const Case cases[] = {
      {nullptr, 2, u8"動作環境が不正です。"},
      {"[ProgramLevel]\r\nSY26=0\r\n", 2,
       u8"の最新版を入手してインストールしてからご利用ください。"},
      {"[ProgramLevel]\r\nSY26=2\r\n", 2, u8"連動コンポーネントの最新版を入手して"},
      {"[ProgramLevel]\r\nSY26=\r\n", 2, u8"動作環境が不正です。"},
      {"[ProgramLevel]\r\n", 0, u8"消費税情報の出力が終了しました。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ini ? c.ini : "no file");
    std::filesystem::remove(folder + "/ZenkitDef.ini");
    std::filesystem::remove(out());
    if (c.ini) WriteWholeFile(folder + "/ZenkitDef.ini", c.ini);
    const ProgramResult r = Run(Unattended("journal"), "user01", program);
    EXPECT_EQ(r.status, c.status) << r.output;
    EXPECT_TRUE(Contains(r.output, Utf8(c.message))) << r.output;
    // The host names the package in place of the token.
    EXPECT_FALSE(Contains(r.output, "ES_APRPACKAGENAME"));
    EXPECT_EQ(std::filesystem::exists(out()), c.status == 0);
  }
}

// Paths on the command line are taken from the folder the program was
// started in, relative XDG folders are ignored, and an output path the
// dialog would cut is refused before anything runs.
TEST_F(ProgramTest, CommandLinePathsAreTheCallersAndOverlongOnesAreRefused) {
  const std::string work = dir / "work";
  std::filesystem::create_directories(work + "/sub");
  std::map<std::string, std::string> env = Env();
  const std::vector<std::string> relative = {"--ledger",  "../ledger", "--ui",     "console",
                                             "--method",  "journal",   "--months", "4-3",
                                             "--execute", "--yes",     "--output"};
  for (const char* output : {"rel.xml", "sub/rel.xml", "sub\\back.xml"}) {
    SCOPED_TRACE(output);
    std::vector<std::string> args = relative;
    args.push_back(output);
    const ProgramResult r = RunProgram(ProgramDir() + "/LedTaxBridgeA", args, env, 120, work);
    EXPECT_EQ(r.status, 0) << r.output;
    std::string expected = work + "/" + output;
    std::replace(expected.begin(), expected.end(), '\\', '/');
    EXPECT_TRUE(Contains(ReadWholeFile(expected), "</REPORT>")) << expected;
  }
  EXPECT_FALSE(std::filesystem::exists(ProgramDir() + "/rel.xml"));

  // No ledger named: the sample ledger goes to ~/.local/share, never to a
  // relative XDG_DATA_HOME under the working folder.
  env["XDG_DATA_HOME"] = "relative-data";
  const ProgramResult sample = RunProgram(
      ProgramDir() + "/LedTaxBridgeA",
      {"--ui", "console", "--method", "return", "--output", "s.xml", "--execute", "--yes"}, env,
      120, work);
  EXPECT_EQ(sample.status, 0) << sample.output;
  EXPECT_TRUE(std::filesystem::exists(home() + "/.local/share/ledtaxbridge/sample"));
  EXPECT_FALSE(std::filesystem::exists(work + "/relative-data"));

  // 255 bytes fit the output field in their Windows form ("Z:" + path);
  // one more is refused with status 2 and nothing is written.
  for (const size_t windowsLength : {size_t{255}, size_t{256}, size_t{400}}) {
    SCOPED_TRACE(windowsLength);
    const std::string name =
        dir.path() + "/" + std::string(windowsLength - 2 - dir.path().size() - 1, 'n');
    const ProgramResult r = Run({"--ledger", ledgerHome(), "--ui", "console", "--method", "journal",
                                 "--months", "4-3", "--execute", "--yes", "--output", name});
    if (windowsLength == 255) {
      EXPECT_EQ(r.status, 0) << r.output;
      EXPECT_TRUE(std::filesystem::exists(name));
      std::filesystem::remove(name);
    } else {
      EXPECT_EQ(r.status, 2) << r.output;
      EXPECT_TRUE(Contains(r.output, "at most 255 bytes")) << r.output;
      EXPECT_FALSE(std::filesystem::exists(name.substr(0, 255 - 2)));
    }
  }

  // A parent's line is read into 259 bytes with its output item in Windows
  // form; a longer one would lose the end of the path, so it is refused the
  // same way. The item is relative: its caller-relative form is what counts.
  const std::string parentItems = "0,1025,2,";
  for (const size_t lineLength : {size_t{259}, size_t{260}}) {
    SCOPED_TRACE(lineLength);
    const std::string name(lineLength - parentItems.size() - 2 - work.size() - 1, 'p');
    const ProgramResult r =
        RunProgram(ProgramDir() + "/LedTaxBridgeA",
                   {"--ledger", ledgerHome(), "--ui", "console", "--method", "journal", "--months",
                    "4-3", "--execute", "--yes", parentItems + name},
                   env, 120, work);
    if (lineLength == 259) {
      EXPECT_EQ(r.status, 0) << r.output;
      EXPECT_TRUE(std::filesystem::exists(work + "/" + name));
      std::filesystem::remove(work + "/" + name);
    } else {
      EXPECT_EQ(r.status, 2) << r.output;
      EXPECT_TRUE(Contains(r.output, "at most 259 bytes")) << r.output;
      EXPECT_FALSE(std::filesystem::exists(work + "/" + name.substr(0, name.size() - 1)));
    }
  }
}

}  // namespace
}  // namespace ltb::e2e
