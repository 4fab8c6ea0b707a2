// ClSaveTaxShiryo: the values saved in the tax-return screen, read from the
// saved_tax_return table.
#pragma once

#include <string>

#include "host/host.h"
#include "ledger/ledger_session.h"

namespace ltb::ledger {

class LedgerSaveTax : public host::ClSaveTaxShiryo {
 public:
  explicit LedgerSaveTax(const LedgerSession& session) : session_(session) {}

  void AttachSetMgr(host::ClSetMgr*) override {}
  void SetCurDataID(const char* dataId) override { dataId_ = dataId ? dataId : ""; }
  void AttachOptLink(host::ClOptLink*) override {}
  // Reads the record of the dataset; kErrNoSavedValues when none is saved.
  long RefreshCache() override;
  long GetTaxSaveInfo(host::StSaveTaxInfo* info) override;

 private:
  const LedgerSession& session_;
  std::string dataId_;
  host::StSaveTaxInfo cache_;
  long cacheResult_ = -1;  // not refreshed yet
};

}  // namespace ltb::ledger
