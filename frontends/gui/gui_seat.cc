#include "frontends/gui/gui_seat.h"

#include <cstdio>
#include <vector>

#include <wx/app.h>
#include <wx/toplevel.h>
#include <wx/utils.h>

#include "dialog/unattended_fill.h"
#include "frontends/gui/controller_dialog.h"
#include "frontends/gui/message_box_window.h"
#include "frontends/gui/progress_window.h"
#include "frontends/gui/save_file_dialog.h"
#include "frontends/gui/wx_session.h"
#include "frontends/gui/x11_transient.h"
#include "platform/cp932.h"
#include "platform/messages.h"
#include "resources/conditions_dialog_template.h"

namespace ltb::ui::gui {
namespace {

class GuiSeat : public Seat {
 public:
  GuiSeat(platform::Env& env, const UnattendedOptions& opts, uint64_t parentWindow)
      : env_(env), opts_(opts), parentWindow_(parentWindow) {}

  bool Start(const platform::ProcessSettings& settings, std::string* why) {
    return session_.Start(settings, why);
  }

  int MessageBox(host::WindowHandle owner, std::string_view text, std::string_view caption,
                 unsigned flags) override {
    const bool question = (flags & kMbButtonMask) == kMbYesNo;
    if (opts_.execute && (!question || opts_.answer.has_value())) {
      // Unattended: nobody watches the screen; say it on standard error and
      // answer as the options ask.
      const int answer = !question ? kIdOk : (*opts_.answer ? kIdYes : kIdNo);
      std::fprintf(stderr, "%s: %s%s%s\n", platform::Cp932ToUtf8(caption).c_str(),
                   platform::Cp932ToUtf8(text).c_str(), question ? " " : "",
                   !question          ? ""
                   : answer == kIdYes ? platform::Tr("-> yes (--yes)")
                                      : platform::Tr("-> no (--no)"));
      return answer;
    }
    wxWindow* ownerWindow = OwnerFor(owner);
    // The box waits for the person: no wait cursor over it meanwhile.
    const bool busy = waitCursor_;
    if (busy) SetWaitCursor(false);
    const int answer = ShowMessageBox(ownerWindow, text, caption, flags, ownerWindow ? 0 : owner);
    if (busy) SetWaitCursor(true);
    return answer;
  }

  int RunModal(DialogController& controller) override {
    ControllerDialog dialog(nullptr, resources::ConditionsDialogTemplate(), controller);
    if (MakeTransientFor(&dialog, parentWindow_)) CentreOnForeign(&dialog, parentWindow_);
    modal_.push_back(&dialog);
    const int code = dialog.Run([this, &dialog, &controller] { Prefill(dialog, controller); });
    modal_.pop_back();
    return code;
  }

  bool PickSaveFile(const SaveFileRequest& request, std::string* chosen) override {
    return ShowSaveFileDialog(Owner(), env_, request, chosen);
  }

  std::unique_ptr<ProgressView> CreateProgressView() override {
    return std::make_unique<ProgressWindow>(env_, parentWindow_);
  }

  void SetWaitCursor(bool on) override {
    if (on == waitCursor_) return;
    waitCursor_ = on;
    if (on) {
      wxBeginBusyCursor();
    } else {
      wxEndBusyCursor();
    }
  }

  ~GuiSeat() override {
    if (waitCursor_) wxEndBusyCursor();
  }

 private:
  // The wx window for a message box's owner handle: our own window with that
  // X11 id, else the front end's choice below. Null leaves the box to the
  // handle itself (the parent program's window) or to none.
  wxWindow* OwnerFor(host::WindowHandle owner) const {
    if (owner != 0) {
      for (wxWindow* window : wxTopLevelWindows) {
        if (!window->IsBeingDeleted() && XWindowOf(window) == owner) return window;
      }
    }
    return Owner();
  }

  // The window that owns a message box: the open modal dialog, else the
  // newest top-level window on the screen (the progress dialog), else none
  // and the box is centred on the screen. A closed window is only hidden
  // until the toolkit deletes it, which may happen while the box is up: a
  // box must never belong to it.
  wxWindow* Owner() const {
    if (!modal_.empty()) return modal_.back();
    for (auto it = wxTopLevelWindows.rbegin(); it != wxTopLevelWindows.rend(); ++it) {
      wxWindow* window = *it;
      if (window->IsBeingDeleted() || !window->IsShown()) continue;
      if (wxTheApp != nullptr && wxTheApp->IsScheduledForDestruction(window)) continue;
      return window;
    }
    return nullptr;
  }

  // Fills the dialog from the options (--method, --months, --output) as the
  // console form does; a value that cannot be applied is said on standard
  // error and the dialog stays for the person. With --execute it then
  // presses Execute, as a person would; there a value that cannot be
  // applied or a refused check cancels.
  void Prefill(ControllerDialog& dialog, DialogController& controller) {
    std::string error;
    const bool prefilled = dialog::PrefillConditions(controller, opts_, env_.Drives(), &error);
    if (!prefilled) std::fprintf(stderr, "%s\n", error.c_str());
    dialog.SyncFromController();
    if (dialog.EndIfDone() || !opts_.execute) return;
    if (!prefilled) {
      dialog.Cancel();
      return;
    }
    if (!dialog::PressExecute(controller)) {
      if (!dialog.EndIfDone()) {
        std::fprintf(stderr, "%s\n",
                     platform::Tr("The conditions were refused (the reason is above), so the run "
                                  "is cancelled. Correct --method, --months or --output and run "
                                  "again."));
        dialog.Cancel();
      }
      return;
    }
    dialog.EndIfDone();
  }

  platform::Env& env_;
  UnattendedOptions opts_;
  uint64_t parentWindow_;
  WxSession session_;
  std::vector<wxWindow*> modal_;
  bool waitCursor_ = false;
};

}  // namespace

bool GuiAvailable(const platform::ProcessSettings& settings, std::string* why) {
  return ProbeWx(settings, why);
}

std::unique_ptr<Seat> NewGuiSeat(platform::Env& env, const platform::ProcessSettings& settings,
                                 const UnattendedOptions& opts, uint64_t parentWindow,
                                 std::string* why) {
  auto seat = std::make_unique<GuiSeat>(env, opts, parentWindow);
  if (!seat->Start(settings, why)) return nullptr;
  return seat;
}

}  // namespace ltb::ui::gui
