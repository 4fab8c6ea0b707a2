#include "tools/books/data_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>

namespace ltb::books {

std::string BooksDataFolder() {
  char self[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
  if (n <= 0) return {};
  std::string path(self, static_cast<size_t>(n));
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return {};
  return path.substr(0, slash) + "/books";
}

std::string LayoutPath(const std::string& nameOrPath) {
  struct stat st;
  if (nameOrPath.find('/') != std::string::npos || ::stat(nameOrPath.c_str(), &st) == 0) {
    return nameOrPath;
  }
  return BooksDataFolder() + "/" + nameOrPath + ".layout";
}

}  // namespace ltb::books
