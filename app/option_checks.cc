#include "app/option_checks.h"

#include <cstdio>
#include <utility>

#include "app/caller_paths.h"
#include "app/command_line.h"
#include "dialog/tax_conditions_dialog.h"
#include "platform/cp932.h"
#include "platform/messages.h"
#include "platform/win_path.h"

namespace ltb::app {

using platform::Format;
using platform::Tr;

bool ResolveCallerPaths(Options* options, std::string_view callerDir, std::string* error) {
  auto resolve = [&](const char* name, std::string* value) {
    if (!IsCallerRelative(*value)) return true;
    if (callerDir.empty()) {
      *error = Format(Tr("%s %s: the working folder cannot be read, so a relative path cannot be "
                         "resolved. Give an absolute path."),
                      name, value->c_str());
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
      {Tr("the parent command line"), &options.parentCommandLine},
  };
  for (const auto& [name, value] : values) {
    if (value == nullptr) continue;
    for (size_t i = 0; i < value->size(); ++i) {
      const unsigned char c = static_cast<unsigned char>((*value)[i]);
      if (c >= 0x20 && c != 0x7F) continue;
      char text[200];
      std::snprintf(text, sizeof text,
                    Tr("%s holds the control character 0x%02X at byte %zu. Give a path without "
                       "line breaks, tabs or other control characters."),
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
    *error = Format(Tr("--output %s: the path has characters that Shift_JIS cannot hold. Give a "
                       "path of characters that Shift_JIS holds."),
                    options.output->c_str());
    return false;
  }
  const std::string windowsForm = platform::UserPathToWindows(drives, *options.output);
  if (windowsForm.size() > dialog::kOutputFieldLimit) {
    *error = Format(Tr("--output: the path is %zu bytes in its Windows form, but the output field "
                       "holds at most %zu bytes. Give a shorter path."),
                    windowsForm.size(), static_cast<size_t>(dialog::kOutputFieldLimit));
    return false;
  }
  return true;
}

bool CheckParentLineFits(std::string_view cp932Line, std::string* error) {
  constexpr size_t kMaxLine = kCommandLineBuffer - 1;
  if (cp932Line.size() <= kMaxLine) return true;
  *error = Format(Tr("The parent command line is %zu bytes with its output file in Windows form, "
                     "but the run reads at most %zu bytes. Give a shorter output path."),
                  cp932Line.size(), static_cast<size_t>(kMaxLine));
  return false;
}

}  // namespace ltb::app
