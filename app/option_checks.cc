#include "app/option_checks.h"

#include <cstdio>
#include <utility>

#include "app/caller_paths.h"
#include "app/command_line.h"
#include "dialog/tax_conditions_dialog.h"
#include "platform/cp932.h"
#include "platform/win_path.h"

namespace ltb::app {

bool ResolveCallerPaths(Options* options, std::string_view callerDir, std::string* error) {
  auto resolve = [&](const char* name, std::string* value) {
    if (!IsCallerRelative(*value)) return true;
    if (callerDir.empty()) {
      *error = std::string(name) + " " + *value +
               ": the working folder cannot be read; give an absolute path";
      return false;
    }
    *value = CallerAbsolutePath(*value, callerDir);
    return true;
  };
  if (!resolve("--ledger", &options->ledger) || !resolve("--drives", &options->drives)) {
    return false;
  }
  return !options->unattended.output || resolve("--output", &*options->unattended.output);
}

bool CheckNoControlCharacters(const Options& options, std::string* error) {
  const std::pair<const char*, const std::string*> values[] = {
      {"--output", options.unattended.output ? &*options.unattended.output : nullptr},
      {"--ledger", &options.ledger},
      {"--drives", &options.drives},
      {"--show", options.inspect.show ? &*options.inspect.show : nullptr},
      {"the parent command line", &options.parentCommandLine},
  };
  for (const auto& [name, value] : values) {
    if (value == nullptr) continue;
    for (size_t i = 0; i < value->size(); ++i) {
      const unsigned char c = static_cast<unsigned char>((*value)[i]);
      if (c >= 0x20 && c != 0x7F) continue;
      char text[200];
      std::snprintf(text, sizeof text,
                    "%s holds the control character 0x%02X at byte %zu; give a path without "
                    "line breaks, tabs or other control characters",
                    name, c, i + 1);
      *error = text;
      return false;
    }
  }
  return true;
}

bool CheckOptionsFitDialog(const ui::UnattendedOptions& options, const platform::DriveTable& drives,
                           std::string* error) {
  if (!options.output) return true;
  std::string cp932;
  if (!platform::Utf8ToCp932(*options.output, &cp932)) {
    *error = "--output " + *options.output + ": has characters Shift_JIS cannot hold";
    return false;
  }
  const std::string windowsForm = platform::UserPathToWindows(drives, *options.output);
  if (windowsForm.size() > dialog::kOutputFieldLimit) {
    *error = "--output: the path is " + std::to_string(windowsForm.size()) +
             " bytes in its Windows form; the output field holds at most " +
             std::to_string(dialog::kOutputFieldLimit) + " bytes";
    return false;
  }
  return true;
}

bool CheckParentLineFits(std::string_view cp932Line, std::string* error) {
  constexpr size_t kMaxLine = kCommandLineBuffer - 1;
  if (cp932Line.size() <= kMaxLine) return true;
  *error = "the parent command line is " + std::to_string(cp932Line.size()) +
           " bytes with its output file in Windows form; the run reads at most " +
           std::to_string(kMaxLine) + " bytes";
  return false;
}

}  // namespace ltb::app
