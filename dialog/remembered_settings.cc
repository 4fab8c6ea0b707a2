#include "dialog/remembered_settings.h"

#include <cerrno>
#include <cstdio>

#include "dialog/decimal_text.h"
#include "dialog/output_checks.h"
#include "platform/atomic_write.h"
#include "platform/cp932.h"
#include "platform/messages.h"

namespace ltb::dialog {
namespace {

constexpr auto npos = std::string_view::npos;

// Offset of key at the start of a line of text, or npos.
size_t FindKeyAtLineStart(std::string_view text, std::string_view key) {
  if (key.empty()) return npos;
  size_t lineStart = 0;
  while (lineStart < text.size()) {
    if (text.compare(lineStart, key.size(), key) == 0) return lineStart;
    const size_t lf = text.find('\n', lineStart);
    if (lf == npos) break;
    lineStart = lf + 1;
  }
  return npos;
}

// Tells the person running the program why the settings file is not used:
// `format` names the file (%s, CP932 path shown in UTF-8) before any other
// placeholder.
void Say(const char* format, const std::string& path) {
  std::fprintf(stderr, "%s\n",
               platform::Format(format, platform::Cp932ToUtf8(path).c_str()).c_str());
}
// The same with the system's reason (UTF-8) as the second placeholder.
void Say(const char* format, const std::string& path, const std::string& reason) {
  std::fprintf(
      stderr, "%s\n",
      platform::Format(format, platform::Cp932ToUtf8(path).c_str(), reason.c_str()).c_str());
}

// The system's reason for the errno a failed call left, in UTF-8 (the same
// words as an IoStatus gives).
std::string Reason(int error) {
  return platform::Cp932ToUtf8(platform::IoStatus::FromErrno({}, error).reason());
}

// Reads the whole settings file; false when it is there but cannot be used
// (said on standard error). A missing file reads as empty.
bool ReadSettingsFile(platform::Env& env, const std::string& path, std::string* text) {
  errno = 0;
  const platform::ReadStatus status = env.ReadRegularFile(path, text, kSettingsFileLimit);
  const int why = errno;
  switch (status) {
    case platform::ReadStatus::kOk: return true;
    case platform::ReadStatus::kMissing: text->clear(); return true;
    case platform::ReadStatus::kNotRegular:
      Say(platform::Tr("The settings file %s is not a regular file (it is a link, a folder, a FIFO "
                       "or a device), so the conditions are not remembered. Remove it or move it "
                       "aside so that the program can make the file anew."),
          path);
      return false;
    case platform::ReadStatus::kTooLarge:
      Say(platform::Tr("The settings file %s is too large to be a settings file, so the "
                       "conditions are not remembered. Move it aside so that the program can make "
                       "the file anew."),
          path);
      return false;
    case platform::ReadStatus::kFailed: break;
  }
  // Most often a colleague's file that this user may not read: its owner
  // can open it up.
  const std::string owner = env.OwnerName(path);
  std::fprintf(
      stderr, "%s\n",
      platform::Format(platform::Tr("The settings file %s (owner: %s) cannot be read: "
                                    "%s. The conditions are not remembered until its "
                                    "owner lets you read and write it."),
                       platform::Cp932ToUtf8(path).c_str(),
                       owner.empty() ? platform::Tr("unknown") : owner.c_str(), Reason(why).c_str())
          .c_str());
  return false;
}

}  // namespace

std::string SettingsKey(std::string_view userId, long no1, long no2) {
  std::string key(userId);
  key += '/';
  key += std::to_string(no1);
  key += '/';
  key += std::to_string(no2);
  key += ':';
  return key;
}

std::string SettingsLine(std::string_view key, int32_t mode, int16_t startMonth, int16_t endMonth,
                         std::string_view outputPath) {
  std::string line(key);
  line += std::to_string(mode);
  line += '/';
  line += std::to_string(startMonth);
  line += '/';
  line += std::to_string(endMonth);
  line += '/';
  line += outputPath;
  line += '\n';
  return line;
}

bool FindRememberedRecord(std::string_view fileText, std::string_view key,
                          RememberedRecord* record) {
  const size_t at = FindKeyAtLineStart(fileText, key);
  if (at == npos) return false;
  std::string_view body = fileText.substr(at + key.size());
  const size_t lf = body.find('\n');
  if (lf != npos) body = body.substr(0, lf);
  // A record with a control character (a CR before its LF, a path that
  // once held a line break) is ignored as a whole and replaced by the next
  // finished run: such a path could lead the report elsewhere.
  if (HoldsControlCharacter(body)) return false;
  size_t slash[3];
  size_t from = 0;
  for (size_t& s : slash) {
    s = body.find('/', from);
    if (s == npos) return false;
    from = s + 1;
  }
  record->mode = LeadingDecimal(body.substr(0, slash[0]));
  record->startMonth = LeadingDecimal16(body.substr(slash[0] + 1, slash[1] - slash[0] - 1));
  record->endMonth = LeadingDecimal16(body.substr(slash[1] + 1, slash[2] - slash[1] - 1));
  std::string_view path = body.substr(slash[2] + 1);
  record->outputPath = std::string(platform::CutOnCharBoundary(path, kPathCapacity - 1));
  return true;
}

bool LoadRememberedRecord(platform::Env& env, const std::string& filePath, std::string_view key,
                          RememberedRecord* record) {
  std::string text;
  if (!ReadSettingsFile(env, filePath, &text)) return false;
  return FindRememberedRecord(text, key, record);
}

std::string ReplaceRememberedRecord(std::string_view oldText, std::string_view key,
                                    std::string_view newLine) {
  std::string text;
  const size_t at = FindKeyAtLineStart(oldText, key);
  if (at == npos) {
    text = oldText;
  } else {
    text = oldText.substr(0, at);
    const size_t lf = oldText.find('\n', at);
    if (lf != npos) text += oldText.substr(lf + 1);
  }
  // A last line without its LF (a file edited by hand) must not run into the
  // new record.
  if (!text.empty() && text.back() != '\n') text += '\n';
  text += newLine;
  return text;
}

platform::IoStatus StoreRememberedRecord(platform::Env& env, const std::string& folder,
                                         const std::string& fileName, std::string_view key,
                                         std::string_view newLine) {
  if (folder.empty()) {
    // The ledger gives no folder when its default one cannot be made.
    std::fprintf(stderr, "%s\n",
                 platform::Tr("The conditions of this run are not remembered: the ledger gives no "
                              "settings folder that can be made. Check the ledger's setting "
                              "folder_settings and that you may write in your home folder."));
    return platform::IoStatus::IoError(fileName, platform::Tr932("there is no settings folder"));
  }
  errno = 0;
  if (!FolderExistsFor(env, folder) && !CreateFolderTree(env, folder)) {
    const int why = errno;
    Say(platform::Tr("The settings folder %s could not be created: %s. The conditions of this run "
                     "are not remembered; check that you may write in the folder above it."),
        folder, Reason(why));
    return platform::IoStatus::FromErrno(folder, why != 0 ? why : EIO);
  }
  const std::string path = folder + fileName;
  // From the read to the rename no other run may rewrite the file, or the
  // later rename drops the record of the earlier run.
  errno = 0;
  std::unique_ptr<platform::FileLock> lock = env.LockFile(path + ".lock", kSettingsLockWaitMs);
  if (!lock) {
    const platform::IoStatus locked = platform::IoStatus::FromErrno(path + ".lock", errno);
    Say(platform::Tr("The settings file %s could not be locked: %s. The conditions of this run "
                     "are not remembered; when another run is saving them, wait for it and run "
                     "again."),
        path, platform::Cp932ToUtf8(locked.reason()));
    return locked;
  }
  std::string oldText;
  if (!ReadSettingsFile(env, path, &oldText)) {
    return platform::IoStatus::IoError(path, platform::Tr932("the settings file cannot be used"));
  }
  // A new file in a folder colleagues share is theirs to read and write as
  // well, whatever this user's umask.
  platform::IoStatus written =
      platform::WriteFileAtomically(env, path, ReplaceRememberedRecord(oldText, key, newLine),
                                    platform::TempFileMode::kKeepTargetOrShareWithFolderGroup);
  if (!written.ok()) {
    Say(platform::Tr("The settings file %s could not be written: %s. The conditions of this run "
                     "are not remembered and the file stays as it was; check the free space and "
                     "that you may write in its folder."),
        path, platform::Cp932ToUtf8(written.reason()));
  }
  return written;
}

}  // namespace ltb::dialog
