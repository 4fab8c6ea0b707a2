#include "ledger/ledger_save_tax.h"

#include <cstring>

#include "ledger/host_error_codes.h"
#include "ledger/sql_statement.h"

namespace ltb::ledger {

long LedgerSaveTax::RefreshCache() {
  cache_.Clear();
  if (!session_.db) return cacheResult_ = kErrNotConnected;
  int no = session_.DatasetFor(dataId_);
  if (no == 0) return cacheResult_ = kErrNoDataset;
  SqlStatement q(session_.db->handle(), "SELECT data FROM saved_tax_return WHERE dataset = ?1");
  q.Bind(1, no);
  if (!q.Step()) return cacheResult_ = q.ok() ? kErrNoSavedValues : kErrDatabase;
  std::string_view blob = q.Blob(0);
  if (blob.size() != host::StSaveTaxInfo::kSize) return cacheResult_ = kErrDatabase;
  std::memcpy(cache_.bytes, blob.data(), blob.size());
  return cacheResult_ = host::kOk;
}

long LedgerSaveTax::GetTaxSaveInfo(host::StSaveTaxInfo* info) {
  if (cacheResult_ == -1) RefreshCache();
  if (cacheResult_ != host::kOk) return cacheResult_;
  *info = cache_;
  return host::kOk;
}

}  // namespace ltb::ledger
