// The environment and version check: the filing product's "ZenkitDef.ini"
// beside the program says whether the installed versions fit.
#pragma once

#include <string>
#include <string_view>

#include "host/host.h"
#include "platform/env.h"

namespace ltb::app {

inline constexpr size_t kCurrentDirBuffer = 261;
inline constexpr size_t kIniPathBuffer = 517;

// Level codes: -1 environment broken (no file, empty value), 0 fits,
// 1 the accounting product is too old, 2 the link component is too old.
enum EnvironmentLevel : int {
  kLevelBroken = -1,
  kLevelFits = 0,
  kLevelHostTooOld = 1,
  kLevelLinkTooOld = 2
};

// The INI path for a current folder, built in a 517-byte buffer: a backslash
// is added unless the folder is empty or already ends in a backslash of its
// own (a 0x5C that is the second byte of a double-byte character does not
// count), and not when the folder fills 516 bytes or more.
std::string IniPathFor(std::string_view currentDir);

// Reads the level code of the INI file in env's current folder.
int ReadEnvironmentLevel(platform::Env& env);

// The message of a failing level code (with the package-name token left in
// for the host to replace); null for kLevelFits or an unknown code.
const char* EnvironmentMessage(int level);

// 1 when the environment fits. Otherwise 0, after showing the level's
// message through the host's DispMsg (owner parentWindow) when showMessage.
int CheckEnvironment(platform::Env& env, host::ClAccConnect& connect,
                     host::WindowHandle parentWindow, bool showMessage);

}  // namespace ltb::app
