#include "frontends/gui/japanese_wrap.h"

#include <wx/window.h>

namespace ltb::ui::gui {
namespace {

// Characters that may not begin a line.
bool NoLineStart(wxUniChar c) {
  static const wchar_t kClosing[] =
      L"、。，．・：；？！ー‐－～）］｝」』】〕〉》〙〗’”ゝゞヽヾ々〻"
      L"ぁぃぅぇぉっゃゅょゎゕゖァィゥェォッャュョヮヵヶㇰㇱㇲㇳㇴㇵㇶㇷㇸㇹㇺㇻㇼㇽㇾㇿ"
      L"ｧｨｩｪｫｯｬｭｮｰ､｡｣"
      L",.:;!?)]}%";
  for (const wchar_t* p = kClosing; *p != 0; ++p) {
    if (c == *p) return true;
  }
  return false;
}

// Characters that may not end a line.
bool NoLineEnd(wxUniChar c) {
  static const wchar_t kOpening[] = L"（［｛「『【〔〈《〘〖‘“｢([{";
  for (const wchar_t* p = kOpening; *p != 0; ++p) {
    if (c == *p) return true;
  }
  return false;
}

// Japanese (and other wide) text breaks between any two characters.
bool Wide(wxUniChar c) {
  const unsigned u = c.GetValue();
  return (u >= 0x2E80 && u <= 0x9FFF) || (u >= 0xF900 && u <= 0xFAFF) ||
         (u >= 0xFF00 && u <= 0xFFEF) || (u >= 0x3000 && u <= 0x30FF);
}

// Whether a line may break between text[i - 1] and text[i].
bool BreakAllowed(const wxString& text, size_t i) {
  const wxUniChar before = text[i - 1], after = text[i];
  if (NoLineStart(after) || NoLineEnd(before)) return false;
  if (before == ' ' || after == ' ') return true;
  return Wide(before) || Wide(after);
}

wxString WrapLine(const wxString& line, int maxWidth, const TextWidth& width) {
  wxString out;
  size_t start = 0;
  while (start < line.length()) {
    // The longest piece from `start` that fits, ended at an allowed break.
    size_t end = start + 1, lastBreak = 0;
    while (end < line.length()) {
      if (width(line.Mid(start, end + 1 - start)) > maxWidth) break;
      ++end;
    }
    if (end >= line.length()) {
      out += line.Mid(start);
      break;
    }
    for (size_t i = end; i > start; --i) {
      if (BreakAllowed(line, i)) {
        lastBreak = i;
        break;
      }
    }
    if (lastBreak == 0) {
      // Nothing fits whole: break at the first place the rules allow.
      lastBreak = end;
      while (lastBreak < line.length() && !BreakAllowed(line, lastBreak)) ++lastBreak;
      if (lastBreak >= line.length()) {
        out += line.Mid(start);
        break;
      }
    }
    wxString piece = line.Mid(start, lastBreak - start);
    piece.Trim(true);
    out += piece + wxString::FromAscii("\n");
    start = lastBreak;
    while (start < line.length() && line[start] == ' ') ++start;
  }
  return out;
}

}  // namespace

wxString WrapJapanese(const wxString& text, int maxWidth, const TextWidth& width) {
  wxString out;
  size_t from = 0;
  while (true) {
    const size_t newline = text.find('\n', from);
    const wxString line =
        text.Mid(from, newline == wxString::npos ? wxString::npos : newline - from);
    out += WrapLine(line, maxWidth, width);
    if (newline == wxString::npos) break;
    out += wxString::FromAscii("\n");
    from = newline + 1;
  }
  return out;
}

wxString WrapJapaneseFor(wxWindow* window, const wxString& text, int ems) {
  const int em = window->GetTextExtent(wxString(L"\u3042")).x;
  return WrapJapanese(text, em * ems,
                      [window](const wxString& piece) { return window->GetTextExtent(piece).x; });
}

}  // namespace ltb::ui::gui
