// The account master of a dataset: the rows walkers read, and the account
// set (ClSetKamoku) that walks them with a search condition on the
// classification code (field 16).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/host.h"
#include "ledger/ledger_db.h"

namespace ltb::ledger {

struct AccountRow {
  int32_t code = 0;
  std::string codeText;  // CP932
  int32_t classCode = 0;
  uint8_t balanceSide = 1;
  uint8_t summaryLine = 0;
  uint8_t exclusionA = 0;
  uint8_t exclusionB = 0;
  uint8_t listExclusion = 0;
};

// The accounts of `dataset` ordered by code; false when the ledger cannot
// be read.
bool LoadAccountRows(LedgerDb& db, int dataset, std::vector<AccountRow>* rows);

// Fills a zeroed account record: code at 16, code text at 22, list
// exclusion at 110, classification code at 144.
void FillAccountInfo(const AccountRow& row, host::StKAMOKUINFO* info);

}  // namespace ltb::ledger
