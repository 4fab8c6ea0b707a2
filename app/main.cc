// The program: reads its options and its environment (the one place that
// does), builds the drive table and the real Env from them, opens the
// ledger, picks a front end and runs the application object once. The exit
// status is the run's exitCode.

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "app/caller_paths.h"
#include "app/command_line.h"
#include "app/compare_command.h"
#include "app/option_checks.h"
#include "app/options.h"
#include "app/parent_line.h"
#include "app/parent_window.h"
#include "app/real_components.h"
#include "app/show_command.h"
#include "app/tax_link_app.h"
#include "app/window_id.h"
#include "frontends/console/console_seat.h"
#include "ledger/ledger_host.h"
#include "platform/env.h"
#include "platform/messages.h"
#include "platform/posix_env.h"
#include "platform/process.h"
#include "platform/process_settings.h"
#include "platform/temp_file_registry.h"
#include "platform/win_path.h"
#include "resources/edition.h"
#ifdef LTB_HAVE_GUI
#include "frontends/gui/gui_seat.h"
#endif

namespace {

using ltb::platform::Format;
using ltb::platform::Tr;

constexpr int kStatusError = 2;

int Fail(const char* program, const std::string& message) {
  std::fprintf(stderr, "%s: %s\n", program, message.c_str());
  return kStatusError;
}

// A variable's value; empty when it is unset.
std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

// Everything the process takes from its environment, read once.
ltb::platform::ProcessSettings ReadProcessSettings() {
  ltb::platform::ProcessSettings s;
  s.ledgerHome = Variable("LEDORA_HOME");
  s.ledgerUser = Variable("LEDORA_USER");
  s.home = Variable("HOME");
  s.xdgDataHome = Variable("XDG_DATA_HOME");
  if (!s.xdgDataHome.starts_with('/')) s.xdgDataHome.clear();
  s.drivesFile = Variable("LTB_DRIVES");
  s.tempDir = Variable("TMPDIR");
  s.display = Variable("DISPLAY");
  s.gsettingsBackendSet = std::getenv("GSETTINGS_BACKEND") != nullptr;
  s.sessionBusAddressSet = std::getenv("DBUS_SESSION_BUS_ADDRESS") != nullptr;
  s.xdgRuntimeDir = Variable("XDG_RUNTIME_DIR");
  return s;
}

// The longest drive-table file that is read: a table of every letter and
// hundreds of shares fits many times over.
constexpr size_t kDriveTableLimit = 1 << 20;

// Reads a drive-table file named by `source` (the option or the variable)
// into *text. Only a regular file is read (a link to one is followed): a
// FIFO, a device or a folder is refused without waiting on it, and so is a
// file over kDriveTableLimit. *fatal tells a refusal that ends the run from
// a missing or unreadable file.
bool ReadDriveTableFile(const char* source, const std::string& path, std::string* text, bool* fatal,
                        std::string* error) {
  char message[512];
  *fatal = true;
  switch (ltb::platform::ReadRegularLinuxFile(path, true, text, kDriveTableLimit)) {
    case ltb::platform::ReadStatus::kOk: return true;
    case ltb::platform::ReadStatus::kNotRegular:
      std::snprintf(message, sizeof message,
                    Tr("%s %s is not a regular file (it is a FIFO, a device or a folder): give "
                       "the name of a drive-table file."),
                    source, path.c_str());
      break;
    case ltb::platform::ReadStatus::kTooLarge:
      std::snprintf(message, sizeof message,
                    Tr("%s %s is larger than %zu bytes, far more than any drive table: give the "
                       "name of a drive-table file."),
                    source, path.c_str(), kDriveTableLimit);
      break;
    case ltb::platform::ReadStatus::kMissing:
    case ltb::platform::ReadStatus::kFailed: {
      const int why = errno;
      *fatal = false;
      std::snprintf(message, sizeof message,
                    Tr("%s: the drive table %s cannot be read: %s. Check the file name."), source,
                    path.c_str(), std::strerror(why != 0 ? why : ENOENT));
      break;
    }
  }
  *error = message;
  return false;
}

// The drive table of the run: the default, then the file named by
// $LTB_DRIVES (a missing, unreadable or malformed file there is only
// reported: the variable may be set for other programs too), then --drives
// (any fault there ends the run). A file that is no regular file or is far
// too large ends the run from either.
bool BuildDriveTable(const std::string& environmentFile, const std::string& optionFile,
                     ltb::platform::DriveTable* table, std::string* error) {
  std::string text, why;
  bool fatal = false;
  if (!environmentFile.empty()) {
    if (!ReadDriveTableFile("LTB_DRIVES", environmentFile, &text, &fatal, &why)) {
      if (fatal) {
        *error = why;
        return false;
      }
      std::fprintf(stderr, "%s\n", why.c_str());
    } else if (!table->LoadConfig(text, &why)) {
      std::fprintf(stderr, "%s\n",
                   Format(Tr("%s: the drive table %s is used only up to the line it cannot read "
                             "(%s). Correct that line of the file."),
                          "LTB_DRIVES", environmentFile.c_str(), why.c_str())
                       .c_str());
    }
  }
  if (optionFile.empty()) return true;
  if (!ReadDriveTableFile("--drives", optionFile, &text, &fatal, error)) return false;
  if (table->LoadConfig(text, &why)) return true;
  *error = Format(Tr("%s: the drive table %s cannot be used (%s). Correct that line of the file "
                     "and run again."),
                  "--drives", optionFile.c_str(), why.c_str());
  return false;
}

std::unique_ptr<ltb::ui::Seat> MakeSeat(ltb::platform::Env& env,
                                        const ltb::platform::ProcessSettings& settings,
                                        const ltb::app::Options& options,
                                        ltb::host::WindowHandle parent, std::string* error) {
  using ltb::app::UiChoice;
#ifdef LTB_HAVE_GUI
  std::string why;
  if (options.ui == UiChoice::kGui ||
      (options.ui == UiChoice::kAuto && ltb::ui::gui::GuiAvailable(settings, &why))) {
    auto seat = ltb::ui::gui::NewGuiSeat(env, settings, options.unattended, parent, &why);
    if (seat || options.ui == UiChoice::kGui) {
      if (!seat) {
        *error = Format(Tr("The graphical front end cannot start: %s. Run with --ui console."),
                        why.c_str());
      }
      return seat;
    }
  }
  if (options.ui == UiChoice::kAuto) {
    std::fprintf(stderr, "%s: %s\n", ltb::CurrentEdition().programName,
                 Format(Tr("The console front end is used: %s."), why.c_str()).c_str());
  }
#else
  (void)settings;
  (void)parent;
  if (options.ui == UiChoice::kGui) {
    *error = Tr("This build has no graphical front end: run with --ui console.");
    return nullptr;
  }
#endif
  return ltb::ui::NewConsoleSeat(env, options.unattended, stdin, stdout, stderr,
                                 ltb::platform::StandardInputIsTerminal());
}

}  // namespace

int main(int argc, char** argv) try {
  // The toolkit's own words (buttons, the file chooser), our messages and
  // the system's reasons follow the user's locale; the system's texts of
  // the dialog and the report are CP932 bytes that do not depend on it.
  ltb::platform::InitMessages();
  const ltb::Edition& edition = ltb::CurrentEdition();
  const char* program = edition.programName;
  ltb::platform::InstallTempFileCleanup();
  const ltb::platform::ProcessSettings settings = ReadProcessSettings();

  ltb::app::Options options;
  std::string error;
  if (!ltb::app::ParseOptions(std::vector<std::string>(argv + 1, argv + argc), &options, &error)) {
    return Fail(program, error);
  }
  if (options.help || options.version) {
    // A full disk or a closed pipe fails the output the caller asked for.
    if (options.help) {
      std::fputs(ltb::app::HelpText(program).c_str(), stdout);
    } else {
      std::printf("%s %s\n", program, ltb::kVersionString);
    }
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
      const int why = errno;
      std::fprintf(
          stderr, "%s: %s\n", program,
          Format(options.help ? Tr("The help could not be written to standard output: %s.")
                              : Tr("The version could not be written to standard output: %s."),
                 std::strerror(why))
              .c_str());
      return kStatusError;
    }
    return 0;
  }
  if (!ltb::app::CheckNoControlCharacters(options, &error)) return Fail(program, error);
  // Relative paths are the caller's; the run later works in the program's
  // folder. A value the dialog would cut or change is refused here.
  const std::string callerDir = ltb::app::CallerWorkingDir();
  if (!ltb::app::ResolveCallerPaths(&options, callerDir, &error)) return Fail(program, error);
  ltb::platform::DriveTable drives;
  if (!BuildDriveTable(settings.drivesFile, options.drives, &drives, &error)) {
    return Fail(program, error);
  }
  const std::unique_ptr<ltb::platform::Env> env =
      ltb::platform::NewPosixEnv(drives, settings.tempDir);
  if (!ltb::app::CheckOptionsFitDialog(options.unattended, drives, &error)) {
    return Fail(program, error);
  }
  if (options.inspect.show) {
    return ltb::app::RunShowCommand(*env, program, *options.inspect.show,
                                    {options.inspect.all, options.inspect.csv}, stdout, stderr);
  }

  ltb::ledger::LedgerOptions ledgerOptions;
  ledgerOptions.home = options.ledger;
  ledgerOptions.userId = options.inspect.user;
  ledgerOptions.datasetNo = options.inspect.dataset;
  ledgerOptions.process = settings;
  ledgerOptions.drives = drives;
  if (ledgerOptions.home.empty() && !settings.ledgerHome.empty()) {
    ledgerOptions.home = ltb::app::CallerAbsolutePath(settings.ledgerHome, callerDir);
  }
  std::unique_ptr<ltb::host::HostLibrary> host = ltb::ledger::OpenLedgerHost(ledgerOptions);
  if (!host) {
    return Fail(program, Tr("The ledger cannot be opened (the reason is above). Check --ledger "
                            "or LEDORA_HOME."));
  }

  if (options.inspect.compare) {
    // Messages and the progress bar go to standard error, which the figures
    // on standard output leave alone; every question is answered No, and
    // there is no parent window.
    ltb::ui::UnattendedOptions answerNo;
    answerNo.answer = false;
    std::unique_ptr<ltb::ui::Seat> seat =
        ltb::ui::NewConsoleSeat(*env, answerNo, stdin, stderr, stderr, false);
    ltb::app::X11ParentWindow noParent("");
    return ltb::app::RunCompareCommand(*host, *env, *seat, noParent, edition,
                                       {options.unattended.months, options.inspect.csv}, stdout,
                                       stderr);
  }
  const std::string commandLine =
      ltb::app::ParentLineToCp932(drives, options.parentCommandLine, callerDir);
  if (!ltb::app::CheckParentLineFits(commandLine, &error)) return Fail(program, error);
  if (const std::string warning = ltb::app::WindowItemWarning(options.parentCommandLine);
      !warning.empty()) {
    std::fprintf(stderr, "%s: %s\n", program, warning.c_str());
  }
  ltb::app::RunContext preview;
  ltb::app::ParseCommandLine(commandLine, &preview);

  std::unique_ptr<ltb::ui::Seat> seat =
      MakeSeat(*env, settings, options, preview.parentWindow, &error);
  if (!seat) return Fail(program, error);

  ltb::app::X11ParentWindow parent(settings.display);
  ltb::app::RealComponents components(*host, *env, *seat, edition);
  ltb::app::TaxLinkApp app(*host, *env, *seat, edition, parent, components);
  return app.Run(commandLine);
} catch (const std::bad_alloc&) {
  // Outside the run (which reports its own): temporary files go at exit.
  return Fail(ltb::CurrentEdition().programName,
              Tr("There is not enough memory. Close other programs and run again."));
}
