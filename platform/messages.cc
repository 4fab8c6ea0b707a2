#include "platform/messages.h"

#include <libintl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <clocale>
#include <cstdarg>
#include <cstdio>

#include "platform/cp932.h"

namespace ltb::platform {
namespace {

bool IsFolder(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The catalog folder for the running program: "locale" beside it when that
// exists (the build tree), else ../../share/locale (installed under
// <prefix>/lib/ledtaxbridge); empty when the program's path is unknown.
std::string CatalogFolder() {
  char self[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
  if (n <= 0) return std::string();
  std::string folder(self, static_cast<size_t>(n));
  folder.erase(folder.rfind('/') + 1);
  if (IsFolder(folder + "locale")) return folder + "locale";
  return folder + "../../share/locale";
}

}  // namespace

void InitMessages() {
  std::setlocale(LC_ALL, "");
  const std::string folder = CatalogFolder();
  if (!folder.empty()) ::bindtextdomain(kTextDomain, folder.c_str());
  // Our lookups name the domain (dgettext); the default domain stays the
  // process's, so the toolkits' own translations are left as they were.
  ::bind_textdomain_codeset(kTextDomain, "UTF-8");
}

const char* Tr(const char* msgid) { return ::dgettext(kTextDomain, msgid); }

std::string Tr932(const char* msgid) {
  const char* text = Tr(msgid);
  if (text == msgid) return msgid;
  std::string cp932;
  return Utf8ToCp932(text, &cp932) ? cp932 : std::string(msgid);
}

std::string Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  const int n = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string out(n > 0 ? static_cast<size_t>(n) : 0, '\0');
  if (n > 0) std::vsnprintf(out.data(), out.size() + 1, format, args);
  va_end(args);
  return out;
}

}  // namespace ltb::platform
