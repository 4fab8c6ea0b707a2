// The pieces the run driver hands work to: the conditions dialog, the
// aggregation (which is also the progress dialog) and the report writers.
// The program wires the real ones (real_components.h); tests script fakes.
//
// One convention for "ok or failed": a step that can fail returns bool,
// true when it succeeded (a report written whole, settings stored); what
// the host itself answers (CountSixthTypeEntries, CheckTenPercentEntries)
// stays the host's status code, handed to its message manager.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "aggregate/tax_totals.h"
#include "host/host.h"
#include "resources/edition.h"
#include "ui/conditions.h"
#include "ui/progress_view.h"
#include "ui/seat.h"

namespace ltb::app {

class ConditionsDialog {
 public:
  virtual ~ConditionsDialog() = default;
  virtual void SetInput(const ui::ConditionsInput& input) = 0;
  // Runs the dialog modally; ui::kIdExecuteButton or ui::kIdCancelButton.
  virtual int DoModal() = 0;
  virtual ui::ConditionsResult Result() const = 0;
  // path null keeps the remembered path.
  virtual bool SaveRememberedSettings(int16_t startMonth, int16_t endMonth, const char* path,
                                      ui::AggregationMode mode) = 0;
};

// The aggregation engine and progress dialog, as the driver drives it.
class Aggregation {
 public:
  virtual ~Aggregation() = default;
  virtual host::StFINDINFO* FindCondition() = 0;
  virtual void ClearFindCondition() = 0;
  virtual void SetFilingClass(uint8_t filingClass) = 0;
  virtual void Show() = 0;
  virtual void Close() = 0;
  virtual void ResetOverallBar() = 0;
  virtual void AdvanceBand(int from, int to) = 0;
  virtual void CollectTaxReport(aggregate::TaxTotals& totals) = 0;
  virtual void SumOldRates(int64_t* sum, const host::StSHOHIZEIINFO& settings) = 0;
  virtual void SumCorporatePurchases(aggregate::TaxTotals& totals, const host::StDATAINFO& data,
                                     const host::StSHOHIZEIINFO& settings) = 0;
  virtual void SumIndividualPurchases(aggregate::TaxTotals& totals, const host::StDATAINFO& data,
                                      const host::StSHOHIZEIINFO& settings) = 0;
  virtual long CountSixthTypeEntries(int type, int32_t* count) = 0;
  virtual long CheckTenPercentEntries(int32_t* found) = 0;
  // Whether an entry of the range uses a provisional import category.
  virtual bool HasImportCategoryEntries() = 0;
  // True when a sum left the range of the fixed-point value.
  virtual bool Overflowed() const = 0;
  // True once the person asked the progress dialog to stop; the step under
  // way then ends at its next record.
  virtual bool Cancelled() = 0;
};

// What the report writers need besides the dataset records.
struct ReportInput {
  host::WindowHandle owner = 0;
  std::string outputPath;
  int16_t notifyWParam = 1;
  uint8_t filingClass = 0;
  uint8_t fractionRounding = 0;
  const host::StSaveTaxInfo* taxSaveInfo = nullptr;
  const aggregate::TaxTotals* totals = nullptr;
};

class ReportWriters {
 public:
  virtual ~ReportWriters() = default;
  // Declaration, REPORT, SYSTEM, BASIC, DATA with the continue questions;
  // false when the user declined to go on (*exitCode then 2).
  virtual bool WriteJournalReport(const ReportInput& in, const host::StDATAINFO& data,
                                  const host::StSHOHIZEIINFO& settings, int32_t* exitCode) = 0;
  // The whole report from the tax-return values; false as for the journal
  // report.
  virtual bool WriteReturnValuesReport(const ReportInput& in, const host::StDATAINFO& data,
                                       int32_t* exitCode) = 0;
};

// Creates the run's pieces.
class RunComponents {
 public:
  virtual ~RunComponents() = default;
  virtual std::unique_ptr<ConditionsDialog> NewConditionsDialog(host::WindowHandle owner) = 0;
  virtual std::unique_ptr<Aggregation> NewAggregation(ui::ProgressView* view) = 0;
  virtual ReportWriters& Reports() = 0;
};

}  // namespace ltb::app
