#include "app/show_compare_options.h"

#include "platform/messages.h"

namespace ltb::app {

using platform::Format;
using platform::Tr;
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
    if (inlineValue)
      return fail(Format(Tr("%s takes no value: give it without =."), std::string(name).c_str()));
    (name == "--compare" ? options->compare : name == "--all" ? options->all : options->csv) = true;
    return ui::OptionParse::kFlag;
  }
  if (name != "--show" && name != "--user" && name != "--dataset") {
    return ui::OptionParse::kNotMine;
  }
  if (value.empty())
    return fail(
        Format(Tr("%s needs a value: give it after the option."), std::string(name).c_str()));
  if (name == "--show") {
    options->show = std::string(value);
  } else if (name == "--user") {
    if (!IsUserId(value)) {
      return fail(Format(Tr("--user takes a user id of the ledger (printable ASCII, no spaces), "
                            "not %s."),
                         std::string(value).c_str()));
    }
    options->user = std::string(value);
  } else if (!ParseDataset(value, &options->dataset)) {
    return fail(Format(Tr("--dataset takes a dataset number from 1 to 999999, not %s."),
                       std::string(value).c_str()));
  }
  return inlineValue ? ui::OptionParse::kFlag : ui::OptionParse::kWithValue;
}

bool CheckInspectOptions(const InspectOptions& options, const ui::UnattendedOptions& run,
                         bool parentCommandLine, std::string* error) {
  const bool show = options.show.has_value();
  if (show && options.compare) {
    *error = Tr("--show and --compare exclude each other: give one of them.");
  } else if (options.all && !show) {
    *error = Tr("--all goes with --show: give --show too, or leave --all out.");
  } else if (options.csv && !show && !options.compare) {
    *error = Tr("--csv goes with --show or --compare: give one of them too, or leave --csv out.");
  } else if (show && (options.user.size() || options.dataset || run.months)) {
    *error =
        Tr("--show reads a report file, so --user, --dataset and --months do not apply: "
           "leave them out.");
  } else if ((show || options.compare) &&
             (run.method || run.output || run.execute || run.answer || parentCommandLine)) {
    *error = Format(Tr("%s writes no report, so --method, --output, --execute, --yes, --no and a "
                       "parent command line do not apply: leave them out."),
                    show ? "--show" : "--compare");
  } else {
    return true;
  }
  return false;
}

}  // namespace ltb::app
