// The console front end: the conditions dialog as a form on the terminal,
// message boxes printed with their caption, questions answered with y/n,
// progress as a text bar on standard error; and unattended runs driven by
// the options of ui/unattended.h.
#pragma once

#include <cstdio>
#include <memory>

#include "platform/env.h"
#include "ui/seat.h"
#include "ui/unattended.h"

namespace ltb::ui {

// env, in, out and err stay owned by the caller and must outlive the seat;
// typed paths take their Windows form through env's drive table and the
// progress bar is paced by its clock. interactive: standard input is a
// terminal that a person answers.
std::unique_ptr<Seat> NewConsoleSeat(platform::Env& env, const UnattendedOptions& options,
                                     std::FILE* in, std::FILE* out, std::FILE* err,
                                     bool interactive);

}  // namespace ltb::ui
