#include "ledger/ledger_msg_mgr.h"

#include <cstdlib>
#include <sstream>

#include "host/message_box_flags.h"
#include "ledger/host_error_codes.h"
#include "platform/messages.h"

namespace ltb::ledger {

long LedgerMsgMgr::SetLastError(long code, const char* source, unsigned long line) {
  lastCode_ = code;
  lastSource_ = source ? source : "";
  lastLine_ = line;
  return code;
}

std::set<long> LedgerMsgMgr::ParseCodeList(const std::string& text) {
  std::set<long> codes;
  std::stringstream in(text);
  std::string item;
  while (std::getline(in, item, ',')) {
    const char* p = item.c_str();
    char* end = nullptr;
    long v = std::strtol(p, &end, 10);
    while (end && (*end == ' ' || *end == '\t')) ++end;
    if (end != p && end && *end == '\0') codes.insert(v);
  }
  return codes;
}

bool LedgerMsgMgr::IsFatal(long code) const {
  if (code == host::kOk || code == host::kEndOfData) return false;
  if (!session_.db) return true;
  return ParseCodeList(session_.db->Setting("nonfatal_codes", "")).count(code) == 0;
}

int LedgerMsgMgr::CheckFatalErrorWithMsg(long code, long, int show, host::WindowHandle owner) {
  if (!IsFatal(code)) return 0;
  if (show) {
    std::string source = "(unknown)";
    unsigned long line = 0;
    if (code == lastCode_ && !lastSource_.empty()) {
      source = lastSource_;
      line = lastLine_;
    }
    // The source name is the program's own ASCII text, valid CP932 as it
    // stands; the rest comes from the catalog in CP932.
    const std::string reason = platform::Tr932(HostErrorText(code));
    const std::string text = platform::Format(
        platform::Tr932("%s %lu: the ledger reported error %ld (%s). Check the ledger and run "
                        "again.")
            .c_str(),
        source.c_str(), line, code, reason.c_str());
    session_.Show(owner ? owner : session_.owner, text.c_str(), session_.caption.c_str(),
                  host::kMbOk | host::kMbIconWarning);
  }
  return 1;
}

}  // namespace ltb::ledger
