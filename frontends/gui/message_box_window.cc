#include "frontends/gui/message_box_window.h"

#include <gdk/gdkx.h>
#include <gtk/gtk.h>

#include <wx/artprov.h>
#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include "frontends/gui/japanese_wrap.h"
#include "frontends/gui/modal_frame.h"
#include "frontends/gui/template_window.h"
#include "frontends/gui/wx_text.h"
#include "frontends/gui/x11_transient.h"
#include "ui/message_box.h"

namespace ltb::ui::gui {
namespace {

constexpr int kMargin = 12;  // around the contents, in pixels
constexpr int kIconSize = 32;
constexpr int kButtonWidth = 88;
constexpr int kTextEms = 36;  // the widest line, in full-width characters

wxString IconOf(long style) {
  if (style & wxICON_WARNING) return wxString::FromAscii(wxART_WARNING);
  if (style & wxICON_QUESTION) return wxString::FromAscii(wxART_QUESTION);
  if (style & wxICON_INFORMATION) return wxString::FromAscii(wxART_INFORMATION);
  return wxString();
}

}  // namespace

long MessageBoxStyle(unsigned flags) {
  long style = (flags & kMbButtonMask) == kMbYesNo ? wxYES_NO : wxOK;
  switch (flags & kMbIconMask) {
    case kMbIconWarning: style |= wxICON_WARNING; break;
    case kMbIconQuestion: style |= wxICON_QUESTION; break;
    case kMbIconInformation: style |= wxICON_INFORMATION; break;
    default: style |= wxICON_NONE; break;
  }
  return style | wxCENTRE;
}

MessageBoxWindow::MessageBoxWindow(const wxString& text, const wxString& caption, long style)
    : wxDialog(nullptr, wxID_ANY, caption, wxDefaultPosition, wxDefaultSize,
               kModalDialogStyle | wxDIALOG_NO_PARENT) {
  auto* body = new wxBoxSizer(wxHORIZONTAL);
  const wxString icon = IconOf(style);
  if (!icon.empty()) {
    const wxBitmap bitmap = wxArtProvider::GetBitmap(icon, wxString::FromAscii(wxART_MESSAGE_BOX),
                                                     wxSize(kIconSize, kIconSize));
    body->Add(new wxStaticBitmap(this, wxID_ANY, bitmap), 0, wxALIGN_TOP | wxRIGHT, kMargin);
  }
  // Long lines are wrapped by the Japanese rules at a width a message box
  // keeps to; the text's own line breaks stay.
  body->Add(new wxStaticText(this, wxID_ANY, WrapJapaneseFor(this, text, kTextEms)), 1,
            wxALIGN_CENTRE_VERTICAL);

  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  auto addButton = [&](int id) {
    auto* button = new wxButton(this, id);
    button->SetMinSize(wxSize(kButtonWidth, -1));
    button->Bind(wxEVT_BUTTON, [this, id](wxCommandEvent&) { Answer(id); });
    buttons->Add(button, 0, wxLEFT | wxRIGHT, kMargin / 2);
    return button;
  };
  wxButton* preferred = nullptr;
  if (style & wxYES_NO) {
    preferred = addButton(wxID_YES);
    addButton(wxID_NO);
    SetEscapeId(wxID_NO);
    SetAffirmativeId(wxID_YES);
  } else {
    preferred = addButton(wxID_OK);
    SetEscapeId(wxID_OK);
  }
  preferred->SetDefault();
  preferred->SetFocus();
  Bind(wxEVT_CHAR_HOOK, [this](wxKeyEvent& event) {
    // X server times wrap around: compare by their difference.
    const auto age = static_cast<int32_t>(static_cast<uint32_t>(event.GetTimestamp()) - shownAt_);
    if (shownAt_ != 0 && age < 0) return;
    event.Skip();
  });

  auto* all = new wxBoxSizer(wxVERTICAL);
  all->Add(body, 0, wxALL | wxEXPAND, kMargin);
  all->Add(buttons, 0, wxALIGN_CENTRE_HORIZONTAL | wxLEFT | wxRIGHT | wxBOTTOM, kMargin);
  SetSizerAndFit(all);
  KeepRestored(this);
  MakeModalFrame(this);
  Centre();
}

void MessageBoxWindow::Answer(int wxId) {
  if (IsModal()) {
    EndModal(wxId);
  } else {
    SetReturnCode(wxId);
    Hide();
  }
}

int ShowMessageBox(wxWindow* owner, std::string_view text, std::string_view caption, unsigned flags,
                   uint64_t foreignOwner) {
  const long style = MessageBoxStyle(flags);
  // The box is no wx child of its owner (the owner may be destroyed while
  // the box is up, as the hidden progress dialog is); the window manager
  // keeps it with its owner through the transient hint.
  MessageBoxWindow box(ToWx(text), ToWx(caption), style);
  const uint64_t ownerWindow = owner != nullptr ? XWindowOf(owner) : foreignOwner;
  if (ownerWindow != 0 && MakeTransientFor(&box, ownerWindow)) {
    CentreOnForeign(&box, ownerWindow);
  }
  XWindowOf(&box);  // realises the box: its X window tells the server's time
  GtkWidget* widget = static_cast<GtkWidget*>(box.GetHandle());
  if (GdkWindow* gdkWindow = widget != nullptr ? gtk_widget_get_window(widget) : nullptr) {
    if (GDK_IS_X11_WINDOW(gdkWindow)) box.IgnoreKeysBefore(gdk_x11_get_server_time(gdkWindow));
  }
  const int answer = box.ShowModal();
  if (style & wxYES_NO) return answer == wxID_YES ? kIdYes : kIdNo;
  return kIdOk;
}

}  // namespace ltb::ui::gui
