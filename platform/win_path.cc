// Windows path rules on CP932 byte strings.
#include "platform/win_path.h"

#include <vector>

#include "platform/cp932.h"
#include "platform/windows_root.h"

namespace ltb::platform {
namespace {

constexpr size_t npos = std::string_view::npos;

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

size_t FindSeparator(std::string_view s, size_t from) {
  size_t back = FindChar(s, '\\', from);
  size_t slash = FindChar(s, '/', from);
  return back < slash ? back : slash;
}

// Applies the components of `rest` to `parts`: empty and "." components
// vanish, ".." removes the previous one (never going above the root).
void AppendComponents(std::string_view rest, std::vector<std::string>* parts) {
  size_t pos = 0;
  while (pos <= rest.size()) {
    size_t end = FindSeparator(rest, pos);
    if (end == npos) end = rest.size();
    std::string_view part = rest.substr(pos, end - pos);
    if (part == "..") {
      if (!parts->empty()) parts->pop_back();
    } else if (!part.empty() && part != ".") {
      parts->emplace_back(part);
    }
    pos = end + 1;
  }
}

// Splits an absolute path into its root text ("C:" or "\\srv\share") and
// its normalised components.
bool SplitAbsolute(std::string_view path, std::string* rootText, std::vector<std::string>* parts) {
  WindowsRoot root = ParseWindowsRoot(path);
  if (root.kind == WindowsRoot::Kind::kShare) {
    *rootText = root.share;
  } else if (root.kind == WindowsRoot::Kind::kDrive && root.absolute) {
    *rootText = std::string(1, root.letter) + ":";
  } else {
    return false;
  }
  parts->clear();
  AppendComponents(path.substr(root.length), parts);
  return true;
}

}  // namespace

bool EndsWithBackslash(std::string_view path) {
  return !path.empty() && path.back() == '\\' && !EndsWithDoubleByteChar(path);
}

bool PathStripToRoot(std::string* path) {
  const std::string_view p = *path;
  if (p.starts_with("\\\\?\\")) {
    path->clear();
    return false;
  }
  if (p.starts_with("\\\\")) {
    // \\server\share: up to the backslash after the share name, then no
    // trailing backslash (but never less than the leading two).
    size_t end = p.size();
    size_t serverEnd = FindChar(p, '\\', 2);
    if (serverEnd != npos) {
      size_t shareEnd = FindChar(p, '\\', serverEnd + 1);
      if (shareEnd != npos) end = shareEnd;
    }
    path->resize(end);
    while (path->size() > 2 && EndsWithBackslash(*path)) {
      path->pop_back();
    }
    return true;
  }
  if (p.starts_with("\\")) {
    path->resize(1);
    return true;
  }
  if (p.size() >= 2 && IsAsciiLetter(p[0]) && p[1] == ':') {
    path->resize(p.size() >= 3 && p[2] == '\\' ? 3 : 2);
    return true;
  }
  path->clear();
  return false;
}

size_t PathSkipRoot(std::string_view path) {
  if (path.empty()) return npos;
  if (path.starts_with("\\\\")) {
    size_t serverEnd = FindChar(path, '\\', 2);
    if (serverEnd == npos) return npos;
    size_t shareEnd = FindChar(path, '\\', serverEnd + 1);
    return shareEnd == npos ? npos : shareEnd + 1;
  }
  if (IsLeadByte(static_cast<unsigned char>(path[0]))) return npos;
  if (path.size() >= 3 && path[1] == ':' && path[2] == '\\') return 3;
  return npos;
}

void SplitPath(std::string_view path, std::string* drive, std::string* dir) {
  std::string_view rest = path;
  if (path.size() >= 2 && path[1] == ':') {
    if (drive) drive->assign(path.substr(0, 2));
    rest.remove_prefix(2);
  } else if (drive) {
    drive->clear();
  }
  if (!dir) return;
  size_t back = FindLastChar(rest, '\\');
  size_t slash = FindLastChar(rest, '/');
  size_t last = back == npos ? slash : (slash == npos ? back : std::max(back, slash));
  if (last == npos)
    dir->clear();
  else
    dir->assign(rest.substr(0, last + 1));
}

bool FullWindowsPath(std::string_view path, std::string_view currentDir, std::string* full) {
  std::string rootText;
  std::vector<std::string> parts;
  WindowsRoot root = ParseWindowsRoot(path);
  if (root.kind == WindowsRoot::Kind::kShare ||
      (root.kind == WindowsRoot::Kind::kDrive && root.absolute)) {
    if (!SplitAbsolute(path, &rootText, &parts)) return false;
  } else if (root.kind == WindowsRoot::Kind::kDrive) {
    // "C:name": relative to the current folder when it is on that drive,
    // else to the drive's root (no per-drive current folders here).
    WindowsRoot cur = ParseWindowsRoot(currentDir);
    if (cur.kind == WindowsRoot::Kind::kDrive && cur.letter == root.letter &&
        SplitAbsolute(currentDir, &rootText, &parts)) {
    } else {
      rootText = std::string(1, root.letter) + ":";
    }
    AppendComponents(path.substr(2), &parts);
  } else {
    if (path.size() >= 2 && IsPathSeparator(path[0]) && IsPathSeparator(path[1])) {
      return false;  // an incomplete \\server or a device path
    }
    if (!SplitAbsolute(currentDir, &rootText, &parts)) return false;
    if (!path.empty() && IsPathSeparator(path[0])) {
      parts.clear();  // "\dir": from the root of the current drive or share
      path.remove_prefix(1);
    }
    AppendComponents(path, &parts);
  }
  *full = rootText;
  *full += '\\';
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) *full += '\\';
    *full += parts[i];
  }
  return true;
}

}  // namespace ltb::platform
