// The DATA section of the return-values report: the same blocks and
// elements as the journal report, from the values saved in the source
// product's tax-return screen (StSaveTaxInfo).
#pragma once

#include "host/records.h"
#include "report/report.h"
#include "report/report_writer.h"

namespace ltb::report {

// Amounts are written only under principle taxation (filingClass 2); the
// untyped-remainder elements are always empty. False at the first failed
// write, and when ctx.taxSaveInfo is missing.
bool WriteReturnDataSection(ReportWriter& w, const ReportContext& ctx,
                            const host::StDATAINFO& data);

// The refund-statement blocks from the saved values.
bool WriteReturnKanpuhBlock(ReportWriter& w, const ReportContext& ctx,
                            const host::StDATAINFO& data);
bool WriteReturnKanpukBlock(ReportWriter& w, const ReportContext& ctx,
                            const host::StDATAINFO& data);

}  // namespace ltb::report
