// ClFileMgr: the app folders. Folder type 0 (output) and 1 (settings) come
// from the ledger settings "folder_output" and "folder_settings" (Windows
// paths); without them, or without an open ledger, the defaults are the
// Windows forms (through the options' drive table) of
// ~/Documents/LedTaxBridge and ~/.config/ledtaxbridge, created when
// missing. Every answer ends in a backslash.
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
  std::string DefaultLinuxFolder(int folderType) const;

 private:
  const LedgerSession& session_;
};

// The user's home folder: process.home ($HOME), else the password
// database's entry, else "/".
std::string UserHomeFolder(const platform::ProcessSettings& process);

// mkdir -p; false when the folder cannot be made.
bool MakeFolders(const std::string& linuxPath);

}  // namespace ltb::ledger
