// The commands that look at figures without writing a report, run as the
// real program: --show of report files, --compare on a ledger, and runs on
// a chosen dataset.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "ledger/ledger_db.h"
#include "ledger/ledger_host.h"
#include "ledger/ledger_writer.h"
#include "ledger/sql_statement.h"
#include "tests/program_runner.h"

namespace ltb::e2e {
namespace {

// The line of `text` that holds `needle`, or empty.
std::string LineWith(const std::string& text, const std::string& needle) {
  const size_t at = text.find(needle);
  if (at == std::string::npos) return {};
  const size_t start = text.rfind('\n', at);
  const size_t end = text.find('\n', at);
  return text.substr(start == std::string::npos ? 0 : start + 1,
                     (end == std::string::npos ? text.size() : end) -
                         (start == std::string::npos ? 0 : start + 1));
}

std::string Golden(const std::string& name) { return ReadWholeFile(GoldenDir() + "/" + name); }

class InspectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(dir / "home");
    std::string error;
    ASSERT_TRUE(ledger::CreateSampleLedger(ledgerHome(), &error)) << error;
  }

  std::string ledgerHome() const { return dir / "ledger"; }

  ProgramResult Run(std::vector<std::string> args) {
    return RunProgram(ProgramDir() + "/LedTaxBridgeA", args,
                      {{"HOME", dir / "home"},
                       {"XDG_DATA_HOME", dir / "home/.local/share"},
                       {"LEDORA_HOME", ""},
                       {"LEDORA_USER", ""},
                       {"LTB_DRIVES", ""},
                       // The messages checked here are the English ones.
                       {"LC_ALL", "C"}});
  }

  std::unique_ptr<ledger::LedgerDb> Ledger() {
    std::string error;
    auto db = ledger::LedgerDb::Open(ledgerHome(), ledger::LedgerDb::Mode::kReadWrite, &error);
    EXPECT_TRUE(db) << error;
    return db;
  }

  TempDir dir;
};

TEST_F(InspectTest, ShowPrintsEveryGoldenReportAsTableAndCsv) {
  for (const char* name : {"sample_journal.xml", "sample_return_values.xml"}) {
    SCOPED_TRACE(name);
    const std::string path = GoldenDir() + "/" + name;
    const ProgramResult table = Run({"--show", path});
    EXPECT_EQ(table.status, 0) << table.output;
    EXPECT_TRUE(Contains(table.output, Utf8(u8"[課税売上等 8%]"))) << table.output;
    EXPECT_TRUE(Contains(table.output, Utf8(u8"課税売上 税抜 8%"))) << table.output;
    EXPECT_TRUE(Contains(table.output, "10,854,000  KAZEIURIAGEZEINUKI8")) << table.output;
    EXPECT_TRUE(Contains(table.output, Utf8(u8"株式会社サンプル商事")));
    const std::string filing = LineWith(table.output, "  KAZEIKUBUN");
    EXPECT_EQ(filing.rfind(Utf8(u8"  課税方式 "), 0), 0u) << filing;
    EXPECT_TRUE(Contains(filing, Utf8(u8" 1 原則課税 "))) << filing;
    // Empty elements only with --all.
    EXPECT_FALSE(Contains(table.output, "TOKUTEISHIIREKAZEIZEINUKI8"));
    const ProgramResult all = Run({"--show", path, "--all"});
    EXPECT_TRUE(Contains(all.output, "TOKUTEISHIIREKAZEIZEINUKI8"));

    const ProgramResult csv = Run({"--show", path, "--csv", "--all"});
    EXPECT_EQ(csv.status, 0) << csv.output;
    EXPECT_EQ(csv.output.rfind("\xEF\xBB\xBF", 0), 0u);
    const std::string row =
        Utf8(u8"課税売上等 8%,課税売上 税抜 8%,\"10,854,000\",KAZEIURIAGEZEINUKI8\r\n");
    EXPECT_TRUE(Contains(csv.output, row)) << csv.output;
    // One line per element, and the heading.
    EXPECT_EQ(std::count(csv.output.begin(), csv.output.end(), '\n'), 1 + 351);
  }
}

TEST_F(InspectTest, ShowRefusesFilesOfAnotherLayoutNamingTheFirstLineThatDiffers) {
  const std::string good = Golden("sample_journal.xml");
  auto replaced = [&](const std::string& from, const std::string& to) {
    std::string text = good;
    text.replace(text.find(from), from.size(), to);
    return text;
  };
  struct Case {
    const char* what;
    std::string file;
    const char* message;
  };
  const Case cases[] = {
      {"element renamed", replaced("<VERSION>1</VERSION>", "<VERSON>1</VERSON>"),
       "line 5: expected the element VERSION"},
      {"element left out", replaced("\t\t<VERSION>1</VERSION>\r\n", ""),
       "line 5: expected the element VERSION"},
      {"cut short", good.substr(0, good.find("\t<DATA>")),
       "line 21: the file ends where <DATA> at level 1 should follow"},
      {"amount damaged",
       replaced("10854000</KAZEIURIAGEZEINUKI8>", "10854x00</KAZEIURIAGEZEINUKI8>"),
       "KAZEIURIAGEZEINUKI8 holds \"10854x00\", not an amount"},
      {"line ends changed", replaced("<REPORT>\r\n", "<REPORT>\n"),
       "line 2: the line does not end"},
      {"other XML", "<?xml version=\"1.0\"?>\r\n<REPORT>\r\n</REPORT>\r\n",
       "line 1: expected \"<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\""},
      {"something longer", good + "<EXTRA></EXTRA>\r\n", "line 407: the report should have ended"},
      // Terminal controls in a text or in a file of no report at all reach
      // neither the table nor the message, which shows them as \xHH.
      {"terminal control in a text",
       replaced("<KOMONSAKINAME>", "<KOMONSAKINAME>\x1B]0;title\x07\x1B[2J"),
       "line 12: expected the element KOMONSAKINAME at level 2, found "
       "\"\t\t<KOMONSAKINAME>\\x1B]0;title\\x07\\x1B[2J"},
      {"binary file",
       std::string("\x7F"
                   "ELF\x02\x01\x01\x00\r\n",
                   10),
       "line 1: expected \"<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\", found "
       "\"\\x7FELF\\x02\\x01\\x01\\x00\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteWholeFile(dir / "bad.xml", c.file);
    const ProgramResult r = Run({"--show", dir / "bad.xml"});
    EXPECT_EQ(r.status, 2) << r.output;
    EXPECT_TRUE(Contains(r.output, c.message)) << r.output;
    EXPECT_TRUE(std::none_of(r.output.begin(), r.output.end(), [](char ch) {
      return (static_cast<unsigned char>(ch) < 0x20 && ch != '\n' && ch != '\t') || ch == '\x7F';
    })) << r.output;
  }
  const ProgramResult missing = Run({"--show", dir / "missing.xml"});
  EXPECT_EQ(missing.status, 2);
  EXPECT_TRUE(Contains(missing.output, "cannot read")) << missing.output;
}

// Every code meaning --show prints, checked against this table (a wrong
// meaning, such as SHISANZEIKUBUN 2 shown as the other method, passed when
// only two were checked).
TEST_F(InspectTest, ShowNamesWhatEveryCodeStandsFor) {
  struct Meaning {
    const char* name;
    const char8_t* one;
    const char8_t* two;
  } const meanings[] = {
      {"HOUJINKOJINKUBUN", u8"法人", u8"個人"},
      {"KAZEIKUBUN", u8"原則課税", u8"簡易課税"},
      {"KEIKASHOCHIKAZEISHISAN", u8"あり", u8"なし"},
      {"URIAGEZEIGAKUKEISAN", u8"割戻し計算", u8"積上げ計算"},
      {"SHIIREZEIGAKUKEISAN", u8"割戻し計算", u8"積上げ計算"},
      {"KESSANZEIKUBUN", u8"税込経理", u8"税抜経理"},
      {"SHISANZEIKUBUN", u8"税込経理", u8"税抜経理"},
  };
  for (const char* code : {"1", "2"}) {
    std::string report = Golden("sample_journal.xml");
    for (const Meaning& m : meanings) {
      const std::string open = std::string("<") + m.name + ">", close = std::string("</") + m.name;
      for (size_t at = report.find(open); at != std::string::npos; at = report.find(open, at + 1)) {
        const size_t from = at + open.size();
        report.replace(from, report.find(close, from) - from, code);
      }
    }
    WriteWholeFile(dir / "codes.xml", report);
    const ProgramResult r = Run({"--show", dir / "codes.xml"});
    ASSERT_EQ(r.status, 0) << r.output;
    for (const Meaning& m : meanings) {
      const std::string line = LineWith(r.output, std::string("  ") + m.name);
      const std::string meaning = Utf8(code[0] == '1' ? m.one : m.two);
      EXPECT_TRUE(Contains(line, std::string(" ") + code + " " + meaning + " ")) << line;
    }
  }
}

// What the writer writes, --show reads: a company name with a line feed,
// a CR, a tab, full-width and extension characters (a line feed used to
// make the program's own report unreadable to it). The terminal gets no
// control character, and a CSV cell that a spreadsheet would take for a
// formula is neutralised.
TEST_F(InspectTest, ShowReadsEveryTextTheWriterWritesAndKeepsControlsOffTheTerminal) {
  {
    auto db = Ledger();
    ASSERT_TRUE(db);
    std::string error;
    ASSERT_TRUE(db->Exec(reinterpret_cast<const char*>(
                             u8"UPDATE datasets SET company_name = '=A' || char(10) || 'B' || "
                             u8"char(13) || 'C' || char(9) || 'D全角①髙﨑' WHERE no = 1"),
                         &error))
        << error;
  }
  const std::string out = dir / "report.xml";
  const ProgramResult written =
      Run({"--ledger", ledgerHome(), "--ui", "console", "--method", "journal", "--months", "4-3",
           "--output", out, "--execute", "--yes"});
  ASSERT_EQ(written.status, 0) << written.output;
  // The name is written full-width, the control characters as they are.
  const std::string shown = Utf8(u8"＝Ａ\\nＢ\\rＣ\\tＤ全角①髙﨑");
  const ProgramResult table = Run({"--show", out});
  EXPECT_EQ(table.status, 0) << table.output;
  EXPECT_TRUE(Contains(table.output, shown)) << table.output;
  EXPECT_TRUE(std::none_of(table.output.begin(), table.output.end(), [](char c) {
    return (static_cast<unsigned char>(c) < 0x20 && c != '\n') || c == '\x7F';
  })) << table.output;
  ProgramResult csv = Run({"--show", out, "--csv"});
  EXPECT_EQ(csv.status, 0) << csv.output;
  EXPECT_TRUE(Contains(csv.output, "," + shown + ",KOMONSAKINAME\r\n")) << csv.output;

  // A name a spreadsheet would take for a formula gets a leading ' in CSV
  // (a leading tab or CR already shows as \t or \r).
  std::string report = Golden("sample_journal.xml");
  const std::string name = "<KOMONSAKINAME>";
  const size_t from = report.find(name) + name.size();
  for (const std::string formula : {"=1+2", "+1", "-A1", "@SUM(A1)"}) {
    SCOPED_TRACE(formula);
    std::string text = report;
    text.replace(from, text.find("</KOMONSAKINAME>") - from, formula);
    WriteWholeFile(dir / "formula.xml", text);
    csv = Run({"--show", dir / "formula.xml", "--csv"});
    EXPECT_EQ(csv.status, 0) << csv.output;
    EXPECT_TRUE(Contains(csv.output, ",'" + formula + ",KOMONSAKINAME\r\n")) << csv.output;
  }
}

TEST_F(InspectTest, CompareAgreesThenShowsExactlyWhatOneMoreEntryChanged) {
  // The unchanged sample: its saved values are what the journal sums.
  const std::string before = ReadWholeFile(ledgerHome() + "/ledger.db");
  const ProgramResult agree = Run({"--ledger", ledgerHome(), "--compare"});
  EXPECT_EQ(agree.status, 0) << agree.output;
  EXPECT_TRUE(Contains(agree.output, Utf8(u8"4-3月: 274 要素を比較、0 要素が相違")))
      << agree.output;
  EXPECT_EQ(ReadWholeFile(ledgerHome() + "/ledger.db"), before);
  EXPECT_FALSE(std::filesystem::exists(ledgerHome() + "/output"));

  {
    // A sale of 100,000 yen plus 8,000 yen tax in business type 1, after
    // the tax-return screen was saved.
    auto db = Ledger();
    ASSERT_TRUE(db);
    ledger::JournalRow row;
    row.entryNo = 90001;
    row.date = 20160510;
    row.debit = {135, 0, 108000 * 10000L, 0, 0, 0, 0};
    row.credit = {411, 0, 100000 * 10000L, 8000 * 10000L, 1, 800, 1};
    std::string error;
    ASSERT_TRUE(ledger::AddJournal(*db, 1, row, &error)) << error;
  }
  const ProgramResult differ = Run({"--ledger", ledgerHome(), "--compare"});
  EXPECT_EQ(differ.status, 3) << differ.output;
  EXPECT_TRUE(Contains(differ.output, Utf8(u8"274 要素を比較、6 要素が相違"))) << differ.output;
  for (const char* line :
       {"10,954,000  10,854,000  100,000  KAZEIURIAGEZEINUKI8",
        "876,320     868,320    8,000  KAZEIURIAGEZEIGAKU8",
        "11,830,320  11,722,320  108,000  KAZEIURIAGEZEIKOMI8", "100,000  KAZEIURIAGE1SHUZEINUKI8",
        "8,000  KAZEIURIAGE1SHUZEIGAKU8", "108,000  KAZEIURIAGE1SHUZEIKOMI8"}) {
    EXPECT_TRUE(Contains(differ.output, line)) << line << "\n" << differ.output;
  }

  const ProgramResult csv = Run({"--ledger", ledgerHome(), "--compare", "--csv"});
  EXPECT_EQ(csv.status, 3);
  EXPECT_TRUE(Contains(csv.output, "\"10,954,000\",\"10,854,000\",\"100,000\",KAZEIURIAGEZEINUKI8"))
      << csv.output;

  // A range the saved values do not cover compares all the same; one
  // outside the period is refused.
  EXPECT_EQ(Run({"--ledger", ledgerHome(), "--compare", "--months", "4-4"}).status, 3);
  EXPECT_EQ(Run({"--ledger", ledgerHome(), "--compare", "--months", "4-13"}).status, 1);
}

TEST_F(InspectTest, DatasetOptionWritesAndComparesEachSampleDatasetAndLeavesTheSelection) {
  struct Sample {
    int no;
    const char8_t* company;
  };
  for (const Sample& s : {Sample{1, u8"株式会社サンプル商事"}, Sample{2, u8"有限会社サンプル工房"},
                          Sample{3, u8"山田　太郎"}}) {
    SCOPED_TRACE(s.no);
    const std::string out = dir / ("dataset" + std::to_string(s.no) + ".xml");
    const ProgramResult r =
        Run({"--ledger", ledgerHome(), "--dataset", std::to_string(s.no), "--ui", "console",
             "--method", "journal", "--months", "4-3", "--output", out, "--execute", "--yes"});
    EXPECT_EQ(r.status, 0) << r.output;
    const ProgramResult shown = Run({"--show", out});
    EXPECT_EQ(shown.status, 0) << shown.output;
    EXPECT_TRUE(Contains(shown.output, Utf8(s.company))) << shown.output;
    // Each sample dataset's saved values agree with its journal; under
    // simplified taxation (dataset 2) they carry no figures, and nothing
    // compared is no agreement (it used to end with status 0).
    const ProgramResult compared =
        Run({"--ledger", ledgerHome(), "--dataset", std::to_string(s.no), "--compare"});
    if (s.no == 2) {
      EXPECT_EQ(compared.status, 1) << compared.output;
      EXPECT_TRUE(Contains(compared.output, "Nothing was compared")) << compared.output;
    } else {
      EXPECT_EQ(compared.status, 0) << compared.output;
      EXPECT_TRUE(Contains(compared.output, Utf8(u8"0 要素が相違"))) << compared.output;
    }
  }
  auto db = Ledger();
  ASSERT_TRUE(db);
  ledger::SqlStatement q(db->handle(), "SELECT selected_no FROM users WHERE user_id = 'user01'");
  ASSERT_TRUE(q.Step());
  EXPECT_EQ(q.Int(0), 1);

  const ProgramResult missing = Run({"--ledger", ledgerHome(), "--dataset", "9", "--compare"});
  EXPECT_EQ(missing.status, 2) << missing.output;
  EXPECT_TRUE(Contains(missing.output, "no dataset 9")) << missing.output;
}

}  // namespace
}  // namespace ltb::e2e
