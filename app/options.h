// The program's own command-line options. Arguments that start with "--"
// are options, as are -h and -V; every other argument joins (with single
// spaces) the parent's command line "window,message,parameter,output",
// whose first item never begins with '-'.
#pragma once

#include <string>
#include <vector>

#include "app/show_compare_options.h"
#include "ui/unattended.h"

namespace ltb::app {

enum class UiChoice { kAuto, kGui, kConsole };

struct Options {
  bool help = false;
  bool version = false;
  std::string ledger;  // ledger home (Linux folder); empty = default
  UiChoice ui = UiChoice::kAuto;
  std::string drives;  // drive table file (Linux path), empty for none
  ui::UnattendedOptions unattended;
  InspectOptions inspect;         // --show, --compare and the run's user and dataset
  std::string parentCommandLine;  // as given, UTF-8
};

// False with *error (UTF-8) on an unknown option or a bad value.
bool ParseOptions(const std::vector<std::string>& args, Options* options, std::string* error);

// The --help text (UTF-8) for the named program.
std::string HelpText(const std::string& programName);

}  // namespace ltb::app
