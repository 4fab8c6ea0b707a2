// The host libraries played by a SQLite ledger.
#pragma once

#include <memory>
#include <string>

#include "host/host.h"
#include "platform/process_settings.h"
#include "platform/win_path.h"

namespace ltb::ledger {

struct LedgerOptions {
  // Linux folder of the ledger home; empty = the built-in sample ledger in
  // SampleLedgerHome(), created on first use.
  std::string home;
  // Empty = process.ledgerUser ($LEDORA_USER), else the ledger's default
  // user.
  std::string userId;
  // Non-zero: work on this dataset instead of the one the user selected, for
  // this process only; the ledger's selection is not changed.
  int datasetNo = 0;
  // The process's settings: the user's home and data folders (where the
  // sample ledger and the default app folders lie) and the ledger user.
  platform::ProcessSettings process{};
  // Gives the default app folders their Windows form.
  platform::DriveTable drives{};
};

// Cheap: the database is opened by ClAccConnect::Initiate.
std::unique_ptr<host::HostLibrary> OpenLedgerHost(const LedgerOptions& options);

// Where the sample ledger lives: (process.xdgDataHome, else
// <home>/.local/share)/ledtaxbridge/sample.
std::string SampleLedgerHome(const platform::ProcessSettings& process);

// Writes the sample ledger into `home` (created when missing). Does nothing
// when a ledger is already there. False with *error (UTF-8, the reason:
// a clause for a message) on failure.
bool CreateSampleLedger(const std::string& home, std::string* error);

}  // namespace ltb::ledger
