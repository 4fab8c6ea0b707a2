#include "ledger/host_error_codes.h"

#include "platform/messages.h"

namespace ltb::ledger {

const char* HostErrorText(long code) {
  switch (code) {
    case kErrNotConnected: return platform::MessageId("the ledger is not open");
    case kErrNoDataset: return platform::MessageId("no such dataset in the ledger");
    case kErrNoSavedValues:
      return platform::MessageId("no tax-return values are saved for the dataset");
    case kErrOutsidePeriod:
      return platform::MessageId("the date lies outside the accounting period");
    case kErrBadPeriod: return platform::MessageId("the accounting period is not valid");
    case kErrBadCursor: return platform::MessageId("unknown cursor");
    case kErrDatabase: return platform::MessageId("the ledger database refused a query");
    case kErrUnknownUser: return platform::MessageId("the user has no entry in the ledger");
    case kErrLedgerUnreadable: return platform::MessageId("the ledger cannot be read");
    case 2101: return platform::MessageId("a walk was given a bad argument");
    case 2102: return platform::MessageId("a walk was read before it was prepared");
    case 2103: return platform::MessageId("a sum left the 64-bit range");
    case 2104: return platform::MessageId("the call was stopped on request");
    case -1001: return platform::MessageId("the host object cannot be created");
    default: return platform::MessageId("host error");
  }
}

}  // namespace ltb::ledger
