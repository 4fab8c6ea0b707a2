// Pieces of the front end that need no display: text conversion at the
// toolkit edge, the save dialog's filter and extension, message-box styles,
// dialog units and the repaint throttle.
#include <gtest/gtest.h>

#include <wx/defs.h>

#include "frontends/gui/dialog_units.h"
#include "frontends/gui/message_box_window.h"
#include "frontends/gui/progress_window.h"
#include "frontends/gui/save_file_names.h"
#include "frontends/gui/wx_text.h"
#include "ui/message_box.h"

namespace ltb::ui::gui {
namespace {

TEST(WxText, Cp932RoundTripsThroughWxString) {
  const std::string caption = "消費税 - 集計条件";  // CP932 bytes (exec charset)
  const wxString wide = ToWx(caption);
  ASSERT_FALSE(wide.empty());
  EXPECT_EQ(wide.length(), 10u);
  EXPECT_EQ(wide, wxString::FromUTF8("\xE6\xB6\x88\xE8\xB2\xBB\xE7\xA8\x8E - "
                                     "\xE9\x9B\x86\xE8\xA8\x88\xE6\x9D\xA1\xE4\xBB\xB6"));
  EXPECT_EQ(FromWx(wide), caption);
  // The trail byte 0x5C of 表 stays part of the character.
  EXPECT_EQ(FromWx(ToWx("C:\\表\\a.xml")), "C:\\表\\a.xml");
}

TEST(WxText, InvalidOrUnmappableTextDegradesInsteadOfVanishing) {
  // A stray lead byte in the middle: the rest is still converted.
  const wxString wide = ToWx(std::string("AB\x81") + "CD");
  EXPECT_TRUE(wide.StartsWith(wxString::FromAscii("AB")));
  EXPECT_TRUE(wide.EndsWith(wxString::FromAscii("D")));
  // U+1F600 has no CP932 form.
  EXPECT_EQ(FromWx(wxString::FromUTF8("a\xF0\x9F\x98\x80"
                                      "b")),
            "a?b");
  EXPECT_EQ(FromWx(wxString()), "");
  EXPECT_TRUE(ToWx("").empty());
}

TEST(SaveFileDialogHelpers, FilterDropsTheEmptyTrailingPair) {
  EXPECT_EQ(WxFilterFromWindows("Xml Files (*.xml)|*.xml||"), "Xml Files (*.xml)|*.xml");
  EXPECT_EQ(WxFilterFromWindows("A|*.a|B|*.b||"), "A|*.a|B|*.b");
  EXPECT_EQ(WxFilterFromWindows(""), "");
}

TEST(SaveFileDialogHelpers, DefaultExtensionOnlyWhenTheNameHasNone) {
  EXPECT_EQ(WithDefaultExtension("/home/u/tax", "XML"), "/home/u/tax.XML");
  EXPECT_EQ(WithDefaultExtension("/home/u/tax.xml", "XML"), "/home/u/tax.xml");
  // A dot in a folder name does not count as the file's extension.
  EXPECT_EQ(WithDefaultExtension("/home/u.d/tax", "XML"), "/home/u.d/tax.XML");
  EXPECT_EQ(WithDefaultExtension("/home/u/tax", ""), "/home/u/tax");
  EXPECT_EQ(WithDefaultExtension("/home/u/", "XML"), "/home/u/");
}

TEST(SaveFileDialogHelpers, APatternIsNoNameToOffer) {
  EXPECT_EQ(OfferedName("*.xml"), "");
  EXPECT_EQ(OfferedName("rep?.xml"), "");
  EXPECT_EQ(OfferedName("消費税.xml"), "消費税.xml");
  EXPECT_EQ(OfferedName(""), "");
}

TEST(MessageBoxStyle, ButtonsAndIconsFollowTheFlags) {
  EXPECT_EQ(MessageBoxStyle(kMbOk | kMbIconWarning) & (wxOK | wxYES_NO | wxICON_MASK),
            wxOK | wxICON_WARNING);
  EXPECT_EQ(MessageBoxStyle(kMbYesNo | kMbIconQuestion) & (wxOK | wxYES_NO | wxICON_MASK),
            wxYES_NO | wxICON_QUESTION);
  EXPECT_EQ(MessageBoxStyle(kMbYesNo | kMbIconWarning) & (wxOK | wxYES_NO | wxICON_MASK),
            wxYES_NO | wxICON_WARNING);
  EXPECT_EQ(MessageBoxStyle(kMbOk | kMbIconInformation) & (wxOK | wxYES_NO | wxICON_MASK),
            wxOK | wxICON_INFORMATION);
}

TEST(DialogUnits, RoundToTheNearestPixelAsTheDialogManagerDoes) {
  // 7 by 13 pixel base units (a 9-point Japanese face at 96 dpi).
  const DialogBaseUnits base{7, 13};
  EXPECT_EQ(DialogToPixels(base, 0, 0, 255, 228), wxRect(0, 0, 446, 371));  // 446.25, 370.5
  EXPECT_EQ(DialogToPixels(base, 5, 6, 211, 22), wxRect(9, 10, 369, 36));   // 8.75, 9.75
  EXPECT_EQ(DialogToPixels(base, 2, 4, 1, 0), wxRect(4, 7, 2, 0));          // 3.5, 6.5, 1.75
}

TEST(RepaintThrottle, PaintsFirstAndForcedAtOnceOthersAtItsPace) {
  RepaintThrottle throttle(40);
  EXPECT_TRUE(throttle.Due(1001, false));
  EXPECT_FALSE(throttle.Due(1020, false));
  EXPECT_TRUE(throttle.Due(1021, true));
  EXPECT_FALSE(throttle.Due(1060, false));
  EXPECT_TRUE(throttle.Due(1061, false));
}

}  // namespace
}  // namespace ltb::ui::gui
