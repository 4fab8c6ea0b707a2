// The options of the commands that look at figures without writing a
// report (--show, --compare) and of the run's own user and dataset
// (--user, --dataset).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "ui/unattended.h"

namespace ltb::app {

struct InspectOptions {
  std::optional<std::string> show;  // report file to show (Linux path)
  bool compare = false;
  bool all = false;  // --show: also the empty elements
  bool csv = false;
  std::string user;  // empty: the ledger's own choice
  int dataset = 0;   // 0: the dataset the user selected
};

// Parses one argument the way ui::ParseUnattendedOption does: "--name value"
// or "--name=value"; value is the following argument.
ui::OptionParse ParseInspectOption(std::string_view arg, std::string_view value,
                                   InspectOptions* options, std::string* error);

// The combinations that make no sense (--all without --show, --show with
// --compare, a report-writing option with either). False with *error.
bool CheckInspectOptions(const InspectOptions& options, const ui::UnattendedOptions& run,
                         bool parentCommandLine, std::string* error);

}  // namespace ltb::app
