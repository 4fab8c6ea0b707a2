// The refund-statement blocks KANPUH (corporations, 16 elements) and KANPUK
// (individuals, 17 elements) that end the DATA section. Both are always
// written; the one that does not apply is written with empty elements.
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

#include "host/records.h"
#include "report/report.h"
#include "report/report_writer.h"

namespace ltb::report {

inline constexpr std::array<const char*, 16> kKanpuhElements = {
    "KESSANZEIKUBUN",  "SHOHINSHIIRE1",   "SHOHINSHIIRE2",  "HANBAIIPPAN1",
    "HANBAIIPPAN2",    "EIGYOGAIHIYOU1",  "EIGYOGAIHIYOU2", "SONOTASONEKI1",
    "SONOTASONEKI2",   "SHISANZEIKUBUN",  "KOTEISHISAN1",   "KOTEISHISAN2",
    "KURINOBESHISAN1", "KURINOBESHISAN2", "SONOTASISAN1",   "SONOTASISAN2"};

inline constexpr std::array<const char*, 17> kKanpukElements = {
    "KESSANZEIKUBUN",    "JIGYOSHIIRE1",         "JIGYOSHIIRE2",         "JIGYOHITSUYOU1",
    "JIGYOHITSUYOU2",    "JIGYOKOTEISHISAN1",    "JIGYOKOTEISHISAN2",    "FUDOUSANHITSUYOU1",
    "FUDOUSANHITSUYOU2", "FUDOUSANKOTEISHISAN1", "FUDOUSANKOTEISHISAN2", "SONOTASHIIRE1",
    "SONOTASHIIRE2",     "SONOTAHITSUYOU1",      "SONOTAHITSUYOU2",      "SONOTAKOTEISHISAN1",
    "SONOTAKOTEISHISAN2"};

// Writes `block` at level 2 with names[i] and texts[i] at level 3; missing
// texts are written empty. False at the first failed write.
bool WriteTextBlock(ReportWriter& w, std::string_view block, std::span<const char* const> names,
                    std::span<const std::string> texts);

// Journal report: the figures of ctx.totals. The tax-class texts are "1"
// when byte 5 of `settings` is set, else "2".
bool WriteKanpuhBlock(ReportWriter& w, const ReportContext& ctx, const host::StDATAINFO& data,
                      const host::StSHOHIZEIINFO& settings);
bool WriteKanpukBlock(ReportWriter& w, const ReportContext& ctx, const host::StDATAINFO& data,
                      const host::StSHOHIZEIINFO& settings);

}  // namespace ltb::report
