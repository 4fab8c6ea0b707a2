#include "platform/atomic_write.h"

#include <unistd.h>

namespace ltb::platform {

std::string AtomicWriteTempName(const std::string& path) {
  // Beside the target, so that the rename stays on one file system; the
  // process id keeps two running copies apart.
  return path + "." + std::to_string(::getpid()) + ".tmp";
}

bool WriteFileAtomically(Env& env, const std::string& path, std::string_view data) {
  const std::string temp = AtomicWriteTempName(path);
  std::unique_ptr<WritableFile> file = env.NewWritableFile(temp);
  if (!file) return false;
  bool ok = file->Append(data) && file->Flush() && file->Sync();
  ok = file->Close() && ok;
  file.reset();
  if (ok && env.RenameFile(temp, path)) return true;
  env.RemoveFile(temp);
  return false;
}

}  // namespace ltb::platform
