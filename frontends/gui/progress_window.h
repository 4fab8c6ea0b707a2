// The progress dialog as a wx window laid out from its template: caption
// and two bars, and below them a cancel button. The aggregation may tick it
// a million times, so the setters only record the new state; Repaint() and
// CancelRequested() push it to the screen at most every few dozen
// milliseconds and let the window's own input through then: the cancel
// button, Escape and the window's close button ask the run to stop.
#pragma once

#include <cstdint>
#include <string>

#include "platform/env.h"
#include "ui/progress_view.h"

class wxButton;
class wxGauge;

namespace ltb::ui::gui {

class TemplateWindow;

// Decides when a repaint is due: the first one at once, then no more often
// than every `interval`, except when forced.
// Times are milliseconds of the Env's monotonic clock (Env::NowNanos).
class RepaintThrottle {
 public:
  explicit RepaintThrottle(int64_t intervalMs) : intervalMs_(intervalMs) {}
  bool Due(int64_t nowMs, bool force);

 private:
  int64_t intervalMs_;
  int64_t lastMs_ = 0;
  bool painted_ = false;
};

class ProgressWindow : public ProgressView {
 public:
  // parentWindow: the parent program's X11 window (0 for none); the dialog
  // belongs to it and opens centred on it. Repaints are paced by env's
  // clock.
  explicit ProgressWindow(platform::Env& env, uint64_t parentWindow = 0);
  ~ProgressWindow() override;

  void Show() override;
  void Close() override;
  void SetCaption(std::string_view caption) override;
  void SetOverall(int position, int range) override;
  void SetActivity(int position, int range) override;
  void BringToFront() override;
  void Repaint() override;
  bool CancelRequested() override;

  // The window, for message boxes it owns and for tests; null once closed.
  TemplateWindow* Window() const { return window_; }

 private:
  struct Bar {
    int position = 0;
    int range = 100;
  };
  void Paint();
  void RequestCancel();

  platform::Env& env_;
  TemplateWindow* window_ = nullptr;
  wxGauge* overall_ = nullptr;
  wxGauge* activity_ = nullptr;
  wxButton* cancel_ = nullptr;
  std::string caption_;
  Bar overallState_, activityState_;
  bool captionDirty_ = true;
  bool finalDirty_ = false;  // the overall bar reached its end, not yet painted
  bool frontWanted_ = false;
  bool cancelRequested_ = false;
  RepaintThrottle throttle_;
};

}  // namespace ltb::ui::gui
