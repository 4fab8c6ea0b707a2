#include "frontends/gui/save_file_dialog.h"

#include <wx/filedlg.h>
#include <wx/filename.h>

#include "frontends/gui/save_file_names.h"
#include "frontends/gui/wx_text.h"
#include "platform/env.h"
#include "platform/win_path.h"

namespace ltb::ui::gui {

namespace {

// The Linux folder for a Windows initial folder, or empty when it has none.
wxString LinuxFolderOf(platform::Env& env, const std::string& winFolder) {
  if (winFolder.empty()) return wxString();
  std::string linuxPath;
  if (!env.Drives().ToLinux(winFolder, env.GetCurrentDir(), &linuxPath)) {
    return wxString();
  }
  return wxString::FromUTF8(linuxPath.data(), linuxPath.size());
}

}  // namespace

bool ShowSaveFileDialog(wxWindow* owner, platform::Env& env, const SaveFileRequest& request,
                        std::string* chosen) {
  // Options honoured: the current folder never changes (wx leaves it alone
  // without wxFD_CHANGE_DIR) and the folder must exist (the GTK chooser
  // offers existing folders only). "File must exist" is not applied: on a
  // save dialog it would forbid naming the new file the dialog is for; an
  // existing file is still confirmed by the overwrite question on Execute.
  wxFileDialog dialog(owner, ToWx(request.title), LinuxFolderOf(env, request.initialFolder),
                      ToWx(OfferedName(request.initialName)),
                      ToWx(WxFilterFromWindows(request.filter)), wxFD_SAVE);
  if (dialog.ShowModal() != wxID_OK) return false;
  // Kept in a variable: the UTF-8 buffer may point into the string, which
  // must outlive it.
  const wxString path = dialog.GetPath();
  const wxScopedCharBuffer utf8 = path.utf8_str();
  std::string linuxPath =
      WithDefaultExtension(std::string(utf8.data(), utf8.length()), request.defaultExt);
  *chosen = platform::UserPathToWindows(env.Drives(), linuxPath);
  return true;
}

}  // namespace ltb::ui::gui
