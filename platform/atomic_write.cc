#include "platform/atomic_write.h"

namespace ltb::platform {

bool WriteFileAtomically(Env& env, const std::string& path, std::string_view data) {
  std::string temp;
  std::unique_ptr<WritableFile> file = env.NewTempFile(path, true, &temp);
  if (!file) return false;
  bool ok = file->Append(data) && file->Flush() && file->Sync();
  ok = file->Close() && ok;
  file.reset();
  if (ok && env.RenameFile(temp, path)) return true;
  env.RemoveFile(temp);
  return false;
}

}  // namespace ltb::platform
