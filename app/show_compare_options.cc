#include "app/show_compare_options.h"

namespace ltb::app {
namespace {

constexpr int kMaxDataset = 999999;

bool ParseDataset(std::string_view text, int* dataset) {
  if (text.empty() || text.size() > 6) return false;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  if (value < 1 || value > kMaxDataset) return false;
  *dataset = value;
  return true;
}

// A user id as the ledger keeps it: printable ASCII without spaces.
bool IsUserId(std::string_view text) {
  if (text.empty() || text.size() > 64) return false;
  for (char c : text) {
    if (c <= ' ' || c > '~') return false;
  }
  return true;
}

}  // namespace

ui::OptionParse ParseInspectOption(std::string_view arg, std::string_view value,
                                   InspectOptions* options, std::string* error) {
  std::string_view name = arg;
  bool inlineValue = false;
  if (const size_t eq = arg.find('='); eq != std::string_view::npos) {
    name = arg.substr(0, eq);
    value = arg.substr(eq + 1);
    inlineValue = true;
  }
  auto fail = [&](std::string message) {
    *error = std::move(message);
    return ui::OptionParse::kError;
  };
  if (name == "--compare" || name == "--all" || name == "--csv") {
    if (inlineValue) return fail(std::string(name) + " takes no value");
    (name == "--compare" ? options->compare : name == "--all" ? options->all : options->csv) = true;
    return ui::OptionParse::kFlag;
  }
  if (name != "--show" && name != "--user" && name != "--dataset") {
    return ui::OptionParse::kNotMine;
  }
  if (value.empty()) return fail(std::string(name) + " needs a value");
  if (name == "--show") {
    options->show = std::string(value);
  } else if (name == "--user") {
    if (!IsUserId(value)) {
      return fail("--user takes a user id of the ledger (printable ASCII, no spaces)");
    }
    options->user = std::string(value);
  } else if (!ParseDataset(value, &options->dataset)) {
    return fail("--dataset takes a dataset number from 1 to 999999, not " + std::string(value));
  }
  return inlineValue ? ui::OptionParse::kFlag : ui::OptionParse::kWithValue;
}

bool CheckInspectOptions(const InspectOptions& options, const ui::UnattendedOptions& run,
                         bool parentCommandLine, std::string* error) {
  const bool show = options.show.has_value();
  if (show && options.compare) {
    *error = "--show and --compare exclude each other";
  } else if (options.all && !show) {
    *error = "--all goes with --show";
  } else if (options.csv && !show && !options.compare) {
    *error = "--csv goes with --show or --compare";
  } else if (show && (options.user.size() || options.dataset || run.months)) {
    *error = "--show reads a report file; --user, --dataset and --months do not apply";
  } else if ((show || options.compare) &&
             (run.method || run.output || run.execute || run.answer || parentCommandLine)) {
    *error = std::string(show ? "--show" : "--compare") +
             " writes no report: --method, --output, --execute, --yes, --no and a parent "
             "command line do not apply";
  } else {
    return true;
  }
  return false;
}

}  // namespace ltb::app
