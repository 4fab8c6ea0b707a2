// The command line with which a parent program starts the run:
// "window,message,parameter,output path".
#pragma once

#include <string_view>

#include "app/run_context.h"

namespace ltb::app {

// The working buffer holds 260 bytes: at most 259 bytes of command line.
inline constexpr size_t kCommandLineBuffer = 260;

// Reads the four comma-separated items into ctx (parentWindow,
// notifyMessage, notifyWParam, parentOutputPath). Items read before a
// missing comma stay stored. A line longer than the buffer is cut on a
// character boundary before it is read. Returns true when all three commas
// were found (launched by a parent); does not itself set launchedByParent.
bool ParseCommandLine(std::string_view line, RunContext* ctx);

// The C library's reading of a leading decimal integer: blanks, an optional
// sign, digits; 0 when there are none; saturates instead of overflowing.
long LeadingLong(std::string_view text);

}  // namespace ltb::app
