#include "frontends/gui/wx_session.h"

#include <X11/Xlib.h>

#include <cstdlib>
#include <optional>
#include <string>

#include <wx/app.h>
#include <wx/init.h>
#include <wx/log.h>
#include <wx/translation.h>

#include "frontends/gui/gtk_theme.h"
#include "platform/messages.h"
#include "platform/process.h"

namespace ltb::ui::gui {
namespace {

// The application object wx needs to initialise its GUI part. It never runs
// a main loop: the run shows modal dialogs and repaints the progress view
// itself.
class FrontEndApp : public wxApp {
 public:
  bool OnInit() override { return true; }
  // A toolkit assertion must not end the run with a dialog of its own.
  void OnAssertFailure(const wxChar*, int, const wxChar*, const wxChar*, const wxChar*) override {}
};

constexpr int kConnectAttempts = 5;
constexpr long kRetryPauseMicros = 100000;

int g_users = 0;
bool g_started = false;
// A reference left by the availability probe, taken over by the next user.
bool g_probeReference = false;

// Without a session bus the toolkit's settings store cannot save (the file
// chooser remembers its view there) and complains on standard error at every
// change: the settings are then kept in memory for the run.
void KeepSettingsInMemoryWithoutSessionBus(const platform::ProcessSettings& settings) {
  if (settings.gsettingsBackendSet || settings.sessionBusAddressSet) return;
  if (!settings.xdgRuntimeDir.empty() &&
      platform::LinuxPathExists(settings.xdgRuntimeDir + "/bus")) {
    return;
  }
  platform::SetProcessVariable("GSETTINGS_BACKEND", "memory");
}

}  // namespace

bool DisplayAvailable(const std::string& name, std::string* why) {
  if (name.empty()) {
    if (why) *why = platform::Tr("there is no display ($DISPLAY is not set)");
    return false;
  }
  // A busy X server now and then drops a connection while it is being
  // set up; only a display that refuses several attempts counts as absent.
  for (int attempt = 0; attempt < kConnectAttempts; ++attempt) {
    if (attempt > 0) platform::PauseMicros(kRetryPauseMicros);
    if (Display* display = XOpenDisplay(name.c_str())) {
      XCloseDisplay(display);
      return true;
    }
  }
  if (why) *why = platform::Format(platform::Tr("the display %s cannot be opened"), name.c_str());
  return false;
}

bool StartWx(const platform::ProcessSettings& settings, std::string* why) {
  if (g_started) {
    if (g_probeReference) {
      g_probeReference = false;
    } else {
      ++g_users;
    }
    return true;
  }
  if (!DisplayAvailable(settings.display, why)) return false;
  KeepSettingsInMemoryWithoutSessionBus(settings);
  // The toolkit opens its own connection, which may be dropped the same
  // way: a failed start is cleaned up and tried again.
  bool started = false;
  for (int attempt = 0; attempt < kConnectAttempts && !started; ++attempt) {
    if (attempt > 0) platform::PauseMicros(kRetryPauseMicros);
    wxApp::SetInstance(new FrontEndApp());
    static char arg0[] = "LedTaxBridge";
    static char* argv[] = {arg0, nullptr};
    int argc = 1;
    // Messages go to message boxes of the program only; the toolkit's own
    // log window would be a dialog nobody asked for, and when the toolkit
    // fails to start, its clean-up would try to show its log in a window
    // of a GUI that does not exist.
    delete wxLog::SetActiveTarget(new wxLogStderr());
    {
      // Only the last attempt's complaint is worth showing.
      std::optional<wxLogNull> quiet;
      if (attempt + 1 < kConnectAttempts) quiet.emplace();
      started = wxEntryStart(argc, argv);
    }
    if (!started) wxEntryCleanup();
  }
  if (!started) {
    if (why) *why = platform::Tr("the window toolkit could not be started");
    return false;
  }
  InstallCompactTheme();
  // The toolkit's stock words (Yes, No, Save, Cancel) in the language of
  // the locale the program was started in.
  auto* translations = new wxTranslations();
  translations->AddStdCatalog();
  wxTranslations::Set(translations);
  g_started = true;
  g_users = 1;
  return true;
}

void StopWx() {
  if (!g_started || --g_users > 0) return;
  wxEntryCleanup();
  g_started = false;
}

}  // namespace ltb::ui::gui

namespace ltb::ui::gui {

bool ProbeWx(const platform::ProcessSettings& settings, std::string* why) {
  if (g_started) return true;
  if (!StartWx(settings, why)) return false;
  g_probeReference = true;
  return true;
}

}  // namespace ltb::ui::gui
