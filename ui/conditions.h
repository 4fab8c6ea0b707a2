// The conditions of a run as the conditions dialog shows and returns them:
// the facts the driver hands the dialog before it opens, the choices the
// dialog hands back after Execute, and the aggregation method. One record
// for the driver, the dialog and the front ends.
#pragma once

#include <cstdint>
#include <string>

namespace ltb::ui {

// How the run obtains its figures. The values are the digit the settings
// file stores and the unattended --method option selects.
enum AggregationMode : int32_t {
  kJournalAggregation = 0,  // sum the journal entries of the month range
  kTaxReturnValues = 1,     // take the values saved on the tax-return screen
};

// The conditions dialog's Execute and Cancel buttons. Their ids are also
// what showing the dialog returns; they are control ids of the dialog's
// template, not the message-box answers kIdOk / kIdCancel (ui/message_box.h).
inline constexpr int kIdExecuteButton = 1005;
inline constexpr int kIdCancelButton = 1006;

// What the driver puts into the conditions dialog before showing it.
struct ConditionsInput {
  char userId[65] = {};  // the current user, for the settings record's key
  long selectedNo1 = 0;  // the user's selected dataset, passed on as the host gave it
  long selectedNo2 = 0;
  std::string fixedOutputPath;  // output file fixed by the parent program, or empty
  int32_t periodStartDate = 0;  // the accounting period, yyyymmdd
  int32_t periodEndDate = 0;
  int16_t returnStartMonth = 0;  // months of the saved tax-return values
  int16_t returnEndMonth = 0;
  bool returnValuesAvailable = false;  // the saved values exist and fit the dataset
  bool pastResultsData = false;        // the dataset holds past results only
  // Display texts of the dataset, CP932; an empty deduction label and text
  // mark tax-exempt data.
  std::string companyText, periodText, filingClassText, deductionLabelText, deductionText;
  int16_t toolTipFilingClass = 0;  // the filing class; 2 (principle) shows the help tip
};

// What the dialog hands back after Execute.
struct ConditionsResult {
  // The month range, checked against the period by the dialog: calendar
  // months 1..12 of the accounting period, start not after end.
  int16_t startMonth = 0;
  int16_t endMonth = 0;
  std::string outputPath;  // Windows path, CP932
  AggregationMode aggregationMode = kJournalAggregation;
};

}  // namespace ltb::ui
