#include "app/tax_link_app.h"

#include <cstdio>
#include <functional>
#include <new>
#include <string>

#include "aggregate/overflow_message.h"
#include "app/command_line.h"
#include "app/dataset_info.h"
#include "app/environment_check.h"
#include "host/period_months.h"
#include "platform/cp932.h"
#include "platform/messages.h"
#include "platform/program_folder.h"
#include "ui/cancel_notice.h"
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
    "「第六種事業」は、平成27年4月1日以降に開始する課税期間に適用される事業分類のため、処理できませ"
    "ん。\n\n"
    "%s の以下の機能にて事業分類を見直してください。\n\n"
    "・各種帳簿機能(簡易振替伝票入力等)\n"
    "※入力済みの伝票は、各帳簿画面の置換機能にて一括で変換することができます。";
constexpr const char* kTenPercentMessage =
    "集計範囲に税率「10%」の仕訳があるため、集計できません。\n\n"
    "※消費税率「10%」の仕訳の集計は、今後提供予定の連動コンポーネントにて対応します。";
constexpr const char* kImportCategoryMessage =
    "集計範囲の中に、輸入取引の本体分、国税分、地方税分が未確定の税区分(31,32,33,35,36,37)"
    "を使用している仕訳があります。\n"
    "この仕訳の金額は、消費税申告書には集計されません。";
constexpr const char* kFinishedMessage =
    "消費税情報の出力が終了しました。\n\nアプリケーションを終了します。";

constexpr const char* kOutOfMemoryMessage =
    "メモリが不足したため、処理を中止しました。\n\n消費税情報は出力されません。";

// The passes of the aggregation and the band of the overall bar (in
// thousandths) each one fills.
enum AggregationPass { kTaxReportPass, kOldRatesPass, kPurchasesPass, kFinishingPass };
struct ProgressBand {
  int from, to;
};
constexpr ProgressBand kPassBands[] = {
    {0, 250},     // kTaxReportPass: the tax-report walk
    {250, 500},   // kOldRatesPass: the old-rate sums
    {500, 750},   // kPurchasesPass: corporate and individual purchases
    {750, 1000},  // kFinishingPass: the bar runs full as the report follows
};

constexpr long kLinkRefused = 1;  // ExpSysLink: the ledger refuses the link
constexpr int16_t kPastResultsMarker = 99;
constexpr int kSixthBusinessType = 6;

}  // namespace

TaxLinkApp::TaxLinkApp(host::HostLibrary& host, platform::Env& env, ui::Seat& seat,
                       const Edition& edition, ParentWindow& parent, RunComponents& components)
    : host_(host),
      env_(env),
      seat_(seat),
      edition_(edition),
      parent_(parent),
      components_(components) {
  host_.SetMessageSink(
      [this](host::WindowHandle owner, const char* text, const char* caption, unsigned flags) {
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

bool TaxLinkApp::EndRun(int32_t exitCode) {
  ctx_.exitCode = exitCode;
  return false;
}

bool TaxLinkApp::InitInstance(std::string_view commandLine) {
  if (!ConnectToHost()) return false;
  AttachToParent(commandLine);
  EnterProgramFolder();
  if (!PassEnvironmentCheck() || !GetLinkPermission()) return false;

  host::StDATAINFO data;
  LoadSelectedDataInfo(host_, ctx_, &data);
  const bool returnValuesAvailable = LoadReturnValues(data);

  std::unique_ptr<ConditionsDialog> dialog = components_.NewConditionsDialog(ctx_.parentWnd);
  dialog->SetInput(DialogInput(data, returnValuesAvailable));
  ChosenConditions chosen;
  if (!AskConditions(*dialog, &chosen)) return false;

  // The progress dialog, hidden; it is also the aggregation object.
  std::unique_ptr<ui::ProgressView> view = seat_.CreateProgressView();
  std::unique_ptr<Aggregation> aggregation = components_.NewAggregation(view.get());
  const bool written = chosen.mode == ui::kTaxReturnValues
                           ? RunReturnValuesMethod(data, chosen)
                           : RunJournalMethod(*aggregation, data, chosen);
  if (!written) return false;

  RememberConditions(*dialog, chosen);
  FreeRunBuffers();
  Message(kFinishedMessage, ui::kMbIconInformation);
  return true;
}

// Connection set-up. No connection is an error, not a finished run; the
// host has said why.
bool TaxLinkApp::ConnectToHost() {
  host::ClAccConnect& connect = host_.AccConnect();
  connect.SetCaption(kCaption);
  connect.SetAppType(edition_.appType);
  connect.SetUseDataType(kUseDataType);
  if (connect.Initiate() != host::kOk) return EndRun(kExitError);
  return true;
}

// The command line; a parent that started the run is disabled until
// shut-down and owns the host's message boxes.
void TaxLinkApp::AttachToParent(std::string_view commandLine) {
  if (!ParseCommandLine(commandLine, &ctx_)) return;
  ctx_.launchedByParent = true;
  ctx_.parentWnd = ctx_.parentWindow;
  parent_.Enable(ctx_.parentWindow, false);
  host_.AccConnect().SetOwnerWindow(ctx_.parentWindow);
}

// The program's folder becomes the current folder: the environment check
// and the support information file are read from there.
void TaxLinkApp::EnterProgramFolder() { env_.SetCurrentDir(platform::ProgramFolder(env_)); }

bool TaxLinkApp::PassEnvironmentCheck() {
  if (!CheckEnvironment(env_, host_.AccConnect(), ctx_.parentWindow, true)) {
    return EndRun(kExitError);
  }
  return true;
}

// The ledger's link permission: refused ends the run as cancelled, any
// other answer but go-on as an error, both without a message.
bool TaxLinkApp::GetLinkPermission() {
  const long permission = host_.AccConnect().ExpSysLink();
  if (permission == host::kOk) return true;
  return EndRun(permission == kLinkRefused ? kExitCancelled : kExitError);
}

// Allocates the saved tax-return values and reads them; true when they are
// there and fit the dataset.
bool TaxLinkApp::LoadReturnValues(const host::StDATAINFO& data) {
  ctx_.taxSaveInfo = std::make_unique<host::StSaveTaxInfo>();
  return LoadTaxReturnValues(host_, ctx_, ctx_.taxSaveInfo.get(), data) != 0;
}

// What the conditions dialog shows, in the order the host is asked.
// Building the filing-class and deduction texts sets filingClass,
// mainBusinessType and fractionRounding.
ui::ConditionsInput TaxLinkApp::DialogInput(const host::StDATAINFO& data,
                                            bool returnValuesAvailable) {
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
                ctx_.taxSaveInfo->I32(S::kRangeEndOff), &in.returnStartMonth, &in.returnEndMonth);
  in.returnValuesAvailable = returnValuesAvailable;
  in.pastResultsData = data.PastResultsMarker() == kPastResultsMarker;
  in.companyText = DatasetText(host_, ctx_, kCompanyText, data);
  in.periodText = DatasetText(host_, ctx_, kPeriodText, data);
  in.filingClassText = DatasetText(host_, ctx_, kFilingClassText, data);
  in.deductionLabelText = DatasetText(host_, ctx_, kDeductionLabelText, data);
  in.deductionText = DatasetText(host_, ctx_, kDeductionText, data);
  in.toolTipFilingClass = static_cast<int16_t>(static_cast<int8_t>(ctx_.filingClass));
  return in;
}

// Shows the dialog; after Execute takes the months, the output path and the
// method from it. Cancel (or a dataset the dialog refused) ends the run.
bool TaxLinkApp::AskConditions(ConditionsDialog& dialog, ChosenConditions* chosen) {
  if (dialog.DoModal() == ui::kIdCancelButton) return EndRun(kExitCancelled);
  const ui::ConditionsResult result = dialog.Result();
  chosen->startMonth = result.startMonth;
  chosen->endMonth = result.endMonth;
  chosen->outputPath = std::string(platform::CutOnCharBoundary(result.outputPath, kOutputPathMax));
  chosen->mode = result.aggregationMode;
  return true;
}

// The whole report from the values saved on the tax-return screen.
bool TaxLinkApp::RunReturnValuesMethod(const host::StDATAINFO& data,
                                       const ChosenConditions& chosen) {
  if (!components_.Reports().WriteReturnValuesReport(MakeReportInput(chosen.outputPath), data,
                                                     &ctx_.exitCode)) {
    ctx_.taxSaveInfo.reset();
    return false;
  }
  return true;
}

// The journal entries of the month range: checks, aggregation, report.
bool TaxLinkApp::RunJournalMethod(Aggregation& aggregation, const host::StDATAINFO& data,
                                  const ChosenConditions& chosen) {
  if (!AllocateTotals()) return false;
  SetSearchCondition(aggregation, data, chosen);
  host::StSHOHIZEIINFO settings;
  LoadTaxSettings(host_, ctx_, &settings, data);  // a failure leaves them zeroed
  // The progress dialog and the wait cursor come up before the checks: on a
  // large ledger those take seconds, and the dialog is where the person
  // can stop the run.
  aggregation.Show();
  seat_.SetWaitCursor(true);
  bool checked = false;
  {
    // The first check reads the whole journal in one host call: the host
    // asks the dialog meanwhile, so a stop ends that call within moments.
    host_.SetStopCheck([&aggregation] { return aggregation.Cancelled(); });
    struct Uninstall {
      host::HostLibrary& host;
      ~Uninstall() { host.SetStopCheck(nullptr); }
    } uninstall{host_};
    checked = CheckSixthBusinessType(aggregation, settings, chosen.startMonth) &&
              CheckTenPercentEntries(aggregation) && !StoppedByPerson(aggregation);
  }
  if (!checked) {
    aggregation.Close();
    seat_.SetWaitCursor(false);
    return false;
  }
  NoteImportCategories(aggregation, settings);
  if (!Aggregate(aggregation, data, settings)) return false;
  return WriteJournalReport(data, settings, chosen.outputPath);
}

// The per-rate and business-type records, one set per tax rate of the
// dataset; without the host's tax settings object the run ends silently.
bool TaxLinkApp::AllocateTotals() {
  host::ClSetShohizei* settingsSet = host::TaxSettingsSet(host_.DataMgr());
  if (settingsSet == nullptr) return EndRun(kExitError);
  ctx_.totals.Allocate(static_cast<int16_t>(settingsSet->GetTaxRateCount()));
  return true;
}

// The month-range condition every pass of the aggregation walks.
void TaxLinkApp::SetSearchCondition(Aggregation& aggregation, const host::StDATAINFO& data,
                                    const ChosenConditions& chosen) {
  aggregation.SetFilingClass(ctx_.filingClass);
  aggregation.ClearFindCondition();
  int16_t firstMonth = 0, lastCode = 0;
  host::GetPeriodMonths(host_, data.PeriodStart(), data.PeriodEnd(), &firstMonth, &lastCode);
  BuildFindCondition(aggregation.FindCondition(), data, chosen.startMonth, chosen.endMonth,
                     firstMonth, lastCode);
}

// The sixth business type exists only for periods from April 2015; under
// simplified taxation a range starting earlier that uses it is refused.
bool TaxLinkApp::CheckSixthBusinessType(Aggregation& aggregation,
                                        const host::StSHOHIZEIINFO& settings, int startMonth) {
  int32_t sixthCount = 0;
  const long code = aggregation.CountSixthTypeEntries(kSixthBusinessType, &sixthCount);
  if (code == host::kStoppedByRequest && StoppedByPerson(aggregation)) return false;
  if (host_.MsgMgr().CheckFatalErrorWithMsg(code, -1, 1, 0)) return EndRun(kExitError);
  const long firstDate = FirstDateOfMonth(host_, ctx_, startMonth);
  if (sixthCount > 0 && settings.FilingClass() == host::kSimplifiedTaxation &&
      firstDate < kSixthTypeStartDate) {
    char text[kMessageBuffer];
    std::snprintf(text, sizeof text, kSixthTypeMessage, edition_.productName);
    Message(text, ui::kMbIconWarning | ui::kMbOk);
    return EndRun(kExitCancelled);
  }
  return true;
}

// Entries at the 10% rate cannot be aggregated: the range is refused.
bool TaxLinkApp::CheckTenPercentEntries(Aggregation& aggregation) {
  int32_t tenPercent = 0;
  const long code = aggregation.CheckTenPercentEntries(&tenPercent);
  if (code == host::kStoppedByRequest && StoppedByPerson(aggregation)) return false;
  if (host_.MsgMgr().CheckFatalErrorWithMsg(code, -1, 1, 0)) return EndRun(kExitError);
  if (tenPercent != 0) {
    Message(kTenPercentMessage, ui::kMbIconWarning | ui::kMbOk);
    return EndRun(kExitCancelled);
  }
  return true;
}

// Provisional import categories under principle taxation: a note only.
void TaxLinkApp::NoteImportCategories(Aggregation& aggregation,
                                      const host::StSHOHIZEIINFO& settings) {
  if (settings.FilingClass() > host::kSimplifiedTaxation &&
      aggregation.HasImportCategoryEntries()) {
    Message(kImportCategoryMessage, ui::kMbIconInformation | ui::kMbOk);
  }
}

// The person stopped the run in the progress dialog: it ends as a cancel of
// the conditions dialog does, with nothing written or remembered.
bool TaxLinkApp::StoppedByPerson(Aggregation& aggregation) {
  if (!aggregation.Cancelled()) return false;
  aggregation.Close();
  seat_.SetWaitCursor(false);
  Message(ui::kCancelNotice, ui::kMbOk | ui::kMbIconInformation);
  EndRun(kExitCancelled);
  return true;
}

// The passes of the aggregation, each in its band of the overall bar; the
// person may stop the run between any two (a pass also ends early then).
// The wait cursor stays on until the report file is finished.
bool TaxLinkApp::Aggregate(Aggregation& aggregation, const host::StDATAINFO& data,
                           const host::StSHOHIZEIINFO& settings) {
  aggregation.ResetOverallBar();
  auto advance = [&](AggregationPass pass) {
    aggregation.AdvanceBand(kPassBands[pass].from, kPassBands[pass].to);
  };
  const std::function<void()> passes[] = {
      [&] { advance(kTaxReportPass); },
      [&] { aggregation.CollectTaxReport(ctx_.totals); },
      [&] { advance(kOldRatesPass); },
      [&] { aggregation.SumOldRates(&ctx_.totals.OldRateSum3, settings); },
      [&] { advance(kPurchasesPass); },
      [&] { aggregation.SumCorporatePurchases(ctx_.totals, data, settings); },
      [&] { aggregation.SumIndividualPurchases(ctx_.totals, data, settings); },
      [&] { advance(kFinishingPass); },
  };
  for (const auto& pass : passes) {
    pass();
    if (StoppedByPerson(aggregation)) return false;
  }
  aggregation.Close();
  if (aggregation.Overflowed()) {
    // Sums that no longer fit would be written as wrong figures.
    seat_.SetWaitCursor(false);
    Message(aggregate::kAmountOverflowMessage, ui::kMbIconWarning | ui::kMbOk);
    return EndRun(kExitError);
  }
  seat_.SetWaitCursor(true);
  return true;
}

// The report file; false when the person declined to go on after a
// section failed.
bool TaxLinkApp::WriteJournalReport(const host::StDATAINFO& data,
                                    const host::StSHOHIZEIINFO& settings,
                                    const std::string& outputPath) {
  const bool written = components_.Reports().WriteJournalReport(MakeReportInput(outputPath), data,
                                                                settings, &ctx_.exitCode);
  seat_.SetWaitCursor(false);
  return written;
}

// Remembers the conditions for the next run; a parent's fixed path is not
// remembered, the path remembered before is kept instead.
void TaxLinkApp::RememberConditions(ConditionsDialog& dialog, const ChosenConditions& chosen) {
  dialog.SaveRememberedSettings(chosen.startMonth, chosen.endMonth,
                                ctx_.launchedByParent ? nullptr : chosen.outputPath.c_str(),
                                chosen.mode);
}

void TaxLinkApp::FreeRunBuffers() {
  ctx_.totals.Free();
  ctx_.taxSaveInfo.reset();
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
    FreeRunBuffers();
    ctx_.exitCode = kExitError;
    try {
      Message(kOutOfMemoryMessage, ui::kMbIconWarning | ui::kMbOk);
    } catch (const std::bad_alloc&) {
      std::fprintf(stderr, "%s\n",
                   platform::Tr("There is not enough memory. Close other programs and run again."));
    }
  }
  ExitInstance();
  return ctx_.exitCode;
}

}  // namespace ltb::app
