// Scripted seat, parent window and run components for the driver's tests:
// each records what the driver did in one shared event list.
#pragma once

#include <memory>
#include <new>
#include <string>
#include <vector>

#include "app/parent_window.h"
#include "app/run_components.h"
#include "ui/message_box.h"
#include "ui/seat.h"

namespace ltb::app::testing {

using Events = std::vector<std::string>;

class ScriptedSeat : public ui::Seat {
 public:
  explicit ScriptedSeat(Events* events) : events_(events) {}
  std::vector<std::string> texts;
  std::vector<unsigned> flags;
  int answer = ui::kIdYes;
  int MessageBox(host::WindowHandle, std::string_view text, std::string_view, unsigned f) override {
    texts.emplace_back(text);
    flags.push_back(f);
    events_->push_back("message");
    return (f & ui::kMbButtonMask) == ui::kMbYesNo ? answer : ui::kIdOk;
  }
  int RunModal(ui::DialogController&) override { return 1006; }
  bool PickSaveFile(const ui::SaveFileRequest&, std::string*) override { return false; }
  std::unique_ptr<ui::ProgressView> CreateProgressView() override;

 private:
  Events* events_;
};

struct PostedMessage {
  host::WindowHandle window;
  uint32_t message;
  int32_t wparam;
  int64_t lparam;
};

class ScriptedParent : public ParentWindow {
 public:
  explicit ScriptedParent(Events* events) : events_(events) {}
  std::vector<PostedMessage> posts;
  void Enable(host::WindowHandle, bool enable) override {
    events_->push_back(enable ? "enable" : "disable");
  }
  void SetForeground(host::WindowHandle) override { events_->push_back("foreground"); }
  void Post(host::WindowHandle w, uint32_t m, int32_t wp, int64_t lp) override {
    posts.push_back({w, m, wp, lp});
    events_->push_back("post");
  }

 private:
  Events* events_;
};

struct DialogScript {
  int endCode = ui::kIdExecuteButton;
  ui::ConditionsResult result;
  ui::ConditionsInput input;  // what the driver set
  bool saved = false;
  std::string savedPath;
  bool savedWithoutPath = false;
  int16_t savedStart = 0, savedEnd = 0;
  int32_t savedMode = -1;
};

struct AggregationScript {
  int32_t sixthCount = 0;
  long sixthCode = 0;
  int32_t tenPercent = 0;
  long tenPercentCode = 0;
  int importEntries = 0;
  bool overflow = false;
  uint8_t filingClass = 255;
  // The event after which the person has asked to stop ("" never).
  std::string cancelAfter;
  std::vector<host::StFINDINFO> condition;
};

struct ReportScript {
  bool outOfMemory = false;  // the journal report throws std::bad_alloc
  bool journalResult = true;
  bool returnValuesResult = true;
  ReportInput input;
};

class ScriptedComponents : public RunComponents, public ReportWriters {
 public:
  explicit ScriptedComponents(Events* events) : events_(events) {}
  DialogScript dialog;
  AggregationScript aggregation;
  ReportScript report;

  std::unique_ptr<ConditionsDialog> NewConditionsDialog(host::WindowHandle owner) override;
  std::unique_ptr<Aggregation> NewAggregation(ui::ProgressView* view) override;
  ReportWriters& Reports() override { return *this; }
  bool WriteJournalReport(const ReportInput& in, const host::StDATAINFO&,
                          const host::StSHOHIZEIINFO&, int32_t* exitCode) override {
    events_->push_back("journal-report");
    if (report.outOfMemory) throw std::bad_alloc();
    report.input = in;
    if (!report.journalResult) *exitCode = 2;
    return report.journalResult;
  }
  bool WriteReturnValuesReport(const ReportInput& in, const host::StDATAINFO&,
                               int32_t* exitCode) override {
    events_->push_back("return-values-report");
    report.input = in;
    if (!report.returnValuesResult) *exitCode = 2;
    return report.returnValuesResult;
  }

  Events* events() { return events_; }

 private:
  Events* events_;
};

}  // namespace ltb::app::testing
