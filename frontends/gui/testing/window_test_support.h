// What the window tests share: the toolkit started once on the test
// display, pumping its events, screenshots read back from the X server, a
// scripted dialog logic, real keystrokes, message-box answering, and a
// window manager on the display. With $LTB_SCREENSHOT_DIR set the tests
// write their captures there as PNG files.
#pragma once

#include <unistd.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/image.h>
#include <wx/timer.h>
#include <wx/window.h>

#include "frontends/gui/testing/window_manager.h"
#include "ui/dialog_controller.h"

// Xlib last: its macros (None, Bool, Status) clash with names the other
// headers use.
#include <X11/Xlib.h>

namespace ltb::ui::gui {

bool HaveDisplay();
// Whether wx started on $DISPLAY (once for the whole test program).
bool WxStarted();

#define REQUIRE_DISPLAY()                                                         \
  do {                                                                            \
    if (!::ltb::ui::gui::HaveDisplay()) GTEST_SKIP() << "no $DISPLAY";            \
    ASSERT_TRUE(::ltb::ui::gui::WxStarted()) << "wx failed to start on $DISPLAY"; \
  } while (0)

// Lets the toolkit map and paint windows for a while.
void Pump(int ms);

// Lets the toolkit run until `done` holds, at most `ms`; whether it held.
template <typename Condition>
bool PumpUntil(Condition done, int ms) {
  for (int waited = 0; waited < ms; waited += 50) {
    if (done()) return true;
    Pump(50);
  }
  return done();
}

// What a person sees of one top-level window, read from the X server,
// placed at the window's position in an image of the whole screen (black
// elsewhere).
wxImage Screenshot(wxWindow* topLevel);
void SaveCapture(const wxImage& screen, const wxRect& rect, const char* name);
// With $LTB_SCREENSHOT_DIR set, writes what the screen shows of a top-level
// window with the window manager's frame around it, in device pixels, as
// `name` there, with "_scale2" before the extension at GDK_SCALE=2.
void SaveFramedCapture(wxWindow* topLevel, const std::string& name);
// Pixels clearly darker than the background: text drawn in the rectangle.
int DarkPixels(const wxImage& image, const wxRect& rect);

// A scripted stand-in for the dialog logic: template texts overridden by
// what the test sets, and a log of what the view fed back.
class FakeController : public DialogController {
 public:
  FakeController();
  std::string Caption() const override { return "消費税 - 集計条件"; }
  void OnInitDialog() override { ++inits; }
  ControlState State(int id) const override;
  void OnTextChanged(int id, const std::string& text) override;
  void OnClick(int id) override;
  bool OnKeyDown(Key key, int focus) override;
  void OnCancel() override;
  int FocusId() const override { return focusId; }
  bool SelectAllOnFocus() const override { return true; }
  bool Ended(int* code) const override;

  std::map<int, ControlState> states;
  std::vector<std::string> log;
  int inits = 0;
  int focusId = 1014;
  int ended = 0;
};

void FillLikeARealDataset(FakeController& c);
wxString WithoutMnemonic(const wxString& text);

// Whether xdotool is there to play the person.
bool HaveXdotool();
// Real key presses and pointer moves through the X server (XTest), as a
// person makes them.
void TypeKeys(const std::string& keys);

// Whether the process runs in a Japanese locale (the toolkit then speaks
// Japanese).
bool JapaneseLocale();

// The answer a person would give by closing the box's window.
constexpr int kCloseTheBox = -1;

// Answers the next message box that shows up, after a look at it.
struct DialogAnswerer {
  explicit DialogAnswerer(int answer) : response(answer) {}
  int response;  // wxID_YES, wxID_NO, wxID_OK or kCloseTheBox
  std::string title;
  unsigned long transientFor = 0;
  bool icon = false;
  std::vector<std::string> buttons;  // labels without mnemonics, UTF-8
  std::vector<wxRect> buttonRects;
  wxSize client;
  wxRect onScreen;   // the box's rectangle on the screen, in X pixels
  int delayMs = 50;  // how long the box is left up before it is looked at
  std::function<void(wxWindow*)> beforeAnswer;  // a last look at the box
  void Arm();
  wxTimer timer;
};

// A connection of the test's own to the display, with a window manager on
// it, for the life of the object.
class ManagedDisplay {
 public:
  ManagedDisplay();
  ~ManagedDisplay();
  ManagedDisplay(const ManagedDisplay&) = delete;
  ManagedDisplay& operator=(const ManagedDisplay&) = delete;
  Display* display() const { return display_; }
  // Whether the connection and a window manager are there.
  bool Ready();

 private:
  Display* display_;
  std::unique_ptr<WindowManager> manager_;
};

// The atoms of a window's property (names), empty when it has none.
std::vector<std::string> AtomNames(Display* display, Window window, const char* property);
// A window's rectangle on the screen in X pixels (device pixels, whatever
// the toolkit's scale), without the window manager's frame.
wxRect WindowOnScreen(Display* display, Window window);

}  // namespace ltb::ui::gui
