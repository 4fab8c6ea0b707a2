// Crash-safe replacement of a file the user keeps.
#pragma once

#include <string>
#include <string_view>

#include "platform/env.h"

namespace ltb::platform {

// Writes data to a new, exclusively created temporary file beside path
// (Env::NewTempFile with `mode`: by default keeping the permission bits and
// group of the file it replaces), syncs it and renames it over path. On any
// failure the temporary file is removed and path is left as it was
// (absent, or with its old content). Returns what failed first, and why.
IoStatus WriteFileAtomically(Env& env, const std::string& path, std::string_view data,
                             TempFileMode mode = TempFileMode::kKeepTarget);

}  // namespace ltb::platform
