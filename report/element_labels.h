// The Japanese labels of the report's elements, sections and blocks, and
// the meaning of the values of its code elements, for people who read a
// report. All texts are CP932, like every text of the program.
#pragma once

#include <string_view>

namespace ltb::report {

// The label of an element name (for example KAZEIURIAGEZEIGAKU8 gives
// "課税売上 税額 8%"); empty for a name the writers never write.
std::string_view ElementLabel(std::string_view name);

// The label of a section or block name (SYSTEM, D020110, KANPUH ...);
// empty for other names.
std::string_view BlockLabel(std::string_view name);

// What `value` of a code element stands for (KAZEIKUBUN "1" gives
// "原則課税"); empty when the value is not one the writers write.
std::string_view CodeMeaningOf(std::string_view name, std::string_view value);

// True for the elements whose value is a code rather than an amount or a
// text (the filing class, the tax-class flags of the refund statement ...).
bool IsCodeElement(std::string_view name);

}  // namespace ltb::report
