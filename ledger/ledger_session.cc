#include "ledger/ledger_session.h"

#include "host/message_box_flags.h"

namespace ltb::ledger {

int LedgerSession::Show(host::WindowHandle window, const char* text, const char* cap,
                        unsigned flags) const {
  if (!sink) return host::kIdOk;
  return sink(window, text, cap, flags);
}

int LedgerSession::DatasetFor(const std::string& dataId) const {
  if (!db) return 0;
  if (dataId.empty()) return db->selected_dataset();
  return db->DatasetNoOf(dataId);
}

}  // namespace ltb::ledger
