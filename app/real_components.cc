#include "app/real_components.h"

#include "aggregate/add_tax.h"
#include "dialog/tax_conditions_dialog.h"
#include "report/report.h"

namespace ltb::app {
namespace {

class RealConditionsDialog : public ConditionsDialog {
 public:
  RealConditionsDialog(host::HostLibrary& host, platform::Env& env, ui::Seat& seat,
                       const Edition& edition, host::WindowHandle owner)
      : dialog_(host, env, seat, edition, owner) {}

  void SetInput(const ui::ConditionsInput& in) override { dialog_.input = in; }
  int DoModal() override { return dialog_.DoModal(); }
  ui::ConditionsResult Result() const override { return dialog_.Result(); }
  bool SaveRememberedSettings(int16_t start, int16_t end, const char* path,
                              ui::AggregationMode mode) override {
    return dialog_.SaveRememberedSettings(start, end, path, mode);
  }

 private:
  dialog::TaxConditionsDialog dialog_;
};

class RealAggregation : public Aggregation {
 public:
  RealAggregation(host::HostLibrary& host, ui::ProgressView* view) : addTax_(host, view) {}
  host::StFINDINFO* FindCondition() override { return addTax_.FindCondition(); }
  void ClearFindCondition() override { addTax_.ClearFindCondition(); }
  void SetFilingClass(uint8_t f) override { addTax_.SetFilingClass(f); }
  void Show() override { addTax_.Show(); }
  void Close() override { addTax_.Close(); }
  void ResetOverallBar() override { addTax_.ResetOverallBar(); }
  void AdvanceBand(int from, int to) override { addTax_.AdvanceBand(from, to); }
  void CollectTaxReport(aggregate::TaxTotals& t) override { addTax_.CollectTaxReport(t); }
  void SumOldRates(int64_t* sum, const host::StSHOHIZEIINFO& s) override {
    addTax_.SumOldRates(sum, s);
  }
  void SumCorporatePurchases(aggregate::TaxTotals& t, const host::StDATAINFO& d,
                             const host::StSHOHIZEIINFO& s) override {
    addTax_.SumCorporatePurchases(t, d, s);
  }
  void SumIndividualPurchases(aggregate::TaxTotals& t, const host::StDATAINFO& d,
                              const host::StSHOHIZEIINFO& s) override {
    addTax_.SumIndividualPurchases(t, d, s);
  }
  long CountSixthTypeEntries(int type, int32_t* count) override {
    return addTax_.CountSixthTypeEntries(type, count);
  }
  long CheckTenPercentEntries(int32_t* found) override {
    return addTax_.CheckTenPercentEntries(found);
  }
  bool HasImportCategoryEntries() override { return addTax_.HasImportCategoryEntries() == 1; }
  bool Overflowed() const override { return addTax_.Overflowed(); }
  bool Cancelled() override { return addTax_.Cancelled(); }

 private:
  aggregate::AddTax addTax_;
};

}  // namespace

RealComponents::RealComponents(host::HostLibrary& host, platform::Env& env, ui::Seat& seat,
                               const Edition& edition)
    : host_(host), env_(env), seat_(seat), edition_(edition) {}

std::unique_ptr<ConditionsDialog> RealComponents::NewConditionsDialog(host::WindowHandle owner) {
  return std::make_unique<RealConditionsDialog>(host_, env_, seat_, edition_, owner);
}

std::unique_ptr<Aggregation> RealComponents::NewAggregation(ui::ProgressView* view) {
  return std::make_unique<RealAggregation>(host_, view);
}

report::ReportContext ToReportContext(host::HostLibrary& host, platform::Env& env,
                                      const Edition& edition, const ReportInput& in) {
  report::ReportContext ctx;
  ctx.host = &host;
  ctx.env = &env;
  ctx.edition = &edition;
  ctx.notifyWParam = in.notifyWParam;
  ctx.filingClass = in.filingClass;
  ctx.fractionRounding = in.fractionRounding;
  ctx.taxSaveInfo = in.taxSaveInfo;
  ctx.totals = in.totals;
  return ctx;
}

bool RealComponents::WriteJournalReport(const ReportInput& in, const host::StDATAINFO& data,
                                        const host::StSHOHIZEIINFO& settings, int32_t* exitCode) {
  return report::WriteJournalReport(seat_, in.owner, in.outputPath,
                                    ToReportContext(host_, env_, edition_, in), data, settings,
                                    exitCode);
}

bool RealComponents::WriteReturnValuesReport(const ReportInput& in, const host::StDATAINFO& data,
                                             int32_t* exitCode) {
  return report::WriteReturnValuesReport(
      seat_, in.owner, in.outputPath, ToReportContext(host_, env_, edition_, in), data, exitCode);
}

}  // namespace ltb::app
