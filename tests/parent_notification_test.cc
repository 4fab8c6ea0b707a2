// The parent program's view of a run: its X11 window is marked disabled,
// re-enabled, and receives the result as a ClientMessage.
// GoogleTest first: Xlib defines macros (None, Bool) that its headers use.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "ledger/ledger_host.h"
#include "tests/program_runner.h"

namespace ltb::e2e {
namespace {

struct Seen {
  std::vector<std::string> order;  // "disabled", "enabled", "message"
  std::vector<XClientMessageEvent> messages;
};

class ParentWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    display = XOpenDisplay(nullptr);
    if (!display) GTEST_SKIP() << "no X display";
    window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 10, 10, 0, 0, 0);
    XSelectInput(display, window, PropertyChangeMask);
    disabledAtom = XInternAtom(display, "_LTB_WINDOW_DISABLED", False);
    messageAtom = XInternAtom(display, "_LTB_WINDOW_MESSAGE", False);
    XSync(display, False);
    std::filesystem::create_directories(dir / "home");
    std::string error;
    ASSERT_TRUE(ledger::CreateSampleLedger(dir / "ledger", &error)) << error;
  }
  void TearDown() override {
    if (display) {
      XDestroyWindow(display, window);
      XCloseDisplay(display);
    }
  }

  ProgramResult Run(const std::string& commandLine, const std::string& ledgerHome,
                    const std::string& workDir = {}) {
    return RunProgram(ProgramDir() + "/LedTaxBridgeA",
                      {"--ledger", ledgerHome, "--ui", "console", "--method", "journal", "--months",
                       "4-3", "--execute", "--yes", commandLine},
                      {{"HOME", dir / "home"},
                       {"XDG_DATA_HOME", dir / "home/.local/share"},
                       {"LEDORA_HOME", ""},
                       {"LEDORA_USER", ""}},
                      120, workDir);
  }

  Seen Collect() {
    Seen seen;
    XSync(display, False);
    while (XPending(display) > 0) {
      XEvent e;
      XNextEvent(display, &e);
      if (e.type == PropertyNotify && e.xproperty.atom == disabledAtom) {
        seen.order.push_back(e.xproperty.state == PropertyNewValue ? "disabled" : "enabled");
      } else if (e.type == ClientMessage && e.xclient.message_type == messageAtom) {
        seen.order.push_back("message");
        seen.messages.push_back(e.xclient);
      }
    }
    return seen;
  }

  std::string Line(const std::string& rest) const {
    return std::to_string(window) + ",1025,-1," + rest;
  }

  TempDir dir;
  Display* display = nullptr;
  Window window = 0;
  Atom disabledAtom = 0, messageAtom = 0;
};

TEST_F(ParentWindowTest, FinishedRunIsPostedWithAllBitsOfMinusOne) {
  const std::string out = dir / "parent.xml";
  const ProgramResult r = Run(Line(out), dir / "ledger");
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_TRUE(std::filesystem::exists(out));
  const Seen seen = Collect();
  // Deleting a property that is already gone sends no event, so the
  // second enable is silent.
  EXPECT_EQ(seen.order, (std::vector<std::string>{"disabled", "enabled", "message"}));
  ASSERT_EQ(seen.messages.size(), 1u);
  EXPECT_EQ(seen.messages[0].format, 32);
  EXPECT_EQ(seen.messages[0].data.l[0], 1025);
  EXPECT_EQ(static_cast<unsigned long>(seen.messages[0].data.l[1]), ~0UL);
  EXPECT_EQ(seen.messages[0].data.l[2], 0);
}

// The id as xwininfo and xdotool print it, and an output item relative to
// the folder the program was started in; an id in neither form is named.
TEST_F(ParentWindowTest, HexadecimalIdAndRelativeOutputItem) {
  char hex[32];
  std::snprintf(hex, sizeof(hex), "0x%lx", static_cast<unsigned long>(window));
  ProgramResult r = Run(std::string(hex) + ",1025,-1,parent.xml", "ledger", dir.path());
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_TRUE(std::filesystem::exists(dir / "parent.xml")) << r.output;
  EXPECT_EQ(r.output.find("window id"), std::string::npos) << r.output;
  Seen seen = Collect();
  EXPECT_EQ(seen.order, (std::vector<std::string>{"disabled", "enabled", "message"}));

  std::filesystem::create_directories(dir / "work");
  r = Run("window" + std::to_string(window) + ",1025,-1,", dir / "ledger", dir / "work");
  EXPECT_NE(r.output.find("\"window" + std::to_string(window) + "\" is neither"), std::string::npos)
      << r.output;
  EXPECT_TRUE(Collect().order.empty());
}

TEST_F(ParentWindowTest, EmptyOutputItemAndAnErrorResult) {
  // Three commas with an empty fourth item: launched by the parent; the
  // environment is fine but the ledger is missing, so the run cannot even
  // connect: nothing is posted and the window is never disabled.
  ProgramResult r = Run(Line(""), dir / "missing");
  EXPECT_EQ(r.status, 2) << r.output;
  EXPECT_TRUE(Collect().order.empty());
}

TEST_F(ParentWindowTest, ShortCommandLineIsNoParent) {
  const ProgramResult r = Run(std::to_string(window) + ",1025", dir / "ledger");
  EXPECT_NE(r.status, -1);
  EXPECT_TRUE(Collect().order.empty());
}

}  // namespace
}  // namespace ltb::e2e
