// The date forms of journal files.
#pragma once

#include <string>
#include <string_view>

namespace ltb::books {

enum class DateForm {
  kSlash,    // 2016/04/15
  kDash,     // 2016-04-15
  kCompact,  // 20160415
  kEra,      // H28/04/15, R01/05/01
};

bool ParseDateForm(std::string_view name, DateForm* out);

// Reads a date as yyyymmdd from any of the forms: 2016/4/15, 2016/04/15,
// 2016-04-15, 20160415, and the Japanese era with a letter or its name
// (H28/4/15, R1/5/1, 平成28年4月15日, 令和元年5月1日; M, T, S, H, R). The text
// must be normalised (half-width digits). False when it is none of them or
// not a real day.
bool ParseBookDate(std::string_view text, long* yyyymmdd);

// Writes yyyymmdd in `form`.
std::string FormatBookDate(long yyyymmdd, DateForm form);

}  // namespace ltb::books
