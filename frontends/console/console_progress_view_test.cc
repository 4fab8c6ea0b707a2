#include "frontends/console/console_progress_view.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "platform/testing/memory_env.h"

namespace ltb::ui {
namespace {

// An Env whose monotonic clock moves only when the test moves it.
struct ClockEnv : platform::testing::MemoryEnv {
  int64_t now = 1'000'000'000;
  int64_t NowNanos() override { return now; }
};

// However often the run ticks, the line is redrawn only when the Env's clock
// has moved on by the minimum interval since the last drawing.
TEST(ConsoleProgressViewTest, RedrawsArePacedByTheEnvsClock) {
  ClockEnv env;
  std::FILE* out = std::tmpfile();
  ASSERT_NE(out, nullptr);
  ConsoleProgressView view(out, env);
  auto tick = [&view](unsigned times) {
    for (unsigned i = 0; i < times; ++i) view.Repaint();
  };
  view.Show();
  EXPECT_EQ(view.drawCount(), 1u);
  tick(10 * ConsoleProgressView::kCallsPerClockCheck);
  EXPECT_EQ(view.drawCount(), 1u);  // the clock stood still
  env.now += ConsoleProgressView::kMinIntervalNs - 1;
  tick(ConsoleProgressView::kCallsPerClockCheck);
  EXPECT_EQ(view.drawCount(), 1u);
  env.now += 1;
  tick(ConsoleProgressView::kCallsPerClockCheck);
  EXPECT_EQ(view.drawCount(), 2u);
  view.Close();
  std::fclose(out);
}

}  // namespace
}  // namespace ltb::ui
