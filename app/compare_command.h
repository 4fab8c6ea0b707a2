// --compare: the journal figures of the selected dataset and months set
// against the saved tax-return values, element by element, as the two
// reports would carry them. Writes no report and remembers nothing.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "app/figure_table.h"
#include "app/parent_window.h"
#include "host/host.h"
#include "platform/env.h"
#include "resources/edition.h"
#include "ui/seat.h"

namespace ltb::app {

// Exit status when the two differ; 0 when they agree, 1 and 2 as for a run.
inline constexpr int kExitFiguresDiffer = 3;

struct CompareOptions {
  std::optional<std::pair<int, int>> months;  // default: the saved values' months
  bool csv = false;
};

// What the comparison found.
struct FigureComparison {
  int compared = 0;       // elements both methods carry
  FigureTable differing;  // label, journal value, saved value, difference, name
};

// Sets the DATA section the journal report would write against the one the
// return-values report would write (both as the writers' text), element by
// element. Only elements that both methods can fill for this dataset are
// compared: `journalReach` and `savedReach` are the same sections written
// from figures that are all non-zero, so an element empty there is one the
// method never fills. False with *error when the four texts do not hold
// the same elements in the same order.
bool CompareFigures(std::string_view journal, std::string_view saved, std::string_view journalReach,
                    std::string_view savedReach, FigureComparison* result, std::string* error);

// Runs the journal method for the months (without a dialog, a report or
// remembered settings), reads the saved values, compares and prints the
// differing elements and a summary to `out`; messages go to `err` and to
// the seat (app/main.cc hands it a console seat that answers No and writes
// to standard error, and a parent of no window).
// 0 agree, 3 differ, 1 refused (no saved values, months outside the
// period, a 10% entry ...), 2 error.
int RunCompareCommand(host::HostLibrary& host, platform::Env& env, ui::Seat& seat,
                      ParentWindow& parent, const Edition& edition, const CompareOptions& options,
                      std::FILE* out, std::FILE* err);

}  // namespace ltb::app
