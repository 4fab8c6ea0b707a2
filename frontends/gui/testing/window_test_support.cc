#include "frontends/gui/testing/window_test_support.h"

#include <gtk/gtk.h>
#include <signal.h>
#include <sys/wait.h>

#include <clocale>
#include <cstdlib>

#include <wx/button.h>
#include <wx/control.h>
#include <wx/evtloop.h>
#include <wx/statbmp.h>

#include "frontends/gui/message_box_window.h"
#include "frontends/gui/wx_session.h"
#include "frontends/gui/x11_transient.h"
#include "platform/process_settings.h"
#include "resources/conditions_dialog_template.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <gdk/gdkx.h>

namespace ltb::ui::gui {
namespace {
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

// The pixels of an image read from the X server.
wxImage ImageOf(XImage* shot, int width, int height) {
  auto channel = [](unsigned long pixel, unsigned long mask) {
    int shift = 0;
    while (mask != 0 && (mask & 1) == 0) {
      mask >>= 1;
      ++shift;
    }
    return static_cast<unsigned char>((pixel >> shift) & 0xff);
  };
  wxImage image(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const unsigned long pixel = XGetPixel(shot, x, y);
      image.SetRGB(x, y, channel(pixel, shot->red_mask), channel(pixel, shot->green_mask),
                   channel(pixel, shot->blue_mask));
    }
  }
  return image;
}

}  // namespace

bool HaveDisplay() {
  const char* d = std::getenv("DISPLAY");
  return d != nullptr && *d != '\0';
}

bool WxStarted() { return g_env->started_; }

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
      image.Paste(ImageOf(shot, attributes.width, attributes.height), left, top);
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

void SaveFramedCapture(wxWindow* topLevel, const std::string& name) {
  const char* dir = std::getenv("LTB_SCREENSHOT_DIR");
  if (dir == nullptr) return;
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return;
  // Up to the child of the root that holds the window: the frame.
  Window frame = static_cast<Window>(XWindowOf(topLevel)), root = 0, parent = 0,
         *children = nullptr;
  unsigned count = 0;
  while (frame != 0 && XQueryTree(display, frame, &root, &parent, &children, &count)) {
    if (children != nullptr) XFree(children);
    if (parent == root || parent == 0) break;
    frame = parent;
  }
  XWindowAttributes attributes;
  int left = 0, top = 0;
  Window child = 0;
  if (frame != 0 && XGetWindowAttributes(display, frame, &attributes) &&
      XTranslateCoordinates(display, frame, attributes.root, 0, 0, &left, &top, &child)) {
    XImage* shot = XGetImage(display, attributes.root, left, top, attributes.width,
                             attributes.height, AllPlanes, ZPixmap);
    if (shot != nullptr) {
      const wxImage image = ImageOf(shot, attributes.width, attributes.height);
      XDestroyImage(shot);
      std::string file = name;
      const char* scale = std::getenv("GDK_SCALE");
      if (scale != nullptr && std::string(scale) == "2") {
        file.insert(file.rfind('.'), "_scale2");
      }
      image.SaveFile(wxString::FromUTF8(std::string(dir) + "/" + file), wxBITMAP_TYPE_PNG);
    }
  }
  XCloseDisplay(display);
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

FakeController::FakeController() {
  const auto& t = resources::ConditionsDialogTemplate();
  for (size_t i = 0; i < t.controlCount; ++i) {
    if (t.controls[i].id != resources::kNoControlId) {
      states[t.controls[i].id].text = t.controls[i].text;
    }
  }
}
ControlState FakeController::State(int id) const {
  auto it = states.find(id);
  return it == states.end() ? ControlState{} : it->second;
}
void FakeController::OnTextChanged(int id, const std::string& text) {
  states[id].text = text;
  log.push_back("text " + std::to_string(id) + " " + text);
}
void FakeController::OnClick(int id) {
  log.push_back("click " + std::to_string(id));
  if (id == 1005) ended = 1005;
}
bool FakeController::OnKeyDown(Key key, int focus) {
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
void FakeController::OnCancel() {
  log.push_back("cancel");
  ended = 1006;
}
bool FakeController::Ended(int* code) const {
  if (ended) *code = ended;
  return ended != 0;
}

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

ManagedDisplay::ManagedDisplay() : display_(XOpenDisplay(nullptr)) {
  if (display_ != nullptr) manager_ = std::make_unique<WindowManager>(display_);
}

ManagedDisplay::~ManagedDisplay() {
  manager_.reset();
  if (display_ != nullptr) XCloseDisplay(display_);
}

bool ManagedDisplay::Ready() { return manager_ != nullptr && manager_->Running(); }

bool HaveXdotool() { return std::system("command -v xdotool >/dev/null") == 0; }

void TypeKeys(const std::string& keys) {
  const std::string command = "xdotool " + keys;
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

bool JapaneseLocale() {
  const char* messages = std::setlocale(LC_MESSAGES, nullptr);
  return messages != nullptr && std::string(messages).rfind("ja_JP", 0) == 0;
}

void DialogAnswerer::Arm() {
  timer.Bind(wxEVT_TIMER, [this](wxTimerEvent&) {
    for (wxWindow* window : wxTopLevelWindows) {
      auto* box = dynamic_cast<MessageBoxWindow*>(window);
      if (box == nullptr || !box->IsShownOnScreen()) continue;
      title = box->GetTitle().utf8_string();
      client = box->GetClientSize();
      Display* display = gdk_x11_display_get_xdisplay(gdk_display_get_default());
      Window owner = 0;
      if (XGetTransientForHint(display, XWindowOf(box), &owner)) transientFor = owner;
      onScreen = WindowOnScreen(display, XWindowOf(box));
      for (wxWindow* child : box->GetChildren()) {
        if (auto* button = dynamic_cast<wxButton*>(child)) {
          buttons.push_back(wxControl::RemoveMnemonics(button->GetLabel()).utf8_string());
          buttonRects.push_back(button->GetRect());
        }
        if (auto* image = dynamic_cast<wxStaticBitmap*>(child)) icon = image->GetBitmap().IsOk();
      }
      if (beforeAnswer) beforeAnswer(box);
      if (response == kCloseTheBox) {
        box->Close();
      } else {
        box->Answer(response);
      }
      return;
    }
    timer.StartOnce(50);  // not up yet
  });
  timer.StartOnce(delayMs);
}

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

wxRect WindowOnScreen(Display* display, Window window) {
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display, window, &attributes)) return wxRect();
  int left = 0, top = 0;
  Window child = 0;
  XTranslateCoordinates(display, window, attributes.root, 0, 0, &left, &top, &child);
  return wxRect(left, top, attributes.width, attributes.height);
}

}  // namespace ltb::ui::gui
