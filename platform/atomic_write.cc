#include "platform/atomic_write.h"

#include <cerrno>

namespace ltb::platform {

IoStatus WriteFileAtomically(Env& env, const std::string& path, std::string_view data,
                             TempFileMode mode) {
  std::string temp;
  IoStatus status;
  std::unique_ptr<WritableFile> file = env.NewTempFile(path, mode, &temp, &status);
  if (!file) return status;
  status = file->Append(data);
  if (status.ok()) status = file->Flush();
  if (status.ok()) status = file->Sync();
  if (status.ok()) status = file->Close();
  if (status.ok()) {
    file.reset();
    status = env.RenameFile(temp, path);
    if (!status.ok()) env.RemoveFile(temp);
    return status;
  }
  // Removed before it is closed, a file without a name never takes one.
  env.RemoveFile(temp);
  file.reset();
  return status;
}

}  // namespace ltb::platform
