#include "app/options.h"

#include "platform/messages.h"

namespace ltb::app {

using platform::Format;
using platform::Tr;

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
        *error = Format(Tr("unknown option %s: see --help for the options."), arg.c_str());
        return false;
      }
      parentItems.push_back(arg);
      continue;
    }
    switch (ui::ParseUnattendedOption(arg, next, &options->unattended, error,
                                      [](const char* id) { return platform::Tr(id); })) {
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
        *error = Format(Tr("%s takes no value: give it without =."), name.c_str());
        return false;
      }
      (name == "--help" ? options->help : options->version) = true;
      continue;
    }
    if (name != "--ledger" && name != "--ui" && name != "--drives") {
      *error = Format(Tr("unknown option %s: see --help for the options."), arg.c_str());
      return false;
    }
    if (!inlineValue) {
      if (i + 1 >= args.size()) {
        *error = Format(Tr("%s needs a value: give it after the option."), name.c_str());
        return false;
      }
      value = args[++i];
    }
    if (value.empty()) {
      *error = Format(Tr("%s needs a value: give it after the option."), name.c_str());
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
      *error = Format(Tr("--ui takes auto, gui or console, not %s."), value.c_str());
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
  // One text with the program's name in place of %s.
  return Format(Tr("Usage: %s [OPTION]... [WINDOW,MESSAGE,PARAMETER,OUTPUT]\n"
                   "\n"
                   "Writes the consumption-tax figures of the dataset selected in the ledger as\n"
                   "an XML report for the tax-filing product.\n"
                   "\n"
                   "Options:\n"
                   "  --ledger DIR        ledger home (default: $LEDORA_HOME, else the built-in\n"
                   "                      sample ledger, created on first use)\n"
                   "  --ui auto|gui|console\n"
                   "                      front end (auto: the GUI when a display is available)\n"
                   "  --drives FILE       drive table: lines \"X: /linux/dir\" or\n"
                   "                      \"\\\\server\\share /linux/dir\" (Z: is / by default)\n"
                   "  --method journal|return\n"
                   "                      journal aggregation, or the values saved in the\n"
                   "                      tax-return screen\n"
                   "  --months S-E        first and last month of the range, e.g. 4-3\n"
                   "  --output PATH       output file (a Linux or Windows path)\n"
                   "  --execute           press Execute once the conditions are filled in\n"
                   "  --yes, --no         answer every question\n"
                   "  --user NAME         work as this user of the ledger, for this run only\n"
                   "  --dataset N         work on dataset N, for this run only (the ledger's\n"
                   "                      selection stays as it is)\n"
                   "  --show REPORT       check that REPORT is a report of this program and\n"
                   "                      print its figures as a table (--all: also the empty\n"
                   "                      elements; --csv: as CSV); control characters in a\n"
                   "                      text show as \\r, \\n, \\t or \\xHH\n"
                   "  --compare           compare the journal figures of the months (--months,\n"
                   "                      default those of the saved tax-return values) with\n"
                   "                      the saved values; print the elements that differ\n"
                   "                      (--csv: as CSV); writes nothing. Status 0 agree,\n"
                   "                      3 differ, 1 nothing to compare\n"
                   "  -h, --help          show this help and exit\n"
                   "  -V, --version       show the version and exit\n"
                   "\n"
                   "With --csv, a cell that begins with =, +, -, @, a tab or a CR (and is no\n"
                   "number) gets a leading ' so that a spreadsheet shows it as text, never as a\n"
                   "formula.\n"
                   "\n"
                   "Any other arguments form the parent program's command line, four items\n"
                   "separated by commas: window id, message number, message parameter and\n"
                   "output file. The parent window is notified with the result at the end.\n"
                   "\n"
                   "Exit status: 0 finished (with --compare: the figures agree), 1 cancelled,\n"
                   "refused or nothing to compare, 2 error, 3 the figures differ (--compare).\n"
                   ""),
                programName.c_str());
}

}  // namespace ltb::app
