// The drive table: Windows drive letters and network shares mapped onto
// Linux folders, as Wine maps them.
#include <string>
#include <vector>

#include "platform/cp932.h"
#include "platform/messages.h"
#include "platform/win_path.h"
#include "platform/windows_root.h"

namespace ltb::platform {
namespace {

constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";

// Lexically normalised absolute Linux path: no "." or "..", no doubled or
// trailing slashes ("/" itself stays). Empty when path is not absolute or
// holds a 0x00 byte, which no Linux name can: the system calls would stop
// there and reach another file.
std::string NormalizeLinuxPath(std::string_view path) {
  if (path.empty() || path[0] != '/' || path.find('\0') != std::string_view::npos) return {};
  std::vector<std::string_view> parts;
  size_t pos = 0;
  while (pos <= path.size()) {
    size_t end = path.find('/', pos);
    if (end == std::string_view::npos) end = path.size();
    std::string_view part = path.substr(pos, end - pos);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    pos = end + 1;
  }
  std::string out;
  for (std::string_view part : parts) {
    out += '/';
    out += part;
  }
  return out.empty() ? "/" : out;
}

// The part of linuxPath below folder ("" for the folder itself), or false
// when linuxPath is not inside folder. Both are normalised.
bool RelativeTo(std::string_view linuxPath, std::string_view folder, std::string_view* rest) {
  if (folder == "/") {
    *rest = linuxPath.substr(1);
    return true;
  }
  if (!linuxPath.starts_with(folder)) return false;
  if (linuxPath.size() == folder.size()) {
    *rest = {};
    return true;
  }
  if (linuxPath[folder.size()] != '/') return false;
  *rest = linuxPath.substr(folder.size() + 1);
  return true;
}

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r')) {
    s.remove_prefix(1);
  }
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
    s.remove_suffix(1);
  }
  return s;
}

}  // namespace

DriveTable::DriveTable() { MapDrive('Z', "/"); }

void DriveTable::Clear() {
  for (std::string& d : drives_) d.clear();
  shares_.clear();
}

void DriveTable::MapDrive(char letter, std::string linuxDir) {
  if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
  if (letter < 'A' || letter > 'Z') return;
  // An empty or relative folder unmaps the letter.
  drives_[letter - 'A'] = NormalizeLinuxPath(linuxDir);
}

void DriveTable::MapShare(std::string_view uncRoot, std::string linuxDir) {
  WindowsRoot root = ParseWindowsRoot(uncRoot);
  if (root.kind != WindowsRoot::Kind::kShare) return;
  std::string folder = NormalizeLinuxPath(linuxDir);
  for (auto it = shares_.begin(); it != shares_.end(); ++it) {
    if (EqualsIgnoreAsciiCase(it->first, root.share)) {
      shares_.erase(it);
      break;
    }
  }
  if (!folder.empty()) shares_.emplace_back(std::move(root.share), std::move(folder));
}

bool DriveTable::LoadConfig(std::string_view text, std::string* error) {
  int lineNo = 0;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = TrimBlanks(text.substr(pos, end - pos));
    pos = end + 1;
    ++lineNo;
    if (line.empty() || line[0] == '#') continue;
    size_t blank = line.find_first_of(" \t");
    std::string_view name = line.substr(0, blank);
    std::string_view folder =
        blank == std::string_view::npos ? std::string_view() : TrimBlanks(line.substr(blank));
    if (folder.empty() || folder[0] != '/') {
      if (error) {
        *error = Format(Tr("line %d: no absolute Linux folder follows \"%s\""), lineNo,
                        std::string(name).c_str());
      }
      return false;
    }
    if (line.find('\0') != std::string_view::npos) {
      if (error) *error = Format(Tr("line %d: the line holds a 0x00 byte"), lineNo);
      return false;
    }
    if (name.size() >= 2 && name.size() <= 3 && name[1] == ':' &&
        ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z')) &&
        (name.size() == 2 || name[2] == '\\')) {
      MapDrive(name[0], std::string(folder));
      continue;
    }
    std::string cpName;
    if (name.starts_with("\\\\") && Utf8ToCp932(name, &cpName)) {
      WindowsRoot root = ParseWindowsRoot(cpName);
      if (root.kind == WindowsRoot::Kind::kShare && root.length == cpName.size()) {
        MapShare(cpName, std::string(folder));
        continue;
      }
    }
    if (error) {
      *error = Format(Tr("line %d: \"%s\" is neither a drive such as D: nor a share such as "
                         "\\\\server\\share"),
                      lineNo, std::string(name).c_str());
    }
    return false;
  }
  return true;
}

bool DriveTable::RootOf(std::string_view winPath, std::string* linuxRoot) const {
  WindowsRoot root = ParseWindowsRoot(winPath);
  const std::string* folder = nullptr;
  if (root.kind == WindowsRoot::Kind::kDrive) {
    folder = &drives_[root.letter - 'A'];
  } else if (root.kind == WindowsRoot::Kind::kShare) {
    for (const auto& [share, dir] : shares_) {
      if (EqualsIgnoreAsciiCase(share, root.share)) folder = &dir;
    }
  }
  if (folder == nullptr || folder->empty()) return false;
  if (linuxRoot) *linuxRoot = *folder;
  return true;
}

bool DriveTable::ToLinux(std::string_view winPath, std::string_view currentDir,
                         std::string* linuxPath) const {
  std::string full;
  std::string folder;
  if (winPath.find('\0') != std::string_view::npos ||
      !FullWindowsPath(winPath, currentDir, &full) || !RootOf(full, &folder)) {
    return false;
  }
  std::string_view rest = std::string_view(full).substr(ParseWindowsRoot(full).length);
  std::string out = folder;
  if (!rest.empty()) {
    std::string utf8 = Cp932ToUtf8(rest);
    if (utf8.find(kReplacementUtf8) != std::string::npos) return false;
    for (char& c : utf8) {
      if (c == '\\') c = '/';
    }
    if (out != "/") out += '/';
    out += utf8;
  }
  *linuxPath = std::move(out);
  return true;
}

bool DriveTable::ToWindows(std::string_view linuxPath, std::string* winPath) const {
  std::string path = NormalizeLinuxPath(linuxPath);
  if (path.empty()) return false;
  std::string root;
  std::string_view rest;
  size_t best = 0;
  bool found = false;
  auto consider = [&](const std::string& folder, std::string rootText) {
    std::string_view r;
    if (folder.empty() || !RelativeTo(path, folder, &r)) return;
    size_t weight = folder == "/" ? 0 : folder.size();
    if (found && weight <= best) return;
    found = true;
    best = weight;
    root = std::move(rootText);
    rest = r;
  };
  for (int i = 0; i < 26; ++i) {
    consider(drives_[i], std::string(1, static_cast<char>('A' + i)) + ":");
  }
  for (const auto& [share, folder] : shares_) consider(folder, share);
  if (!found) return false;
  // A backslash inside a Linux name has no Windows form.
  if (rest.find('\\') != std::string_view::npos) return false;
  std::string cpRest;
  if (!Utf8ToCp932(rest, &cpRest)) return false;
  for (char& c : cpRest) {
    if (c == '/') c = '\\';  // 0x2F is never the second byte of a character
  }
  *winPath = root + "\\" + cpRest;
  return true;
}

std::string UserPathToWindows(const DriveTable& drives, std::string_view typed) {
  std::string out;
  if (!typed.empty() && typed[0] == '/' && drives.ToWindows(typed, &out)) {
    // A path that ends in a separator (or in "." or "..") names a folder:
    // its Windows form ends in a backslash too, so that it is never taken
    // for a file named after the folder.
    const std::string_view last = typed.substr(typed.rfind('/') + 1);
    if ((last.empty() || last == "." || last == "..") && !EndsWithBackslash(out)) out += '\\';
    return out;
  }
  Utf8ToCp932(typed, &out);
  return out;
}

}  // namespace ltb::platform
