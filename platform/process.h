// What the process asks of the OS besides files of Windows paths: the
// Linux folder it was started in, whether a Linux path exists, a variable
// of its environment set for a library that reads it at start, whether
// standard input is a terminal, and a pause.
#pragma once

#include <string>

namespace ltb::platform {

// The process's current folder in Linux form (UTF-8); empty when it cannot
// be read (for example, when it was removed).
std::string CurrentLinuxFolder();

// Whether something exists at the Linux path (a link is followed).
bool LinuxPathExists(const std::string& path);

// Sets the environment variable `name` of this process to `value`,
// replacing an earlier value. Not for use while other threads read the
// environment.
void SetProcessVariable(const char* name, const char* value);

// Whether standard input is a terminal (a person may be typing).
bool StandardInputIsTerminal();

// Waits `micros` microseconds.
void PauseMicros(long micros);

}  // namespace ltb::platform
