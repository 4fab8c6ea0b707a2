// The ledger's own host error codes (besides 0 and kEndOfData).
#pragma once

namespace ltb::ledger {

enum HostError : long {
  kErrNotConnected = 2001,     // no ledger open (Initiate missing or failed)
  kErrNoDataset = 2002,        // no dataset for the data id or selection
  kErrNoSavedValues = 2003,    // no tax-return values saved for the dataset
  kErrOutsidePeriod = 2004,    // a date or month outside the accounting period
  kErrBadPeriod = 2005,        // period dates that do not form a period
  kErrBadCursor = 2006,        // a cursor that was not handed out
  kErrDatabase = 2007,         // the database refused a query
  kErrUnknownUser = 2008,      // the user has no row in the ledger
  kErrLedgerUnreadable = 2009  // the ledger file is missing or not a ledger
};

// A short description of a code for the host's messages: an English
// message id, to be translated where it is shown.
const char* HostErrorText(long code);

}  // namespace ltb::ledger
