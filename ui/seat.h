// The one seam between the program and a person.
//
// The console front end (terminal and unattended) and the wxWidgets front
// end implement it; tests implement it with scripted fakes. All texts are
// CP932 bytes.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "host/host.h"
#include "ui/dialog_controller.h"
#include "ui/message_box.h"
#include "ui/progress_view.h"

namespace ltb::ui {

struct SaveFileRequest {
  std::string title;        // "保存ファイルを指定"
  std::string filter;       // "Xml Files (*.xml)|*.xml||"
  std::string defaultExt;   // "XML"
  std::string initialName;  // Windows path pieces, CP932
  std::string initialFolder;
  unsigned flags = 0;  // OFN_* bits
};

class Seat {
 public:
  virtual ~Seat() = default;
  // Shows a message box; flags from message_box.h; returns kIdOk, kIdYes or
  // kIdNo. owner may be 0.
  virtual int MessageBox(host::WindowHandle owner, std::string_view text, std::string_view caption,
                         unsigned flags) = 0;
  // Runs a modal dialog until the controller reports that it ended;
  // returns its end code.
  virtual int RunModal(DialogController& dialog) = 0;
  // The save-file dialog: true and *chosen set (a Windows path) on OK.
  virtual bool PickSaveFile(const SaveFileRequest& request, std::string* chosen) = 0;
  // A new, hidden progress dialog.
  virtual std::unique_ptr<ProgressView> CreateProgressView() = 0;
  // The wait cursor, where the front end has one.
  virtual void SetWaitCursor(bool /*on*/) {}
};

}  // namespace ltb::ui
