#include "ui/gui/message_box_window.h"

#include <wx/msgdlg.h>

#include "ui/gui/wx_text.h"
#include "ui/message_box.h"

namespace ltb::ui::gui {

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

int ShowMessageBox(wxWindow* owner, std::string_view text, std::string_view caption,
                   unsigned flags) {
  const long style = MessageBoxStyle(flags);
  wxMessageDialog box(owner, ToWx(text), ToWx(caption), style);
  const int answer = box.ShowModal();
  if (style & wxYES_NO) return answer == wxID_YES ? kIdYes : kIdNo;
  return kIdOk;
}

}  // namespace ltb::ui::gui
