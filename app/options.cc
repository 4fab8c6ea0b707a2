#include "app/options.h"

namespace ltb::app {

bool ParseOptions(const std::vector<std::string>& args, Options* options, std::string* error) {
  std::vector<std::string> parentItems;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const std::string next = i + 1 < args.size() ? args[i + 1] : std::string();
    if (arg == "-h" || arg == "-V") {
      (arg == "-h" ? options->help : options->version) = true;
      continue;
    }
    if (arg.rfind("--", 0) != 0) {
      // The parent's line starts with its window id: an item that begins
      // with '-' there is a mistyped option, never the start of a line.
      if (parentItems.empty() && arg.starts_with('-')) {
        *error = "unknown option " + arg + " (see --help)";
        return false;
      }
      parentItems.push_back(arg);
      continue;
    }
    switch (ui::ParseUnattendedOption(arg, next, &options->unattended, error)) {
      case ui::OptionParse::kFlag: continue;
      case ui::OptionParse::kWithValue: ++i; continue;
      case ui::OptionParse::kError: return false;
      case ui::OptionParse::kNotMine: break;
    }
    switch (ParseInspectOption(arg, next, &options->inspect, error)) {
      case ui::OptionParse::kFlag: continue;
      case ui::OptionParse::kWithValue: ++i; continue;
      case ui::OptionParse::kError: return false;
      case ui::OptionParse::kNotMine: break;
    }
    std::string name = arg, value;
    bool inlineValue = false;
    if (const size_t eq = arg.find('='); eq != std::string::npos) {
      name = arg.substr(0, eq);
      value = arg.substr(eq + 1);
      inlineValue = true;
    }
    if (name == "--help" || name == "--version") {
      if (inlineValue) {
        *error = name + " takes no value";
        return false;
      }
      (name == "--help" ? options->help : options->version) = true;
      continue;
    }
    if (name != "--ledger" && name != "--ui" && name != "--drives") {
      *error = "unknown option " + arg + " (see --help)";
      return false;
    }
    if (!inlineValue) {
      if (i + 1 >= args.size()) {
        *error = name + " needs a value";
        return false;
      }
      value = args[++i];
    }
    if (value.empty()) {
      *error = name + " needs a value";
      return false;
    }
    if (name == "--ledger") {
      options->ledger = value;
    } else if (name == "--drives") {
      options->drives = value;
    } else if (value == "auto") {
      options->ui = UiChoice::kAuto;
    } else if (value == "gui") {
      options->ui = UiChoice::kGui;
    } else if (value == "console") {
      options->ui = UiChoice::kConsole;
    } else {
      *error = "--ui takes auto, gui or console, not " + value;
      return false;
    }
  }
  for (size_t i = 0; i < parentItems.size(); ++i) {
    if (i) options->parentCommandLine += ' ';
    options->parentCommandLine += parentItems[i];
  }
  return CheckInspectOptions(options->inspect, options->unattended, !parentItems.empty(), error);
}

std::string HelpText(const std::string& programName) {
  return "Usage: " + programName + R"( [OPTION]... [WINDOW,MESSAGE,PARAMETER,OUTPUT]

Writes the consumption-tax figures of the dataset selected in the ledger as
an XML report for the tax-filing product.

Options:
  --ledger DIR        ledger home (default: $LEDORA_HOME, else the built-in
                      sample ledger, created on first use)
  --ui auto|gui|console
                      front end (auto: the GUI when a display is available)
  --drives FILE       drive table: lines "X: /linux/dir" or
                      "\\server\share /linux/dir" (Z: is / by default)
  --method journal|return
                      journal aggregation, or the values saved in the
                      tax-return screen
  --months S-E        first and last month of the range, e.g. 4-3
  --output PATH       output file (a Linux or Windows path)
  --execute           press Execute once the conditions are filled in
  --yes, --no         answer every question
  --user NAME         work as this user of the ledger, for this run only
  --dataset N         work on dataset N, for this run only (the ledger's
                      selection stays as it is)
  --show REPORT       check that REPORT is a report of this program and
                      print its figures as a table (--all: also the empty
                      elements; --csv: as CSV); control characters in a
                      text show as \r, \n, \t or \xHH
  --compare           compare the journal figures of the months (--months,
                      default those of the saved tax-return values) with
                      the saved values; print the elements that differ
                      (--csv: as CSV); writes nothing. Status 0 agree,
                      3 differ, 1 nothing to compare
  -h, --help          show this help and exit
  -V, --version       show the version and exit

With --csv, a cell that begins with =, +, -, @, a tab or a CR (and is no
number) gets a leading ' so that a spreadsheet shows it as text, never as a
formula.

Any other arguments form the parent program's command line, four items
separated by commas: window id, message number, message parameter and
output file. The parent window is notified with the result at the end.

Exit status: 0 finished, 1 cancelled or refused, 2 error.
)";
}

}  // namespace ltb::app
