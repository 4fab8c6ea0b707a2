#include "app/testing/scripted_components.h"

#include <algorithm>

namespace ltb::app::testing {
namespace {

class NullProgress : public ui::ProgressView {
 public:
  void Show() override {}
  void Close() override {}
  void SetCaption(std::string_view) override {}
  void SetOverall(int, int) override {}
  void SetActivity(int, int) override {}
  void BringToFront() override {}
  void Repaint() override {}
};

class Dialog : public ConditionsDialog {
 public:
  Dialog(DialogScript* s, Events* e) : s_(s), e_(e) {}
  void SetInput(const ui::ConditionsInput& in) override { s_->input = in; }
  int DoModal() override {
    e_->push_back("dialog");
    return s_->endCode;
  }
  ui::ConditionsResult Result() const override { return s_->result; }
  bool SaveRememberedSettings(int16_t start, int16_t end, const char* path,
                              ui::AggregationMode mode) override {
    e_->push_back("save-settings");
    s_->saved = true;
    s_->savedWithoutPath = path == nullptr;
    s_->savedPath = path ? path : "";
    s_->savedStart = start;
    s_->savedEnd = end;
    s_->savedMode = mode;
    return true;
  }

 private:
  DialogScript* s_;
  Events* e_;
};

class Agg : public Aggregation {
 public:
  Agg(AggregationScript* s, Events* e) : s_(s), e_(e) {}
  host::StFINDINFO* FindCondition() override { return cond_; }
  void ClearFindCondition() override {
    for (auto& c : cond_) c.Clear();
  }
  void SetFilingClass(uint8_t f) override { s_->filingClass = f; }
  void Show() override { e_->push_back("progress-show"); }
  void Close() override {
    e_->push_back("progress-close");
    s_->condition.assign(cond_, cond_ + host::kFindConditionItems);
  }
  void ResetOverallBar() override {}
  void AdvanceBand(int, int to) override { e_->push_back("band" + std::to_string(to)); }
  void CollectTaxReport(aggregate::TaxTotals&) override { e_->push_back("collect"); }
  void SumOldRates(int64_t* sum, const host::StSHOHIZEIINFO&) override { *sum = 5; }
  void SumCorporatePurchases(aggregate::TaxTotals&, const host::StDATAINFO&,
                             const host::StSHOHIZEIINFO&) override {
    e_->push_back("corporate");
  }
  void SumIndividualPurchases(aggregate::TaxTotals&, const host::StDATAINFO&,
                              const host::StSHOHIZEIINFO&) override {
    e_->push_back("individual");
  }
  long CountSixthTypeEntries(int, int32_t* count) override {
    e_->push_back("checks");
    *count = s_->sixthCount;
    return s_->sixthCode;
  }
  long CheckTenPercentEntries(int32_t* found) override {
    *found = s_->tenPercent;
    return s_->tenPercentCode;
  }
  bool HasImportCategoryEntries() override { return s_->importEntries == 1; }
  bool Overflowed() const override { return s_->overflow; }
  bool Cancelled() override {
    return !s_->cancelAfter.empty() &&
           std::find(e_->begin(), e_->end(), s_->cancelAfter) != e_->end();
  }

 private:
  AggregationScript* s_;
  Events* e_;
  host::StFINDINFO cond_[host::kFindConditionItems];
};

}  // namespace

std::unique_ptr<ui::ProgressView> ScriptedSeat::CreateProgressView() {
  return std::make_unique<NullProgress>();
}

std::unique_ptr<ConditionsDialog> ScriptedComponents::NewConditionsDialog(host::WindowHandle) {
  return std::make_unique<Dialog>(&dialog, events_);
}

std::unique_ptr<Aggregation> ScriptedComponents::NewAggregation(ui::ProgressView*) {
  return std::make_unique<Agg>(&aggregation, events_);
}

}  // namespace ltb::app::testing
