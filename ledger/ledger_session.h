// What the host objects of one process share: the options, the open ledger,
// the current user, the message sink and the owner window.
#pragma once

#include <memory>
#include <string>

#include "host/host.h"
#include "ledger/ledger_db.h"
#include "ledger/ledger_host.h"
#include "ledger/opt_link.h"

namespace ltb::ledger {

struct LedgerSession {
  LedgerOptions options;
  std::unique_ptr<LedgerDb> db;  // set by Initiate, reset by Terminate
  // The ledger of the last connection: walkers the program still holds
  // after Terminate keep a valid (if disconnected) ledger until the host
  // library goes away.
  std::unique_ptr<LedgerDb> retired;
  std::string userId;   // the current user (ASCII)
  std::string caption;  // CP932, for the host's messages
  host::WindowHandle owner = 0;
  host::MessageSink sink;
  host::StopCheck stopCheck;  // handed to every connection Initiate opens
  host::ClOptLink optLink;

  // Shows a message through the sink (CP932 text); without a sink the
  // answer is OK.
  int Show(host::WindowHandle window, const char* text, const char* caption, unsigned flags) const;

  // The dataset number a set with this data id works on: the dataset of the
  // id, or the selected dataset for an empty id; 0 when none.
  int DatasetFor(const std::string& dataId) const;
};

}  // namespace ltb::ledger
