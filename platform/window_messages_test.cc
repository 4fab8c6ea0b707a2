#include "platform/window_messages.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

// Xlib's macros None and Bool clash with GoogleTest's names.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace ltb::platform {
namespace {

std::string DisplayName() {
  const char* name = std::getenv("DISPLAY");
  return name ? name : "";
}

// Runs against the X server named by $DISPLAY (the test script starts one).
class WindowMessagesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no DISPLAY";
    display_ = XOpenDisplay(nullptr);
    ASSERT_NE(display_, nullptr) << "cannot open " << std::getenv("DISPLAY");
    window_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 10, 10, 0, 0, 0);
    XSync(display_, False);
  }
  void TearDown() override {
    if (!display_) return;
    XDestroyWindow(display_, window_);
    XCloseDisplay(display_);
  }

  Display* display_ = nullptr;
  Window window_ = 0;
};

TEST_F(WindowMessagesTest, PostedMessageArrivesWithSignExtendedParameter) {
  ASSERT_TRUE(PostWindowMessage(DisplayName(), window_, 1025, -1, 2));
  XEvent event;
  ASSERT_TRUE(
      XCheckTypedWindowEvent(display_, window_, ClientMessage, &event) ||
      (XSync(display_, False), XCheckTypedWindowEvent(display_, window_, ClientMessage, &event)));
  EXPECT_EQ(event.xclient.format, 32);
  char* type = XGetAtomName(display_, event.xclient.message_type);
  EXPECT_STREQ(type, "_LTB_WINDOW_MESSAGE");
  XFree(type);
  EXPECT_EQ(event.xclient.data.l[0], 1025);
  EXPECT_EQ(static_cast<unsigned long>(event.xclient.data.l[1]), ~0ul);  // all bits set
  EXPECT_EQ(event.xclient.data.l[2], 2);
}

TEST_F(WindowMessagesTest, DisabledStateIsAWindowProperty) {
  Atom disabled = XInternAtom(display_, "_LTB_WINDOW_DISABLED", False);
  auto read = [&]() -> long {
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    XGetWindowProperty(display_, window_, disabled, 0, 1, False, XA_CARDINAL, &type, &format,
                       &count, &after, &data);
    long value = (data && count == 1) ? *reinterpret_cast<long*>(data) : -1;
    if (data) XFree(data);
    return value;
  };
  ASSERT_TRUE(EnableWindow(DisplayName(), window_, false));
  EXPECT_EQ(read(), 1);
  ASSERT_TRUE(EnableWindow(DisplayName(), window_, true));
  EXPECT_EQ(read(), -1);
  EXPECT_TRUE(SetForegroundWindow(DisplayName(), window_));  // unmapped: focus refused, no failure
}

TEST_F(WindowMessagesTest, MissingWindowFailsQuietly) {
  Window gone = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 1, 1, 0, 0, 0);
  XDestroyWindow(display_, gone);
  XSync(display_, False);
  EXPECT_FALSE(PostWindowMessage(DisplayName(), gone, 1025, 0, 0));
  EXPECT_FALSE(EnableWindow(DisplayName(), gone, false));
  EXPECT_FALSE(SetForegroundWindow(DisplayName(), gone));
  EXPECT_FALSE(PostWindowMessage(DisplayName(), 0, 1025, 0, 0));
  // Still usable afterwards.
  EXPECT_TRUE(PostWindowMessage(DisplayName(), window_, 1026, 0, 0));
}

TEST(WindowMessagesNoDisplayTest, EveryCallFailsWithoutADisplay) {
  EXPECT_FALSE(PostWindowMessage("", 1, 1025, -1, 2));
  EXPECT_FALSE(EnableWindow("", 1, false));
  EXPECT_FALSE(SetForegroundWindow("", 1));
}

}  // namespace
}  // namespace ltb::platform
