#include "aggregate/progress_logic.h"

#include <gtest/gtest.h>

#include <string>

namespace ltb::aggregate {
namespace {

// Records what the dialog would show.
class RecordingView : public ui::ProgressView {
 public:
  void Show() override { shown = true; }
  void Close() override { shown = false; }
  void SetCaption(std::string_view c) override { caption = std::string(c); }
  void SetOverall(int position, int range) override {
    overall = position;
    overallRange = range;
  }
  void SetActivity(int position, int range) override {
    activity = position;
    activityRange = range;
  }
  void BringToFront() override { ++fronts; }
  void Repaint() override { ++repaints; }

  bool shown = false;
  std::string caption;
  int overall = -1, overallRange = 0, activity = -1, activityRange = 0;
  int fronts = 0, repaints = 0;
};

TEST(ProgressLogicTest, CaptionFollowsEachBand) {
  RecordingView view;
  ProgressLogic p(&view);
  p.Show();
  EXPECT_TRUE(view.shown);
  EXPECT_EQ(view.caption, "集計中");
  p.ResetOverallBar();
  p.AdvanceBand(0, 250);
  EXPECT_EQ(view.caption, "集計中 25％");
  EXPECT_EQ(view.overall, 251);
  p.AdvanceBand(250, 500);
  EXPECT_EQ(view.caption, "集計中 50％");
  p.AdvanceBand(500, 750);
  EXPECT_EQ(view.caption, "集計中 75％");
  p.AdvanceBand(750, 1000);
  EXPECT_EQ(view.caption, "集計中 100％");
  EXPECT_EQ(p.Caption(), view.caption);
  // 1004 steps on a range of 1000: the bar stops at its maximum.
  EXPECT_EQ(view.overall, 1000);
  EXPECT_EQ(view.overallRange, 1000);
  p.Close();
  EXPECT_FALSE(view.shown);
}

TEST(ProgressLogicTest, CaptionIsCp932WithFullWidthPercent) {
  ProgressLogic p(nullptr);
  p.AdvanceBand(0, 250);
  // 集 計 中 in CP932, a blank, "25", and the full-width percent 0x81 0x93.
  EXPECT_EQ(p.Caption(), std::string("\x8F\x57\x8C\x76\x92\x86 25\x81\x93"));
}

TEST(ProgressLogicTest, ElevenTicksAfterResetReturnToPositionOneAndFrontOnce) {
  RecordingView view;
  ProgressLogic p(&view);
  p.ResetActivityBar();
  for (int i = 0; i < 10; ++i) p.TickActivityBar();
  EXPECT_EQ(view.activity, 10);
  EXPECT_EQ(view.fronts, 0);
  p.TickActivityBar();
  EXPECT_EQ(view.activity, 1);
  EXPECT_EQ(p.ActivityTick(), 0);
  EXPECT_EQ(view.fronts, 1);
  EXPECT_EQ(view.repaints, 11);
}

TEST(ProgressLogicTest, BatchedTicksEndWhereSingleTicksEnd) {
  // The bar as the dialog steps it, one tick at a time: the counter climbs
  // to 10, and the tick after that starts both over (the bar through 0 to 1).
  struct Model {
    int bar, counter;
    void Tick() {
      if (counter == ProgressLogic::kActivityRange) {
        counter = 0;
        bar = 0;
      } else {
        ++counter;
      }
      bar = bar >= ProgressLogic::kActivityRange ? 0 : bar + 1;
    }
  };
  // Starting states: after a reset, with the bar full, after a cycle (bar and
  // counter apart), and part-way along.
  auto prepare = [](int start, ProgressLogic* p) {
    if (start == 1) p->SetActivityBarFull();
    if (start == 2) p->CycleActivityBar();
    if (start == 3) p->TickActivityBar(7);
  };
  for (int start : {0, 1, 2, 3}) {
    for (int64_t n : {1, 3, 5, 10, 11, 12, 21, 22, 23, 100, 1000003}) {
      ProgressLogic single(nullptr), batched(nullptr);
      prepare(start, &single);
      prepare(start, &batched);
      Model model{batched.ActivityPosition(), batched.ActivityTick()};
      for (int64_t i = 0; i < n; ++i) {
        single.TickActivityBar();
        model.Tick();
      }
      batched.TickActivityBar(n);
      EXPECT_EQ(single.ActivityPosition(), model.bar) << start << " " << n;
      EXPECT_EQ(single.ActivityTick(), model.counter) << start << " " << n;
      EXPECT_EQ(batched.ActivityPosition(), model.bar) << start << " " << n;
      EXPECT_EQ(batched.ActivityTick(), model.counter) << start << " " << n;
    }
  }
}

TEST(ProgressLogicTest, CycleRunsElevenStepsAndLeavesTickCounterAlone) {
  RecordingView view;
  ProgressLogic p(&view);
  p.SetActivityBarFull();
  p.CycleActivityBar();
  EXPECT_EQ(view.fronts, 11);
  EXPECT_EQ(view.repaints, 11);
  EXPECT_EQ(p.ActivityTick(), 10);
  view.fronts = view.repaints = 0;
  p.CycleActivityBar(500);  // many cycles cost one
  EXPECT_EQ(view.repaints, 11);
  EXPECT_EQ(p.ActivityPosition(), 0);
}

}  // namespace
}  // namespace ltb::aggregate
