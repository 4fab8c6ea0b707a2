// ClAccConnect over the ledger: Initiate opens the ledger read-only and
// resolves the current user and the dataset the user has selected.
#pragma once

#include <string>

#include "host/host.h"
#include "ledger/ledger_session.h"

namespace ltb::ledger {

class LedgerConnect : public host::ClAccConnect {
 public:
  explicit LedgerConnect(LedgerSession& session) : session_(session) {}

  void SetCaption(const char* caption) override;
  void SetAppType(int appType) override { appType_ = appType; }
  void SetUseDataType(long type) override { useDataType_ = type; }
  // 0 when connected; otherwise the ledger's error has been shown through
  // the message sink (naming the ledger file) and a host error code returned.
  long Initiate() override;
  void SetOwnerWindow(host::WindowHandle owner) override { session_.owner = owner; }
  // The ledger's "link_answer" setting (0 when absent).
  long ExpSysLink() override;
  int DispMsg(host::WindowHandle owner, const char* text, const char* caption,
              unsigned type) override;
  void LogOut() override { loggedOut_ = true; }
  void Terminate() override;
  void Release() override {}

  int app_type() const { return appType_; }
  long use_data_type() const { return useDataType_; }

  // Replaces every "ES_APRPACKAGENAME" in CP932 text (double-byte aware).
  static std::string ReplacePackageName(std::string_view text, std::string_view name);

 private:
  long Fail(long code, const std::string& utf8Message);
  std::string ResolveUserId() const;

  LedgerSession& session_;
  int appType_ = 0;
  long useDataType_ = 0;
  bool loggedOut_ = false;
};

}  // namespace ltb::ledger
