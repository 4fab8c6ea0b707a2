// ClMsgMgr: records the last host error and decides which codes are fatal.
//
// Codes 0 and kEndOfData (5000) are never fatal; every other code is fatal
// unless the ledger's setting "nonfatal_codes" (comma-separated) lists it.
// A fatal code is shown as "<source> <line>: error <code> (<description>)",
// where source and line come from the last SetLastError of that code.
#pragma once

#include <set>
#include <string>

#include "host/host.h"
#include "ledger/ledger_session.h"

namespace ltb::ledger {

class LedgerMsgMgr : public host::ClMsgMgr {
 public:
  explicit LedgerMsgMgr(const LedgerSession& session) : session_(session) {}

  long SetLastError(long code, const char* source, unsigned long line) override;
  int CheckFatalErrorWithMsg(long code, long param, int show, host::WindowHandle owner) override;

  long last_code() const { return lastCode_; }
  const std::string& last_source() const { return lastSource_; }
  unsigned long last_line() const { return lastLine_; }

  // Parses "1, 2,3" into codes; malformed items are skipped.
  static std::set<long> ParseCodeList(const std::string& text);

 private:
  bool IsFatal(long code) const;

  const LedgerSession& session_;
  long lastCode_ = 0;
  std::string lastSource_;
  unsigned long lastLine_ = 0;
};

}  // namespace ltb::ledger
