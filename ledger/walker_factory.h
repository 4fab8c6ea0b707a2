// The ledger's walker and set objects, created over one open ledger.
//
// Each object works on the dataset named by SetCurDataID, or on the
// ledger's selected dataset until one is named. The ledger must outlive the
// objects. Walks over the journal share one in-memory copy of it per
// connection (ledger/journal_cache.h).
#pragma once

#include <memory>

#include "host/host.h"
#include "ledger/ledger_db.h"

namespace ltb::ledger {

std::unique_ptr<host::ClRuleShohizeiShinkoku> NewLedgerRuleShohizeiShinkoku(LedgerDb& db);
std::unique_ptr<host::ClRuleShohizei> NewLedgerRuleShohizei(LedgerDb& db);
std::unique_ptr<host::ClRuleShiwake> NewLedgerRuleShiwake(LedgerDb& db);
std::unique_ptr<host::ClRuleKamoku> NewLedgerRuleKamoku(LedgerDb& db);
std::unique_ptr<host::ClRuleGenkashokyaku> NewLedgerRuleGenkashokyaku(LedgerDb& db);

// The account set (set id 1) and the department set (set id 2).
std::unique_ptr<host::ClSetKamoku> NewLedgerSetKamoku(LedgerDb& db);
std::unique_ptr<host::ClSetBumon> NewLedgerSetBumon(LedgerDb& db);

}  // namespace ltb::ledger
