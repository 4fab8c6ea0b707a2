// Checks and helpers for the output destination and the settings folder.
//
// Paths are Windows paths in CP932 bytes; every search for a backslash or
// another separator is double-byte aware, so the trail byte 0x5C of a
// character such as 表 is never taken for a backslash. Path buffers of the
// program hold at most kPathCapacity - 1 bytes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/env.h"

namespace ltb::dialog {

constexpr size_t kPathCapacity = 261;

// True when text holds a C0 control character or DEL.
bool HoldsControlCharacter(std::string_view text);

// True when the path is rejected by the character rules: a control
// character anywhere, a double backslash (after the leading pair of a
// network path), or one of / : , ; * ? " > < | in the part after the drive
// colon (after the leading pair of a network path).
bool HasInvalidPathChars(std::string_view path);

// True when the drive or network share that the path names is usable for
// writing the output.
bool IsUsableDrive(platform::Env& env, std::string_view path);

// True when the drive named by letter is usable: an unmapped letter (no
// root directory) is, CD-ROM, RAM disk and unknown drives are not, the
// others when their root is accessible with accessMode (platform::AccessMode).
bool IsUsableDriveLetter(platform::Env& env, char letter, int accessMode);

// The text up to and including the last backslash (empty when none).
std::string LeadingFolder(std::string_view path);
// The text after the last backslash (the whole text when none).
std::string TrailingFileName(std::string_view path);

// False for an empty path or when there is no room for a backslash within
// capacity (including the terminating zero); otherwise true and the path
// ends in a backslash.
bool AppendBackslash(std::string* path, size_t capacity);

// Replaces the path by its drive and directory part, ending in a
// backslash; false (path unchanged) when that part is empty.
bool FolderPartOf(std::string* path);

// True when the folder part of path is an existing directory.
bool FolderExistsFor(platform::Env& env, std::string_view path);

// Creates every missing level of folder's folder part, from the root
// downwards. On failure the folders created by this call are removed again,
// deepest first, and false is returned.
bool CreateFolderTree(platform::Env& env, std::string_view folder);

}  // namespace ltb::dialog
