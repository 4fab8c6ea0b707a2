// The progress dialog's behaviour without a toolkit: the overall bar that
// the run advances in bands from 0 to 1000, the caption "集計中 N％", and
// the activity bar that the engine ticks while it walks host records.
//
// Every operation updates the model and tells the view (which may be null).
// The view is told on every step; it keeps those calls cheap and decides
// itself when to repaint, so a tick costs little more than a counter.
#pragma once

#include <cstdint>
#include <string>

#include "ui/progress_view.h"

namespace ltb::aggregate {

class ProgressLogic {
 public:
  static constexpr int kOverallRange = 1000;
  static constexpr int kActivityRange = 10;

  explicit ProgressLogic(ui::ProgressView* view) : view_(view) {}

  void Show();
  void Close();

  // Whether the person asked the view to stop the run; once true it stays
  // true. Steps of the overall bar end early once it is.
  bool CancelRequested();

  // Overall bar: range 0..1000, position 0.
  void ResetOverallBar();
  // Steps the overall bar once for every value from start to end inclusive,
  // setting the caption at every multiple of ten. Steps beyond the end of
  // the range stop at the maximum.
  void AdvanceBand(int start, int end);

  // One full cycle of the activity bar: position 0, then eleven steps.
  void CycleActivityBar();
  // `times` full cycles: they leave the same state as one, so one is run.
  void CycleActivityBar(int64_t times);
  // One step of the activity bar; every eleventh tick starts the bar over
  // and brings the dialog to the front.
  void TickActivityBar();
  // `times` ticks in one go: the same final state as that many single ticks,
  // with the view told once.
  void TickActivityBar(int64_t times);
  // Range 0..10, position 0, tick counter 0.
  void ResetActivityBar();
  // Position 10, tick counter 10.
  void SetActivityBarFull();

  const std::string& Caption() const { return caption_; }
  int OverallPosition() const { return overall_; }
  int ActivityPosition() const { return activity_; }
  int32_t ActivityTick() const { return activityTick_; }
  bool Visible() const { return visible_; }

 private:
  // Steps the activity bar by one; past the maximum it starts over at 0, as
  // the standard progress control does.
  void StepActivity();
  void SetCaptionPercent(int percent);

  ui::ProgressView* view_;
  std::string caption_ = "集計中";
  int overall_ = 0;
  int activity_ = 0;
  int32_t activityTick_ = 0;
  bool visible_ = false;
  bool cancelled_ = false;
};

}  // namespace ltb::aggregate
