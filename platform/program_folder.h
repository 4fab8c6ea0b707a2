// The folder of the running program.
#pragma once

#include <string>

#include "platform/env.h"

namespace ltb::platform {

// env.ProgramPath() up to and including its last backslash (double-byte
// aware, so the 0x5C inside a name such as ソ is no separator); empty when
// the program's path is unknown.
std::string ProgramFolder(Env& env);

}  // namespace ltb::platform
