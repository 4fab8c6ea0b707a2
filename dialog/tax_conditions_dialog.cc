#include "dialog/tax_conditions_dialog.h"

#include "dialog/decimal_text.h"
#include "dialog/month_range.h"
#include "dialog/output_checks.h"
#include "dialog/remembered_settings.h"
#include "platform/cp932.h"
#include "platform/win_path.h"
#include "resources/conditions_dialog_template.h"
#include "ui/cancel_notice.h"
#include "ui/message_box.h"

namespace ltb::dialog {
namespace {

constexpr const char* kCaption = "消費税";
constexpr const char* kRefusePastResults = "過去実績データは、連携の対象として使用できません。";
constexpr const char* kRefuseTaxExempt =
    "消費税申告区分が免税のデータは、連携の対象として使用できません。";
constexpr const char* kRefuseTail = "\n\nアプリケーションを終了します。";
using ui::kCancelNotice;

constexpr const char* kBadPeriod =
    "集計期間に誤りがあります。\n\n集計期間を設定しなおしてください。";
constexpr const char* kNoOutputPath =
    "データ出力先が指定されていません。\n\n出力先を指定してください。";
constexpr const char* kBadPathChars =
    "データの出力先に不正な文字が含まれています。\n\n出力先を再入力してください。";
constexpr const char* kBadDrive =
    "ドライブ名が有効でありません。\n\n有効なドライブを指定してください。";
constexpr const char* kNoFileName = "ファイル名が指定されていません。";
constexpr const char* kAskCreateFolder =
    "指定されたフォルダは存在しません。\n\n作成してもよろしいですか？";
constexpr const char* kFolderNotCreated =
    "フォルダの作成に失敗しました。\n\n出力先を再入力してください。";
constexpr const char* kAskOverwrite =
    "同名のファイルが存在します。\n\n上書きしてもよろしいですか？";

// The filing class that offers the tax-return method's help tip.

constexpr unsigned kWarningOk = ui::kMbOk | ui::kMbIconWarning;
constexpr unsigned kQuestionYesNo = ui::kMbYesNo | ui::kMbIconQuestion;

constexpr const char* kHelpText =
    "連動元製品にて入力・保存した消費税申告書の情報を使用します。\n"
    "仕訳から集計できない以下の金額を連動元製品にて入力済みの場合、\n"
    "こちらを選択することで連動できます。\n\n"
    "・特定課税仕入れ\n"
    "・納税義務の免除を受けない(受ける)こととなった場合における消費税の調整額\n"
    "・課税売上割合変動時調整対象固定資産に係る消費税額の調整額\n"
    "・調整対象固定資産を課税業務用に転用した場合の調整額\n\n"
    "※選択データにて[消費税申告書作成]を起動したことがない場合は選択できません。";

}  // namespace

TaxConditionsDialog::TaxConditionsDialog(host::HostLibrary& host, platform::Env& env,
                                         ui::Seat& seat, const Edition& edition,
                                         host::WindowHandle owner)
    : host_(host),
      env_(env),
      seat_(seat),
      edition_(edition),
      owner_(owner),
      toolTipMgr_(host.NewToolTipMgr()) {
  // Every control of the template, with its template text, enabled.
  const resources::DialogTemplate& t = resources::ConditionsDialogTemplate();
  for (size_t i = 0; i < t.controlCount; ++i) {
    const resources::ControlTemplate& c = t.controls[i];
    if (c.id == resources::kNoControlId) continue;
    controls_[c.id].text = c.text;
    controls_[c.id].enabled = (c.style & resources::kStyleDisabled) == 0;
  }
}

TaxConditionsDialog::~TaxConditionsDialog() = default;

int TaxConditionsDialog::DoModal() { return seat_.RunModal(*this); }

std::string TaxConditionsDialog::Caption() const {
  return resources::ConditionsDialogTemplate().caption;
}

void TaxConditionsDialog::OnInitDialog() {
  PushFields();

  if (input.pastResultsData || (input.deductionLabelText.empty() && input.deductionText.empty())) {
    std::string text = input.pastResultsData ? kRefusePastResults : kRefuseTaxExempt;
    text += kRefuseTail;
    Message(text.c_str(), kWarningOk);
    End(ui::kIdCancelButton);  // the remaining steps still run; the dialog never becomes usable
  }

  // Remembered settings, else the whole accounting period.
  int16_t firstMonth = 0, lastCode = 0;
  host::GetPeriodMonths(host_, input.periodStartDate, input.periodEndDate, &firstMonth, &lastCode);
  rememberedOutputPath_.clear();
  RememberedRecord record;
  const std::string key = SettingsKey(input.userId, input.selectedNo1, input.selectedNo2);
  const std::string folder = SettingsFolder();
  ui::AggregationMode mode = ui::kJournalAggregation;
  std::string path;
  int16_t start = firstMonth, end = static_cast<int16_t>(lastCode % 100);
  if (!folder.empty() && LoadRememberedRecord(env_, folder + edition_.settingsFile, key, &record)) {
    rememberedOutputPath_ = record.outputPath;
    path = record.outputPath;
    // Any stored digit but the tax-return method's means journal aggregation.
    mode = record.mode == ui::kTaxReturnValues ? ui::kTaxReturnValues : ui::kJournalAggregation;
    if (mode != ui::kTaxReturnValues) {
      start = record.startMonth;
      end = record.endMonth;
    }
  }
  journalStartMonth_ = start;
  journalEndMonth_ = end;

  if (!input.returnValuesAvailable) {
    mode = ui::kJournalAggregation;
    Enable(kIdJournalMethod, false);
    Enable(kIdReturnMethod, false);
  }
  if (path.empty()) path = DefaultOutputPath();

  if (!input.fixedOutputPath.empty()) {
    outputPath = input.fixedOutputPath;
    Enable(kIdBrowse, false);
    Enable(kIdOutputPath, false);
    controls_[kIdOutputGroup].text = "出力先";
    outputFixed_ = true;
  } else {
    outputPath = path;
    outputFixed_ = false;
  }

  if (mode == ui::kTaxReturnValues) {
    SetMonthFields(input.returnStartMonth, input.returnEndMonth);
    SetChecked(kIdReturnMethod);
    Focus(kIdReturnMethod, false);
    aggregationMode = ui::kTaxReturnValues;
    Enable(kIdStartMonth, false);
    Enable(kIdEndMonth, false);
  } else {
    SetMonthFields(journalStartMonth_, journalEndMonth_);
    SetChecked(kIdJournalMethod);
    // With the radio buttons disabled the first enabled field takes the
    // focus as the platform's dialogs give it: with its whole text selected.
    if (IsEnabled(kIdJournalMethod)) {
      Focus(kIdJournalMethod, false);
    } else {
      Focus(kIdStartMonth, true);
    }
    aggregationMode = ui::kJournalAggregation;
  }

  if (input.toolTipFilingClass == host::kPrincipleTaxation && toolTipMgr_) {
    static const host::TOOLTIPMSG_TABLE kHelpTable[] = {{kIdHelpIcon, kHelpText, 1}};
    toolTipMgr_->Init(this, kHelpTable, 1);
  }
  PushFields();
}

std::string TaxConditionsDialog::DefaultOutputPath() {
  std::string folder = host_.FileMgr().GetAppFolderPath(host::kFolderOutput);
  if (folder.empty()) {
    folder = std::string(platform::CutOnCharBoundary(env_.TempPath(), kPathCapacity - 1));
    if (!folder.empty()) AppendBackslash(&folder, kPathCapacity);
  }
  return folder + "*.xml";
}

std::string TaxConditionsDialog::SettingsFolder() const {
  return host_.FileMgr().GetAppFolderPath(host::kFolderSettings);
}

ui::ControlState TaxConditionsDialog::State(int controlId) const {
  auto it = controls_.find(controlId);
  return it == controls_.end() ? ui::ControlState{} : it->second;
}

void TaxConditionsDialog::OnTextChanged(int controlId, const std::string& text) {
  if (ended_) return;
  if (controlId != kIdStartMonth && controlId != kIdEndMonth && controlId != kIdOutputPath) {
    return;
  }
  if (!IsEnabled(controlId)) return;
  const size_t limit = controlId == kIdOutputPath ? kOutputFieldLimit : kMonthFieldLimit;
  controls_[controlId].text = std::string(platform::CutOnCharBoundary(text, limit));
}

void TaxConditionsDialog::OnClick(int controlId) {
  if (ended_ || !IsEnabled(controlId)) return;
  switch (controlId) {
    case kIdJournalMethod:
      SetChecked(kIdJournalMethod);
      PullFields();
      if (controls_[kIdJournalMethod].checked) {
        aggregationMode = ui::kJournalAggregation;
        SetMonthFields(journalStartMonth_, journalEndMonth_);
        Enable(kIdStartMonth, true);
        Enable(kIdEndMonth, true);
        PushFields();
      }
      Focus(kIdJournalMethod, false);
      break;
    case kIdReturnMethod:
      SetChecked(kIdReturnMethod);
      PullFields();
      if (controls_[kIdReturnMethod].checked) {
        aggregationMode = ui::kTaxReturnValues;
        SetMonthFields(input.returnStartMonth, input.returnEndMonth);
        Enable(kIdStartMonth, false);
        Enable(kIdEndMonth, false);
        PushFields();
      }
      Focus(kIdReturnMethod, false);
      break;
    case ui::kIdExecuteButton: ExecuteConditions(); break;
    case kIdBrowse: BrowseOutputFile(); break;
    case ui::kIdCancelButton: OnCancel(); break;
    default: break;
  }
}

bool TaxConditionsDialog::OnKeyDown(ui::Key key, int focusId) {
  if (ended_) return false;
  switch (key) {
    case ui::Key::kF12: ExecuteConditions(); return true;
    case ui::Key::kEscape: OnCancel(); return true;
    case ui::Key::kEnter: break;
    default: return false;
  }
  switch (focusId) {
    case kIdStartMonth: Focus(kIdEndMonth, true); return true;
    case kIdEndMonth:
      if (IsEnabled(kIdBrowse)) {
        Focus(kIdOutputPath, true);
      } else {
        Focus(ui::kIdExecuteButton, false);
      }
      return true;
    case kIdOutputPath:
      Focus(IsEnabled(kIdBrowse) ? kIdBrowse : ui::kIdExecuteButton, false);
      return true;
    case kIdBrowse: BrowseOutputFile(); return true;
    case ui::kIdExecuteButton: ExecuteConditions(); return true;
    default:
      // Enter elsewhere closes nothing: there is no default button, and an
      // OK command would skip the checks of Execute.
      return false;
  }
}

void TaxConditionsDialog::OnCancel() {
  if (ended_) return;
  Message(kCancelNotice, ui::kMbOk | ui::kMbIconInformation);
  End(ui::kIdCancelButton);
}

bool TaxConditionsDialog::Ended(int* code) const {
  if (ended_ && code) *code = endCode_;
  return ended_;
}

void TaxConditionsDialog::AddToolTip(uint32_t controlId, const char* text) {
  controls_[static_cast<int>(controlId)].tooltip = text ? text : "";
}

void TaxConditionsDialog::ExecuteConditions() {
  if (ended_) return;
  PullFields();
  const int16_t start = LeadingDecimal16(startMonthText);
  const int16_t end = LeadingDecimal16(endMonthText);
  int16_t firstMonth = 0, lastCode = 0;
  host::GetPeriodMonths(host_, input.periodStartDate, input.periodEndDate, &firstMonth, &lastCode);
  switch (CheckMonthRange(start, end, firstMonth, lastCode)) {
    case MonthRangeFault::kNone: break;
    case MonthRangeFault::kStartMonth:
      Message(kBadPeriod, kWarningOk);
      Focus(kIdStartMonth, true);
      return;
    case MonthRangeFault::kEndMonth:
      Message(kBadPeriod, kWarningOk);
      Focus(kIdEndMonth, true);
      return;
  }
  // The months leave the dialog as numbers, checked here once.
  startMonth_ = start;
  endMonth_ = end;
  auto refuse = [this](const char* text) {
    Message(text, kWarningOk);
    Focus(kIdOutputPath, true);
  };
  if (outputPath.empty()) return refuse(kNoOutputPath);
  if (HasInvalidPathChars(outputPath)) return refuse(kBadPathChars);
  if (!IsUsableDrive(env_, outputPath)) return refuse(kBadDrive);
  if (TrailingFileName(outputPath).empty()) return refuse(kNoFileName);

  const std::string folder = LeadingFolder(outputPath);
  if (!folder.empty() && !env_.FileExists(folder)) {
    if (Message(kAskCreateFolder, kQuestionYesNo) != ui::kIdYes) {
      Focus(kIdOutputPath, true);
      return;
    }
    if (!CreateFolderTree(env_, folder)) return refuse(kFolderNotCreated);
  }
  if (!outputFixed_ && env_.FileExists(outputPath)) {
    if (env_.IsDirectory(outputPath)) return refuse(kNoFileName);
    if (Message(kAskOverwrite, kQuestionYesNo) != ui::kIdYes) {
      Focus(kIdOutputPath, true);
      return;
    }
  }
  End(ui::kIdExecuteButton);
}

void TaxConditionsDialog::BrowseOutputFile() {
  if (ended_) return;
  PullFields();
  std::string folder = LeadingFolder(outputPath);
  std::string name;
  if (!folder.empty()) {
    name = TrailingFileName(outputPath);
  } else {
    const size_t colon = platform::FindLastChar(outputPath, ':');
    if (colon == std::string::npos) {
      name = outputPath;
    } else {
      folder = outputPath.substr(0, colon + 1);
      name = outputPath.substr(colon + 1);
    }
  }
  ui::SaveFileRequest request;
  request.title = "保存ファイルを指定";
  request.filter = "Xml Files (*.xml)|*.xml||";
  request.defaultExt = "XML";
  request.initialName = name;
  request.initialFolder = folder;
  request.flags = 0x180C;
  std::string chosen;
  if (seat_.PickSaveFile(request, &chosen)) {
    outputPath = std::string(platform::CutOnCharBoundary(chosen, kOutputFieldLimit));
    PushFields();
  }
  Focus(ui::kIdExecuteButton, false);
}

bool TaxConditionsDialog::SaveRememberedSettings(int16_t startMonth, int16_t endMonth,
                                                 const char* outputPathOrNull,
                                                 ui::AggregationMode mode) {
  const std::string key = SettingsKey(input.userId, input.selectedNo1, input.selectedNo2);
  const std::string path = outputPathOrNull ? outputPathOrNull : rememberedOutputPath_;
  const std::string line = SettingsLine(key, mode, startMonth, endMonth, path);
  return StoreRememberedRecord(env_, SettingsFolder(), edition_.settingsFile, key, line).ok();
}

ui::ConditionsResult TaxConditionsDialog::Result() const {
  return {startMonth_, endMonth_, outputPath, aggregationMode};
}

void TaxConditionsDialog::PullFields() {
  startMonthText = controls_[kIdStartMonth].text;
  endMonthText = controls_[kIdEndMonth].text;
  outputPath = controls_[kIdOutputPath].text;
  if (!outputPath.empty() && outputPath[0] == '/') {
    // A POSIX absolute path is taken in its Z: form before any check.
    outputPath = platform::UserPathToWindows(env_.Drives(), platform::Cp932ToUtf8(outputPath));
    controls_[kIdOutputPath].text = outputPath;
  }
  aggregationMode =
      controls_[kIdReturnMethod].checked ? ui::kTaxReturnValues : ui::kJournalAggregation;
}

void TaxConditionsDialog::PushFields() {
  controls_[kIdCompany].text = input.companyText;
  controls_[kIdPeriod].text = input.periodText;
  controls_[kIdFilingClass].text = input.filingClassText;
  controls_[kIdDeductionLabel].text = input.deductionLabelText;
  controls_[kIdDeduction].text = input.deductionText;
  controls_[kIdStartMonth].text = startMonthText;
  controls_[kIdEndMonth].text = endMonthText;
  controls_[kIdOutputPath].text = outputPath;
  if (aggregationMode == ui::kTaxReturnValues) {
    SetChecked(kIdReturnMethod);
  } else if (aggregationMode == ui::kJournalAggregation) {
    SetChecked(kIdJournalMethod);
  }
}

void TaxConditionsDialog::SetMonthFields(int16_t start, int16_t end) {
  startMonthText = std::to_string(start);
  endMonthText = std::to_string(end);
}

void TaxConditionsDialog::Enable(int controlId, bool enabled) {
  controls_[controlId].enabled = enabled;
}

bool TaxConditionsDialog::IsEnabled(int controlId) const {
  auto it = controls_.find(controlId);
  return it != controls_.end() && it->second.enabled;
}

void TaxConditionsDialog::SetChecked(int checkedId) {
  controls_[kIdJournalMethod].checked = checkedId == kIdJournalMethod;
  controls_[kIdReturnMethod].checked = checkedId == kIdReturnMethod;
}

void TaxConditionsDialog::Focus(int controlId, bool selectAll) {
  focusId_ = controlId;
  selectAll_ = selectAll;
}

void TaxConditionsDialog::End(int code) {
  if (ended_) return;
  ended_ = true;
  endCode_ = code;
}

int TaxConditionsDialog::Message(const char* text, unsigned flags) {
  return seat_.MessageBox(owner_, text, kCaption, flags);
}

}  // namespace ltb::dialog
