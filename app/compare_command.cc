#include "app/compare_command.h"

#include <cstring>
#include <vector>

#include "app/parent_window.h"
#include "app/real_components.h"
#include "app/tax_link_app.h"
#include "dialog/month_range.h"
#include "host/period_months.h"
#include "platform/cp932.h"
#include "platform/messages.h"
#include "report/data_section.h"
#include "report/element_labels.h"
#include "report/report_capture.h"
#include "report/report_reader.h"
#include "report/return_data_section.h"

namespace ltb::app {
namespace {

// The amount of an element text; empty is zero. False for other texts.
bool AmountOf(std::string_view text, __int128* amount) {
  const bool negative = !text.empty() && text.front() == '-';
  if (negative) text.remove_prefix(1);
  if (text.size() > 19 || (negative && text.empty())) return false;
  __int128 value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  *amount = negative ? -value : value;
  return true;
}

std::string Decimal(__int128 value) {
  if (value == 0) return "0";
  const bool negative = value < 0;
  std::string digits;
  for (; value != 0; value /= 10) {
    const int digit = static_cast<int>(value % 10);
    digits.insert(digits.begin(), static_cast<char>('0' + (digit < 0 ? -digit : digit)));
  }
  return negative ? "-" + digits : digits;
}

std::string Shown(const std::string& text) {
  return text.empty() ? "0" : WithThousandsSeparators(text);
}

// The conditions dialog of a comparison: no window, the months from the
// options or those of the saved values, always the journal method.
class CompareDialog : public ConditionsDialog {
 public:
  CompareDialog(host::HostLibrary& host, const CompareOptions& options, std::FILE* err)
      : host_(host), options_(options), err_(err) {}

  void SetInput(const ui::ConditionsInput& input) override { input_ = input; }

  int DoModal() override {
    if (!input_.returnValuesAvailable) {
      std::fprintf(err_, "%s\n",
                   platform::Tr("No saved tax-return values fit this dataset (its period, filing "
                                "class and deduction method), so there is nothing to compare. Save "
                                "the tax-return values of this dataset first."));
      return ui::kIdCancelButton;
    }
    start_ =
        options_.months ? static_cast<int16_t>(options_.months->first) : input_.returnStartMonth;
    end_ = options_.months ? static_cast<int16_t>(options_.months->second) : input_.returnEndMonth;
    int16_t firstMonth = 0, lastCode = 0;
    host::GetPeriodMonths(host_, input_.periodStartDate, input_.periodEndDate, &firstMonth,
                          &lastCode);
    if (dialog::CheckMonthRange(start_, end_, firstMonth, lastCode) !=
        dialog::MonthRangeFault::kNone) {
      std::fprintf(err_, "%s\n",
                   platform::Format(platform::Tr("The months %d-%d are not a range of months of "
                                                 "the accounting period. Give --months as the "
                                                 "first and last month of the period, e.g. 4-3."),
                                    start_, end_)
                       .c_str());
      return ui::kIdCancelButton;
    }
    return ui::kIdExecuteButton;
  }

  ui::ConditionsResult Result() const override {
    return {start_, end_, std::string(), ui::kJournalAggregation};
  }

  // A comparison remembers nothing.
  bool SaveRememberedSettings(int16_t, int16_t, const char*, ui::AggregationMode) override {
    return true;
  }

  int start() const { return start_; }
  int end() const { return end_; }

 private:
  host::HostLibrary& host_;
  const CompareOptions& options_;
  std::FILE* err_;
  ui::ConditionsInput input_;
  int16_t start_ = 0, end_ = 0;
};

// The run's real pieces, except that the dialog is CompareDialog and the
// journal report is the comparison, printed instead of written. It ends the
// run right there, so nothing is remembered and no final message is shown.
class CompareComponents : public RealComponents {
 public:
  CompareComponents(host::HostLibrary& host, platform::Env& env, ui::Seat& seat,
                    const Edition& edition, const CompareOptions& options, std::FILE* out,
                    std::FILE* err)
      : RealComponents(host, env, seat, edition),
        host_(host),
        env_(env),
        edition_(edition),
        options_(options),
        out_(out),
        err_(err) {}

  std::unique_ptr<ConditionsDialog> NewConditionsDialog(host::WindowHandle) override {
    auto dialog = std::make_unique<CompareDialog>(host_, options_, err_);
    dialog_ = dialog.get();
    return dialog;
  }

  bool WriteJournalReport(const ReportInput& in, const host::StDATAINFO& data,
                          const host::StSHOHIZEIINFO& settings, int32_t* exitCode) override {
    *exitCode = Compare(in, data, settings);
    return false;
  }

 private:
  int Compare(const ReportInput& in, const host::StDATAINFO& data,
              const host::StSHOHIZEIINFO& settings) {
    if (in.totals == nullptr || in.taxSaveInfo == nullptr) return kExitError;
    const report::ReportContext ctx = ToReportContext(host_, env_, edition_, in);
    // The same sections from figures that are all non-zero: where they stay
    // empty, the method never fills the element for this dataset.
    aggregate::TaxTotals everything = *in.totals;
    for (auto& r : everything.RateInfo) std::memset(r.bytes, 1, sizeof r.bytes);
    for (auto& b : everything.BusinessTypeInfo) std::memset(b.bytes, 1, sizeof b.bytes);
    for (aggregate::PurchaseLine* line :
         {&everything.SHOHINSHIIRE, &everything.HANBAIIPPAN, &everything.EIGYOGAIHIYOU,
          &everything.SONOTASONEKI, &everything.JIGYOSHIIRE, &everything.JIGYOHITSUYOU,
          &everything.JIGYOKOTEISHISAN, &everything.FUDOUSANHITSUYOU,
          &everything.FUDOUSANKOTEISHISAN, &everything.SONOTASHIIRE, &everything.SONOTAHITSUYOU,
          &everything.SONOTAKOTEISHISAN}) {
      *line = {10000, 10000};
    }
    everything.KOTEISHISAN = everything.KURINOBESHISAN = 10000;
    auto allSaved = std::make_unique<host::StSaveTaxInfo>();
    std::memset(allSaved->bytes, 1, sizeof allSaved->bytes);
    report::ReportContext reach = ctx;
    reach.totals = &everything;
    reach.taxSaveInfo = allSaved.get();

    auto journalOf = [&](const report::ReportContext& c) {
      return report::CaptureReportText(env_, [&](report::ReportWriter& w) {
        return report::WriteDataSection(w, c, data, settings);
      });
    };
    auto savedOf = [&](const report::ReportContext& c) {
      return report::CaptureReportText(env_, [&](report::ReportWriter& w) {
        return report::WriteReturnDataSection(w, c, data);
      });
    };
    const auto journal = journalOf(ctx), saved = savedOf(ctx);
    const auto journalReach = journalOf(reach), savedReach = savedOf(reach);
    FigureComparison result;
    std::string error = platform::Tr("the figures could not be laid out");
    if (!journal || !saved || !journalReach || !savedReach ||
        !CompareFigures(*journal, *saved, *journalReach, *savedReach, &result, &error)) {
      std::fprintf(
          err_, "%s\n",
          platform::Format(platform::Tr("The figures cannot be compared: %s. Report this fault."),
                           error.c_str())
              .c_str());
      return kExitError;
    }
    if (result.compared == 0) {
      // Under simplified taxation the return-values report writes no
      // amounts, so there is nothing to set the journal figures against:
      // refused, never "agree".
      std::fprintf(err_, "%s\n",
                   platform::Tr("Nothing was compared: the saved tax-return values carry figures "
                                "under principle taxation only, and this dataset has none, so the "
                                "journal figures cannot be checked against them."));
      return kExitCancelled;
    }
    const int differ = static_cast<int>(result.differing.rows.size());
    char summary[160];
    std::snprintf(summary, sizeof summary, "%d-%d月: %d 要素を比較、%d 要素が相違\n",
                  dialog_ ? dialog_->start() : 0, dialog_ ? dialog_->end() : 0, result.compared,
                  differ);
    if (options_.csv) {
      PrintCsv(result.differing, "区分", out_);
      std::fputs(platform::Cp932ToUtf8(summary).c_str(), err_);
    } else {
      if (differ != 0) PrintTable(result.differing, out_);
      std::fputs(platform::Cp932ToUtf8(summary).c_str(), out_);
    }
    if (std::fflush(out_) != 0) return kExitError;
    return differ == 0 ? kExitFinished : kExitFiguresDiffer;
  }

  host::HostLibrary& host_;
  platform::Env& env_;
  const Edition& edition_;
  const CompareOptions& options_;
  std::FILE* out_;
  std::FILE* err_;
  CompareDialog* dialog_ = nullptr;
};

}  // namespace

bool CompareFigures(std::string_view journal, std::string_view saved, std::string_view journalReach,
                    std::string_view savedReach, FigureComparison* result, std::string* error) {
  std::vector<report::ReportElement> j, s, jr, sr;
  if (!report::ReportElements(journal, &j, error) || !report::ReportElements(saved, &s, error) ||
      !report::ReportElements(journalReach, &jr, error) ||
      !report::ReportElements(savedReach, &sr, error)) {
    return false;
  }
  if (s.size() != j.size() || jr.size() != j.size() || sr.size() != j.size()) {
    *error = platform::Tr("the two methods hold different elements");
    return false;
  }
  result->compared = 0;
  result->differing.headings = {"項目", "仕訳集計", "保存値", "差額", "要素名"};
  result->differing.rightAligned = {false, true, true, true, false};
  result->differing.rows.clear();
  for (size_t i = 0; i < j.size(); ++i) {
    if (s[i].name != j[i].name || jr[i].name != j[i].name || sr[i].name != j[i].name ||
        s[i].block != j[i].block) {
      *error = platform::Format(platform::Tr("the two methods hold different elements at %s"),
                                j[i].name.c_str());
      return false;
    }
    if (jr[i].text.empty() || sr[i].text.empty()) continue;
    ++result->compared;
    const std::string& name = j[i].name;
    std::string label(report::ElementLabel(name));
    std::string group(report::BlockLabel(j[i].block));
    std::vector<std::string> cells;
    __int128 a = 0, b = 0;
    if (report::IsCodeElement(name) || !AmountOf(j[i].text, &a) || !AmountOf(s[i].text, &b)) {
      if (j[i].text == s[i].text) continue;
      auto coded = [&](const std::string& text) {
        const std::string_view meaning = report::CodeMeaningOf(name, text);
        return meaning.empty() ? text : text + " " + std::string(meaning);
      };
      cells = {label, coded(j[i].text), coded(s[i].text), "", name};
    } else {
      if (a == b) continue;
      cells = {label, Shown(j[i].text), Shown(s[i].text), WithThousandsSeparators(Decimal(a - b)),
               name};
    }
    result->differing.rows.push_back({group.empty() ? j[i].block : group, cells});
  }
  return true;
}

int RunCompareCommand(host::HostLibrary& host, platform::Env& env, ui::Seat& seat,
                      ParentWindow& parent, const Edition& edition, const CompareOptions& options,
                      std::FILE* out, std::FILE* err) {
  CompareComponents components(host, env, seat, edition, options, out, err);
  TaxLinkApp app(host, env, seat, edition, parent, components);
  return app.Run("");
}

}  // namespace ltb::app
