// The departments of a dataset and the department set (ClSetBumon).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/records.h"
#include "ledger/ledger_db.h"

namespace ltb::ledger {

struct DepartmentRow {
  int32_t code = 0;
  std::string name;  // CP932
  uint8_t kind = 0;
  int32_t linkField = 0;
  uint8_t incomeType = 1;
};

// The departments of `dataset` ordered by code; false when the ledger
// cannot be read.
bool LoadDepartmentRows(LedgerDb& db, int dataset, std::vector<DepartmentRow>* rows);

// Fills a zeroed department record: code at 0, link field at 16, name at
// 20, kind at 79, income type at 128.
void FillDepartmentInfo(const DepartmentRow& row, host::StBUMONINFO* info);

}  // namespace ltb::ledger
