#include "ledger/host_error_codes.h"

namespace ltb::ledger {

const char* HostErrorText(long code) {
  switch (code) {
    case kErrNotConnected: return "the ledger is not open";
    case kErrNoDataset: return "no such dataset in the ledger";
    case kErrNoSavedValues: return "no tax-return values are saved for the dataset";
    case kErrOutsidePeriod: return "the date lies outside the accounting period";
    case kErrBadPeriod: return "the accounting period is not valid";
    case kErrBadCursor: return "unknown cursor";
    case kErrDatabase: return "the ledger database refused a query";
    case kErrUnknownUser: return "the user has no entry in the ledger";
    case kErrLedgerUnreadable: return "the ledger cannot be read";
    case 2101: return "a walk was given a bad argument";
    case 2102: return "a walk was read before it was prepared";
    case 2103: return "a sum left the 64-bit range";
    case 2104: return "the call was stopped on request";
    case -1001: return "the host object cannot be created";
    default: return "host error";
  }
}

}  // namespace ltb::ledger
