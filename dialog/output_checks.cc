#include "dialog/output_checks.h"

#include "platform/cp932.h"
#include "platform/win_path.h"

namespace ltb::dialog {
namespace {

using platform::EndsWithBackslash;
using platform::FindChar;
using platform::FindLastChar;
using platform::FindText;
constexpr auto npos = std::string_view::npos;

bool IsNetworkPath(std::string_view path) {
  return path.size() >= 2 && path[0] == '\\' && path[1] == '\\';
}

}  // namespace

bool HoldsControlCharacter(std::string_view text) {
  for (char c : text) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F) return true;
  }
  return false;
}

bool HasInvalidPathChars(std::string_view path) {
  // A control character (C0 or DEL) is never part of a path a person means:
  // a line break would split the settings file's record, and the terminal
  // would act on the others. CP932 never uses these bytes inside a
  // character.
  if (HoldsControlCharacter(path)) return true;
  std::string_view checked;
  if (IsNetworkPath(path)) {
    if (FindText(path, "\\\\", 3) != npos) return true;
    checked = path.substr(2);
  } else {
    if (FindText(path, "\\\\") != npos) return true;
    const size_t colon = FindChar(path, ':');
    checked = colon == npos ? path : path.substr(colon + 1);
  }
  for (char c : std::string_view("/:,;*?\"><|")) {
    if (FindChar(checked, c) != npos) return true;
  }
  return false;
}

bool IsUsableDrive(platform::Env& env, std::string_view path) {
  if (IsNetworkPath(path)) {
    // \\server\share\dir\file.xml: the share root is \\server\share.
    const size_t afterServer = FindChar(path, '\\', 3);
    if (afterServer == npos) return false;
    const size_t afterShare = FindChar(path, '\\', afterServer + 1);
    if (afterShare == npos) return false;
    return env.Access(std::string(path.substr(0, afterShare)), platform::kAccessReadWrite);
  }
  if (path.empty() || FindText(path, "\\\\") != npos) return false;
  return IsUsableDriveLetter(env, path[0], platform::kAccessReadWrite);
}

bool IsUsableDriveLetter(platform::Env& env, char letter, int accessMode) {
  char upper;
  if (letter >= 'A' && letter <= 'Z') {
    upper = letter;
  } else if (letter >= 'a' && letter <= 'z') {
    upper = static_cast<char>(letter - 'a' + 'A');
  } else {
    return false;
  }
  const std::string root = std::string(1, upper) + ":\\";
  switch (env.GetDriveType(root)) {
    case platform::DriveType::kUnknown:
    case platform::DriveType::kCdRom:
    case platform::DriveType::kRamDisk: return false;
    case platform::DriveType::kNoRootDir: return true;
    case platform::DriveType::kRemovable:
    case platform::DriveType::kFixed:
    case platform::DriveType::kRemote: return env.Access(root, accessMode);
  }
  return true;
}

std::string LeadingFolder(std::string_view path) {
  const size_t last = FindLastChar(path, '\\');
  return last == npos ? std::string() : std::string(path.substr(0, last + 1));
}

std::string TrailingFileName(std::string_view path) {
  const size_t last = FindLastChar(path, '\\');
  return std::string(last == npos ? path : path.substr(last + 1));
}

bool AppendBackslash(std::string* path, size_t capacity) {
  if (path->empty()) return false;
  // A path ending in 表 (0x95 0x5C) does not end in a backslash.
  if (EndsWithBackslash(*path)) return true;
  if (path->size() + 1 >= capacity) return false;
  path->push_back('\\');
  return true;
}

bool FolderPartOf(std::string* path) {
  if (path->empty()) return false;
  std::string drive, dir;
  platform::SplitPath(*path, &drive, &dir);
  std::string part = drive + dir;
  if (part.empty()) return false;
  if (platform::EndsWithDoubleByteChar(part)) {
    part.push_back('\\');
  } else if (part.back() != '\\' && part.size() < path->size()) {
    part.push_back('\\');  // C:abc gives C:\ .
  }
  *path = std::move(part);
  return true;
}

bool FolderExistsFor(platform::Env& env, std::string_view path) {
  if (path.empty()) return false;
  std::string copy(path);
  FolderPartOf(&copy);
  return env.IsDirectory(copy);
}

bool CreateFolderTree(platform::Env& env, std::string_view folder) {
  const size_t maxLength = kPathCapacity - 1;
  if (folder.empty() || folder.size() > maxLength) return false;
  std::string w(folder);
  if (!FolderPartOf(&w) || w.empty()) return false;
  if (!EndsWithBackslash(w)) {
    if (w.size() >= maxLength) return false;
    w.push_back('\\');
  }
  const size_t restStart = platform::PathSkipRoot(w);
  if (restStart == npos || w.size() >= kPathCapacity) return false;
  std::string root = w;
  if (!platform::PathStripToRoot(&root) || !AppendBackslash(&root, kPathCapacity)) {
    return false;
  }
  const std::string_view rest = std::string_view(w).substr(restStart);

  std::vector<std::string> created;
  auto rollBack = [&] {
    // Deepest first; a folder that cannot be removed stops the rollback, so
    // nothing above it (and nothing that existed before) is touched.
    const int why = errno;  // the caller tells the user the creation's reason
    for (auto it = created.rbegin(); it != created.rend(); ++it) {
      if (!env.RemoveDir(*it).ok()) break;
    }
    errno = why;
  };
  for (size_t i = 0; i < rest.size(); ++i) {
    if (platform::IsLeadByte(static_cast<unsigned char>(rest[i])) &&
        platform::KindAt(rest, i) == platform::ByteKind::kLead) {
      ++i;  // skip the trail byte, which may be 0x5C
      continue;
    }
    if (rest[i] != '\\') continue;
    std::string level = root + std::string(rest.substr(0, i));
    if (!AppendBackslash(&level, kPathCapacity)) {
      rollBack();
      return false;
    }
    if (FolderExistsFor(env, level)) continue;
    if (!env.CreateDir(level).ok()) {
      rollBack();
      return false;
    }
    created.push_back(level);
  }
  return true;
}

}  // namespace ltb::dialog
