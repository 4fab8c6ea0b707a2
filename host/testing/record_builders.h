// Builders of host records for tests: each sets the fields the program reads
// and leaves the rest zero.
#pragma once

#include <cstdint>
#include <string>

#include "host/records.h"

namespace ltb::testing {

host::StKAMOKUINFO MakeAccount(int32_t code, int32_t classCode, uint8_t listExclusion = 0);

// Account sums with one debit/credit pair in `slot` (both arrays: tax
// excluded and tax included get the same values unless set otherwise).
host::StKAMOKUSUMINFO MakeAccountSums(int32_t classCode, uint8_t summaryLine = 0,
                                      uint8_t balanceSide = 1);
void SetSlot(host::StKAMOKUSUMINFO* sums, int slot, int64_t debit, int64_t credit,
             bool taxIncluded = false);

struct JournalSide {
  int32_t account = 0;
  int64_t amount = 0;
  uint8_t category = 0;
  int32_t department = 0;
  int64_t tax = 0;
};
host::StSWKTINFO MakeEntry(const JournalSide& debit, const JournalSide& credit);

host::StBUMONINFO MakeDepartment(int32_t code, uint8_t kind, int32_t link, uint8_t incomeType);
host::StKOTEISHISANINFO MakeAsset(int32_t kind, int64_t amount, int16_t incomeType = 0);
host::StTAXSUMINFO MakeTaxSumLine(const std::string& codeText, int64_t amount);

// A dataset record with the fields the run driver reads; its id is "D" and
// the number.
host::StDATAINFO MakeDataset(int32_t number, const char* company, int32_t first, int32_t last,
                             int32_t interim = 0);

}  // namespace ltb::testing
