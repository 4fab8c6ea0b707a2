#include "report/report.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/cp932.h"
#include "platform/testing/fault_env.h"
#include "platform/testing/read_only_folder.h"
#include "report/rate_view.h"
#include "report/report_run.h"
#include "report/testing/report_fixture.h"
#include "report/testing/report_text.h"
#include "report/testing/scripted_seat.h"

namespace ltb::report {
namespace {

using testing::ElementText;
using testing::Lines;

constexpr host::WindowHandle kOwner = 0x4a0001;
constexpr const char* kDeclaration = "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>";

class JournalReportTest : public testing::ReportFixture {
 protected:
  void SetUp() override {
    ReportFixture::SetUp();
    writer.Close();
    data.SetText(host::StDATAINFO::kCompanyOff, host::StDATAINFO::kCompanyCap, "株式会社テスト");
  }
  bool Run() { return WriteJournalReport(seat, kOwner, kOut, ctx, data, settings, &exitCode); }
  testing::ScriptedSeat seat;
  int exitCode = 0;
};

TEST_F(JournalReportTest, WritesTheWholeFileInItsLayout) {
  totals.RateInfo[0].SetAmount(RateField::KAZEIURIAGEZEINUKI, 12345670000);
  ASSERT_TRUE(Run());
  EXPECT_TRUE(seat.shown.empty());
  EXPECT_EQ(exitCode, 0);
  const std::string& out = Output();
  ASSERT_GE(out.size(), 2u);
  EXPECT_EQ(out.substr(out.size() - 11), "</REPORT>\r\n");
  std::vector<std::string> lines = Lines(out);
  EXPECT_EQ(lines[0], kDeclaration);
  EXPECT_EQ(lines[1], "<REPORT>");
  EXPECT_EQ(lines[2], "\t<SYSTEM>");
  // Declaration, REPORT x2, SYSTEM 8, BASIC 10, DATA 2 + 21 x 2 + 304 + 18 + 19.
  EXPECT_EQ(lines.size(), 3u + 8 + 10 + 2 + 42 + 304 + 18 + 19);
  size_t crlf = 0;
  for (size_t at = out.find("\r\n"); at != std::string::npos; at = out.find("\r\n", at + 2)) ++crlf;
  EXPECT_EQ(crlf, lines.size());
  EXPECT_EQ(out.find('\n'), out.find("\r\n") + 1);  // no bare LF before the first CR LF
  EXPECT_LT(out.find("<SYSTEM>"), out.find("<BASIC>"));
  EXPECT_LT(out.find("</BASIC>"), out.find("<DATA>"));
  EXPECT_EQ(ElementText(out, "KAZEIURIAGEZEINUKI8"), "1234567");
  EXPECT_EQ(ElementText(out, "KOMONSAKINAME"), "株式会社テスト");
  for (const std::string& line : lines) {
    size_t tabs = line.find_first_not_of('\t');
    EXPECT_LE(tabs, 3u) << line;
  }
}

TEST_F(JournalReportTest, AFailedSectionAsksAndYesCompletesTheFile) {
  host.hasTaxSettingsSet = false;  // DATA cannot be written
  ASSERT_TRUE(Run());
  ASSERT_EQ(seat.shown.size(), 1u);
  EXPECT_EQ(seat.shown[0].owner, kOwner);
  EXPECT_EQ(seat.shown[0].text, "連動情報の出力に失敗しました。\n\n出力を続けますか？");
  EXPECT_EQ(seat.shown[0].caption, "消費税");
  EXPECT_EQ(seat.shown[0].flags, ui::kMbYesNo | ui::kMbIconWarning);
  EXPECT_EQ(exitCode, 0);
  std::string out = Output();
  EXPECT_EQ(out.substr(out.size() - 20), "\t<DATA>\r\n</REPORT>\r\n");
}

TEST_F(JournalReportTest, NoStopsClosesReportAndSetsExitCodeTwo) {
  host.hasTaxSettingsSet = false;
  seat.answer = ui::kIdNo;
  EXPECT_FALSE(Run());
  EXPECT_EQ(exitCode, 2);
  EXPECT_EQ(Output().substr(Output().size() - 11), "</REPORT>\r\n");
}

// Yes to every question still does not make a file that was never created
// a finished report.
TEST_F(JournalReportTest, AnUncreatableFileFailsEverySectionInTurnAndTheRun) {
  env.files.clear();
  env.refuseCreate = true;
  EXPECT_FALSE(Run());
  ASSERT_EQ(seat.shown.size(), 4u);
  EXPECT_EQ(seat.shown[0].text, kSystemFailedQuestion);
  EXPECT_EQ(seat.shown[1].text, kBasicFailedQuestion);
  EXPECT_EQ(seat.shown[2].text, kDataFailedQuestion);
  EXPECT_TRUE(seat.shown[3].text.starts_with(kReportNotFinishedMessage));
  EXPECT_EQ(exitCode, 2);
  EXPECT_EQ(env.files.count(kOut), 0u);
}

// A disk that fills at every possible line in turn: nothing is written after
// the failing line, the unfinished file never takes the report's name (the
// previous report stays) nor stays beside it, and each later section is
// asked about. Going on after each question never calls the run finished.
TEST_F(JournalReportTest, AWriteErrorAtAnyLineKeepsThePreviousReport) {
  ASSERT_TRUE(Run());
  const std::vector<std::string> full = Lines(Output());
  std::vector<size_t> failPoints;
  for (size_t failAt = 1; failAt < full.size(); failAt += 7) failPoints.push_back(failAt);
  failPoints.push_back(full.size());
  for (size_t failAt : failPoints) {
    env.files.clear();
    env.files[kOut] = "the previous report";
    env.appends = 0;
    env.closes = 0;
    env.failFromAppend = static_cast<int>(failAt);
    seat.shown.clear();
    exitCode = 0;
    EXPECT_FALSE(Run()) << failAt;
    EXPECT_EQ(env.appends, static_cast<int>(failAt)) << failAt;
    EXPECT_EQ(env.files[kOut], "the previous report") << failAt;
    EXPECT_EQ(env.files.size(), 1u) << failAt;
    EXPECT_EQ(env.closes, 1) << failAt;
    ASSERT_LE(seat.shown.size(), 4u);
    ASSERT_GE(seat.shown.size(), 1u);
    EXPECT_TRUE(seat.shown.back().text.starts_with(kReportNotFinishedMessage));
    // ...and says why, in the system's words.
    EXPECT_NE(seat.shown.back().text.find(std::strerror(ENOSPC)), std::string::npos) << failAt;
    EXPECT_EQ(seat.shown.back().caption, "消費税");
    EXPECT_EQ(exitCode, 2);
  }
}

// Every line went out but the file did not close: its end may never have
// reached the disk, so the run is an error the user hears about. A failed
// close after a No is not asked about twice.
TEST_F(JournalReportTest, AFailedCloseIsAnErrorNotAFinishedReport) {
  platform::FaultInjectionEnv faults(&env);
  ctx.env = &faults;
  ASSERT_TRUE(Run());
  const int pointsPerRun = faults.points();
  faults.FailAt(pointsPerRun);  // the close is the last point of a run
  EXPECT_FALSE(Run());
  EXPECT_EQ(exitCode, 2);
  ASSERT_EQ(seat.shown.size(), 1u);
  EXPECT_TRUE(seat.shown[0].text.starts_with(kReportNotFinishedMessage));
  EXPECT_EQ(seat.shown[0].flags, ui::kMbOk | ui::kMbIconWarning);

  seat.answer = ui::kIdNo;  // every point fails from the first: SYSTEM, then No
  seat.shown.clear();
  faults.FailAt(1);
  faults.SetSticky(true);
  EXPECT_FALSE(Run());
  ASSERT_EQ(seat.shown.size(), 1u);
  EXPECT_EQ(seat.shown[0].text, kSystemFailedQuestion);
}

class ReturnValuesReportTest : public JournalReportTest {
 protected:
  int RunReturn() { return WriteReturnValuesReport(seat, kOwner, kOut, ctx, data, &exitCode); }
};

TEST_F(ReturnValuesReportTest, WritesTheSameLayoutFromTheSavedValues) {
  ctx.taxSaveInfo = &saved;
  saved.SetI64(573, 25000);  // KAZEIURIAGEZEINUKI5, 2.5 yen
  ctx.fractionRounding = 0;
  EXPECT_EQ(RunReturn(), 1);
  EXPECT_TRUE(seat.shown.empty());
  EXPECT_EQ(Lines(Output()).size(), 3u + 8 + 10 + 2 + 42 + 304 + 18 + 19);
  EXPECT_EQ(ElementText(Output(), "KAZEIURIAGEZEINUKI5"), "3");
}

TEST_F(ReturnValuesReportTest, MissingSavedValuesLeaveBasicOpenAndGoOnAfterYes) {
  ctx.taxSaveInfo = nullptr;
  EXPECT_EQ(RunReturn(), 1);
  ASSERT_EQ(seat.shown.size(), 2u);
  EXPECT_EQ(seat.shown[0].text, kBasicFailedQuestion);
  EXPECT_EQ(Output().find("</BASIC>"), std::string::npos);
  EXPECT_EQ(Output().substr(Output().size() - 11), "</REPORT>\r\n");

  seat.shown.clear();
  seat.answer = ui::kIdNo;
  EXPECT_EQ(RunReturn(), 0);
  EXPECT_EQ(exitCode, 2);
  EXPECT_EQ(seat.shown.size(), 1u);
  EXPECT_EQ(Output().find("<DATA>"), std::string::npos);
}

// ---- Real files --------------------------------------------------------

std::string WindowsPath(const std::filesystem::path& p) {
  std::string s = "Z:" + p.string();
  for (char& c : s) {
    if (c == '/') c = '\\';
  }
  return s;
}

class RealFileReportTest : public JournalReportTest {
 protected:
  void SetUp() override {
    JournalReportTest::SetUp();
    ctx.env = platform::Env::Default();
    char tmpl[] = "/tmp/ltb_report_XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir = tmpl;
  }
  void TearDown() override {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }
  bool RunTo(const std::string& path) {
    return WriteJournalReport(seat, kOwner, path, ctx, data, settings, &exitCode);
  }
  std::filesystem::path dir;
};

std::string RunCommand(const std::string& command, int* status) {
  std::string out;
  FILE* p = popen(command.c_str(), "r");
  if (p == nullptr) return out;
  std::array<char, 4096> buf;
  size_t n;
  while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) out.append(buf.data(), n);
  *status = pclose(p);
  return out;
}

TEST_F(RealFileReportTest, AStandardParserReadsTheFileAsShiftJis) {
  data.SetText(host::StDATAINFO::kCompanyOff, host::StDATAINFO::kCompanyCap, "ｿﾌﾄ表示&Co.<株>");
  ASSERT_TRUE(RunTo(WindowsPath(dir / "tax.xml")));
  int status = -1;
  std::string utf8 =
      RunCommand("xmllint --encode UTF-8 " + (dir / "tax.xml").string() + " 2>&1", &status);
  ASSERT_EQ(status, 0) << utf8;
  // The company name as UTF-8, the way the parser decoded it.
  std::string expected = platform::Cp932ToUtf8("ソフト表示＆Ｃｏ．＜株＞");
  EXPECT_NE(utf8.find("<KOMONSAKINAME>" + expected + "</KOMONSAKINAME>"), std::string::npos)
      << utf8.substr(0, 600);
  EXPECT_NE(utf8.find("<PROGRAMNAME>" + platform::Cp932ToUtf8("Ledora１７") + "</PROGRAMNAME>"),
            std::string::npos);
}

// A device or a FIFO at the output name is refused before anything is
// written: writing there would hang the run or feed another program.
TEST_F(RealFileReportTest, AnOutputNameThatIsNoFileIsRefusedBeforeWriting) {
  ASSERT_EQ(mkfifo((dir / "fifo.xml").c_str(), 0600), 0);
  for (const std::string& path : {std::string("Z:\\dev\\full"), WindowsPath(dir / "fifo.xml")}) {
    seat.shown.clear();
    exitCode = 0;
    EXPECT_FALSE(RunTo(path));
    ASSERT_EQ(seat.shown.size(), 1u) << path;
    EXPECT_EQ(seat.shown[0].text, kOutputNotAFileMessage);
    EXPECT_EQ(exitCode, 2);
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
}

// A file-size limit met in the middle of the report (SIGXFSZ ignored, as the
// program does): the failed section is asked about, the run fails, and the
// previous report is kept byte for byte with no temporary file beside it.
TEST_F(RealFileReportTest, AFileSizeLimitFailsTheRunAndKeepsThePreviousReport) {
  const std::string previous(5000, 'p');
  { std::ofstream(dir / "tax.xml", std::ios::binary) << previous; }
  void (*oldHandler)(int) = signal(SIGXFSZ, SIG_IGN);
  struct rlimit old;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  struct rlimit small = old;
  small.rlim_cur = 3000;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool ok = RunTo(WindowsPath(dir / "tax.xml"));
  setrlimit(RLIMIT_FSIZE, &old);
  signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(ok);
  ASSERT_GE(seat.shown.size(), 2u);  // the failed section's question, then this
  EXPECT_TRUE(seat.shown.back().text.starts_with(kReportNotFinishedMessage));
  EXPECT_EQ(exitCode, 2);
  std::ifstream in(dir / "tax.xml", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), previous);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
}

// The folder was fine when the destination was checked, and is read-only
// when the report is written. As root, permissions do not stop writes, so a
// small file system is remounted read-only instead.
TEST_F(RealFileReportTest, AFolderThatTurnsReadOnlyFailsEverySection) {
  std::filesystem::path folder = dir / "out";
  std::filesystem::create_directory(folder);
  bool completed = false;
  bool created = false;
  {
    platform::testing::ReadOnlyFolder readOnly(folder.string(), {{"probe.txt", "writable"}});
    if (!readOnly.ok()) GTEST_SKIP() << "cannot make a read-only folder here";
    completed = RunTo(WindowsPath(folder / "tax.xml"));
    created = std::filesystem::exists(folder / "tax.xml");
  }
  EXPECT_FALSE(completed);
  EXPECT_FALSE(created);
  ASSERT_EQ(seat.shown.size(), 4u);
  EXPECT_EQ(seat.shown[0].text, kSystemFailedQuestion);
}

}  // namespace
}  // namespace ltb::report
