// How the save-file dialog's Windows-style request maps onto wx: the filter
// list and the default extension.
#pragma once

#include <string>
#include <string_view>

namespace ltb::ui::gui {

// A Windows filter "Text (*.x)|*.x|All|*.*||" as wx wants it: the pairs
// without the empty trailing ones ("Text (*.x)|*.x|All|*.*"). CP932 in and
// out.
std::string WxFilterFromWindows(std::string_view filter);

// The name the dialog offers for a request's initial name. A name with a
// wildcard ("*.xml", "rep?.xml") is a pattern, not a name (the file dialogs
// of the system the requests come from list by it): the dialog then offers
// no name and lists by its filter. CP932 in and out.
std::string OfferedName(std::string_view initialName);

// The chosen name with the default extension appended when its last path
// component has none (as the Windows dialog does): "a" -> "a.XML",
// "a.xml" and "dir.d/a.xml" stay. No change when ext is empty.
std::string WithDefaultExtension(std::string_view path, std::string_view ext);

}  // namespace ltb::ui::gui
