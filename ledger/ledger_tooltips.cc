#include "ledger/ledger_tooltips.h"

namespace ltb::ledger {

void LedgerToolTipMgr::Init(host::ToolTipOwner* owner, const host::TOOLTIPMSG_TABLE* table,
                            unsigned long count) {
  if (!owner || !table) return;
  for (unsigned long i = 0; i < count; ++i) {
    if (table[i].text) owner->AddToolTip(table[i].controlId, table[i].text);
  }
}

}  // namespace ltb::ledger
