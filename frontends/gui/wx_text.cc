#include "frontends/gui/wx_text.h"

#include <wx/strconv.h>

#include "platform/cp932.h"

namespace ltb::ui::gui {
namespace {

wxCSConv& Cp932() {
  static wxCSConv conv(wxString::FromAscii("CP932"));
  return conv;
}

}  // namespace

wxString ToWx(std::string_view cp932) {
  if (cp932.empty()) return wxString();
  wxString out(cp932.data(), Cp932(), cp932.size());
  if (!out.empty()) return out;
  // Invalid input: convert what can be converted, character by character,
  // rather than losing the whole text.
  wxString partial;
  for (size_t i = 0; i < cp932.size();) {
    const bool pair =
        platform::IsLeadByte(static_cast<unsigned char>(cp932[i])) && i + 1 < cp932.size();
    const size_t len = pair ? 2 : 1;
    partial += wxString(cp932.data() + i, Cp932(), len);
    i += len;
  }
  return partial;
}

std::string FromWx(const wxString& text) {
  if (text.empty()) return std::string();
  wxCharBuffer buf = text.mb_str(Cp932());
  if (buf.length() > 0) return std::string(buf.data(), buf.length());
  // Some character has no CP932 form: convert one character at a time.
  std::string out;
  for (wxString::const_iterator it = text.begin(); it != text.end(); ++it) {
    wxString one(*it);
    wxCharBuffer b = one.mb_str(Cp932());
    if (b.length() > 0) {
      out.append(b.data(), b.length());
    } else {
      out.push_back('?');
    }
  }
  return out;
}

}  // namespace ltb::ui::gui
