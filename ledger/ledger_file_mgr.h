// ClFileMgr: the app folders. Folder type 0 (output) and 1 (settings) come
// from the ledger settings "folder_output" and "folder_settings" (Windows
// paths); without them, or without an open ledger, the defaults are the
// Windows forms of ~/Documents/LedTaxBridge and ~/.config/ledtaxbridge,
// created when missing. Every answer ends in a backslash.
#pragma once

#include <string>

#include "host/host.h"
#include "ledger/ledger_session.h"

namespace ltb::ledger {

class LedgerFileMgr : public host::ClFileMgr {
 public:
  explicit LedgerFileMgr(const LedgerSession& session) : session_(session) {}
  std::string GetAppFolderPath(int folderType) override;

  // The default Linux folder of a folder type; empty for an unknown type.
  static std::string DefaultLinuxFolder(int folderType);

 private:
  const LedgerSession& session_;
};

// The user's home folder ($HOME, else the password database).
std::string UserHomeFolder();

// mkdir -p; false when the folder cannot be made.
bool MakeFolders(const std::string& linuxPath);

}  // namespace ltb::ledger
