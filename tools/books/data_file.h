// The small text files of this folder's data (layouts, the tax-category
// table, the standard chart): read whole, then line by line.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace ltb::books {

// Reads the file at `path`; false with *error made of `cannotOpen` (an
// English message id with the path and the system's reason as %s) filled in.
bool ReadDataFile(const std::string& path, const char* cannotOpen, std::string* text,
                  std::string* error);

// Calls `onLine` with the number (from 1) and the text of every line that is
// neither empty nor a comment ('#' first), a byte-order mark and CR ends
// taken off; stops with false when `onLine` does.
bool ForEachDataLine(std::string_view text,
                     const std::function<bool(int lineNo, std::string_view line)>& onLine);

}  // namespace ltb::books
