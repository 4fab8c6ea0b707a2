#include "tools/books/data_file.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "platform/messages.h"

namespace ltb::books {

bool ReadDataFile(const std::string& path, const char* cannotOpen, std::string* text,
                  std::string* error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    *error = platform::Format(platform::Tr(cannotOpen), path.c_str(), std::strerror(errno));
    return false;
  }
  std::ostringstream buffer;
  buffer << in.rdbuf();
  *text = buffer.str();
  return true;
}

bool ForEachDataLine(std::string_view text,
                     const std::function<bool(int lineNo, std::string_view line)>& onLine) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  int lineNo = 0;
  while (!text.empty()) {
    ++lineNo;
    const size_t lf = text.find('\n');
    std::string_view line = text.substr(0, lf);
    text.remove_prefix(lf == std::string_view::npos ? text.size() : lf + 1);
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (line.empty() || line[0] == '#') continue;
    if (!onLine(lineNo, line)) return false;
  }
  return true;
}

}  // namespace ltb::books
