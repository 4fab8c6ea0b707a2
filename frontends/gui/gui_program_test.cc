// The real program with its windows, driven by real keystrokes (XTEST
// through xdotool) on the X display the test command provides: a whole
// journal run that must end with the same report as the console run, and
// a cancel by Escape that the parent program's window learns about.
// GoogleTest first: Xlib defines macros (None, Bool) that its headers use.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "frontends/gui/testing/window_manager.h"
#include "tests/program_runner.h"
#include "tools/bench/ledger_generator.h"

namespace ltb::e2e {
namespace {

// Window titles as the toolkit sets them (UTF-8).
const char kConditionsTitle[] =
    "\xE6\xB6\x88\xE8\xB2\xBB\xE7\xA8\x8E - \xE9\x9B\x86\xE8\xA8\x88\xE6\x9D\xA1\xE4\xBB\xB6";
const char kMessageBoxTitle[] = "\xE6\xB6\x88\xE8\xB2\xBB\xE7\xA8\x8E";

// Windows of the program come and go while the test looks at them: a query
// about a window that has just gone fails instead of ending the test.
int IgnoreXError(Display*, XErrorEvent*) { return 0; }

// A connection of the test's own, retried a few times: a busy X server
// may drop a new connection.
Display* OpenDisplay() {
  XSetErrorHandler(IgnoreXError);
  for (int attempt = 0; attempt < 5; ++attempt) {
    if (attempt > 0) usleep(100000);
    if (Display* display = XOpenDisplay(nullptr)) return display;
  }
  return nullptr;
}

std::string WindowTitle(Display* display, Window window) {
  const Atom name = XInternAtom(display, "_NET_WM_NAME", False);
  const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
  Atom type = 0;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  std::string title;
  if (XGetWindowProperty(display, window, name, 0, 256, False, utf8, &type, &format, &count, &after,
                         &data) == Success &&
      data != nullptr) {
    title.assign(reinterpret_cast<char*>(data), count);
  }
  if (data != nullptr) XFree(data);
  return title;
}

// The viewable top-level windows with that title, not yet in `seen`.
// Adds the viewable windows with that title, not in `seen`, among the
// children of `window` and their descendants down to `depth` levels (a
// window manager puts each top-level window inside a frame of its own).
void CollectTitled(Display* display, Window window, const std::string& title,
                   const std::set<Window>& seen, int depth, std::vector<Window>* found) {
  Window root = 0, parent = 0, *children = nullptr;
  unsigned count = 0;
  if (depth == 0 || !XQueryTree(display, window, &root, &parent, &children, &count)) return;
  for (unsigned i = 0; i < count; ++i) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, children[i], &attributes)) continue;
    if (attributes.map_state != IsViewable) continue;
    if (seen.count(children[i]) == 0 && WindowTitle(display, children[i]) == title) {
      found->push_back(children[i]);
    } else {
      CollectTitled(display, children[i], title, seen, depth - 1, found);
    }
  }
  if (children != nullptr) XFree(children);
}

// The viewable top-level windows with that title, not yet in `seen`, with
// or without a window manager.
std::vector<Window> NewWindowsTitled(Display* display, const std::string& title,
                                     const std::set<Window>& seen) {
  std::vector<Window> found;
  CollectTitled(display, DefaultRootWindow(display), title, seen, 3, &found);
  return found;
}

// Waits (bounded) for a new window with that title; 0 when none came.
Window WaitForWindow(Display* display, const std::string& title, std::set<Window>* seen,
                     int timeoutMs = 20000) {
  for (int waited = 0; waited < timeoutMs; waited += 50) {
    const std::vector<Window> windows = NewWindowsTitled(display, title, *seen);
    if (!windows.empty()) {
      seen->insert(windows.front());
      return windows.front();
    }
    usleep(50000);
  }
  return 0;
}

// Gives the window the keyboard focus (as a window manager would on a
// click) and sends keys or text as real key presses.
void Keys(Window window, const std::string& xdotoolArgs) {
  const std::string focus = "xdotool windowfocus --sync " + std::to_string(window);
  ASSERT_EQ(std::system(focus.c_str()), 0) << focus;
  const std::string command = "xdotool " + xdotoolArgs;
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

// The program running in the background while the test plays the user.
class BackgroundRun {
 public:
  BackgroundRun(std::vector<std::string> args, std::map<std::string, std::string> env)
      : thread_([this, args, env] {
          result_ = RunProgram(ProgramDir() + "/LedTaxBridgeA", args, env, 60);
          finished_ = true;
        }) {}
  ~BackgroundRun() {
    if (thread_.joinable()) thread_.join();
  }
  const ProgramResult& Wait() {
    thread_.join();
    return result_;
  }
  bool Finished() const { return finished_; }

 private:
  ProgramResult result_;
  std::atomic<bool> finished_{false};
  std::thread thread_;
};

class GuiProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || *name == '\0') GTEST_SKIP() << "no $DISPLAY";
    if (std::system("command -v xdotool >/dev/null") != 0) GTEST_SKIP() << "no xdotool";
    display = OpenDisplay();
    ASSERT_NE(display, nullptr);
    std::filesystem::create_directories(dir / "home");
  }
  void TearDown() override {
    if (display != nullptr) XCloseDisplay(display);
  }

  // A newcomer's run: fresh home, the built-in sample ledger.
  std::map<std::string, std::string> Environment() {
    return {{"HOME", dir / "home"},
            {"XDG_DATA_HOME", dir / "home/share"},
            {"LEDORA_HOME", ""},
            {"LEDORA_USER", ""},
            // No accessibility bridge: it keeps a bus connection (and its
            // memory) for the process's life, which the leak check reports.
            {"NO_AT_BRIDGE", "1"},
            // A toolkit critical (a control given less than its minimum
            // size, for one) ends the run instead of passing unnoticed.
            {"G_DEBUG", "fatal-criticals"}};
  }

  TempDir dir;
  Display* display = nullptr;
  std::set<Window> seen;
};

TEST_F(GuiProgramTest, TypedJournalRunOverwritesTheFileWithTheReport) {
  const std::string out = dir / "report.xml";
  WriteWholeFile(out, "an older report\n");
  // A Japanese user's run: the toolkit speaks Japanese, the report stays
  // byte for byte the same.
  std::map<std::string, std::string> env = Environment();
  env["LC_ALL"] = "ja_JP.UTF-8";
  BackgroundRun run({"--ui", "gui"}, env);

  const Window conditions = WaitForWindow(display, kConditionsTitle, &seen);
  ASSERT_NE(conditions, 0u) << "the conditions dialog did not appear";
  // Alt+S reaches the start month with its text selected; Enter walks on
  // to the end month and the output field, each selected whole; F12
  // executes.
  Keys(conditions, "key alt+s");
  Keys(conditions, "type --delay 30 4");
  Keys(conditions, "key Return");
  Keys(conditions, "type --delay 30 3");
  Keys(conditions, "key Return");
  Keys(conditions, "type --delay 10 '" + out + "'");
  Keys(conditions, "key F12");

  // The overwrite question (Yes is its default button), then the final
  // message; any note in between is acknowledged the same way.
  int boxes = 0;
  while (!run.Finished()) {
    for (Window box : NewWindowsTitled(display, kMessageBoxTitle, seen)) {
      seen.insert(box);
      Keys(box, "key Return");
      ++boxes;
    }
    usleep(50000);
  }
  const ProgramResult& result = run.Wait();
  ASSERT_EQ(result.status, 0) << result.output;
  EXPECT_EQ(result.output.find("Gtk-"), std::string::npos) << result.output;
  EXPECT_GE(boxes, 2) << "the overwrite question and the final message";
  const std::string golden = ReadWholeFile(GoldenDir() + "/sample_journal.xml");
  ASSERT_FALSE(golden.empty());
  EXPECT_TRUE(ReadWholeFile(out) == golden) << "the report differs from the golden journal report";
}

TEST_F(GuiProgramTest, UnattendedOptionsFillTheShownDialogAndExecute) {
  const std::string out = dir / "unattended.xml";
  const ProgramResult result = RunProgram(ProgramDir() + "/LedTaxBridgeA",
                                          {"--ui", "gui", "--method", "journal", "--months", "4-3",
                                           "--output", out, "--execute", "--yes"},
                                          Environment(), 60);
  ASSERT_EQ(result.status, 0) << result.output;
  // Nobody watches the screen: the final message is said on standard error.
  EXPECT_NE(result.output.find("\xE5\x87\xBA\xE5\x8A\x9B\xE3\x81\x8C\xE7\xB5\x82"
                               "\xE4\xBA\x86"),  // "出力が終了", UTF-8
            std::string::npos)
      << result.output;
  EXPECT_TRUE(ReadWholeFile(out) == ReadWholeFile(GoldenDir() + "/sample_journal.xml"));
}

TEST_F(GuiProgramTest, EscapeCancelsAndTheParentWindowIsToldAndEnabledAgain) {
  const Window parent =
      XCreateSimpleWindow(display, DefaultRootWindow(display), 60, 80, 640, 480, 0, 0, 0);
  XSelectInput(display, parent, PropertyChangeMask);
  XMapWindow(display, parent);
  // Where the parent shows (a window manager places it as it likes).
  XWindowAttributes parentAttributes{};
  for (int waited = 0; waited < 10000; waited += 50) {
    if (XGetWindowAttributes(display, parent, &parentAttributes) &&
        parentAttributes.map_state == IsViewable) {
      break;
    }
    usleep(50000);
  }
  ASSERT_EQ(parentAttributes.map_state, IsViewable);
  int parentLeft = 0, parentTop = 0;
  Window unused = 0;
  XTranslateCoordinates(display, parent, DefaultRootWindow(display), 0, 0, &parentLeft, &parentTop,
                        &unused);
  const Atom disabled = XInternAtom(display, "_LTB_WINDOW_DISABLED", False);
  const Atom message = XInternAtom(display, "_LTB_WINDOW_MESSAGE", False);
  XSync(display, False);
  auto parentDisabled = [&] {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    XGetWindowProperty(display, parent, disabled, 0, 1, False, AnyPropertyType, &type, &format,
                       &count, &after, &data);
    if (data != nullptr) XFree(data);
    return type != 0;
  };

  BackgroundRun run({"--ui", "gui", std::to_string(parent) + ",1025,-1,"}, Environment());
  const Window conditions = WaitForWindow(display, kConditionsTitle, &seen);
  ASSERT_NE(conditions, 0u) << "the conditions dialog did not appear";
  // While the dialog is up the parent is marked disabled, and the dialog
  // belongs to it.
  EXPECT_TRUE(parentDisabled());
  Window owner = 0;
  EXPECT_TRUE(XGetTransientForHint(display, conditions, &owner));
  EXPECT_EQ(owner, parent);
  // ... and opens centred on it.
  XWindowAttributes attributes;
  int left = 0, top = 0;
  Window child = 0;
  ASSERT_TRUE(XGetWindowAttributes(display, conditions, &attributes));
  XTranslateCoordinates(display, conditions, DefaultRootWindow(display), 0, 0, &left, &top, &child);
  EXPECT_NEAR(left + attributes.width / 2, parentLeft + 640 / 2, 30);
  EXPECT_NEAR(top + attributes.height / 2, parentTop + 480 / 2, 30);

  Keys(conditions, "key Escape");
  const Window notice = WaitForWindow(display, kMessageBoxTitle, &seen);
  ASSERT_NE(notice, 0u) << "no cancel notice";
  Keys(notice, "key Return");
  const ProgramResult& result = run.Wait();
  EXPECT_EQ(result.status, 1) << result.output;

  XSync(display, False);
  std::vector<XClientMessageEvent> messages;
  while (XPending(display) > 0) {
    XEvent event;
    XNextEvent(display, &event);
    if (event.type == ClientMessage && event.xclient.message_type == message) {
      messages.push_back(event.xclient);
    }
  }
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].data.l[0], 1025);
  EXPECT_EQ(static_cast<unsigned long>(messages[0].data.l[1]), ~0UL);
  EXPECT_EQ(messages[0].data.l[2], 1);
  EXPECT_FALSE(parentDisabled()) << "the parent is still marked disabled";
  XDestroyWindow(display, parent);
}

// The conditions dialog's size in one locale and scale: the program is
// started, its dialog measured and cancelled. {0, 0} when it did not show.
struct Shown {
  int width = 0, height = 0;
  std::string output;
};

TEST_F(GuiProgramTest, DialogKeepsTheTemplatesProportionsInEveryLocaleAndScale) {
  auto open = [&](const std::string& locale, const std::string& scale) {
    std::map<std::string, std::string> env = Environment();
    env["LC_ALL"] = locale;
    env["GDK_SCALE"] = scale;
    Shown shown;
    // The X server may give a new program the window ids of the last one.
    seen.clear();
    BackgroundRun run({"--ui", "gui"}, env);
    const Window conditions = WaitForWindow(display, kConditionsTitle, &seen);
    if (conditions == 0) return shown;
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display, conditions, &attributes)) {
      shown.width = attributes.width;
      shown.height = attributes.height;
    }
    Keys(conditions, "key Escape");
    const Window notice = WaitForWindow(display, kMessageBoxTitle, &seen);
    if (notice != 0) Keys(notice, "key Return");
    shown.output = run.Wait().output;
    return shown;
  };
  const Shown plain = open("C.UTF-8", "1");
  const Shown japanese = open("ja_JP.UTF-8", "1");
  const Shown doubled = open("ja_JP.UTF-8", "2");
  ASSERT_GT(plain.width, 0) << plain.output;
  // Dialog units come from the dialog font alone: the same size in every
  // locale, twice the size at twice the scale.
  EXPECT_EQ(japanese.width, plain.width);
  EXPECT_EQ(japanese.height, plain.height);
  EXPECT_EQ(doubled.width, 2 * plain.width);
  EXPECT_EQ(doubled.height, 2 * plain.height);
  // 255 x 228 units: the height is about 0.89 of the width when the font
  // is twice as high as its average letter is wide, as the template's was.
  EXPECT_NEAR(static_cast<double>(plain.height) / plain.width, 0.89, 0.09);
  for (const Shown* run : {&plain, &japanese, &doubled}) {
    EXPECT_EQ(run->output.find("Gtk-"), std::string::npos) << run->output;
  }
}

TEST_F(GuiProgramTest, TheSaveDialogOpensAndClosesWithoutComplaints) {
  // "保存ファイルを指定", UTF-8
  const char kSaveTitle[] =
      "\xE4\xBF\x9D\xE5\xAD\x98\xE3\x83\x95\xE3\x82\xA1\xE3\x82\xA4"
      "\xE3\x83\xAB\xE3\x82\x92\xE6\x8C\x87\xE5\xAE\x9A";
  std::map<std::string, std::string> env = Environment();
  env["LC_ALL"] = "ja_JP.UTF-8";
  // No session bus, as under a bare X server or a remote login.
  env["DBUS_SESSION_BUS_ADDRESS"] = "";
  env["GSETTINGS_BACKEND"] = "";
  env["XDG_RUNTIME_DIR"] = "";
  BackgroundRun run({"--ui", "gui"}, env);
  const Window conditions = WaitForWindow(display, kConditionsTitle, &seen);
  ASSERT_NE(conditions, 0u) << "the conditions dialog did not appear";
  Keys(conditions, "key alt+d");
  const Window chooser = WaitForWindow(display, kSaveTitle, &seen);
  ASSERT_NE(chooser, 0u) << "the save dialog did not appear";
  Keys(chooser, "key Escape");
  Keys(conditions, "key Escape");
  const Window notice = WaitForWindow(display, kMessageBoxTitle, &seen);
  ASSERT_NE(notice, 0u) << "no cancel notice";
  Keys(notice, "key Return");
  const ProgramResult& result = run.Wait();
  EXPECT_EQ(result.status, 1) << result.output;
  EXPECT_EQ(result.output.find("WARNING"), std::string::npos) << result.output;
  EXPECT_EQ(result.output.find("CRITICAL"), std::string::npos) << result.output;
}

// The text the program has selected (the PRIMARY selection), as another
// program on the desktop would paste it; empty when none comes.
std::string SelectedText(Display* display) {
  const Window requestor =
      XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
  const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
  const Atom into = XInternAtom(display, "LTB_SELECTION", False);
  XConvertSelection(display, XA_PRIMARY, utf8, into, requestor, CurrentTime);
  XFlush(display);
  std::string text;
  for (int waited = 0; waited < 5000; waited += 20) {
    XEvent event;
    if (XCheckTypedWindowEvent(display, requestor, SelectionNotify, &event)) {
      Atom type = 0;
      int format = 0;
      unsigned long count = 0, after = 0;
      unsigned char* data = nullptr;
      if (event.xselection.property != 0 &&
          XGetWindowProperty(display, requestor, into, 0, 1024, True, AnyPropertyType, &type,
                             &format, &count, &after, &data) == Success &&
          data != nullptr) {
        text.assign(reinterpret_cast<char*>(data), count);
      }
      if (data != nullptr) XFree(data);
      break;
    }
    usleep(20000);
  }
  XDestroyWindow(display, requestor);
  return text;
}

// The selected text once it contains `part` (the program selects in its own
// time after a key), or the last one seen.
std::string SelectionWith(Display* display, const std::string& part, int attempts = 50) {
  std::string text;
  for (int attempt = 0; attempt < attempts; ++attempt) {
    text = SelectedText(display);
    if (text.find(part) != std::string::npos) break;
    usleep(100000);
  }
  return text;
}

// The first viewable window whose title starts with `prefix`, waited for.
Window WaitForWindowStartingWith(Display* display, const std::string& prefix, int timeoutMs) {
  for (int waited = 0; waited < timeoutMs; waited += 20) {
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    Window found = 0;
    if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) {
      for (unsigned i = 0; i < count && found == 0; ++i) {
        std::vector<Window> stack = {children[i]};
        while (!stack.empty() && found == 0) {
          const Window w = stack.back();
          stack.pop_back();
          XWindowAttributes attributes;
          if (!XGetWindowAttributes(display, w, &attributes) ||
              attributes.map_state != IsViewable) {
            continue;
          }
          if (WindowTitle(display, w).rfind(prefix, 0) == 0) {
            found = w;
            break;
          }
          Window r = 0, p = 0, *kids = nullptr;
          unsigned n = 0;
          if (XQueryTree(display, w, &r, &p, &kids, &n)) {
            for (unsigned k = 0; k < n; ++k) stack.push_back(kids[k]);
            if (kids != nullptr) XFree(kids);
          }
        }
      }
      if (children != nullptr) XFree(children);
    }
    if (found != 0) return found;
    usleep(20000);
  }
  return 0;
}

// A ledger large enough that its aggregation takes seconds: made once for
// the tests below.
class GuiLongRunTest : public GuiProgramTest {
 protected:
  static void SetUpTestSuite() {
    ledger_ = new TempDir;
    bench::LedgerShape shape;
    shape.entries = 300000;
    std::string error;
    made_ = bench::GenerateLedger(ledger_->path(), shape, &error);
    if (!made_) std::fprintf(stderr, "the ledger was not made: %s\n", error.c_str());
  }
  static void TearDownTestSuite() {
    delete ledger_;
    ledger_ = nullptr;
  }
  std::map<std::string, std::string> LongRunEnvironment() {
    std::map<std::string, std::string> env = Environment();
    env["LEDORA_HOME"] = ledger_->path();
    env["LEDORA_USER"] = bench::kGeneratedUser;
    env["LC_ALL"] = "ja_JP.UTF-8";
    return env;
  }
  static TempDir* ledger_;
  static bool made_;
};
TempDir* GuiLongRunTest::ledger_ = nullptr;
bool GuiLongRunTest::made_ = false;

// What --method, --months and --output fill in is what the dialog shows
// (read back as the desktop would, from the selected text); Execute then
// starts the run, and the progress dialog stops it, by Escape (also while
// the checks before the aggregation still read the journal, when the title
// has no percentage yet), by its close button and by its cancel button: the
// cancel notice, status 1, no report, nothing remembered.
TEST_F(GuiLongRunTest, OptionsFillTheDialogAndTheProgressDialogStopsTheRun) {
  ASSERT_TRUE(made_);
  // The close button is the window manager's.
  ui::gui::WindowManager manager(display);
  if (!manager.Running()) GTEST_SKIP() << "no window manager";
  const char kProgressTitle[] = "\xE9\x9B\x86\xE8\xA8\x88\xE4\xB8\xAD";  // "集計中", UTF-8
  for (const std::string how : {"escape", "close", "button", "checks"}) {
    SCOPED_TRACE(how);
    const std::string out = dir / ("stopped-" + how + ".xml");
    seen.clear();
    BackgroundRun run({"--ui", "gui", "--method", "journal", "--months", "6-9", "--output", out},
                      LongRunEnvironment());
    const Window conditions = WaitForWindow(display, kConditionsTitle, &seen);
    ASSERT_NE(conditions, 0u) << "the conditions dialog did not appear";
    // Alt+S selects the start month, Enter then the end month and the
    // output, each field's text selected as it takes the focus. The primary
    // selection is the whole display's, so a field is focused afresh (Tab
    // away, then back) until its own text is the selection: a key sent
    // before the dialog takes input, or a window of another test that
    // selects at the same moment, only costs a try.
    auto fieldText = [&](int returns, const std::string& part) {
      std::string keys = "key Tab alt+s";
      for (int i = 0; i < returns; ++i) keys += " Return";
      std::string text;
      for (int attempt = 0; attempt < 8 && text.find(part) == std::string::npos; ++attempt) {
        Keys(conditions, keys);
        text = SelectionWith(display, part, 10);
      }
      return text;
    };
    EXPECT_EQ(fieldText(0, "6"), "6");
    EXPECT_EQ(fieldText(1, "9"), "9");
    const std::string shownPath = fieldText(2, "stopped-");
    EXPECT_NE(shownPath.find("stopped-" + how + ".xml"), std::string::npos) << shownPath;
    Keys(conditions, "key F12");
    const Window progress = WaitForWindowStartingWith(display, kProgressTitle, 20000);
    ASSERT_NE(progress, 0u) << "no progress dialog";
    if (how == "checks") {
      // On a fast machine the checks of this ledger may be over before the
      // key arrives; the stop then falls in the aggregation and must end the
      // run the same way (the checks' own stop is tested on the ledger and
      // the driver, where it does not depend on timing).
      if (WindowTitle(display, progress) != kProgressTitle) {
        std::printf("note: the checks were over before the key\n");
      }
      Keys(progress, "key Escape");
    } else if (how == "escape") {
      Keys(progress, "key Escape");
    } else if (how == "close") {
      XEvent event{};
      event.xclient.type = ClientMessage;
      event.xclient.window = progress;
      event.xclient.message_type = XInternAtom(display, "_NET_CLOSE_WINDOW", False);
      event.xclient.format = 32;
      event.xclient.data.l[1] = 2;
      XSendEvent(display, DefaultRootWindow(display), False,
                 SubstructureNotifyMask | SubstructureRedirectMask, &event);
      XFlush(display);
    } else {
      // The button sits at the bottom right: 50 x 14 of the 221 x 63 units.
      XWindowAttributes attributes;
      ASSERT_TRUE(XGetWindowAttributes(display, progress, &attributes));
      int left = 0, top = 0;
      Window child = 0;
      XTranslateCoordinates(display, progress, DefaultRootWindow(display), 0, 0, &left, &top,
                            &child);
      const int x = left + attributes.width * 191 / 221, y = top + attributes.height * 51 / 63;
      const std::string click =
          "xdotool mousemove " + std::to_string(x) + " " + std::to_string(y) + " click 1";
      ASSERT_EQ(std::system(click.c_str()), 0);
    }
    const Window notice = WaitForWindow(display, kMessageBoxTitle, &seen);
    ASSERT_NE(notice, 0u) << "no cancel notice";
    Keys(notice, "key Return");
    const ProgramResult& result = run.Wait();
    EXPECT_EQ(result.status, 1) << result.output;
    EXPECT_FALSE(std::filesystem::exists(out)) << "a report was written";
    // Nothing remembered: the path is in no file of the home folder.
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir / "home")) {
      if (!entry.is_regular_file()) continue;
      EXPECT_EQ(ReadWholeFile(entry.path()).find("stopped-"), std::string::npos) << entry.path();
    }
  }
}

// Needs no display: it takes the display away.
TEST(GuiProgramWithoutDisplay, AskingForTheGuiFailsClearly) {
  TempDir dir;
  const ProgramResult result = RunProgram(ProgramDir() + "/LedTaxBridgeA",
                                          {"--ui", "gui", "--method", "journal", "--months", "4-3",
                                           "--output", dir / "r.xml", "--execute"},
                                          {{"HOME", dir.path()},
                                           {"XDG_DATA_HOME", dir / "share"},
                                           {"LEDORA_HOME", ""},
                                           {"LEDORA_USER", ""},
                                           {"DISPLAY", ""}});
  EXPECT_EQ(result.status, 2) << result.output;
  EXPECT_NE(result.output.find("graphical front end"), std::string::npos) << result.output;
  EXPECT_FALSE(std::filesystem::exists(dir / "r.xml"));
}

}  // namespace
}  // namespace ltb::e2e
