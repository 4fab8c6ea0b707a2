// The progress dialog as one text line on the console, redrawn in place.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/env.h"
#include "ui/progress_view.h"

namespace ltb::ui {

class ConsoleProgressView : public ProgressView {
 public:
  // The clock is read only every kCallsPerClockCheck repaints, and the line
  // is redrawn at most every kMinIntervalNs, so the frequent ticks of the
  // aggregation cost little more than a counter.
  static constexpr unsigned kCallsPerClockCheck = 64;
  static constexpr int64_t kMinIntervalNs = 50'000'000;  // at most 20 redraws a second

  // The clock is env's (Env::NowNanos).
  ConsoleProgressView(std::FILE* out, platform::Env& env) : out_(out), env_(env) {}

  void Show() override;
  void Close() override;
  void SetCaption(std::string_view caption) override { caption_ = caption; }
  void SetOverall(int position, int range) override;
  void SetActivity(int position, int range) override;
  void BringToFront() override {}
  void Repaint() override;

  unsigned drawCount() const { return drawCount_; }

 private:
  void Draw();

  std::FILE* out_;
  platform::Env& env_;
  bool shown_ = false;
  std::string caption_;  // CP932
  int overall_ = 0, overallRange_ = 0;
  int activity_ = 0, activityRange_ = 0;
  unsigned calls_ = 0;
  unsigned drawCount_ = 0;
  int64_t lastDrawNs_ = 0;
};

}  // namespace ltb::ui
