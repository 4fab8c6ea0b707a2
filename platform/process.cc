#include "platform/process.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>

namespace ltb::platform {

std::string CurrentLinuxFolder() {
  char buf[PATH_MAX];
  return ::getcwd(buf, sizeof(buf)) != nullptr ? std::string(buf) : std::string();
}

bool LinuxPathExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

void SetProcessVariable(const char* name, const char* value) { ::setenv(name, value, 1); }

bool StandardInputIsTerminal() { return ::isatty(STDIN_FILENO) != 0; }

void PauseMicros(long micros) { ::usleep(static_cast<useconds_t>(micros)); }

}  // namespace ltb::platform
