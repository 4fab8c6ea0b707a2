#include "app/tax_link_app.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "app/command_line.h"
#include "app/dataset_info.h"
#include "app/environment_check.h"
#include "aggregate/overflow_message.h"
#include "platform/cp932.h"
#include "platform/program_folder.h"
#include "ui/message_box.h"

namespace ltb::app {
namespace {

constexpr const char* kCaption = "消費税";
constexpr int kUseDataType = 3;
constexpr size_t kOutputPathMax = 260;
constexpr int32_t kSixthTypeStartDate = 20150401;
constexpr size_t kMessageBuffer = 1024;

constexpr const char* kSixthTypeMessage =
    "集計範囲に事業分類「第六種事業」の仕訳が存在します。\n"
    "「第六種事業」は、平成27年4月1日以降に開始する課税期間に適用される事業分類のため、処理できません。\n\n"
    "%s の以下の機能にて事業分類を見直してください。\n\n"
    "・各種帳簿機能(簡易振替伝票入力等)\n"
    "※入力済みの伝票は、各帳簿画面の置換機能にて一括で変換することができます。";
constexpr const char* kTenPercentMessage =
    "集計範囲に税率「10%」の仕訳があるため、集計できません。\n\n"
    "※消費税率「10%」の仕訳の集計は、今後提供予定の連動コンポーネントにて対応します。";
constexpr const char* kImportCategoryMessage =
    "集計範囲の中に、輸入取引の本体分、国税分、地方税分が未確定の税区分(31,32,33,35,36,37)を使用している仕訳があります。\n"
    "この仕訳の金額は、消費税申告書には集計されません。";
constexpr const char* kFinishedMessage =
    "消費税情報の出力が終了しました。\n\nアプリケーションを終了します。";

constexpr const char* kOutOfMemoryMessage =
    "メモリが不足したため、処理を中止しました。\n\n消費税情報は出力されません。";

constexpr uint8_t kSimplified = 1;      // filing class of simplified taxation
constexpr long kLinkRefused = 1;        // ExpSysLink: the ledger refuses the link
constexpr int16_t kPastResultsMarker = 99;
constexpr int kSixthBusinessType = 6;

}  // namespace

TaxLinkApp::TaxLinkApp(host::HostLibrary& host, platform::Env& env, ui::Seat& seat,
                       const Edition& edition, ParentWindow& parent,
                       RunComponents& components)
    : host_(host), env_(env), seat_(seat), edition_(edition), parent_(parent),
      components_(components) {
  host_.SetMessageSink([this](host::WindowHandle owner, const char* text,
                              const char* caption, unsigned flags) {
    return seat_.MessageBox(owner, text ? text : "", caption ? caption : "", flags);
  });
}

TaxLinkApp::~TaxLinkApp() { host_.SetMessageSink(nullptr); }

int TaxLinkApp::Message(std::string_view text, unsigned flags) {
  return seat_.MessageBox(0, text, kCaption, flags);
}

ReportInput TaxLinkApp::MakeReportInput(const std::string& outputPath) const {
  ReportInput in;
  in.owner = 0;
  in.outputPath = outputPath;
  in.notifyWParam = ctx_.notifyWParam;
  in.filingClass = ctx_.filingClass;
  in.fractionRounding = ctx_.fractionRounding;
  in.taxSaveInfo = ctx_.taxSaveInfo.get();
  in.totals = &ctx_.totals;
  return in;
}

bool TaxLinkApp::InitInstance(std::string_view commandLine) {
  host::ClAccConnect& connect = host_.AccConnect();

  // Connection.
  connect.SetCaption(kCaption);
  connect.SetAppType(edition_.appType);
  connect.SetUseDataType(kUseDataType);
  if (connect.Initiate() != host::kOk) {
    // No connection is an error, not a finished run; the host has said why.
    ctx_.exitCode = kExitError;
    return false;
  }

  // Command line and parent.
  if (ParseCommandLine(commandLine, &ctx_)) {
    ctx_.launchedByParent = true;
    ctx_.parentWnd = ctx_.parentWindow;
    parent_.Enable(ctx_.parentWindow, false);
    connect.SetOwnerWindow(ctx_.parentWindow);
  }

  // Working folder: the program's own.
  env_.SetCurrentDir(platform::ProgramFolder(env_));

  // Environment.
  if (!CheckEnvironment(env_, connect, ctx_.parentWindow, true)) {
    ctx_.exitCode = kExitError;
    return false;
  }

  // Link permission.
  const long permission = connect.ExpSysLink();
  if (permission != host::kOk) {
    ctx_.exitCode = permission == kLinkRefused ? kExitCancelled : kExitError;
    return false;
  }

  // Dataset and saved tax-return values.
  host::StDATAINFO data;
  LoadSelectedDataInfo(host_, ctx_, &data);
  ctx_.taxSaveInfo = std::make_unique<host::StSaveTaxInfo>();
  const bool returnValuesAvailable =
      LoadTaxReturnValues(host_, ctx_, ctx_.taxSaveInfo.get(), data) != 0;

  // Conditions dialog set-up.
  std::unique_ptr<ConditionsDialog> dialog = components_.NewConditionsDialog(ctx_.parentWnd);
  ui::ConditionsInput in;
  if (host::ClSysUser* user = host_.DataMgr().GetSysUserObject()) {
    user->GetCurUserID(in.userId);
    in.userId[sizeof in.userId - 1] = '\0';
    user->GetSelectedNo(in.userId, &in.selectedNo1, &in.selectedNo2);
  }
  if (ctx_.launchedByParent) in.fixedOutputPath = ctx_.parentOutputPath;
  in.periodStartDate = data.PeriodStart();
  in.periodEndDate = data.PeriodEnd();
  using S = host::StSaveTaxInfo;
  MonthsOfDates(host_, ctx_, ctx_.taxSaveInfo->I32(S::kRangeStartOff),
                ctx_.taxSaveInfo->I32(S::kRangeEndOff), &in.returnStartMonth,
                &in.returnEndMonth);
  in.returnValuesAvailable = returnValuesAvailable;
  in.pastResultsData = data.PastResultsMarker() == kPastResultsMarker;
  in.companyText = DatasetText(host_, ctx_, kCompanyText, data);
  in.periodText = DatasetText(host_, ctx_, kPeriodText, data);
  in.filingClassText = DatasetText(host_, ctx_, kFilingClassText, data);
  in.deductionLabelText = DatasetText(host_, ctx_, kDeductionLabelText, data);
  in.deductionText = DatasetText(host_, ctx_, kDeductionText, data);
  in.toolTipFilingClass = static_cast<int16_t>(static_cast<int8_t>(ctx_.filingClass));
  dialog->SetInput(in);

  // The dialog and its choices.
  if (dialog->DoModal() == kDialogCancel) {
    ctx_.exitCode = kExitCancelled;
    return false;
  }
  const ui::ConditionsResult chosen = dialog->Result();
  const int startMonth = static_cast<int>(LeadingLong(chosen.startMonthText));
  const int endMonth = static_cast<int>(LeadingLong(chosen.endMonthText));
  const std::string outputPath(platform::CutOnCharBoundary(chosen.outputPath, kOutputPathMax));
  const ui::AggregationMode mode = chosen.aggregationMode;

  // The progress dialog, hidden; it is also the aggregation object.
  std::unique_ptr<ui::ProgressView> view = seat_.CreateProgressView();
  std::unique_ptr<Aggregation> aggregation = components_.NewAggregation(view.get());

  if (mode == ui::kTaxReturnValues) {
    // The report from the tax-return values.
    if (!components_.Reports().WriteReturnValuesReport(MakeReportInput(outputPath), data,
                                                       &ctx_.exitCode)) {
      ctx_.taxSaveInfo.reset();
      return false;
    }
  } else if (!RunJournalMethod(*aggregation, data, startMonth, endMonth, outputPath)) {
    return false;
  }

  // Remember the conditions; a parent's fixed path is not remembered.
  dialog->SaveRememberedSettings(static_cast<int16_t>(startMonth),
                                 static_cast<int16_t>(endMonth),
                                 ctx_.launchedByParent ? nullptr : outputPath.c_str(),
                                 mode);
  // Free the run's buffers.
  ctx_.totals.Free();
  ctx_.taxSaveInfo.reset();
  // Tell the person the run is over.
  Message(kFinishedMessage, ui::kMbIconInformation);
  return true;
}

bool TaxLinkApp::RunJournalMethod(Aggregation& aggregation, const host::StDATAINFO& data,
                                  int startMonth, int endMonth,
                                  const std::string& outputPath) {
  // Tax settings object and the per-rate records.
  host::ClSetShohizei* settingsSet = host::TaxSettingsSet(host_.DataMgr());
  if (settingsSet == nullptr) {
    ctx_.exitCode = kExitError;
    return false;
  }
  ctx_.totals.Allocate(static_cast<int16_t>(settingsSet->GetTaxRateCount()));

  // The month-range condition.
  aggregation.SetFilingClass(ctx_.filingClass);
  aggregation.ClearFindCondition();
  int16_t firstMonth = 0, lastCode = 0;
  components_.PeriodMonths(data.PeriodStart(), data.PeriodEnd(), &firstMonth, &lastCode);
  BuildFindCondition(aggregation.FindCondition(), data, startMonth, endMonth, firstMonth,
                     lastCode);

  // Settings.
  host::StSHOHIZEIINFO settings;
  LoadTaxSettings(host_, ctx_, &settings, data);

  // Sixth business type under simplified taxation before April 2015.
  int32_t sixthCount = 0;
  long code = aggregation.CountSixthTypeEntries(kSixthBusinessType, &sixthCount);
  if (host_.MsgMgr().CheckFatalErrorWithMsg(code, -1, 1, 0)) {
    ctx_.exitCode = kExitError;
    return false;
  }
  const long firstDate = FirstDateOfMonth(host_, ctx_, startMonth);
  if (sixthCount > 0 && settings.FilingClass() == kSimplified &&
      firstDate < kSixthTypeStartDate) {
    char text[kMessageBuffer];
    std::snprintf(text, sizeof text, kSixthTypeMessage, edition_.productName);
    Message(text, ui::kMbIconWarning | ui::kMbOk);
    ctx_.exitCode = kExitCancelled;
    return false;
  }

  // Entries at 10%.
  int32_t tenPercent = 0;
  code = aggregation.CheckTenPercentEntries(&tenPercent);
  if (host_.MsgMgr().CheckFatalErrorWithMsg(code, -1, 1, 0)) {
    ctx_.exitCode = kExitError;
    return false;
  }
  if (tenPercent != 0) {
    Message(kTenPercentMessage, ui::kMbIconWarning | ui::kMbOk);
    ctx_.exitCode = kExitCancelled;
    return false;
  }

  // Provisional import categories: a note only.
  if (settings.FilingClass() > kSimplified && aggregation.HasImportCategoryEntries()) {
    Message(kImportCategoryMessage, ui::kMbIconInformation | ui::kMbOk);
  }

  // Aggregation.
  aggregation.Show();
  seat_.SetWaitCursor(true);
  aggregation.ResetOverallBar();
  aggregation.AdvanceBand(0, 250);
  aggregation.CollectTaxReport(ctx_.totals);
  aggregation.AdvanceBand(250, 500);
  aggregation.SumOldRates(&ctx_.totals.OldRateSum3, settings);
  aggregation.AdvanceBand(500, 750);
  aggregation.SumCorporatePurchases(ctx_.totals, data, settings);
  aggregation.SumIndividualPurchases(ctx_.totals, data, settings);
  aggregation.AdvanceBand(750, 1000);
  aggregation.Close();
  if (aggregation.Overflowed()) {
    // Sums that no longer fit would be written as wrong figures.
    seat_.SetWaitCursor(false);
    Message(kAmountOverflowMessage, ui::kMbIconWarning | ui::kMbOk);
    ctx_.exitCode = kExitError;
    return false;
  }
  seat_.SetWaitCursor(true);

  // The report file.
  const bool written = components_.Reports().WriteJournalReport(
      MakeReportInput(outputPath), data, settings, &ctx_.exitCode);
  seat_.SetWaitCursor(false);
  return written;
}

void TaxLinkApp::ExitInstance() {
  host::ClAccConnect& connect = host_.AccConnect();
  connect.LogOut();
  connect.Terminate();
  connect.Release();
  if (ctx_.launchedByParent) {
    parent_.SetForeground(ctx_.parentWindow);
    parent_.Enable(ctx_.parentWindow, true);
    parent_.Post(ctx_.parentWindow, ctx_.notifyMessage, ctx_.notifyWParam, ctx_.exitCode);
    parent_.Enable(ctx_.parentWindow, true);
  }
}

int TaxLinkApp::Run(std::string_view commandLine) {
  try {
    InitInstance(commandLine);
  } catch (const std::bad_alloc&) {
    // Unwinding removed any half-written file; nothing was remembered.
    ctx_.totals.Free();
    ctx_.taxSaveInfo.reset();
    ctx_.exitCode = kExitError;
    try {
      Message(kOutOfMemoryMessage, ui::kMbIconWarning | ui::kMbOk);
    } catch (const std::bad_alloc&) {
      std::fputs("out of memory\n", stderr);
    }
  }
  ExitInstance();
  return ctx_.exitCode;
}

}  // namespace ltb::app
