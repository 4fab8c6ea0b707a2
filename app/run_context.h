// The run context: what the application object shares with the dialog, the
// aggregation and the report writers for one run.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "aggregate/tax_totals.h"
#include "host/host.h"

namespace ltb::app {

// exitCode values: the result of the run, posted to the parent and used as
// the process exit status.
enum ExitCode : int32_t { kExitFinished = 0, kExitCancelled = 1, kExitError = 2 };

struct RunContext {
  // Whether the command line named a parent window; only then is the
  // parent notified at shut-down.
  bool launchedByParent = false;
  host::WindowHandle parentWindow = 0;
  uint32_t notifyMessage = 0;
  // First message parameter; also the report's function id.
  int16_t notifyWParam = 1;
  // Output file fixed by the parent (fourth command-line item), CP932.
  std::string parentOutputPath;
  // Owner of the conditions dialog: parentWindow once a parent is attached.
  host::WindowHandle parentWnd = 0;
  int32_t exitCode = kExitFinished;

  // Host sets fetched on first use; owned by the host.
  host::ClSetData* dataSetList = nullptr;
  host::ClSetShohizei* taxSettingsSet = nullptr;

  // Per-rate and business-type records, the old-rate sum and the
  // refund-statement lines, allocated in the journal method only.
  aggregate::TaxTotals totals;
  // The saved tax-return values; allocated before the conditions dialog,
  // freed at the end of the run.
  std::unique_ptr<host::StSaveTaxInfo> taxSaveInfo;

  // The shared text buffer of DatasetText: 50 bytes of text and a zero.
  char datasetText[51] = {};

  uint8_t filingClass = 0;       // 0 exempt, 1 simplified, 2 principle
  uint8_t mainBusinessType = 0;  // 0 unspecified, 1..6
  uint8_t fractionRounding = 0;  // 0, 1, 2
};

}  // namespace ltb::app
