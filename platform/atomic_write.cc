#include "platform/atomic_write.h"

namespace ltb::platform {

IoStatus WriteFileAtomically(Env& env, const std::string& path, std::string_view data) {
  std::string temp;
  IoStatus status;
  std::unique_ptr<WritableFile> file = env.NewTempFile(path, true, &temp, &status);
  if (!file) return status;
  status = file->Append(data);
  if (status.ok()) status = file->Flush();
  if (status.ok()) status = file->Sync();
  IoStatus closed = file->Close();
  if (status.ok()) status = closed;
  file.reset();
  if (status.ok()) status = env.RenameFile(temp, path);
  if (!status.ok()) env.RemoveFile(temp);
  return status;
}

}  // namespace ltb::platform
