#include "dialog/tax_conditions_dialog.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>

#include "dialog/testing/temp_drive_env.h"
#include "host/testing/fake_host.h"
#include "ui/message_box.h"

namespace ltb::dialog {
namespace {

using ltb::testing::FakeHost;
using testing::TempDriveEnv;
namespace fs = std::filesystem;

// Records every message box; answers questions from a script (No when the
// script is empty). RunModal only initialises: the tests drive the rest.
class ScriptedSeat : public ui::Seat {
 public:
  int MessageBox(host::WindowHandle, std::string_view text, std::string_view caption,
                 unsigned flags) override {
    messages.emplace_back(text);
    captions.emplace_back(caption);
    if ((flags & ui::kMbButtonMask) != ui::kMbYesNo) return ui::kIdOk;
    if (answers.empty()) return ui::kIdNo;
    const int a = answers.front();
    answers.pop_front();
    return a;
  }
  int RunModal(ui::DialogController& d) override {
    d.OnInitDialog();
    int code = 0;
    d.Ended(&code);
    return code;
  }
  bool PickSaveFile(const ui::SaveFileRequest& r, std::string* chosen) override {
    lastRequest = r;
    if (pick.empty()) return false;
    *chosen = pick;
    return true;
  }
  std::unique_ptr<ui::ProgressView> CreateProgressView() override { return nullptr; }

  std::vector<std::string> messages, captions;
  std::deque<int> answers;
  ui::SaveFileRequest lastRequest;
  std::string pick;
};

const char* const kBadPeriod = "集計期間に誤りがあります。\n\n集計期間を設定しなおしてください。";
const char* const kBadPathChars =
    "データの出力先に不正な文字が含まれています。\n\n出力先を再入力してください。";
const char* const kNoFileName = "ファイル名が指定されていません。";
const char* const kAskOverwrite = "同名のファイルが存在します。\n\n上書きしてもよろしいですか？";

class DialogTest : public ::testing::Test {
 protected:
  DialogTest() {
    host.folders[host::kFolderOutput] = "C:\\out\\";
    host.folders[host::kFolderSettings] = "C:\\settings\\";
  }

  std::unique_ptr<TaxConditionsDialog> Open() {
    auto d = std::make_unique<TaxConditionsDialog>(host, env, seat, *EditionByLetter('A'), 0);
    std::snprintf(d->input.userId, sizeof d->input.userId, "U001");
    d->input.selectedNo1 = 1;
    d->input.selectedNo2 = 3;
    d->input.periodStartDate = 20150401;
    d->input.periodEndDate = 20160331;
    d->input.returnStartMonth = 10;
    d->input.returnEndMonth = 3;
    d->input.returnValuesAvailable = returnValues;
    d->input.companyText = " 株式会社サンプル";
    d->input.periodText = " 2015/04/01～2016/03/31";
    d->input.filingClassText = " 原則課税";
    d->input.deductionLabelText = "課税仕入控除";
    d->input.deductionText = " 個別対応方式";
    d->input.toolTipFilingClass = 2;
    d->input.fixedOutputPath = fixedOutput;
    result = d->DoModal();
    return d;
  }

  void WriteSettings(const std::string& text) {
    fs::create_directories(env.Linux("C:\\settings"));
    std::ofstream(env.Linux("C:\\settings\\LedTaxBridgeA.env"), std::ios::binary) << text;
  }

  FakeHost host;
  TempDriveEnv env;
  ScriptedSeat seat;
  int32_t returnValues = 1;
  std::string fixedOutput;
  int result = 0;
};

TEST_F(DialogTest, FirstRunShowsWholePeriodJournalAndDefaultPath) {
  auto d = Open();
  EXPECT_FALSE(d->Ended(nullptr));
  EXPECT_EQ(d->State(kIdStartMonth).text, "4");
  EXPECT_EQ(d->State(kIdEndMonth).text, "3");
  EXPECT_EQ(d->State(kIdOutputPath).text, "C:\\out\\*.xml");
  EXPECT_TRUE(d->State(kIdJournalMethod).checked);
  EXPECT_FALSE(d->State(kIdReturnMethod).checked);
  EXPECT_EQ(d->FocusId(), kIdJournalMethod);
  EXPECT_EQ(d->State(kIdCompany).text, " 株式会社サンプル");
  EXPECT_EQ(d->State(kIdDeductionLabel).text, "課税仕入控除");
  EXPECT_FALSE(d->State(kIdHelpIcon).tooltip.empty());
  EXPECT_EQ(d->State(kIdOutputGroup).text, "出力先(&O)");
  // Executing the default path is refused by the character check.
  d->OnKeyDown(ui::Key::kF12, d->FocusId());
  ASSERT_EQ(seat.messages.size(), 1u);
  EXPECT_EQ(seat.messages[0], kBadPathChars);
  EXPECT_EQ(seat.captions[0], "消費税");
  EXPECT_EQ(d->FocusId(), kIdOutputPath);
  EXPECT_TRUE(d->SelectAllOnFocus());
  EXPECT_FALSE(d->Ended(nullptr));
}

TEST_F(DialogTest, DefaultPathFallsBackOnTheTemporaryFolder) {
  host.folders[host::kFolderOutput] = "";
  auto d = Open();
  const std::string path = d->State(kIdOutputPath).text;
  EXPECT_EQ(path, env.TempPath() + "*.xml");
}

TEST_F(DialogTest, RefusalsEndTheDialogWithCancel) {
  {
    auto d = TaxConditionsDialog(host, env, seat, *EditionByLetter('A'), 0);
    d.input.pastResultsData = 1;  // also tax-exempt: the past-results message wins
    EXPECT_EQ(d.DoModal(), ui::kIdCancelButton);
  }
  ASSERT_EQ(seat.messages.size(), 1u);
  EXPECT_EQ(seat.messages[0],
            "過去実績データは、連携の対象として使用できません。\n\nアプリケーションを終了します。");
  TaxConditionsDialog exempt(host, env, seat, *EditionByLetter('A'), 0);
  exempt.input.companyText = "x";
  EXPECT_EQ(exempt.DoModal(), ui::kIdCancelButton);
  EXPECT_EQ(seat.messages.back(),
            "消費税申告区分が免税のデータは、連携の対象として使用できません。\n\n"
            "アプリケーションを終了します。");
  EXPECT_EQ(seat.messages.size(), 2u);  // no cancel notice after a refusal
}

TEST_F(DialogTest, NoUsableReturnValuesDisablesBothRadiosEvenForModeOne) {
  WriteSettings("U001/1/3:1/7/8/C:\\r\\a.xml\n");
  returnValues = 0;
  auto d = Open();
  EXPECT_FALSE(d->State(kIdJournalMethod).enabled);
  EXPECT_FALSE(d->State(kIdReturnMethod).enabled);
  EXPECT_TRUE(d->State(kIdJournalMethod).checked);
  EXPECT_TRUE(d->State(kIdStartMonth).enabled);
  EXPECT_EQ(d->State(kIdStartMonth).text, "4");  // mode 1 months are not journal months
  EXPECT_EQ(d->State(kIdEndMonth).text, "3");
  // The focus lands on the first enabled field, its text selected, so
  // typed months replace the shown ones.
  EXPECT_EQ(d->FocusId(), kIdStartMonth);
  EXPECT_TRUE(d->SelectAllOnFocus());
  d->OnClick(kIdReturnMethod);  // disabled: nothing happens
  EXPECT_TRUE(d->State(kIdJournalMethod).checked);
}

TEST_F(DialogTest, ModeOneRecordOpensOnReturnValuesAndSwitchingRestoresStoredMonths) {
  WriteSettings("U001/1/3:1/7/8/C:\\r\\a.xml\n");
  auto d = Open();
  EXPECT_TRUE(d->State(kIdReturnMethod).checked);
  EXPECT_EQ(d->FocusId(), kIdReturnMethod);
  EXPECT_FALSE(d->State(kIdStartMonth).enabled);
  EXPECT_EQ(d->State(kIdStartMonth).text, "10");
  EXPECT_EQ(d->State(kIdOutputPath).text, "C:\\r\\a.xml");
  d->OnClick(kIdJournalMethod);
  EXPECT_TRUE(d->State(kIdStartMonth).enabled);
  EXPECT_EQ(d->State(kIdStartMonth).text, "4");
  EXPECT_EQ(d->State(kIdEndMonth).text, "3");
  // Typed months are not kept across a switch.
  d->OnTextChanged(kIdStartMonth, "6");
  d->OnClick(kIdReturnMethod);
  EXPECT_EQ(d->aggregationMode, 1);
  d->OnClick(kIdJournalMethod);
  EXPECT_EQ(d->State(kIdStartMonth).text, "4");
  EXPECT_EQ(d->aggregationMode, 0);
}

TEST_F(DialogTest, ModeZeroRecordShowsItsMonthsEvenOutsideThePeriod) {
  WriteSettings("XU001/1/3:0/1/1/C:\\wrong.xml\nU001/1/3:0/2/4/C:\\r\\a.xml\n");
  auto d = Open();
  EXPECT_EQ(d->State(kIdStartMonth).text, "2");
  EXPECT_EQ(d->State(kIdOutputPath).text, "C:\\r\\a.xml");
  d->OnClick(ui::kIdExecuteButton);
  ASSERT_EQ(seat.messages.size(), 1u);
  EXPECT_EQ(seat.messages[0], kBadPeriod);
  EXPECT_EQ(d->FocusId(), kIdEndMonth);
}

TEST_F(DialogTest, EnterWalksTheFieldsAndFixedOutputSkipsBrowse) {
  auto d = Open();
  EXPECT_TRUE(d->OnKeyDown(ui::Key::kEnter, kIdStartMonth));
  EXPECT_EQ(d->FocusId(), kIdEndMonth);
  EXPECT_TRUE(d->OnKeyDown(ui::Key::kEnter, kIdEndMonth));
  EXPECT_EQ(d->FocusId(), kIdOutputPath);
  EXPECT_TRUE(d->SelectAllOnFocus());
  EXPECT_TRUE(d->OnKeyDown(ui::Key::kEnter, kIdOutputPath));
  EXPECT_EQ(d->FocusId(), kIdBrowse);
  EXPECT_FALSE(d->OnKeyDown(ui::Key::kEnter, kIdJournalMethod));
  EXPECT_FALSE(d->OnKeyDown(ui::Key::kTab, kIdStartMonth));

  fixedOutput = "C:\\fixed\\out.xml";
  auto f = Open();
  EXPECT_FALSE(f->State(kIdOutputPath).enabled);
  EXPECT_FALSE(f->State(kIdBrowse).enabled);
  EXPECT_EQ(f->State(kIdOutputGroup).text, "出力先");
  EXPECT_EQ(f->outputFixed(), 1);
  f->OnKeyDown(ui::Key::kEnter, kIdEndMonth);
  EXPECT_EQ(f->FocusId(), ui::kIdExecuteButton);
  f->OnKeyDown(ui::Key::kEnter, kIdOutputPath);
  EXPECT_EQ(f->FocusId(), ui::kIdExecuteButton);
}

TEST_F(DialogTest, ExecuteCreatesMissingFoldersAfterYes) {
  auto d = Open();
  d->OnTextChanged(kIdOutputPath, "C:\\a\\b\\tax.xml");
  d->OnKeyDown(ui::Key::kF12, kIdOutputPath);  // M6 answered No
  EXPECT_FALSE(d->Ended(nullptr));
  EXPECT_FALSE(fs::exists(env.Linux("C:\\a")));
  seat.answers = {ui::kIdYes};
  d->OnKeyDown(ui::Key::kF12, kIdOutputPath);
  int code = 0;
  ASSERT_TRUE(d->Ended(&code));
  EXPECT_EQ(code, ui::kIdExecuteButton);
  EXPECT_TRUE(fs::is_directory(env.Linux("C:\\a\\b")));
  EXPECT_EQ(d->outputPath, "C:\\a\\b\\tax.xml");
  EXPECT_EQ(d->startMonthText, "4");
}

TEST_F(DialogTest, ExistingFileAsksBeforeOverwritingAndDirectoryIsNoFile) {
  fs::create_directories(env.Linux("C:\\out\\dir"));
  std::ofstream(env.Linux("C:\\out\\tax.xml")) << "old";
  auto d = Open();
  d->OnTextChanged(kIdOutputPath, "C:\\out\\dir");
  d->OnClick(ui::kIdExecuteButton);
  EXPECT_EQ(seat.messages.back(), kNoFileName);
  d->OnTextChanged(kIdOutputPath, "C:\\out\\tax.xml");
  d->OnClick(ui::kIdExecuteButton);
  EXPECT_EQ(seat.messages.back(), kAskOverwrite);
  EXPECT_FALSE(d->Ended(nullptr));
  seat.answers = {ui::kIdYes};
  d->OnClick(ui::kIdExecuteButton);
  EXPECT_TRUE(d->Ended(nullptr));

  fixedOutput = "C:\\out\\tax.xml";
  seat.messages.clear();
  auto f = Open();
  f->OnClick(ui::kIdExecuteButton);
  EXPECT_TRUE(f->Ended(nullptr));
  EXPECT_TRUE(seat.messages.empty());  // no question with a fixed path
}

TEST_F(DialogTest, BrowseSplitsThePathAndTakesTheChoice) {
  auto d = Open();
  d->OnTextChanged(kIdOutputPath, "report.xml");
  seat.pick = "C:\\picked\\r.xml";
  d->OnKeyDown(ui::Key::kEnter, kIdBrowse);
  EXPECT_EQ(seat.lastRequest.initialName, "report.xml");
  EXPECT_EQ(seat.lastRequest.initialFolder, "");
  EXPECT_EQ(seat.lastRequest.flags, 0x180Cu);
  EXPECT_EQ(d->State(kIdOutputPath).text, "C:\\picked\\r.xml");
  EXPECT_EQ(d->FocusId(), ui::kIdExecuteButton);
  seat.pick.clear();
  d->OnTextChanged(kIdOutputPath, "D:name.xml");
  d->OnClick(kIdBrowse);
  EXPECT_EQ(seat.lastRequest.initialFolder, "D:");
  EXPECT_EQ(seat.lastRequest.initialName, "name.xml");
  EXPECT_EQ(d->State(kIdOutputPath).text, "D:name.xml");
}

TEST_F(DialogTest, CancelShowsTheNoticeOnce) {
  auto d = Open();
  d->OnKeyDown(ui::Key::kEscape, kIdStartMonth);
  d->OnCancel();
  int code = 0;
  ASSERT_TRUE(d->Ended(&code));
  EXPECT_EQ(code, ui::kIdCancelButton);
  ASSERT_EQ(seat.messages.size(), 1u);
  EXPECT_EQ(seat.messages[0], "｢消費税｣の集計を中止します。");
}

TEST_F(DialogTest, SaveRemembersAndFixedRunKeepsTheRememberedPath) {
  WriteSettings("U002/1/3:0/4/3/C:\\other.xml\nU001/1/3:0/5/6/C:\\mine.xml\n");
  fixedOutput = "C:\\fixed.xml";
  auto d = Open();
  ASSERT_TRUE(d->SaveRememberedSettings(4, 3, nullptr, ui::kJournalAggregation));
  std::ifstream f(env.Linux("C:\\settings\\LedTaxBridgeA.env"), std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  EXPECT_EQ(text, "U002/1/3:0/4/3/C:\\other.xml\nU001/1/3:0/4/3/C:\\mine.xml\n");
}

TEST_F(DialogTest, PosixPathIsTakenInItsDriveForm) {
  auto d = Open();
  d->OnTextChanged(kIdOutputPath, "/no-such-dir-ltb/x.xml");
  d->OnClick(ui::kIdExecuteButton);  // M6 answered No, after the path became Z:
  EXPECT_EQ(d->State(kIdOutputPath).text, "Z:\\no-such-dir-ltb\\x.xml");
}

}  // namespace
}  // namespace ltb::dialog
