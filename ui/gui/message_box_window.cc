#include "ui/gui/message_box_window.h"

#include <memory>

#include <wx/app.h>
#include <wx/msgdlg.h>

#include "ui/gui/wx_text.h"
#include "ui/gui/x11_transient.h"
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
                   unsigned flags, uint64_t foreignOwner) {
  const long style = MessageBoxStyle(flags);
  wxMessageDialog box(owner, ToWx(text), ToWx(caption), style);
  auto showing = std::make_shared<bool>(true);
  if (owner == nullptr && foreignOwner != 0 && wxTheApp != nullptr) {
    // The toolkit creates the box's window only once it is being shown:
    // tie it to the foreign window from inside the box's modal loop.
    wxTheApp->CallAfter([&box, foreignOwner, showing] {
      if (*showing) MakeTransientFor(&box, foreignOwner);
    });
  }
  const int answer = box.ShowModal();
  *showing = false;
  if (style & wxYES_NO) return answer == wxID_YES ? kIdYes : kIdNo;
  return kIdOk;
}

}  // namespace ltb::ui::gui
