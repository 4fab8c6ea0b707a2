#include "app/environment_check.h"

#include "app/command_line.h"
#include "platform/cp932.h"
#include "platform/profile.h"
#include "platform/win_path.h"
#include "ui/message_box.h"

namespace ltb::app {
namespace {

constexpr const char* kIniName = "ZenkitDef.ini";
constexpr const char* kCaption = "消費税";

}  // namespace

std::string IniPathFor(std::string_view currentDir) {
  constexpr size_t kMax = kIniPathBuffer - 1;
  std::string path(platform::CutOnCharBoundary(currentDir, kMax));
  if (!path.empty() && !platform::EndsWithBackslash(path) && path.size() < kMax) path += '\\';
  std::string_view name(kIniName);
  if (path.size() + name.size() > kMax) name = name.substr(0, kMax - path.size());
  path += name;
  return path;
}

int ReadEnvironmentLevel(platform::Env& env) {
  std::string dir(platform::CutOnCharBoundary(env.GetCurrentDir(), kCurrentDirBuffer - 1));
  const std::string ini = IniPathFor(dir);
  // A folder in the INI file's place holds no program level: the
  // installation is broken, not at the default level.
  if (!env.FileExists(ini) || env.IsDirectory(ini)) return kLevelBroken;
  const std::string value =
      platform::GetPrivateProfileString(env, "ProgramLevel", "SY26", "1", 16, ini);
  if (value.empty()) return kLevelBroken;
  const long level = LeadingLong(value);
  if (level == 1) return kLevelFits;
  return level < 1 ? kLevelHostTooOld : kLevelLinkTooOld;
}

const char* EnvironmentMessage(int level) {
  switch (level) {
    case kLevelBroken:
      return "動作環境が不正です。\nES_"
             "APRPACKAGENAMEが正しくインストールされているか確認してください。";
    case kLevelHostTooOld:
      return "ご利用の連動コンポーネントは、インストールされているES_"
             "APRPACKAGENAMEでは使用できません。\n"
             "ES_APRPACKAGENAMEの最新版を入手してインストールしてからご利用ください。";
    case kLevelLinkTooOld:
      return "ご利用の連動コンポーネントは、インストールされているES_"
             "APRPACKAGENAMEでは使用できません。\n"
             "連動コンポーネントの最新版を入手してインストールしてからご利用ください。";
    default: return nullptr;
  }
}

int CheckEnvironment(platform::Env& env, host::ClAccConnect& connect,
                     host::WindowHandle parentWindow, bool showMessage) {
  const char* message = EnvironmentMessage(ReadEnvironmentLevel(env));
  if (message == nullptr) return 1;
  if (showMessage) {
    connect.DispMsg(parentWindow, message, kCaption, ui::kMbIconWarning);
  }
  return 0;
}

}  // namespace ltb::app
