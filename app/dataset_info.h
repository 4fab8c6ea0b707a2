// What the run reads about the selected dataset: its record, its tax
// settings, the saved tax-return values, month and date conversions in the
// accounting period, the dialog's display texts and the month-range search
// condition.
#pragma once

#include <cstdint>

#include "app/run_context.h"
#include "host/host.h"

namespace ltb::app {

// Copies the record of the dataset the current user selected; 1 when found,
// 0 otherwise (the record is then all zeros).
int LoadSelectedDataInfo(host::HostLibrary& host, RunContext& ctx, host::StDATAINFO* record);

// Reads the dataset's consumption-tax settings; 1 on success, 0 when the
// host refused (*settings is then left as the caller set it).
int LoadTaxSettings(host::HostLibrary& host, RunContext& ctx, host::StSHOHIZEIINFO* settings,
                    const host::StDATAINFO& dataset);

// The display texts of the conditions dialog that DatasetText builds.
enum DatasetTextKind : int {
  kCompanyText = 0,
  kPeriodText = 1,
  kFilingClassText = 2,
  kDeductionLabelText = 3,  // label of the fourth line
  kDeductionText = 4,       // deduction method, or main business type
};

// The display text of kind (a DatasetTextKind; any other kind gives an
// empty text). Returns ctx.datasetText, which the next call overwrites.
// The filing-class and deduction texts load the settings and set
// fractionRounding; kFilingClassText sets filingClass, kDeductionText
// mainBusinessType under simplified taxation.
const char* DatasetText(host::HostLibrary& host, RunContext& ctx, int kind,
                        const host::StDATAINFO& dataset);

// The first day (yyyymmdd) of calendar month `month` in the accounting
// period; 0 when the host has no period.
long FirstDateOfMonth(host::HostLibrary& host, RunContext& ctx, int month);

// Converts two dates into their accounting months; returns the host's code
// of the second conversion (or of the failed period lookup).
long MonthsOfDates(host::HostLibrary& host, RunContext& ctx, long date1, long date2,
                   int16_t* month1, int16_t* month2);

// Reads the tax-return screen's saved values into *buffer; returns 1 when
// they were read and fit the dataset (returnValuesAvailable), else 0.
int LoadTaxReturnValues(host::HostLibrary& host, RunContext& ctx, host::StSaveTaxInfo* buffer,
                        const host::StDATAINFO& dataset);

// Whether saved values belong to this period, filing class and deduction
// method.
int TaxReturnFits(host::HostLibrary& host, RunContext& ctx, const host::StSaveTaxInfo& saved,
                  const host::StDATAINFO& dataset);

// Builds the month-range condition (kFindConditionItems items, zeroed
// first) from the dialog's months and the period's first month and
// last-month code (month of the last day, plus 100 when the period crosses
// a calendar year).
void BuildFindCondition(host::StFINDINFO condition[host::kFindConditionItems],
                        const host::StDATAINFO& dataset, int startMonth, int endMonth,
                        int firstMonth, int lastCode);

}  // namespace ltb::app
