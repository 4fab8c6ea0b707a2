// The whole run, with the real dialog, aggregation, report writers and
// ledger, over an Env that fails the 1st, 2nd, 3rd ... write, flush, sync,
// close, rename, folder creation, temporary-file creation or lock in turn
// until a run meets no fault.
//
// After every run:
// - the settings file is byte for byte the old file or the new one, and no
//   temporary file is left beside it (other users' records are in both;
//   the lock file beside it stays, as it always does);
// - the report is the golden report (exitCode 0, final message shown), or
//   the previous report byte for byte: the user was told, and the run ends
//   with exitCode 2 and no final message, with no temporary file left;
// - a run that claims success wrote the whole report.
// The number of fault points exercised is printed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <set>
#include <string>
#include <vector>

#include "app/real_components.h"
#include "app/tax_link_app.h"
#include "dialog/unattended_fill.h"
#include "ledger/ledger_db.h"
#include "ledger/ledger_host.h"
#include "ledger/ledger_writer.h"
#include "platform/env.h"
#include "platform/testing/fault_env.h"
#include "platform/win_path.h"
#include "resources/edition.h"
#include "tests/program_runner.h"

namespace ltb::e2e {
namespace {

constexpr const char* kContinueQuestion = "出力を続けますか？";
constexpr const char* kFinishedMessage = "消費税情報の出力が終了しました。";
constexpr const char* kOldReport = "an older report\r\n";

bool Contains(std::string_view haystack, std::string_view needle) {
  return haystack.find(needle) != std::string_view::npos;
}

// The program's folder is a folder of the test, with ZenkitDef.ini in it.
class ProgramFolderEnv : public platform::EnvWrapper {
 public:
  ProgramFolderEnv(platform::Env* target, std::string programPath)
      : EnvWrapper(target), programPath_(std::move(programPath)) {}
  std::string ProgramPath() override { return programPath_; }

 private:
  std::string programPath_;
};

// Fills the dialog as the unattended options say and presses Execute;
// answers Yes to the folder and overwrite questions and No to every
// "go on?" question; records every message.
class ScriptedRunSeat : public ui::Seat {
 public:
  explicit ScriptedRunSeat(ui::UnattendedOptions options) : options_(std::move(options)) {}

  int MessageBox(host::WindowHandle, std::string_view text, std::string_view caption,
                 unsigned flags) override {
    shown.push_back(std::string(caption) + "|" + std::string(text));
    if ((flags & ui::kMbButtonMask) != ui::kMbYesNo) return ui::kIdOk;
    return Contains(text, kContinueQuestion) ? ui::kIdNo : ui::kIdYes;
  }
  int RunModal(ui::DialogController& dialog) override {
    dialog.OnInitDialog();
    int code = 0;
    if (dialog.Ended(&code)) return code;
    std::string error;
    if (!dialog::PrefillConditions(dialog, options_, platform::DriveTable(), &error) ||
        !dialog::PressExecute(dialog)) {
      dialog.OnCancel();
    }
    dialog.Ended(&code);
    return code;
  }
  bool PickSaveFile(const ui::SaveFileRequest&, std::string*) override { return false; }
  // No progress display: the aggregation takes a null view.
  std::unique_ptr<ui::ProgressView> CreateProgressView() override { return nullptr; }

  std::vector<std::string> shown;

 private:
  ui::UnattendedOptions options_;
};

struct RunOutcome {
  int exitCode = -1;
  std::vector<std::string> shown;
};

struct Method {
  const char* name;
  ui::AggregationMode mode;
  const char* golden;
};

class FaultInjectionTest : public ::testing::TestWithParam<Method> {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(dir / "prog");
    std::filesystem::create_directories(dir / "settings");
    std::filesystem::create_directories(dir / "out");
    WriteWholeFile(dir / "prog/ZenkitDef.ini", "[ProgramLevel]\r\nSY26=1\r\n");
    std::string error;
    ASSERT_TRUE(ledger::CreateSampleLedger(dir / "ledger", &error)) << error;
    auto db = ledger::LedgerDb::Open(dir / "ledger", ledger::LedgerDb::Mode::kReadWrite, &error);
    ASSERT_TRUE(db) << error;
    ASSERT_TRUE(ledger::SetSetting(
        *db, "folder_settings",
        platform::UserPathToWindows(platform::DriveTable(), dir / "settings"), &error))
        << error;
    // Other users' records around an old record of this user, the last one
    // without its line end, as a hand-edited file may be.
    oldSettings_ =
        "user02/3/3:1/1/12/Z:\\keep\\theirs.xml\n"
        "user01/1/1:1/5/6/Z:\\old\\mine.xml\n"
        "さとう/1/2:0/4/3/Z:\\共有\\報告.xml\n"
        "user03/2/2:0/7/9/Z:\\keep\\last.xml";
  }

  std::string settingsFile() const { return dir / "settings/LedTaxBridgeA.env"; }
  std::string reportFile() const { return dir / "out/report.xml"; }

  void ResetFiles() {
    WriteWholeFile(settingsFile(), oldSettings_);
    WriteWholeFile(reportFile(), kOldReport);
  }

  // One whole run of the driver with the real pieces; failAt 0 = no fault.
  RunOutcome RunOnce(platform::FaultInjectionEnv& faults, int failAt) {
    return RunOnce(faults, failAt, reportFile());
  }
  RunOutcome RunOnce(platform::FaultInjectionEnv& faults, int failAt, const std::string& output) {
    ledger::LedgerOptions options;
    options.home = dir / "ledger";
    options.userId = "user01";
    if (const char* home = std::getenv("HOME")) options.process.home = home;
    std::unique_ptr<host::HostLibrary> host = ledger::OpenLedgerHost(options);
    ui::UnattendedOptions fill;
    fill.method = GetParam().mode;
    if (GetParam().mode == 0) fill.months = std::make_pair(4, 3);
    fill.output = output;
    fill.execute = true;
    ScriptedRunSeat seat(fill);
    const Edition& edition = *EditionByLetter('A');
    app::X11ParentWindow parent("");  // never called: no parent on the command line
    app::RealComponents components(*host, faults, seat, edition);
    app::TaxLinkApp app(*host, faults, seat, edition, parent, components);
    faults.FailAt(failAt);
    RunOutcome outcome;
    outcome.exitCode = app.Run("");
    outcome.shown = seat.shown;
    return outcome;
  }

  // Only the file itself in each folder the run writes to (and the
  // settings file's lock file).
  void ExpectNoLeftovers() {
    for (const char* folder : {"settings", "out"}) {
      int entries = 0;
      for (const auto& e : std::filesystem::directory_iterator(dir / folder)) {
        if (e.path().extension() != ".lock") ++entries;
      }
      EXPECT_EQ(entries, 1) << "a temporary file was left in " << folder;
    }
  }

  TempDir dir;
  std::string oldSettings_;
};

bool ShowsFinished(const RunOutcome& r) {
  for (const std::string& s : r.shown) {
    if (Contains(s, kFinishedMessage)) return true;
  }
  return false;
}

TEST_P(FaultInjectionTest, EveryFaultEndsInTheOldOrTheNewFilesAndAnHonestResult) {
  const std::string golden = ReadWholeFile(GoldenDir() + "/" + GetParam().golden);
  ASSERT_FALSE(golden.empty());
  ProgramFolderEnv programEnv(
      platform::Env::Default(),
      platform::UserPathToWindows(platform::DriveTable(), dir / "prog/LedTaxBridgeA"));
  platform::FaultInjectionEnv faults(&programEnv);

  // A run without faults: the new files, and the number of fault points.
  ResetFiles();
  const int before = faults.points();
  const RunOutcome clean = RunOnce(faults, 0);
  const int pointsPerRun = faults.points() - before;
  ASSERT_EQ(clean.exitCode, 0);
  ASSERT_TRUE(ShowsFinished(clean));
  ASSERT_TRUE(ReadWholeFile(reportFile()) == golden) << "the clean run differs from golden";
  const std::string newSettings = ReadWholeFile(settingsFile());
  const std::string newLine = "user01/1/1:" + std::to_string(GetParam().mode) + "/";
  ASSERT_EQ(newSettings.rfind("user02/3/3:1/1/12/Z:\\keep\\theirs.xml\n"
                              "さとう/1/2:0/4/3/Z:\\共有\\報告.xml\n"
                              "user03/2/2:0/7/9/Z:\\keep\\last.xml\n" +
                                  newLine,
                              0),
            0u)
      << newSettings;
  ASSERT_TRUE(newSettings.ends_with("\\out\\report.xml\n")) << newSettings;
  ASSERT_GT(pointsPerRun, 0);

  int exercised = 0;
  std::set<std::string> kinds;
  for (int n = 1;; ++n) {
    SCOPED_TRACE("fault point " + std::to_string(n));
    ResetFiles();
    const RunOutcome r = RunOnce(faults, n);
    const bool injected = faults.injected();
    kinds.insert(faults.injectedKind());
    const std::string report = ReadWholeFile(reportFile());
    const std::string settings = ReadWholeFile(settingsFile());

    EXPECT_TRUE(settings == oldSettings_ || settings == newSettings) << settings;
    ExpectNoLeftovers();
    if (r.exitCode == 0) {
      EXPECT_TRUE(report == golden) << "success claimed for an incomplete report";
      EXPECT_TRUE(ShowsFinished(r));
    } else {
      EXPECT_EQ(r.exitCode, 2);
      EXPECT_FALSE(ShowsFinished(r));
      EXPECT_TRUE(settings == oldSettings_) << "settings remembered for a failed run";
      EXPECT_TRUE(report == kOldReport)
          << "the previous report was touched: " << report.size() << " bytes";
      EXPECT_FALSE(r.shown.empty()) << "a failed run told the user nothing";
      for (const std::string& s : r.shown) EXPECT_TRUE(s.starts_with("消費税|")) << s;
    }
    if (::testing::Test::HasFailure()) break;
    if (!injected) {
      EXPECT_EQ(r.exitCode, 0);
      break;
    }
    ++exercised;
  }
  EXPECT_EQ(exercised, pointsPerRun);
  // The settings file's lock, both temporary files' creation and both
  // renames over the final names are among them.
  for (const char* kind : {"lock", "tempfile", "append", "sync", "close", "rename"}) {
    EXPECT_TRUE(kinds.count(kind)) << kind << " never failed";
  }
  std::cout << GetParam().name << " method: " << exercised << " fault points exercised\n";
}

// Missing output and settings folders: the run creates every level of both
// (after the folder question for the output folder). A failed folder
// creation removes the levels that attempt made; the run then either stops
// at the dialog (output folder, exitCode 1) or finishes without remembering
// its settings (settings folder), and never leaves a partial tree behind.
TEST_P(FaultInjectionTest, FailedFolderCreationLeavesNoPartialTree) {
  const std::string golden = ReadWholeFile(GoldenDir() + "/" + GetParam().golden);
  ASSERT_FALSE(golden.empty());
  const std::filesystem::path fresh = dir / "fresh";
  const std::string output = fresh / "out/deeper/report.xml";
  const std::string settings = fresh / "conf/deep/LedTaxBridgeA.env";
  {
    std::string error;
    auto db = ledger::LedgerDb::Open(dir / "ledger", ledger::LedgerDb::Mode::kReadWrite, &error);
    ASSERT_TRUE(db) << error;
    ASSERT_TRUE(ledger::SetSetting(
        *db, "folder_settings",
        platform::UserPathToWindows(platform::DriveTable(), (fresh / "conf/deep").string()) + "\\",
        &error))
        << error;
  }
  ProgramFolderEnv programEnv(
      platform::Env::Default(),
      platform::UserPathToWindows(platform::DriveTable(), dir / "prog/LedTaxBridgeA"));
  platform::FaultInjectionEnv faults(&programEnv);

  int exercised = 0;
  int folderFaults = 0;
  for (int n = 1;; ++n) {
    SCOPED_TRACE("fault point " + std::to_string(n));
    std::filesystem::remove_all(fresh);
    const RunOutcome r = RunOnce(faults, n, output);
    const bool injected = faults.injected();
    if (r.exitCode == 0) {
      EXPECT_TRUE(ReadWholeFile(output) == golden);
      EXPECT_TRUE(ShowsFinished(r));
      if (std::filesystem::exists(settings)) {
        EXPECT_TRUE(ReadWholeFile(settings).starts_with("user01/1/1:"));
      } else if (!std::filesystem::exists(fresh / "conf/deep")) {
        // The settings folder could not be made: none of its levels stays.
        EXPECT_FALSE(std::filesystem::exists(fresh / "conf")) << "partial settings folder";
        ++folderFaults;
      }
    } else if (r.exitCode == 1) {
      // The output folder could not be made: the dialog said so, and none
      // of the levels it created stays.
      bool told = false;
      for (const std::string& s : r.shown)
        told = told || Contains(s, "フォルダの作成に失敗しました");
      EXPECT_TRUE(told);
      EXPECT_FALSE(std::filesystem::exists(fresh)) << "partial output folder";
      ++folderFaults;
    } else {
      EXPECT_EQ(r.exitCode, 2);
      EXPECT_FALSE(ShowsFinished(r));
      EXPECT_FALSE(std::filesystem::exists(output)) << "an unfinished report appeared";
      EXPECT_FALSE(std::filesystem::exists(settings));
    }
    if (::testing::Test::HasFailure() || !injected) break;
    ++exercised;
  }
  EXPECT_GE(folderFaults, 5) << "three output and two settings folder levels are created";
  std::cout << GetParam().name << " method, missing folders: " << exercised
            << " fault points exercised, " << folderFaults << " of them folder creations\n";
}

INSTANTIATE_TEST_SUITE_P(
    Methods, FaultInjectionTest,
    ::testing::Values(Method{"journal", ui::kJournalAggregation, "sample_journal.xml"},
                      Method{"return", ui::kTaxReturnValues, "sample_return_values.xml"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace ltb::e2e
