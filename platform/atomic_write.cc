#include "platform/atomic_write.h"

#include <cerrno>

namespace ltb::platform {

bool WriteFileAtomically(Env& env, const std::string& path, std::string_view data,
                         TempFileMode mode) {
  std::string temp;
  std::unique_ptr<WritableFile> file = env.NewTempFile(path, mode, &temp);
  if (!file) return false;
  if (file->Append(data) && file->Flush() && file->Sync()) {
    if (file->Close() && env.RenameFile(temp, path)) return true;
  }
  // Removed before it is closed, a file without a name never takes one.
  const int why = errno;
  env.RemoveFile(temp);
  file.reset();
  errno = why;
  return false;
}

}  // namespace ltb::platform
