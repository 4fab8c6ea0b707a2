// ClToolTipMgr: hands every entry of the table to the owner.
#pragma once

#include "host/host.h"

namespace ltb::ledger {

class LedgerToolTipMgr : public host::ClToolTipMgr {
 public:
  void Init(host::ToolTipOwner* owner, const host::TOOLTIPMSG_TABLE* table,
            unsigned long count) override;
};

}  // namespace ltb::ledger
