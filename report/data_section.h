// The DATA section of the journal report: the 21 amount blocks from the
// aggregation result, then the refund-statement blocks.
#pragma once

#include "host/records.h"
#include "report/report.h"
#include "report/report_writer.h"

namespace ltb::report {

// False at the first failed write, and (after the DATA start tag) when the
// host has no tax settings set or ctx.totals is missing. Rates the host did
// not report are written as empty amounts.
bool WriteDataSection(ReportWriter& w, const ReportContext& ctx, const host::StDATAINFO& data,
                      const host::StSHOHIZEIINFO& settings);

}  // namespace ltb::report
