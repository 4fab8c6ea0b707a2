// What the process learns from its environment, read once at start by the
// program's entry point and handed down as a value, so that nothing else
// reads the environment and tests state every setting they depend on.
#pragma once

#include <string>

namespace ltb::platform {

// Each text is empty when its variable is unset or empty, unless noted.
struct ProcessSettings {
  // $LEDORA_HOME: Linux folder of the ledger home, used when the command
  // line names none.
  std::string ledgerHome;
  // $LEDORA_USER: the ledger user, used when the command line names none
  // (before the ledger's default user).
  std::string ledgerUser;
  // $HOME: the user's home folder, under which the default output and
  // settings folders and the sample ledger lie. Empty: the password
  // database's entry, else "/".
  std::string home;
  // $XDG_DATA_HOME, kept only when it is an absolute folder: where the
  // sample ledger is made. Empty: $HOME/.local/share.
  std::string xdgDataHome;
  // $LTB_DRIVES: a file of drive-table lines (platform/win_path.h), loaded
  // over the default table before --drives.
  std::string drivesFile;
  // $TMPDIR: the temporary folder the real Env reports (/tmp when empty or
  // not absolute).
  std::string tempDir;
  // $DISPLAY: the X display for the windows and the parent's window
  // messages. Empty: there is no display.
  std::string display;
  // The session-bus variables the graphical front end looks at to decide
  // whether its settings store can save: whether $GSETTINGS_BACKEND and
  // $DBUS_SESSION_BUS_ADDRESS are set at all (an empty value counts), and
  // $XDG_RUNTIME_DIR (empty: unset).
  bool gsettingsBackendSet = false;
  bool sessionBusAddressSet = false;
  std::string xdgRuntimeDir;
};

}  // namespace ltb::platform
