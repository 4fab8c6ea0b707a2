// The report file: the Shift_JIS XML that the filing product imports.
//
// Two ways to write it: from the journal aggregation (TaxTotals) or from the
// values saved in the source product's tax-return screen. Both write the
// declaration, REPORT with SYSTEM, BASIC and DATA, and ask the user whether
// to go on when a section fails.
#pragma once

#include <cstdint>
#include <string>

#include "aggregate/tax_totals.h"
#include "host/host.h"
#include "host/records.h"
#include "platform/env.h"
#include "report/amount_format.h"
#include "resources/edition.h"
#include "ui/seat.h"

namespace ltb::report {

struct ReportContext {
  // Tax settings set presence (GetSetObject(4, 1)) and GetTaxRateCount.
  host::HostLibrary* host = nullptr;
  // The output file, and SUPPORT.INF (read from the current folder, which
  // the driver has set to the program's folder).
  platform::Env* env = nullptr;
  // Product-name fallback of the SYSTEM section.
  const Edition* edition = nullptr;
  int16_t notifyWParam = 1;  // FUNCTIONID
  uint8_t filingClass = 0;   // 0 tax-exempt, 1 simplified, 2 principle taxation
  uint8_t fractionRounding = 0;
  // The tax-return screen's values; required by the return-values report.
  const host::StSaveTaxInfo* taxSaveInfo = nullptr;
  // The aggregation result; required by the journal report.
  const aggregate::TaxTotals* totals = nullptr;
};

// Journal path: opens outputPath (a Windows path), writes the declaration,
// <REPORT>, SYSTEM, BASIC (journal values) and DATA, each followed by its
// continue question when it fails (owner `owner`, caption "消費税", Yes/No,
// warning icon), then </REPORT>, and closes the file. True when completed
// (also after Yes answers); false when the user answered No: *exitCode is 2,
// REPORT is closed and the partial file stays.
bool WriteJournalReport(ui::Seat& seat, host::WindowHandle owner, const std::string& outputPath,
                        const ReportContext& ctx, const host::StDATAINFO& data,
                        const host::StSHOHIZEIINFO& settings, int* exitCode);

// Return-values path: the same file from ctx.taxSaveInfo. True when
// completed; false when the user chose to stop or the file was not finished
// (*exitCode is 2).
bool WriteReturnValuesReport(ui::Seat& seat, host::WindowHandle owner,
                             const std::string& outputPath, const ReportContext& ctx,
                             const host::StDATAINFO& data, int* exitCode);

}  // namespace ltb::report
