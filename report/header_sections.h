// The SYSTEM and BASIC sections: who produced the report and which dataset
// it describes.
#pragma once

#include "host/records.h"
#include "report/report.h"
#include "report/report_writer.h"

namespace ltb::report {

// Where BASIC takes its period and calculation methods from.
enum class BasicSource { kJournal = 0, kReturnValues = 1 };

// True when the whole section was written; false at the first failed write.
bool WriteSystemSection(ReportWriter& w, const ReportContext& ctx);

// In return-values mode the section needs ctx.taxSaveInfo and fails, before
// writing anything that depends on it, when it is missing.
bool WriteBasicSection(ReportWriter& w, const ReportContext& ctx, const host::StDATAINFO& data,
                       BasicSource source);

// Whether the aggregation found old-rate (5%) amounts: any amount of the 5%
// rate block or of its business-type entries, or a non-zero OldRateSum3.
// False without a tax settings set or without totals.
bool HasOldRateAmounts(const ReportContext& ctx);

}  // namespace ltb::report
