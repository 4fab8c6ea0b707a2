#include "frontends/console/console_progress_view.h"

#include "frontends/console/console_io.h"

namespace ltb::ui {
namespace {

constexpr int kBarWidth = 30;
constexpr const char kSpinner[] = "|/-\\";

int Filled(int position, int range, int width) {
  if (range <= 0 || position <= 0) return 0;
  if (position >= range) return width;
  return static_cast<int>(static_cast<long long>(position) * width / range);
}

}  // namespace

void ConsoleProgressView::Show() {
  shown_ = true;
  Draw();
}

void ConsoleProgressView::Close() {
  if (!shown_) return;
  Draw();
  std::fputc('\n', out_);
  std::fflush(out_);
  shown_ = false;
}

void ConsoleProgressView::SetOverall(int position, int range) {
  overall_ = position;
  overallRange_ = range;
}

void ConsoleProgressView::SetActivity(int position, int range) {
  activity_ = position;
  activityRange_ = range;
}

void ConsoleProgressView::Repaint() {
  if (!shown_ || ++calls_ % kCallsPerClockCheck != 0) return;
  if (env_.NowNanos() - lastDrawNs_ < kMinIntervalNs) return;
  Draw();
}

void ConsoleProgressView::Draw() {
  lastDrawNs_ = env_.NowNanos();
  ++drawCount_;
  std::string bar(kBarWidth, '.');
  const int filled = Filled(overall_, overallRange_, kBarWidth);
  bar.replace(0, filled, filled, '#');
  std::fputs("\r", out_);
  PrintCp932(out_, caption_);
  std::fprintf(out_, " [%s] %c", bar.c_str(), kSpinner[activityRange_ > 0 ? (activity_ & 3) : 0]);
  std::fflush(out_);
}

}  // namespace ltb::ui
