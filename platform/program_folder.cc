#include "platform/program_folder.h"

#include "platform/cp932.h"

namespace ltb::platform {

std::string ProgramFolder(Env& env) {
  const std::string path = env.ProgramPath();
  size_t last = FindLastChar(path, '\\');
  return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

}  // namespace ltb::platform
