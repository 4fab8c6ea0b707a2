#include "report/full_width_name.h"

#include "platform/cp932.h"
#include "platform/fullwidth.h"

namespace ltb::report {

std::string FullWidthName32(std::string_view text) {
  constexpr size_t kMaxBytes = 32;
  std::string wide = platform::ToFullWidth(text);
  if (wide.size() <= kMaxBytes) return wide;
  return std::string(platform::CutOnCharBoundary(wide, kMaxBytes));
}

}  // namespace ltb::report
