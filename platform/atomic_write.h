// Crash-safe replacement of a file the user keeps.
#pragma once

#include <string>
#include <string_view>

#include "platform/env.h"

namespace ltb::platform {

// Writes data to a temporary file beside path, syncs it and renames it over
// path. On any failure the temporary file is removed and path is left as it
// was (absent, or with its old content). Returns true on success.
bool WriteFileAtomically(Env& env, const std::string& path, std::string_view data);

// The name of the temporary file WriteFileAtomically uses for path.
std::string AtomicWriteTempName(const std::string& path);

}  // namespace ltb::platform
