// Paths on the command line are the caller's: a relative one is taken
// relative to the folder the program was started in, before the run moves
// to the program's own folder.
#pragma once

#include <string>
#include <string_view>

namespace ltb::app {

// The folder the program was started in (UTF-8, Linux form); empty when it
// cannot be read (for example, when it was removed).
std::string CallerWorkingDir();

// A path typed relative to the caller's working folder, made absolute:
// "rel.xml", "sub/a.xml" and "sub\a.xml" become callerDir + "/sub/a.xml".
// Absolute POSIX paths and Windows paths with a root ("C:\", "C:rel",
// "\dir", "\\srv\share") come back unchanged, as does an empty text.
std::string CallerAbsolutePath(std::string_view typed, std::string_view callerDir);

// True when CallerAbsolutePath would change the text.
bool IsCallerRelative(std::string_view typed);

}  // namespace ltb::app
