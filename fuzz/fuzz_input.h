// Splits one fuzz input into the arguments of the code under test: single
// bytes for small choices, and text fields separated by a 0x00 byte. The
// last field (Rest) may itself hold 0x00 bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace ltb::fuzz {

class FuzzInput {
 public:
  FuzzInput(const uint8_t* data, size_t size) : rest_(reinterpret_cast<const char*>(data), size) {}

  bool empty() const { return rest_.empty(); }

  // The next byte, or 0 when the input is used up.
  uint8_t Byte() {
    if (rest_.empty()) return 0;
    const uint8_t b = static_cast<uint8_t>(rest_.front());
    rest_.remove_prefix(1);
    return b;
  }

  // The bytes up to the next 0x00 (which is consumed), or all that is left.
  std::string_view Field() {
    const size_t end = rest_.find('\0');
    std::string_view field = rest_.substr(0, end);
    rest_.remove_prefix(end == std::string_view::npos ? rest_.size() : end + 1);
    return field;
  }

  // Everything not consumed yet.
  std::string_view Rest() {
    std::string_view all = rest_;
    rest_ = {};
    return all;
  }

 private:
  std::string_view rest_;
};

}  // namespace ltb::fuzz
