#include "ledger/ledger_file_mgr.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/cp932.h"
#include "platform/win_path.h"

namespace ltb::ledger {

std::string UserHomeFolder(const platform::ProcessSettings& process) {
  if (!process.home.empty()) return process.home;
  if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return pw->pw_dir;
  return "/";
}

bool MakeFolders(const std::string& path) {
  if (path.empty()) return false;
  for (size_t pos = 1; pos <= path.size(); ++pos) {
    if (pos == path.size() || path[pos] == '/') {
      std::string part = path.substr(0, pos);
      if (::mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return false;
    }
  }
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string LedgerFileMgr::DefaultLinuxFolder(int folderType) const {
  const std::string home = UserHomeFolder(session_.options.process);
  switch (folderType) {
    case host::kFolderOutput: return home + "/Documents/LedTaxBridge";
    case host::kFolderSettings: return home + "/.config/ledtaxbridge";
    default: return "";
  }
}

namespace {

std::string WithBackslash(std::string path) {
  if (!path.empty() && (path.back() != '\\' || platform::EndsWithDoubleByteChar(path))) {
    path += '\\';
  }
  return path;
}

}  // namespace

std::string LedgerFileMgr::GetAppFolderPath(int folderType) {
  const char* key = folderType == host::kFolderOutput     ? "folder_output"
                    : folderType == host::kFolderSettings ? "folder_settings"
                                                          : nullptr;
  if (!key) return "";
  if (session_.db) {
    std::string configured = session_.db->Setting(key, "");
    if (!configured.empty()) {
      std::string cp932;
      if (platform::Utf8ToCp932(configured, &cp932)) return WithBackslash(cp932);
    }
  }
  std::string folder = DefaultLinuxFolder(folderType);
  std::string windows;
  if (!MakeFolders(folder) || !session_.options.drives.ToWindows(folder, &windows)) {
    return "";
  }
  return WithBackslash(windows);
}

}  // namespace ltb::ledger
