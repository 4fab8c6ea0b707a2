// The private-profile (INI) reader with the Windows semantics.
#pragma once

#include <string>

#include "platform/env.h"

namespace ltb::platform {

// GetPrivateProfileStringA: section and key names compare case-insensitively;
// blanks around names and values and one pair of surrounding quotes are
// removed; the default is returned for a missing file, section or key; an
// empty value is returned as empty. At most capacity - 1 bytes are returned.
std::string GetPrivateProfileString(Env& env, const std::string& section, const std::string& key,
                                    const std::string& def, size_t capacity,
                                    const std::string& path);

}  // namespace ltb::platform
