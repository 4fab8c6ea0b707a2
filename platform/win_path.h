// Windows path rules on CP932 byte strings, and the mapping between
// Windows paths and the Linux file system (the drive table).
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/env.h"

namespace ltb::platform {

// Whether path ends in a backslash separator; the second byte of a
// double-byte character such as 表 (0x95 0x5C) is none.
bool EndsWithBackslash(std::string_view path);

// PathStripToRootA: "C:\dir\f" -> "C:\", "\\srv\share\d" -> "\\srv\share";
// false when the path has no root.
bool PathStripToRoot(std::string* path);
// PathSkipRootA: offset of the text after the root ("C:\" or
// "\\srv\share\"); npos when there is none.
size_t PathSkipRoot(std::string_view path);
// _splitpath: drive ("C:" or empty) and directory (up to and including the
// last backslash after the drive, double-byte aware).
void SplitPath(std::string_view path, std::string* drive, std::string* dir);

// GetFullPathNameA: the absolute form of path ("C:\dir\f" or
// "\\srv\share\f"), taken against currentDir when it is relative; '/' also
// separates; "." and ".." are resolved and doubled separators collapse. A
// root alone ends in a backslash ("C:\", "\\srv\share\"), nothing else
// does. False when neither path nor currentDir gives a root.
bool FullWindowsPath(std::string_view path, std::string_view currentDir, std::string* full);

// The drive table: Windows drive letters and \\server\share roots mapped to
// Linux folders. By default Z: is "/" and nothing else is mapped. The
// program builds one at start (the default, then $LTB_DRIVES, then
// --drives) and hands it to the Env that uses it (Env::Drives).
class DriveTable {
 public:
  DriveTable();  // the default table
  // Loads lines "X: /linux/dir" and "\\server\share /linux/dir" (UTF-8,
  // '#' comments). False with *error set on a malformed line.
  bool LoadConfig(std::string_view text, std::string* error);
  void MapDrive(char letter, std::string linuxDir);
  void MapShare(std::string_view uncRoot, std::string linuxDir);  // "\\srv\share"
  void Clear();

  // Windows path (CP932) to a Linux path (UTF-8). Relative paths are taken
  // against currentDir (a Windows path). False when the drive or share is
  // not mapped or the path cannot be expressed.
  bool ToLinux(std::string_view winPath, std::string_view currentDir, std::string* linuxPath) const;
  // Linux absolute path (UTF-8) to its Windows form (CP932), through the
  // mapping with the longest matching folder (Z:\... by default).
  bool ToWindows(std::string_view linuxPath, std::string* winPath) const;
  // Whether the root of winPath names a mapped drive or share; *linuxRoot
  // receives the mapped folder.
  bool RootOf(std::string_view winPath, std::string* linuxRoot) const;

 private:
  std::string drives_[26];  // Linux folder per letter; empty when unmapped
  // "\\srv\share" as mapped (compared case-insensitively) and its folder.
  std::vector<std::pair<std::string, std::string>> shares_;
};

// A path typed by a person or given on the command line: a POSIX absolute
// path ("/home/u/tax.xml", UTF-8) becomes its Windows form through `drives`,
// ending in a backslash when the path ends in "/" (or "/." or "/..");
// anything else is converted from UTF-8 to CP932 unchanged.
std::string UserPathToWindows(const DriveTable& drives, std::string_view typed);

}  // namespace ltb::platform
