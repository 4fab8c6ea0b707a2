#include "aggregate/progress_logic.h"

#include <cstdio>

namespace ltb::aggregate {

void ProgressLogic::Show() {
  visible_ = true;
  if (view_) {
    view_->SetCaption(caption_);
    view_->SetOverall(overall_, kOverallRange);
    view_->SetActivity(activity_, kActivityRange);
    view_->Show();
  }
}

void ProgressLogic::Close() {
  visible_ = false;
  if (view_) view_->Close();
}

bool ProgressLogic::CancelRequested() {
  if (!cancelled_ && view_ != nullptr) cancelled_ = view_->CancelRequested();
  return cancelled_;
}

void ProgressLogic::ResetOverallBar() {
  overall_ = 0;
  if (view_) view_->SetOverall(overall_, kOverallRange);
}

void ProgressLogic::SetCaptionPercent(int percent) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "集計中 %d％", percent);
  caption_ = buffer;
  if (view_) view_->SetCaption(caption_);
}

void ProgressLogic::AdvanceBand(int start, int end) {
  for (int i = start; i <= end && !CancelRequested(); ++i) {
    if (i % 10 == 0) SetCaptionPercent(i / 10);
    if (overall_ < kOverallRange) ++overall_;
    if (view_) view_->SetOverall(overall_, kOverallRange);
    CycleActivityBar();
    if (view_) view_->Repaint();
  }
}

void ProgressLogic::StepActivity() { activity_ = activity_ >= kActivityRange ? 0 : activity_ + 1; }

void ProgressLogic::CycleActivityBar() {
  activity_ = 0;
  for (int i = 0; i <= kActivityRange; ++i) {
    StepActivity();
    if (view_) {
      view_->SetActivity(activity_, kActivityRange);
      view_->BringToFront();
      view_->Repaint();
    }
  }
}

void ProgressLogic::CycleActivityBar(int64_t times) {
  if (times <= 0) return;
  CycleActivityBar();
}

void ProgressLogic::TickActivityBar() { TickActivityBar(1); }

void ProgressLogic::TickActivityBar(int64_t times) {
  if (times <= 0) return;
  // A tick steps the counter and the bar by one, the bar wrapping from the
  // maximum to 0, until the counter is at the maximum: that tick wraps, the
  // counter to 0 and the bar through 0 to 1. Eleven ticks after a wrap are
  // another wrap, back to the same place, so the end is known at once.
  constexpr int64_t kRound = kActivityRange + 1;
  const int64_t beforeWrap = kActivityRange - activityTick_;
  const bool wrapped = times > beforeWrap;
  if (!wrapped) {
    activityTick_ += static_cast<int32_t>(times);
    activity_ = static_cast<int>((activity_ + times) % kRound);
  } else {
    const int64_t afterWrap = (times - beforeWrap - 1) % kRound;
    activityTick_ = static_cast<int32_t>(afterWrap);
    activity_ = static_cast<int>((1 + afterWrap) % kRound);
  }
  if (view_) {
    view_->SetActivity(activity_, kActivityRange);
    if (wrapped) view_->BringToFront();
    view_->Repaint();
  }
}

void ProgressLogic::ResetActivityBar() {
  activity_ = 0;
  activityTick_ = 0;
  if (view_) view_->SetActivity(activity_, kActivityRange);
}

void ProgressLogic::SetActivityBarFull() {
  activity_ = kActivityRange;
  activityTick_ = kActivityRange;
  if (view_) view_->SetActivity(activity_, kActivityRange);
}

}  // namespace ltb::aggregate
