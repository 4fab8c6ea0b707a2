// The folder of the running program.
#pragma once

#include <string>
#include <string_view>

#include "platform/env.h"

namespace ltb::platform {

// The folder that holds the file at programPath, in the form a current
// folder takes: the path cut at its last backslash (double-byte aware, so
// the 0x5C inside a name such as ソ is no separator), without that
// backslash unless the folder is a drive root ("C:\"). Empty when the path
// has no backslash. A file of the folder is named by joining with a
// double-byte aware check for the separator, never by testing the last byte.
std::string ProgramFolder(std::string_view programPath);

// ProgramFolder(env.ProgramPath()): empty when the program's path is unknown.
std::string ProgramFolder(Env& env);

}  // namespace ltb::platform
