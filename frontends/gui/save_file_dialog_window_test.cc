// The save-file dialog on a real display: title, filter, offered name, and
// the answer in the program's path form.
#include <gtk/gtk.h>
#include <unistd.h>

#include <cctype>

#include <gtest/gtest.h>
#include <wx/timer.h>

#include "frontends/gui/save_file_dialog.h"
#include "frontends/gui/testing/window_test_support.h"
#include "platform/env.h"

namespace ltb::ui::gui {
namespace {

TEST(SaveFileDialogWindow, TitleFilterNameAndAnswerInWindowsForm) {
  REQUIRE_DISPLAY();
  char folder[] = "/tmp/ltb-save-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  SaveFileRequest request;
  request.title = "保存ファイルを指定";
  request.filter = "Xml Files (*.xml)|*.xml||";
  request.defaultExt = "XML";
  request.initialName = "消費税";
  std::string title, filterName, shownName;
  // The timer looks at the dialog once it is up, picks the folder, and then
  // accepts on every tick until the dialog is gone: on a busy machine the
  // dialog may not be shown at the first tick, and the chooser ignores an
  // answer while it is still reading the folder.
  wxTimer answer;
  bool looked = false;
  answer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
    GList* windows = gtk_window_list_toplevels();
    for (GList* w = windows; w != nullptr; w = w->next) {
      if (!GTK_IS_FILE_CHOOSER_DIALOG(w->data) || !gtk_widget_get_visible(GTK_WIDGET(w->data))) {
        continue;
      }
      GtkFileChooser* chooser = GTK_FILE_CHOOSER(w->data);
      if (!looked) {
        looked = true;
        title = gtk_window_get_title(GTK_WINDOW(w->data));
        if (GtkFileFilter* filter = gtk_file_chooser_get_filter(chooser)) {
          filterName = gtk_file_filter_get_name(filter);
        }
        gchar* name = gtk_file_chooser_get_current_name(chooser);
        if (name != nullptr) shownName = name;
        g_free(name);
        // The user picks the folder and keeps the offered name.
        gtk_file_chooser_set_current_folder(chooser, folder);
      }
      gtk_dialog_response(GTK_DIALOG(w->data), GTK_RESPONSE_ACCEPT);
    }
    g_list_free(windows);
  });
  answer.Start(250);
  std::string chosen;
  const bool picked = ShowSaveFileDialog(nullptr, *platform::Env::Default(), request, &chosen);
  answer.Stop();
  rmdir(folder);
  EXPECT_EQ(title,
            "\xE4\xBF\x9D\xE5\xAD\x98\xE3\x83\x95\xE3\x82\xA1\xE3\x82\xA4"
            "\xE3\x83\xAB\xE3\x82\x92\xE6\x8C\x87\xE5\xAE\x9A");  // UTF-8
  EXPECT_EQ(filterName, "Xml Files (*.xml)");
  // The offered name, which the toolkit completes with the filter's
  // extension.
  EXPECT_EQ(shownName.rfind("\xE6\xB6\x88\xE8\xB2\xBB\xE7\xA8\x8E", 0), 0u) << shownName;
  ASSERT_TRUE(picked);
  // The answer comes back as a Windows path in CP932, ending in the XML
  // extension.
  std::string folderPart = std::string("Z:") + folder + "\\消費税";
  for (char& c : folderPart) {
    if (c == '/') c = '\\';
  }
  ASSERT_EQ(chosen.rfind(folderPart, 0), 0u) << chosen;
  std::string extension = chosen.substr(folderPart.size());
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  EXPECT_EQ(extension, ".xml");
}

}  // namespace
}  // namespace ltb::ui::gui
