// The progress dialog as a person sees it: a caption and two bars.
// Front ends implement it; the aggregation drives it through its own logic.
#pragma once

#include <string_view>

namespace ltb::ui {

class ProgressView {
 public:
  virtual ~ProgressView() = default;
  virtual void Show() = 0;
  virtual void Close() = 0;
  // caption is CP932 text.
  virtual void SetCaption(std::string_view caption) = 0;
  // Positions within [0, range]; called often, so front ends must keep
  // these cheap and repaint on their own schedule.
  virtual void SetOverall(int position, int range) = 0;
  virtual void SetActivity(int position, int range) = 0;
  // Brings the dialog to the top and makes it the foreground window.
  virtual void BringToFront() = 0;
  // Repaints now (the GUI pumps its paint events here).
  virtual void Repaint() = 0;
  // Whether the person asked to stop the run (a cancel button, Escape, the
  // window's close button). The aggregation asks at every step, so front
  // ends keep it cheap; one that offers no way to stop keeps the default.
  virtual bool CancelRequested() { return false; }
};

}  // namespace ltb::ui
