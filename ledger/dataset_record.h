// Host records built from the datasets table.
#pragma once

#include <cstdint>

#include "host/records.h"
#include "ledger/ledger_db.h"

namespace ltb::ledger {

// Whether the ledger holds dataset `no`.
bool HasDataset(const LedgerDb& db, int64_t no);

// Fills *record (zeroed first) with dataset `no`; false when it is absent.
// The company name is converted from UTF-8 to CP932 and cut on a character
// boundary so that it fits its field.
bool LoadDatasetRecord(const LedgerDb& db, int no, host::StDATAINFO* record);

// Fills *info (zeroed first) with the tax settings of dataset `no`.
bool LoadTaxSettingsRecord(const LedgerDb& db, int no, host::StSHOHIZEIINFO* info);

// The tax-rate count of dataset `no`; 0 when it is absent.
int LoadTaxRateCount(const LedgerDb& db, int no);

// Period dates and closing day (0 = month end) of dataset `no`.
bool LoadDatasetPeriod(const LedgerDb& db, int no, long* first, long* last, int* closingDay);

}  // namespace ltb::ledger
