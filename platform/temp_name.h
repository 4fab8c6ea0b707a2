// Unpredictable names for temporary files beside the file they will replace.
#pragma once

#include <string>

namespace ltb::platform {

// A Windows path in the folder of `target` (or the current folder, when
// target names no folder) with a fresh random name ".~ltb<16 letters and
// digits>.tmp". The name does not depend on target's own name, so it stays
// short whatever the target is called; the rename that commits it stays on
// one file system.
std::string TempNameBeside(const std::string& target);

}  // namespace ltb::platform
