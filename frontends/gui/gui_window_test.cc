// The front end's windows on a real X display (the test command starts
// Xvfb): the conditions dialog laid out from its template, the progress
// dialog, message boxes, and keys typed on the keyboard reaching the logic.
// Each dialog is also captured; with $LTB_SCREENSHOT_DIR set the captures
// are written there as PNG files.
#include <gtk/gtk.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <clocale>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/control.h>
#include <wx/dcclient.h>
#include <wx/evtloop.h>
#include <wx/gauge.h>
#include <wx/image.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/timer.h>

#include "frontends/gui/controller_dialog.h"
#include "frontends/gui/message_box_window.h"
#include "frontends/gui/progress_window.h"
#include "frontends/gui/save_file_dialog.h"
#include "frontends/gui/template_window.h"
#include "frontends/gui/wx_session.h"
#include "frontends/gui/wx_text.h"
#include "frontends/gui/x11_transient.h"
#include "platform/env.h"
#include "platform/process_settings.h"
#include "resources/conditions_dialog_template.h"
#include "ui/message_box.h"

// Xlib last: its macros (None, Bool, Status) clash with names the other
// headers use.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <gdk/gdkx.h>

namespace ltb::ui::gui {
namespace {

using resources::ControlKind;

bool HaveDisplay() {
  const char* d = std::getenv("DISPLAY");
  return d != nullptr && *d != '\0';
}

class WxEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (HaveDisplay()) {
      // The accessibility bridge would hold a bus connection (and its
      // memory) for the rest of the process; these tests do not need it.
      setenv("NO_AT_BRIDGE", "1", 1);
      // The file chooser remembers its settings; keep them in memory.
      setenv("GSETTINGS_BACKEND", "memory", 1);
      // As the program does at start: the toolkit speaks the locale's
      // language.
      std::setlocale(LC_ALL, "");
      std::string why;
      platform::ProcessSettings settings;
      settings.display = std::getenv("DISPLAY");
      settings.gsettingsBackendSet = true;
      started_ = StartWx(settings, &why);
      if (!started_) std::fprintf(stderr, "wx did not start: %s\n", why.c_str());
      wxImage::AddHandler(new wxPNGHandler);
    }
  }
  void TearDown() override {
    if (started_) StopWx();
  }
  bool started_ = false;
};
WxEnvironment* g_env =
    static_cast<WxEnvironment*>(::testing::AddGlobalTestEnvironment(new WxEnvironment));

#define REQUIRE_DISPLAY()                                             \
  do {                                                                \
    if (!HaveDisplay()) GTEST_SKIP() << "no $DISPLAY";                \
    ASSERT_TRUE(g_env->started_) << "wx failed to start on $DISPLAY"; \
  } while (0)

// Lets the toolkit map and paint windows for a while.
void Pump(int ms) {
  wxGUIEventLoop loop;
  for (int waited = 0; waited < ms; waited += 10) {
    loop.YieldFor(wxEVT_CATEGORY_ALL);
    usleep(10000);
  }
}

// What a person sees of one top-level window, read from the X server,
// placed at the window's position in an image of the whole screen (black
// elsewhere). The window is read itself, not the root: the toolkit's
// windows may have a deeper visual than the root, whose image would then
// not show them reliably.
wxImage Screenshot(wxWindow* topLevel) {
  // A busy X server may drop a new connection: try again a few times.
  Display* display = nullptr;
  for (int attempt = 0; attempt < 5 && display == nullptr; ++attempt) {
    if (attempt > 0) usleep(100000);
    display = XOpenDisplay(nullptr);
  }
  if (display == nullptr) return wxImage();
  const Window root = DefaultRootWindow(display);
  const Window self = static_cast<Window>(XWindowOf(topLevel));
  XWindowAttributes rootAttributes, attributes;
  wxImage image;
  if (self != 0 && XGetWindowAttributes(display, root, &rootAttributes) &&
      XGetWindowAttributes(display, self, &attributes)) {
    int left = 0, top = 0;
    Window child;
    XTranslateCoordinates(display, self, root, 0, 0, &left, &top, &child);
    XImage* shot =
        XGetImage(display, self, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
    if (shot != nullptr) {
      image.Create(rootAttributes.width, rootAttributes.height);
      auto channel = [](unsigned long pixel, unsigned long mask) {
        int shift = 0;
        while (mask != 0 && (mask & 1) == 0) {
          mask >>= 1;
          ++shift;
        }
        return static_cast<unsigned char>((pixel >> shift) & 0xff);
      };
      for (int y = 0; y < attributes.height; ++y) {
        for (int x = 0; x < attributes.width; ++x) {
          const int sx = left + x, sy = top + y;
          if (sx < 0 || sy < 0 || sx >= image.GetWidth() || sy >= image.GetHeight()) continue;
          const unsigned long pixel = XGetPixel(shot, x, y);
          image.SetRGB(sx, sy, channel(pixel, shot->red_mask), channel(pixel, shot->green_mask),
                       channel(pixel, shot->blue_mask));
        }
      }
      XDestroyImage(shot);
    }
  }
  XCloseDisplay(display);
  return image;
}

void SaveCapture(const wxImage& screen, const wxRect& rect, const char* name) {
  const char* dir = std::getenv("LTB_SCREENSHOT_DIR");
  if (dir == nullptr || !screen.IsOk()) return;
  wxImage part =
      screen.GetSubImage(rect.Intersect(wxRect(0, 0, screen.GetWidth(), screen.GetHeight())));
  part.SaveFile(wxString::FromUTF8(std::string(dir) + "/" + name), wxBITMAP_TYPE_PNG);
}

// Pixels clearly darker than the background: text drawn in the rectangle.
int DarkPixels(const wxImage& image, const wxRect& rect) {
  int dark = 0;
  for (int y = rect.GetTop(); y <= rect.GetBottom(); ++y) {
    for (int x = rect.GetLeft(); x <= rect.GetRight(); ++x) {
      if (x < 0 || y < 0 || x >= image.GetWidth() || y >= image.GetHeight()) continue;
      const int lum =
          (image.GetRed(x, y) * 3 + image.GetGreen(x, y) * 6 + image.GetBlue(x, y)) / 10;
      if (lum < 160) ++dark;
    }
  }
  return dark;
}

// A scripted stand-in for the dialog logic: template texts overridden by
// what the test sets, and a log of what the view fed back.
class FakeController : public DialogController {
 public:
  FakeController() {
    const auto& t = resources::ConditionsDialogTemplate();
    for (size_t i = 0; i < t.controlCount; ++i) {
      if (t.controls[i].id != resources::kNoControlId) {
        states[t.controls[i].id].text = t.controls[i].text;
      }
    }
  }
  std::string Caption() const override { return "消費税 - 集計条件"; }
  void OnInitDialog() override { ++inits; }
  ControlState State(int id) const override {
    auto it = states.find(id);
    return it == states.end() ? ControlState{} : it->second;
  }
  void OnTextChanged(int id, const std::string& text) override {
    states[id].text = text;
    log.push_back("text " + std::to_string(id) + " " + text);
  }
  void OnClick(int id) override {
    log.push_back("click " + std::to_string(id));
    if (id == 1005) ended = 1005;
  }
  bool OnKeyDown(Key key, int focus) override {
    log.push_back("key " + std::to_string(static_cast<int>(key)) + " " + std::to_string(focus));
    if (key == Key::kEnter && focus == 1014) {
      focusId = 1016;
      return true;
    }
    if (key == Key::kF12) {
      ended = 1005;
      return true;
    }
    return false;
  }
  void OnCancel() override {
    log.push_back("cancel");
    ended = 1006;
  }
  int FocusId() const override { return focusId; }
  bool SelectAllOnFocus() const override { return true; }
  bool Ended(int* code) const override {
    if (ended) *code = ended;
    return ended != 0;
  }

  std::map<int, ControlState> states;
  std::vector<std::string> log;
  int inits = 0;
  int focusId = 1014;
  int ended = 0;
};

void FillLikeARealDataset(FakeController& c) {
  c.states[1010].text = "株式会社サンプル商事";
  c.states[1011].text = "2015/04/01～2016/03/31";
  c.states[1012].text = "原則課税";
  c.states[1003].text = "課税仕入控除";
  c.states[1013].text = "個別対応方式";
  c.states[1014].text = "4";
  c.states[1016].text = "3";
  c.states[1008].text = "Z:\\home\\user\\消費税.xml";
  c.states[1029].checked = true;
  c.states[1032].tooltip = "連動元製品にて入力・保存した消費税申告書の情報を使用します。";
}

wxString WithoutMnemonic(const wxString& text) {
  wxString out = text;
  out.Replace(wxString::FromAscii("&&"), wxString::FromAscii("\x01"));
  out.Replace(wxString::FromAscii("&"), wxString());
  out.Replace(wxString::FromAscii("\x01"), wxString::FromAscii("&"));
  return out;
}

TEST(ProgressWindowTest, CaptionAndBarsReachTheScreen) {
  REQUIRE_DISPLAY();
  ProgressWindow progress(*platform::Env::Default());
  progress.Window()->Move(20, 300);
  progress.Show();
  // Many cheap ticks, then the final state.
  for (int i = 0; i <= 100000; ++i) {
    progress.SetActivity(i % 11, 10);
    progress.Repaint();
  }
  wxGauge* overallGauge = dynamic_cast<wxGauge*>(progress.Window()->Control(1019));
  ASSERT_NE(overallGauge, nullptr);
  // The full overall bar reaches the window at once, whatever the throttle
  // last did; so does the last caption.
  progress.SetOverall(1000, 1000);
  progress.SetActivity(5, 10);
  progress.Repaint();
  EXPECT_EQ(overallGauge->GetValue(), overallGauge->GetRange());
  progress.SetCaption("集計中 100％");
  progress.Repaint();
  TemplateWindow* window = progress.Window();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(FromWx(window->GetTitle()), "集計中 100％");
  EXPECT_EQ(window->GetClientSize(), window->ToPixels(0, 0, 221, 44).GetSize());
  // The theme draws the bar as a band somewhere inside its rectangle: find
  // the band's row by its highlight colour near the left end, then look at
  // the fraction asked for: 1 filled, 0 empty, -1 no band at all.
  wxImage screen;
  auto filledAt = [&](wxWindow* bar, double fraction) {
    const wxRect r = bar->GetScreenRect();
    const int x = r.x + static_cast<int>(r.width * fraction);
    const int probe = r.x + r.width / 20;
    for (int y = r.y; y < r.y + r.height; ++y) {
      const int red = screen.GetRed(probe, y), blue = screen.GetBlue(probe, y);
      if (blue > red + 60) return screen.GetBlue(x, y) > screen.GetRed(x, y) + 60 ? 1 : 0;
    }
    return -1;
  };
  wxWindow* overall = window->Control(1019);
  wxWindow* activity = window->Control(1024);
  // The full overall bar is one colour from end to end; the half-full
  // activity bar differs between its two halves. The X server shows the
  // window in its own time: look again (bounded) until it does.
  auto finalStateShown = [&] {
    return filledAt(overall, 0.2) == 1 && filledAt(overall, 0.97) == 1 &&
           filledAt(activity, 0.2) == 1 && filledAt(activity, 0.8) == 0;
  };
  bool shown = false;
  for (int attempt = 0; attempt < 50 && !shown; ++attempt) {
    Pump(60);
    screen = Screenshot(window);
    ASSERT_TRUE(screen.IsOk());
    shown = finalStateShown();
  }
  EXPECT_TRUE(shown) << "overall " << filledAt(overall, 0.2) << filledAt(overall, 0.97)
                     << ", activity " << filledAt(activity, 0.2) << filledAt(activity, 0.8);
  // Each bar is drawn over the height its template gives it (22 and 10
  // units), not as a thin band in the middle.
  auto bandHeight = [&](wxWindow* bar) {
    const wxRect r = bar->GetScreenRect();
    const int probe = r.x + r.width / 2;
    int rows = 0;
    for (int y = r.y; y < r.y + r.height; ++y) {
      if (screen.GetBlue(probe, y) > screen.GetRed(probe, y) + 60) ++rows;
    }
    return rows;
  };
  EXPECT_EQ(overall->GetRect(), window->ToPixels(5, 6, 211, 22));
  EXPECT_EQ(activity->GetRect(), window->ToPixels(5, 29, 211, 10));
  EXPECT_GE(bandHeight(overall), overall->GetSize().y * 3 / 4);
  EXPECT_GE(bandHeight(activity), activity->GetSize().y / 2);
  if (!shown) SaveCapture(screen, window->GetScreenRect(), "progress_failure.png");
  SaveCapture(screen, window->GetScreenRect(), "progress_dialog.png");
  progress.Close();
  EXPECT_EQ(progress.Window(), nullptr);
  Pump(50);
}

// Opens the dialog near the screen's top left as a run does (initialised,
// the controller's state shown, the focus applied) and lets it be drawn.
void OpenAtTopLeft(ControllerDialog& dialog, FakeController& controller) {
  dialog.Move(20, 20);
  controller.OnInitDialog();
  dialog.SyncFromController();
  dialog.Show();
  dialog.ApplyFocus();
  for (int waited = 0; waited < 5000 && !dialog.IsShownOnScreen(); waited += 50) Pump(50);
  Pump(400);
}

TEST(ConditionsDialogWindow, ShowsEveryTemplateTextUnclippedAtItsPlace) {
  REQUIRE_DISPLAY();
  FakeController controller;
  FillLikeARealDataset(controller);
  ControllerDialog dialog(nullptr, resources::ConditionsDialogTemplate(), controller);
  OpenAtTopLeft(dialog, controller);

  EXPECT_EQ(FromWx(dialog.GetTitle()), "消費税 - 集計条件");
  const wxSize client = dialog.GetClientSize();
  EXPECT_EQ(client, dialog.ToPixels(0, 0, 255, 228).GetSize());
  // The template's proportions in every locale: dialog units come from the
  // dialog font alone, whose height is about twice its average letter width
  // (12 by 6 pixels for the face the template was drawn with).
  const DialogBaseUnits& base = dialog.BaseUnits();
  EXPECT_NEAR(static_cast<double>(base.y) / base.x, 2.0, 0.3) << base.x << "x" << base.y;

  const wxImage screen = Screenshot(&dialog);
  ASSERT_TRUE(screen.IsOk()) << "screenshot failed";
  int checked = 0;
  for (const auto& entry : dialog.Entries()) {
    const auto& record = *entry.record;
    const wxString label = WithoutMnemonic(entry.window->GetLabel());
    if (label.empty() || record.kind == ControlKind::kEdit) continue;
    const wxRect expected = dialog.ToPixels(record.x, record.y, record.w, record.h);
    EXPECT_EQ(entry.window->GetRect(), expected) << FromWx(label);
    const int indicator = TextIndicatorWidth(record.kind);
    const wxSize extent = entry.window->GetTextExtent(label);
    EXPECT_LE(extent.x + indicator, expected.width) << "clipped: " << FromWx(label);
    EXPECT_LE(extent.y, expected.height + 2) << "clipped: " << FromWx(label);
    // Something is drawn where the text belongs.
    wxRect onScreen(dialog.ClientToScreen(expected.GetTopLeft()), expected.GetSize());
    if (record.kind == ControlKind::kGroupBox) onScreen.height = extent.y;
    EXPECT_GT(DarkPixels(screen, onScreen), 2) << "nothing drawn for " << FromWx(label);
    ++checked;
  }
  EXPECT_GE(checked, 20);
  // Both method labels in one font, however long either is.
  EXPECT_EQ(dialog.Control(1029)->GetFont(), dialog.Control(1031)->GetFont());
  // The help icon carries the tooltip.
  EXPECT_FALSE(dialog.Control(1032)->GetToolTipText().empty());
  SaveCapture(screen, dialog.GetScreenRect(), "conditions_dialog.png");
  dialog.Hide();
  Pump(50);
}

TEST(ConditionsDialogWindow, RendersStateChangesAndKeepsTheUsersFocus) {
  REQUIRE_DISPLAY();
  FakeController controller;
  FillLikeARealDataset(controller);
  controller.states[1008].enabled = false;
  controller.states[1009].enabled = false;
  controller.states[1007].text = "出力先";
  ControllerDialog dialog(nullptr, resources::ConditionsDialogTemplate(), controller);
  controller.OnInitDialog();
  dialog.SyncFromController();
  dialog.Show();
  Pump(100);
  EXPECT_FALSE(dialog.Control(1008)->IsEnabled());
  EXPECT_FALSE(dialog.Control(1009)->IsEnabled());
  EXPECT_EQ(FromWx(dialog.Control(1007)->GetLabel()), "出力先");
  EXPECT_EQ(FromWx(dialog.Control(1003)->GetLabel()), "課税仕入控除");

  // Typing reaches the logic; the view does not pull the focus back.
  dialog.Control(1016)->SetFocus();
  dialog.TypeText(1016, "12");
  EXPECT_EQ(controller.log.back(), "text 1016 12");
  // Clicking a radio button checks it, as an automatic radio button does.
  dialog.Click(1031);
  EXPECT_EQ(controller.log.back(), "click 1031");
  dialog.Hide();
  Pump(50);
}

// Real key presses through the X server (XTest), as a person types them.
void TypeKeys(const std::string& keys) {
  const std::string command = "xdotool " + keys;
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

TEST(ConditionsDialogWindow, KeyboardDrivesTheLogicAndEscapeCancels) {
  REQUIRE_DISPLAY();
  if (std::system("command -v xdotool >/dev/null") != 0) GTEST_SKIP() << "no xdotool";
  FakeController controller;
  FillLikeARealDataset(controller);
  ControllerDialog dialog(nullptr, resources::ConditionsDialogTemplate(), controller);
  int code = 0;
  wxTimer typing;
  typing.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
    // Focus is on the start month (the logic asked for it), text selected.
    TypeKeys("type --delay 20 7");
    TypeKeys("key Return");
    TypeKeys("type --delay 20 9");
    TypeKeys("key Escape");
  });
  typing.StartOnce(500);
  code = dialog.Run(nullptr);
  EXPECT_EQ(code, 1006);
  const auto& log = controller.log;
  auto has = [&](const std::string& entry) {
    return std::find(log.begin(), log.end(), entry) != log.end();
  };
  std::string all;
  for (const auto& entry : log) all += entry + "; ";
  // The first focus selected the shown month, so the typed digit replaced
  // it, as a person expects.
  EXPECT_EQ(log.front(), "text 1014 7") << all;
  EXPECT_TRUE(has("key 0 1014")) << "Enter in the start month went to the logic";
  EXPECT_TRUE(has("text 1016 9")) << "Enter moved the focus to the end month and selected "
                                     "its text: "
                                  << all;
  EXPECT_EQ(log.back(), "cancel");
}

// Lets the toolkit run until `done` holds, at most `ms`; whether it held.
template <typename Condition>
bool PumpUntil(Condition done, int ms) {
  for (int waited = 0; waited < ms; waited += 50) {
    if (done()) return true;
    Pump(50);
  }
  return done();
}

// Whether a tooltip window is mapped on the display (a viewable top-level
// window whose type says tooltip).
bool TooltipMapped(Display* display) {
  const Atom type = XInternAtom(display, "_NET_WM_WINDOW_TYPE", False);
  const Atom tooltip = XInternAtom(display, "_NET_WM_WINDOW_TYPE_TOOLTIP", False);
  Window root = 0, parent = 0, *children = nullptr;
  unsigned count = 0;
  if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) {
    return false;
  }
  bool mapped = false;
  for (unsigned i = 0; i < count && !mapped; ++i) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, children[i], &attributes) ||
        attributes.map_state != IsViewable) {
      continue;
    }
    Atom actual = 0;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, children[i], type, 0, 8, False, XA_ATOM, &actual, &format,
                           &items, &after, &data) == Success &&
        data != nullptr) {
      const Atom* atoms = reinterpret_cast<const Atom*>(data);
      for (unsigned long k = 0; k < items; ++k) mapped = mapped || atoms[k] == tooltip;
    }
    if (data != nullptr) XFree(data);
  }
  if (children != nullptr) XFree(children);
  return mapped;
}

TEST(ConditionsDialogWindow, HelpTooltipShowsWhileThePointerRestsOnTheIcon) {
  REQUIRE_DISPLAY();
  if (std::system("command -v xdotool >/dev/null") != 0) GTEST_SKIP() << "no xdotool";
  FakeController controller;
  FillLikeARealDataset(controller);
  ControllerDialog dialog(nullptr, resources::ConditionsDialogTemplate(), controller);
  OpenAtTopLeft(dialog, controller);
  ASSERT_TRUE(dialog.IsShownOnScreen());
  Display* display = XOpenDisplay(nullptr);
  ASSERT_NE(display, nullptr);
  // A real pointer move (XTEST) onto the middle of the help icon.
  const wxRect icon = dialog.Control(1032)->GetScreenRect();
  TypeKeys("mousemove " + std::to_string(icon.x + icon.width / 2) + " " +
           std::to_string(icon.y + icon.height / 2));
  EXPECT_TRUE(PumpUntil([&] { return TooltipMapped(display); }, 10000))
      << "no tooltip window while the pointer rests on the icon";
  TypeKeys("mousemove 1 1");
  EXPECT_TRUE(PumpUntil([&] { return !TooltipMapped(display); }, 10000))
      << "the tooltip stays after the pointer left";
  XCloseDisplay(display);
  dialog.Hide();
  Pump(50);
}

TEST(ConditionsDialogWindow, LongValuesAreEllipsizedAndTheOutputFieldShowsTheFileName) {
  REQUIRE_DISPLAY();
  FakeController controller;
  FillLikeARealDataset(controller);
  std::string company = "株式会社";
  for (int i = 0; i < 12; ++i) company += "とても長い名前の";
  company += "商事";
  controller.states[1010].text = company;
  std::string path = "Z:\\home\\user\\";
  for (int i = 0; i < 8; ++i) path += "folder" + std::to_string(i) + "\\";
  path += "消費税申告.xml";
  controller.states[1008].text = path;
  ControllerDialog dialog(nullptr, resources::ConditionsDialogTemplate(), controller);
  controller.focusId = 1016;
  OpenAtTopLeft(dialog, controller);
  ASSERT_TRUE(dialog.IsShownOnScreen());
  // The name is cut with an ellipsis and offered whole as the tooltip; a
  // value that fits has none.
  wxWindow* name = dialog.Control(1010);
  EXPECT_TRUE(pango_layout_is_ellipsized(
      gtk_label_get_layout(GTK_LABEL(static_cast<GtkWidget*>(name->GetHandle())))));
  EXPECT_EQ(FromWx(name->GetToolTipText()), company);
  EXPECT_TRUE(dialog.Control(1011)->GetToolTipText().empty());
  // The path field shows its end, not its start.
  auto* entry = static_cast<GtkWidget*>(dialog.Control(1008)->GetHandle());
  int scrolled = 0;
  g_object_get(entry, "scroll-offset", &scrolled, nullptr);
  EXPECT_GT(scrolled, 0) << "the output field shows the start of the path";
  dialog.Hide();
  Pump(50);
}

TEST(ConditionsDialogWindow, F12ExecutesFromAnyField) {
  REQUIRE_DISPLAY();
  if (std::system("command -v xdotool >/dev/null") != 0) GTEST_SKIP() << "no xdotool";
  FakeController controller;
  ControllerDialog dialog(nullptr, resources::ConditionsDialogTemplate(), controller);
  wxTimer typing;
  typing.Bind(wxEVT_TIMER, [&](wxTimerEvent&) { TypeKeys("key F12"); });
  typing.StartOnce(500);
  EXPECT_EQ(dialog.Run(nullptr), 1005);
}

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
  void Arm() {
    timer.Bind(wxEVT_TIMER, [this](wxTimerEvent&) {
      for (wxWindow* window : wxTopLevelWindows) {
        auto* box = dynamic_cast<MessageBoxWindow*>(window);
        if (box == nullptr || !box->IsShown()) continue;
        title = box->GetTitle().utf8_string();
        client = box->GetClientSize();
        GdkDisplay* gdk = gdk_display_get_default();
        Window owner = 0;
        if (XGetTransientForHint(gdk_x11_display_get_xdisplay(gdk), XWindowOf(box), &owner)) {
          transientFor = owner;
        }
        for (wxWindow* child : box->GetChildren()) {
          if (auto* button = dynamic_cast<wxButton*>(child)) {
            buttons.push_back(wxControl::RemoveMnemonics(button->GetLabel()).utf8_string());
            buttonRects.push_back(button->GetRect());
          }
          if (auto* image = dynamic_cast<wxStaticBitmap*>(child)) icon = image->GetBitmap().IsOk();
        }
        if (response == kCloseTheBox) {
          box->Close();
        } else {
          box->Answer(response);
        }
        return;
      }
      timer.StartOnce(50);  // not up yet
    });
    timer.StartOnce(50);
  }
  wxTimer timer;
};

// Whether the process runs in a Japanese locale (the toolkit then speaks
// Japanese).
bool JapaneseLocale() {
  const char* messages = std::setlocale(LC_MESSAGES, nullptr);
  return messages != nullptr && std::string(messages).rfind("ja_JP", 0) == 0;
}

TEST(MessageBoxWindow, CaptionIconButtonsAndAnswers) {
  REQUIRE_DISPLAY();
  DialogAnswerer yes(wxID_YES);
  yes.Arm();
  EXPECT_EQ(ShowMessageBox(nullptr, "同名のファイルが存在します。\n\n上書きしてもよろしいですか？",
                           "消費税", kMbYesNo | kMbIconQuestion),
            kIdYes);
  EXPECT_EQ(yes.title, "\xE6\xB6\x88\xE8\xB2\xBB\xE7\xA8\x8E");  // the caption, UTF-8
  EXPECT_TRUE(yes.icon) << "a question shows the question icon";
  ASSERT_EQ(yes.buttons.size(), 2u);
  if (JapaneseLocale()) {
    EXPECT_EQ(yes.buttons[0].rfind("\xE3\x81\xAF\xE3\x81\x84", 0), 0u) << yes.buttons[0];  // はい
    EXPECT_EQ(yes.buttons[1].rfind("\xE3\x81\x84\xE3\x81\x84\xE3\x81\x88", 0), 0u)  // いいえ
        << yes.buttons[1];
  } else {
    EXPECT_EQ(yes.buttons[0], "Yes");
    EXPECT_EQ(yes.buttons[1], "No");
  }
  // Buttons of normal size, side by side, inside the box's margins.
  for (const wxRect& button : yes.buttonRects) {
    EXPECT_LT(button.width, yes.client.x / 2);
    EXPECT_GE(button.x, 6);
    EXPECT_LE(button.GetRight(), yes.client.x - 6);
    EXPECT_LE(button.GetBottom(), yes.client.y - 6);
  }
  DialogAnswerer closed(kCloseTheBox);
  closed.Arm();
  EXPECT_EQ(
      ShowMessageBox(nullptr, "上書きしてもよろしいですか？", "消費税", kMbYesNo | kMbIconWarning),
      kIdNo);
  EXPECT_TRUE(closed.icon);
  DialogAnswerer ok(wxID_OK);
  ok.Arm();
  EXPECT_EQ(ShowMessageBox(nullptr, "消費税情報の出力が終了しました。", "消費税",
                           kMbOk | kMbIconInformation),
            kIdOk);
  EXPECT_TRUE(ok.icon);
  EXPECT_EQ(ok.buttons.size(), 1u);
}

TEST(MessageBoxWindow, BoxWithoutAWindowOfOursBelongsToTheParentProgramsWindow) {
  REQUIRE_DISPLAY();
  // The parent program's window, made on a connection of its own.
  Display* display = XOpenDisplay(nullptr);
  ASSERT_NE(display, nullptr);
  const Window foreign =
      XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 10, 10, 0, 0, 0);
  XSync(display, False);
  DialogAnswerer ok(wxID_OK);
  ok.Arm();
  EXPECT_EQ(ShowMessageBox(nullptr, "ドライブ名が有効でありません。", "消費税",
                           kMbOk | kMbIconWarning, foreign),
            kIdOk);
  EXPECT_EQ(ok.transientFor, foreign);
  XDestroyWindow(display, foreign);
  XCloseDisplay(display);
}

TEST(SaveFileDialogWindow, TitleFilterNameAndAnswerInWindowsForm) {
  REQUIRE_DISPLAY();
  char folder[] = "/tmp/ltb-save-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  SaveFileRequest request;
  request.title = "保存ファイルを指定";
  request.filter = "Xml Files (*.xml)|*.xml||";
  request.defaultExt = "XML";
  request.initialName = "消費税";
  std::string title, filterName, shownName;
  wxTimer answer;
  answer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
    GList* windows = gtk_window_list_toplevels();
    for (GList* w = windows; w != nullptr; w = w->next) {
      if (!GTK_IS_FILE_CHOOSER_DIALOG(w->data) || !gtk_widget_get_visible(GTK_WIDGET(w->data))) {
        continue;
      }
      GtkFileChooser* chooser = GTK_FILE_CHOOSER(w->data);
      title = gtk_window_get_title(GTK_WINDOW(w->data));
      if (GtkFileFilter* filter = gtk_file_chooser_get_filter(chooser)) {
        filterName = gtk_file_filter_get_name(filter);
      }
      gchar* name = gtk_file_chooser_get_current_name(chooser);
      if (name != nullptr) shownName = name;
      g_free(name);
      // The user picks the folder and keeps the offered name.
      gtk_file_chooser_set_current_folder(chooser, folder);
      gtk_dialog_response(GTK_DIALOG(w->data), GTK_RESPONSE_ACCEPT);
    }
    g_list_free(windows);
  });
  answer.StartOnce(500);
  std::string chosen;
  const bool picked = ShowSaveFileDialog(nullptr, *platform::Env::Default(), request, &chosen);
  rmdir(folder);
  EXPECT_EQ(title,
            "\xE4\xBF\x9D\xE5\xAD\x98\xE3\x83\x95\xE3\x82\xA1\xE3\x82\xA4"
            "\xE3\x83\xAB\xE3\x82\x92\xE6\x8C\x87\xE5\xAE\x9A");  // UTF-8
  EXPECT_EQ(filterName, "Xml Files (*.xml)");
  // The offered name, which the toolkit completes with the filter's
  // extension.
  EXPECT_EQ(shownName.rfind("\xE6\xB6\x88\xE8\xB2\xBB\xE7\xA8\x8E", 0), 0u) << shownName;
  ASSERT_TRUE(picked);
  // The answer comes back as a Windows path in CP932, ending in the XML
  // extension.
  std::string folderPart = std::string("Z:") + folder + "\\消費税";
  for (char& c : folderPart) {
    if (c == '/') c = '\\';
  }
  ASSERT_EQ(chosen.rfind(folderPart, 0), 0u) << chosen;
  std::string extension = chosen.substr(folderPart.size());
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  EXPECT_EQ(extension, ".xml");
}

// A window manager on the test display for the life of the object: the one
// already running, else openbox started here (none: Running() is false).
class WindowManager {
 public:
  explicit WindowManager(Display* display) : display_(display) {
    if (Present()) return;
    if (std::system("command -v openbox >/dev/null") != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      execlp("openbox", "openbox", "--sm-disable", static_cast<char*>(nullptr));
      _exit(127);
    }
    for (int waited = 0; waited < 10000 && !Present(); waited += 50) usleep(50000);
  }
  ~WindowManager() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
  bool Running() { return Present(); }

 private:
  bool Present() {
    const Atom check = XInternAtom(display_, "_NET_SUPPORTING_WM_CHECK", False);
    Atom type = 0;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    XGetWindowProperty(display_, DefaultRootWindow(display_), check, 0, 1, False, XA_WINDOW, &type,
                       &format, &items, &after, &data);
    const bool present = data != nullptr && items == 1;
    if (data != nullptr) XFree(data);
    return present;
  }
  Display* display_;
  pid_t pid_ = 0;
};

// The atoms of a window's property (names), empty when it has none.
std::vector<std::string> AtomNames(Display* display, Window window, const char* property) {
  std::vector<std::string> names;
  Atom type = 0;
  int format = 0;
  unsigned long items = 0, after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(display, window, XInternAtom(display, property, False), 0, 64, False,
                         XA_ATOM, &type, &format, &items, &after, &data) == Success &&
      data != nullptr) {
    const Atom* atoms = reinterpret_cast<const Atom*>(data);
    for (unsigned long i = 0; i < items; ++i) {
      char* name = XGetAtomName(display, atoms[i]);
      if (name != nullptr) names.push_back(name);
      XFree(name);
    }
  }
  if (data != nullptr) XFree(data);
  return names;
}

// A modal window asks for neither minimise nor maximise in its Motif hints,
// stays a dialog (a toolbar or menu type would lose minimise under openbox
// but could no longer be focused by a click into it), cannot be maximised,
// and comes back at once when the window manager minimises it anyway
// (openbox ignores the Motif minimise and maximise bits on every window).
TEST(ModalWindows, OfferNoMinimiseOrMaximiseAndComeBackWhenMinimised) {
  REQUIRE_DISPLAY();
  if (std::system("command -v xdotool >/dev/null") != 0) GTEST_SKIP() << "no xdotool";
  Display* display = XOpenDisplay(nullptr);
  ASSERT_NE(display, nullptr);
  {
    WindowManager manager(display);
    if (!manager.Running()) {
      XCloseDisplay(display);
      GTEST_SKIP() << "no window manager";
    }
    FakeController controller;
    ControllerDialog conditions(nullptr, resources::ConditionsDialogTemplate(), controller);
    ProgressWindow progress(*platform::Env::Default());
    MessageBoxWindow box(wxString::FromUTF8("x"), wxString::FromUTF8("x"),
                         MessageBoxStyle(kMbOk | kMbIconInformation));
    const std::vector<std::pair<const char*, wxTopLevelWindow*>> windows = {
        {"conditions", &conditions}, {"progress", progress.Window()}, {"message box", &box}};
    for (const auto& [name, window] : windows) {
      SCOPED_TRACE(name);
      bool minimised = false;
      window->Bind(wxEVT_ICONIZE, [&minimised](wxIconizeEvent& event) {
        event.Skip();
        minimised = minimised || event.IsIconized();
      });
      window->Show();
      const Window id = static_cast<Window>(XWindowOf(window));
      ASSERT_TRUE(PumpUntil(
          [&] {
            return AtomNames(display, id, "_NET_WM_ALLOWED_ACTIONS").size() > 0 &&
                   window->IsShownOnScreen();
          },
          10000));
      // Motif hints: functions and decorations without minimise (8, 0x20)
      // or maximise (0x10, 0x40).
      Atom type = 0;
      int format = 0;
      unsigned long items = 0, after = 0;
      unsigned char* data = nullptr;
      XGetWindowProperty(display, id, XInternAtom(display, "_MOTIF_WM_HINTS", False), 0, 5, False,
                         AnyPropertyType, &type, &format, &items, &after, &data);
      ASSERT_NE(data, nullptr);
      ASSERT_GE(items, 3u);
      const long* hints = reinterpret_cast<const long*>(data);
      EXPECT_EQ(hints[1] & 0x18, 0) << "functions " << hints[1];
      EXPECT_EQ(hints[2] & 0x60, 0) << "decorations " << hints[2];
      XFree(data);
      EXPECT_EQ(AtomNames(display, id, "_NET_WM_WINDOW_TYPE"),
                std::vector<std::string>{"_NET_WM_WINDOW_TYPE_DIALOG"});
      for (const std::string& action : AtomNames(display, id, "_NET_WM_ALLOWED_ACTIONS")) {
        EXPECT_EQ(action.find("MAXIMIZE"), std::string::npos) << action;
      }
      // Minimised through the window manager, it is back at once.
      TypeKeys("windowminimize " + std::to_string(id));
      EXPECT_TRUE(PumpUntil([&] { return minimised; }, 10000)) << "never minimised";
      EXPECT_TRUE(PumpUntil(
          [&] {
            XWindowAttributes attributes;
            return !window->IsIconized() && XGetWindowAttributes(display, id, &attributes) &&
                   attributes.map_state == IsViewable;
          },
          10000))
          << "stays minimised";
      window->Hide();
      Pump(50);
    }
    progress.Close();
  }
  XCloseDisplay(display);
}

TEST(X11Transient, DialogBecomesTransientForAnExistingWindowOnly) {
  REQUIRE_DISPLAY();
  TemplateWindow parent(nullptr, resources::ConditionsDialogTemplate());
  TemplateWindow child(nullptr, resources::ConditionsDialogTemplate());
  const uint64_t parentId = XWindowOf(&parent);
  ASSERT_NE(parentId, 0u);
  EXPECT_TRUE(MakeTransientFor(&child, parentId));
  EXPECT_TRUE(MakeTransientFor(&child, 0));
  EXPECT_FALSE(MakeTransientFor(&child, 0x3fffff01));  // no such window
}

}  // namespace
}  // namespace ltb::ui::gui
