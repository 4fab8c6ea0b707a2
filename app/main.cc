// The program: reads its options, opens the ledger, picks a front end and
// runs the application object once. The exit status is the run's exitCode.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <new>
#include <sstream>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/options.h"
#include "app/parent_line.h"
#include "app/parent_window.h"
#include "app/real_components.h"
#include "app/tax_link_app.h"
#include "ledger/ledger_host.h"
#include "platform/env.h"
#include "platform/temp_file_registry.h"
#include "platform/win_path.h"
#include "resources/edition.h"
#include "ui/console/console_seat.h"
#ifdef LTB_HAVE_GUI
#include "ui/gui/gui_seat.h"
#endif

namespace {

constexpr int kStatusError = 2;

int Fail(const char* program, const std::string& message) {
  std::fprintf(stderr, "%s: %s\n", program, message.c_str());
  return kStatusError;
}

bool LoadDrives(const std::string& file, std::string* error) {
  std::ifstream in(file);
  if (!in) {
    *error = "cannot read the drive table " + file;
    return false;
  }
  std::stringstream text;
  text << in.rdbuf();
  return ltb::platform::DriveTable::Global().LoadConfig(text.str(), error);
}

std::unique_ptr<ltb::ui::Seat> MakeSeat(const ltb::app::Options& options,
                                        ltb::host::WindowHandle parent, std::string* error) {
  using ltb::app::UiChoice;
#ifdef LTB_HAVE_GUI
  std::string why;
  if (options.ui == UiChoice::kGui ||
      (options.ui == UiChoice::kAuto && ltb::ui::gui::GuiAvailable(&why))) {
    auto seat = ltb::ui::gui::NewGuiSeat(options.unattended, parent, &why);
    if (seat || options.ui == UiChoice::kGui) {
      if (!seat) *error = "the graphical front end cannot start: " + why;
      return seat;
    }
  }
  if (options.ui == UiChoice::kAuto) {
    std::fprintf(stderr, "%s: using the console front end: %s\n",
                 ltb::CurrentEdition().programName, why.c_str());
  }
#else
  (void)parent;
  if (options.ui == UiChoice::kGui) {
    *error = "this build has no graphical front end; use --ui console";
    return nullptr;
  }
#endif
  return ltb::ui::NewConsoleSeat(options.unattended, stdin, stdout, stderr,
                                 isatty(STDIN_FILENO) != 0);
}

}  // namespace

int main(int argc, char** argv) try {
  const ltb::Edition& edition = ltb::CurrentEdition();
  const char* program = edition.programName;
  ltb::platform::InstallTempFileCleanup();

  ltb::app::Options options;
  std::string error;
  if (!ltb::app::ParseOptions(std::vector<std::string>(argv + 1, argv + argc), &options,
                              &error)) {
    return Fail(program, error);
  }
  if (options.help) {
    std::fputs(ltb::app::HelpText(program).c_str(), stdout);
    return 0;
  }
  if (options.version) {
    std::printf("%s %s\n", program, ltb::kVersionString);
    return 0;
  }
  if (!options.drives.empty() && !LoadDrives(options.drives, &error)) {
    return Fail(program, error);
  }

  ltb::ledger::LedgerOptions ledgerOptions;
  ledgerOptions.home = options.ledger;
  if (ledgerOptions.home.empty()) {
    if (const char* home = std::getenv("LEDORA_HOME"); home && *home) ledgerOptions.home = home;
  }
  std::unique_ptr<ltb::host::HostLibrary> host = ltb::ledger::OpenLedgerHost(ledgerOptions);
  if (!host) return Fail(program, "the ledger cannot be opened");

  const std::string commandLine = ltb::app::ParentLineToCp932(options.parentCommandLine);
  ltb::app::RunContext preview;
  ltb::app::ParseCommandLine(commandLine, &preview);

  std::unique_ptr<ltb::ui::Seat> seat = MakeSeat(options, preview.parentWindow, &error);
  if (!seat) return Fail(program, error);

  ltb::platform::Env& env = *ltb::platform::Env::Default();
  ltb::app::X11ParentWindow parent;
  ltb::app::RealComponents components(*host, env, *seat, edition);
  ltb::app::TaxLinkApp app(*host, env, *seat, edition, parent, components);
  return app.Run(commandLine);
} catch (const std::bad_alloc&) {
  // Outside the run (which reports its own): temporary files go at exit.
  return Fail(ltb::CurrentEdition().programName, "out of memory");
}
