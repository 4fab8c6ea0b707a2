// The conditions dialog "消費税 - 集計条件": the dataset's facts, the
// aggregation method, the month range and the output file.
//
// Toolkit-neutral: the controls' texts, enabled and checked states, the
// focus and every handler live here; a front end (ui::Seat::RunModal)
// renders State() and feeds clicks, typed text and keys back.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "host/host.h"
#include "host/period_months.h"
#include "platform/env.h"
#include "resources/edition.h"
#include "ui/conditions.h"
#include "ui/dialog_controller.h"
#include "ui/seat.h"

namespace ltb::dialog {

// The Execute and Cancel buttons are ui::kIdExecuteButton and ui::kIdCancelButton.
constexpr int kIdCompany = 1010, kIdPeriod = 1011, kIdFilingClass = 1012;
constexpr int kIdDeductionLabel = 1003, kIdDeduction = 1013;
constexpr int kIdStartMonth = 1014, kIdEndMonth = 1016;
constexpr int kIdOutputGroup = 1007, kIdOutputPath = 1008, kIdBrowse = 1009;
constexpr int kIdJournalMethod = 1029, kIdReturnMethod = 1031, kIdHelpIcon = 1032;
// Labels of the fields above, and the group box around the two methods.
constexpr int kIdCompanyLabel = 1000, kIdPeriodLabel = 1001, kIdFilingClassLabel = 1002;
constexpr int kIdRangeLabel = 1004, kIdStartMonthLabel = 1015, kIdEndMonthLabel = 1017;
constexpr int kIdMethodGroup = 1030;
// Bytes the month fields and the output field hold; longer text is cut.
constexpr size_t kMonthFieldLimit = 2;
constexpr size_t kOutputFieldLimit = 255;

class TaxConditionsDialog : public ui::DialogController, public host::ToolTipOwner {
 public:
  TaxConditionsDialog(host::HostLibrary& host, platform::Env& env, ui::Seat& seat,
                      const Edition& edition, host::WindowHandle owner);
  ~TaxConditionsDialog() override;

  // What the dialog shows; set by the driver before DoModal.
  ui::ConditionsInput input;

  // Shows the dialog through the seat: ui::kIdExecuteButton or ui::kIdCancelButton.
  int DoModal();

  // ---- Outputs, valid after ui::kIdExecuteButton ----
  std::string startMonthText, endMonthText, outputPath;  // CP932
  ui::AggregationMode aggregationMode = ui::kJournalAggregation;
  // The outputs above as one record, the months as the numbers Execute
  // checked against the period.
  ui::ConditionsResult Result() const;

  // Remembers the run's conditions for this user and dataset. outputPath
  // null (a path fixed by the parent) keeps the path read at start-up.
  bool SaveRememberedSettings(int16_t startMonth, int16_t endMonth, const char* outputPathOrNull,
                              ui::AggregationMode mode);

  // Also reachable through the keys and buttons.
  void ExecuteConditions();
  void BrowseOutputFile();

  // Whether the output file is the parent program's and cannot be changed.
  bool outputFixed() const { return outputFixed_; }
  const std::string& rememberedOutputPath() const { return rememberedOutputPath_; }

  // ---- ui::DialogController ----
  std::string Caption() const override;
  void OnInitDialog() override;
  ui::ControlState State(int controlId) const override;
  void OnTextChanged(int controlId, const std::string& text) override;
  void OnClick(int controlId) override;
  bool OnKeyDown(ui::Key key, int focusId) override;
  void OnCancel() override;
  int FocusId() const override { return focusId_; }
  bool SelectAllOnFocus() const override { return selectAll_; }
  bool Ended(int* code) const override;

  // ---- host::ToolTipOwner ----
  void AddToolTip(uint32_t controlId, const char* text) override;

 private:
  void PullFields();
  void PushFields();
  void SetMonthFields(int16_t start, int16_t end);
  void Enable(int controlId, bool enabled);
  bool IsEnabled(int controlId) const;
  void SetChecked(int checkedId);
  void Focus(int controlId, bool selectAll);
  void End(int code);
  int Message(const char* text, unsigned flags);
  std::string SettingsFolder() const;
  std::string DefaultOutputPath();

  host::HostLibrary& host_;
  platform::Env& env_;
  ui::Seat& seat_;
  const Edition& edition_;
  host::WindowHandle owner_;
  std::unique_ptr<host::ClToolTipMgr> toolTipMgr_;

  int16_t journalStartMonth_ = 0;
  int16_t journalEndMonth_ = 0;
  bool outputFixed_ = false;
  std::string rememberedOutputPath_;

  std::map<int, ui::ControlState> controls_;
  int focusId_ = kIdJournalMethod;
  bool selectAll_ = false;
  bool ended_ = false;
  int16_t startMonth_ = 0, endMonth_ = 0;  // the checked month range, after Execute
  int endCode_ = ui::kIdCancelButton;
};

}  // namespace ltb::dialog
