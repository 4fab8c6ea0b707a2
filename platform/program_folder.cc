#include "platform/program_folder.h"

#include "platform/cp932.h"

namespace ltb::platform {

std::string ProgramFolder(std::string_view programPath) {
  const size_t slash = FindLastChar(programPath, '\\');
  if (slash == std::string_view::npos) return std::string();
  std::string folder(programPath.substr(0, slash + 1));
  // Keep "C:\" whole; drop the separator of any deeper folder.
  if (!(folder.size() == 3 && folder[1] == ':')) folder.pop_back();
  return folder;
}

std::string ProgramFolder(Env& env) { return ProgramFolder(env.ProgramPath()); }

}  // namespace ltb::platform
