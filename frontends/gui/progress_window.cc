#include "frontends/gui/progress_window.h"

#include <wx/app.h>
#include <wx/button.h>
#include <wx/evtloop.h>
#include <wx/gauge.h>

#include "frontends/gui/modal_frame.h"
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

namespace {

// The cancel button below the bars, in dialog units: a push button's usual
// size, at the template's right margin.
constexpr int kButtonWidth = 50, kButtonHeight = 14, kMargin = 5;

}  // namespace

ProgressWindow::ProgressWindow(platform::Env& env, uint64_t parentWindow)
    : env_(env), throttle_(40) {
  const resources::DialogTemplate& tpl = resources::ProgressDialogTemplate();
  window_ = new TemplateWindow(nullptr, tpl);
  overall_ = dynamic_cast<wxGauge*>(window_->Control(resources::kIdOverallBar));
  activity_ = dynamic_cast<wxGauge*>(window_->Control(resources::kIdActivityBar));
  // The template's window grows by a row for the button.
  const wxRect button = window_->ToPixels(tpl.width - kMargin - kButtonWidth, tpl.height,
                                          kButtonWidth, kButtonHeight);
  cancel_ = new wxButton(window_, wxID_CANCEL, wxString(), button.GetPosition(), button.GetSize());
  window_->SetClientSize(
      window_->ToPixels(0, 0, tpl.width, tpl.height + kButtonHeight + kMargin).GetSize());
  window_->SetEscapeId(wxID_CANCEL);
  cancel_->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { RequestCancel(); });
  window_->Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent& event) {
    // The close button asks the run to stop; the run closes the window.
    if (event.CanVeto()) {
      event.Veto();
      RequestCancel();
    } else {
      event.Skip();
    }
  });
  MakeModalFrame(window_);
  if (MakeTransientFor(window_, parentWindow)) CentreOnForeign(window_, parentWindow);
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

void ProgressWindow::RequestCancel() {
  if (cancelRequested_ || window_ == nullptr) return;
  cancelRequested_ = true;
  // Nothing more to press: the run ends at its next step.
  cancel_->Disable();
}

bool ProgressWindow::CancelRequested() {
  // Asked at every record of a walk: only the clock is read until the
  // throttle lets the window take its input (and repaint).
  if (!cancelRequested_ && window_ != nullptr &&
      throttle_.Due(env_.NowNanos() / 1'000'000, false)) {
    Paint();
  }
  return cancelRequested_;
}

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
  // through, and with them the window's keyboard and mouse input: the
  // cancel button, Escape, the close button. (Forcing a synchronous update
  // besides, or letting timers and idle events through, can leave a new
  // window unpainted for good under a bare X server.) The window is the only
  // one of the program on the screen while the run works.
  window_->Refresh();
  constexpr long kCategories = wxEVT_CATEGORY_UI | wxEVT_CATEGORY_USER_INPUT;
  if (wxEventLoopBase* loop = wxEventLoopBase::GetActive()) {
    loop->YieldFor(kCategories);
  } else {
    wxGUIEventLoop paintAndInput;
    paintAndInput.YieldFor(kCategories);
  }
}

}  // namespace ltb::ui::gui
