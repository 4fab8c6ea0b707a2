// The bytes a report may carry: XML 1.0 has no place for the C0 control
// characters other than tab, CR and LF, and the report keeps DEL out too, so
// a ledger text holding them (a company name with an ESC, say) must not
// make the report unreadable to an XML parser.
#pragma once

namespace ltb::report {

// A space for a C0 control other than tab, CR and LF, and for DEL; every
// other byte as it is. CP932 never uses these values as a trail byte, so
// double-byte characters pass whole.
constexpr char XmlSafeByte(char c) {
  const unsigned char u = static_cast<unsigned char>(c);
  if ((u < 0x20 && c != '\t' && c != '\r' && c != '\n') || u == 0x7F) return ' ';
  return c;
}

}  // namespace ltb::report
