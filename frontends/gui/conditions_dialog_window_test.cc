// The conditions dialog laid out from its template on a real display:
// every text at its place and unclipped, state changes, keys typed on the
// keyboard reaching the logic, the help tooltip, long values.
#include <gtk/gtk.h>

#include <algorithm>

#include <gtest/gtest.h>
#include <wx/textctrl.h>
#include <wx/timer.h>

#include "frontends/gui/controller_dialog.h"
#include "frontends/gui/testing/window_test_support.h"
#include "frontends/gui/wx_text.h"
#include "resources/conditions_dialog_template.h"

#include <X11/Xatom.h>

namespace ltb::ui::gui {
namespace {

using resources::ControlKind;

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
  SaveFramedCapture(&dialog, "conditions_dialog.png");
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
  std::string mixed = "株式会社";
  for (int i = 0; i < 12; ++i) mixed += "とても長い名前の";
  mixed += "商事";
  // Full-width letters only, as the dataset facts come (with their space).
  const std::string wide =
      " ＮＰＯ法人サンプル地域振興ネットワーク東日本統括本部経理財務部第二会計課";
  for (const std::string& company : {mixed, wide}) {
    FakeController controller;
    FillLikeARealDataset(controller);
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
    PangoLayout* layout =
        gtk_label_get_layout(GTK_LABEL(static_cast<GtkWidget*>(name->GetHandle())));
    EXPECT_TRUE(pango_layout_is_ellipsized(layout));
    EXPECT_EQ(pango_layout_get_line_count(layout), 1) << "the name wraps instead";
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

// A letter typed over the selected month is refused and changes nothing:
// the month stays as it was, selection and all, and the logic hears of no
// change; a digit then replaces it.
TEST(ConditionsDialogWindow, ARejectedKeyLeavesTheMonthUnchanged) {
  REQUIRE_DISPLAY();
  if (!HaveXdotool()) GTEST_SKIP() << "no xdotool";
  FakeController controller;
  FillLikeARealDataset(controller);
  ControllerDialog dialog(nullptr, resources::ConditionsDialogTemplate(), controller);
  wxString afterLetter;
  wxTimer typing;
  typing.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
    TypeKeys("type --delay 20 a");
    TypeKeys("key shift+b");
    Pump(100);
    afterLetter = dynamic_cast<wxTextCtrl*>(dialog.Control(1014))->GetValue();
    TypeKeys("type --delay 20 7");
    TypeKeys("key Escape");
  });
  typing.StartOnce(500);
  dialog.Run(nullptr);
  EXPECT_EQ(FromWx(afterLetter), "4");
  ASSERT_FALSE(controller.log.empty());
  EXPECT_EQ(controller.log.front(), "text 1014 7") << "the selection survived the letters";
}

// The rows and columns of dark (text) pixels inside a rectangle of a
// screenshot: {top, bottom, right}; top > bottom when there are none.
struct Ink {
  int top = 1 << 20, bottom = -1, right = -1;
};
Ink InkIn(const wxImage& screen, const wxRect& rect) {
  Ink ink;
  for (int y = rect.GetTop(); y <= rect.GetBottom(); ++y) {
    for (int x = rect.GetLeft(); x <= rect.GetRight(); ++x) {
      if (DarkPixels(screen, wxRect(x, y, 1, 1)) == 0) continue;
      ink.top = std::min(ink.top, y);
      ink.bottom = std::max(ink.bottom, y);
      ink.right = std::max(ink.right, x);
    }
  }
  return ink;
}

// The month fields' digits sit level with the labels beside them (their
// middles within a pixel) and clear of the field's right border.
TEST(ConditionsDialogWindow, MonthDigitsSitLevelWithTheirLabelsAndClearOfTheBorder) {
  REQUIRE_DISPLAY();
  FakeController controller;
  FillLikeARealDataset(controller);
  controller.states[1014].text = "12";
  controller.focusId = 1008;  // no selection highlight on the months
  ControllerDialog dialog(nullptr, resources::ConditionsDialogTemplate(), controller);
  OpenAtTopLeft(dialog, controller);
  ASSERT_TRUE(dialog.IsShownOnScreen());
  const wxImage screen = Screenshot(&dialog);
  ASSERT_TRUE(screen.IsOk());
  for (const auto& [field, label] : {std::pair{1014, 1015}, std::pair{1016, 1017}}) {
    SCOPED_TRACE(field);
    const wxRect box = dialog.Control(field)->GetScreenRect();
    // Inside the field's frame (two pixels of border and shadow).
    const Ink digits = InkIn(screen, box.Deflate(3, 3));
    const Ink text = InkIn(screen, dialog.Control(label)->GetScreenRect());
    ASSERT_LE(digits.top, digits.bottom) << "no digits drawn";
    ASSERT_LE(text.top, text.bottom) << "no label drawn";
    EXPECT_LE(std::abs((digits.top + digits.bottom) - (text.top + text.bottom)), 2)
        << "digits " << digits.top << "-" << digits.bottom << ", label " << text.top << "-"
        << text.bottom;
    EXPECT_GE(box.GetRight() - digits.right, 5) << "the digits touch the right border";
  }
  dialog.Hide();
  Pump(50);
}

}  // namespace
}  // namespace ltb::ui::gui
