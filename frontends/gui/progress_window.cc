#include "frontends/gui/progress_window.h"

#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/gauge.h>

#include "frontends/gui/template_window.h"
#include "frontends/gui/wx_text.h"
#include "frontends/gui/x11_transient.h"
#include "resources/progress_dialog_template.h"

namespace ltb::ui::gui {

bool RepaintThrottle::Due(int64_t nowMs, bool force) {
  if (!force && painted_ && nowMs - lastMs_ < intervalMs_) return false;
  painted_ = true;
  lastMs_ = nowMs;
  return true;
}

ProgressWindow::ProgressWindow(platform::Env& env, uint64_t parentWindow)
    : env_(env), throttle_(40) {
  const resources::DialogTemplate& tpl = resources::ProgressDialogTemplate();
  // No way to cancel: the progress dialog has a caption and nothing else.
  window_ = new TemplateWindow(nullptr, tpl, wxCAPTION);
  if (MakeTransientFor(window_, parentWindow)) CentreOnForeign(window_, parentWindow);
  overall_ = dynamic_cast<wxGauge*>(window_->Control(resources::kIdOverallBar));
  activity_ = dynamic_cast<wxGauge*>(window_->Control(resources::kIdActivityBar));
  caption_ = tpl.caption;
}

ProgressWindow::~ProgressWindow() { Close(); }

void ProgressWindow::Show() {
  if (window_ == nullptr) return;
  window_->Show();
  window_->Raise();
  Paint();
}

void ProgressWindow::Close() {
  if (window_ == nullptr) return;
  window_->Destroy();
  window_ = nullptr;
  overall_ = activity_ = nullptr;
}

void ProgressWindow::SetCaption(std::string_view caption) {
  if (caption == caption_) return;
  caption_.assign(caption);
  captionDirty_ = true;
}

void ProgressWindow::SetOverall(int position, int range) {
  // The bar's end is never skipped by the throttle: a run's last state
  // stays on the screen until the window closes.
  if (position >= range && (overallState_.position != position || overallState_.range != range)) {
    finalDirty_ = true;
  }
  overallState_ = {position, range};
}

void ProgressWindow::SetActivity(int position, int range) { activityState_ = {position, range}; }

void ProgressWindow::BringToFront() { frontWanted_ = true; }

void ProgressWindow::Repaint() {
  // A caption change and the overall bar reaching its end are always
  // shown, so the last state ("100%", a full bar) is never lost; other bar
  // moves are painted at the throttle's pace.
  if (window_ == nullptr) return;
  if (!throttle_.Due(env_.NowNanos() / 1'000'000, captionDirty_ || finalDirty_)) return;
  Paint();
}

void ProgressWindow::Paint() {
  if (window_ == nullptr) return;
  if (captionDirty_) {
    window_->SetTitle(ToWx(caption_));
    captionDirty_ = false;
  }
  finalDirty_ = false;
  auto apply = [](wxGauge* gauge, const Bar& bar) {
    if (gauge == nullptr) return;
    const int range = bar.range > 0 ? bar.range : 1;
    if (gauge->GetRange() != range) gauge->SetRange(range);
    const int position = bar.position < 0 ? 0 : (bar.position > range ? range : bar.position);
    if (gauge->GetValue() != position) gauge->SetValue(position);
  };
  apply(overall_, overallState_);
  apply(activity_, activityState_);
  if (frontWanted_ && window_->IsShown()) {
    window_->Raise();
    frontWanted_ = false;
  }
  // The toolkit paints on its frame clock, run here by letting paint events
  // through. (Forcing a synchronous update besides, or letting other event
  // categories through, can leave a new window unpainted for good under a
  // bare X server.) Keyboard and mouse input stays queued.
  window_->Refresh();
  if (wxEventLoopBase* loop = wxEventLoopBase::GetActive()) {
    loop->YieldFor(wxEVT_CATEGORY_UI);
  } else {
    wxGUIEventLoop paintOnly;
    paintOnly.YieldFor(wxEVT_CATEGORY_UI);
  }
}

}  // namespace ltb::ui::gui
