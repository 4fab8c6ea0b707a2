// The Env operations that other Envs (in-memory ones for tests) get from
// their plain file operations; the real Env overrides each of them with its
// exclusive, link-refusing form. Also the default drive table and the real
// monotonic clock. (<chrono> is kept out: its micro sign has no CP932 form
// under the project's execution character set.)
#include "platform/env.h"

#include <time.h>

#include "platform/messages.h"
#include "platform/temp_name.h"
#include "platform/win_path.h"

namespace ltb::platform {
namespace {

class NoLock final : public FileLock {};

}  // namespace

std::unique_ptr<WritableFile> Env::NewTempFile(const std::string& target, TempFileMode,
                                               std::string* tempPath, IoStatus* status) {
  *tempPath = TempNameBeside(target);
  std::unique_ptr<WritableFile> file;
  if (!FileExists(*tempPath)) file = NewWritableFile(*tempPath);
  if (status != nullptr) {
    *status =
        file ? IoStatus::OK() : IoStatus::IoError(target, Tr932("the file cannot be created"));
  }
  return file;
}

std::unique_ptr<FileLock> Env::LockFile(const std::string&, int) {
  return std::make_unique<NoLock>();
}

ReadStatus Env::ReadRegularFile(const std::string& path, std::string* data, size_t maxBytes) {
  data->clear();
  if (!FileExists(path)) return ReadStatus::kMissing;
  if (IsDirectory(path)) return ReadStatus::kNotRegular;
  // One byte more than allowed tells a file that is too long.
  if (!ReadFile(path, data, maxBytes == SIZE_MAX ? maxBytes : maxBytes + 1).ok()) {
    return ReadStatus::kFailed;
  }
  if (data->size() > maxBytes) {
    data->clear();
    return ReadStatus::kTooLarge;
  }
  return ReadStatus::kOk;
}

EntryKind Env::GetEntryKind(const std::string& path) {
  if (!FileExists(path)) return EntryKind::kNone;
  return IsDirectory(path) ? EntryKind::kDirectory : EntryKind::kRegular;
}

std::string Env::OwnerName(const std::string&) { return {}; }

const DriveTable& Env::Drives() {
  static const DriveTable* const table = new DriveTable();
  return *table;
}

int64_t Env::NowNanos() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
}

}  // namespace ltb::platform
