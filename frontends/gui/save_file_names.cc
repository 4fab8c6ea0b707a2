#include "frontends/gui/save_file_names.h"

namespace ltb::ui::gui {

std::string WxFilterFromWindows(std::string_view filter) {
  std::string out(filter);
  // Windows ends the list with an empty pair ("||"); wx takes the pairs
  // without it.
  while (!out.empty() && out.back() == '|') out.pop_back();
  return out;
}

std::string OfferedName(std::string_view initialName) {
  // '*' and '?' are single bytes that no CP932 trail byte takes.
  if (initialName.find_first_of("*?") != std::string_view::npos) return std::string();
  return std::string(initialName);
}

std::string WithDefaultExtension(std::string_view path, std::string_view ext) {
  std::string out(path);
  if (ext.empty() || out.empty()) return out;
  const size_t slash = out.find_last_of('/');
  const size_t start = slash == std::string::npos ? 0 : slash + 1;
  const size_t dot = out.find('.', start);
  if (start == out.size() || dot != std::string::npos) return out;
  out += '.';
  out.append(ext);
  return out;
}

}  // namespace ltb::ui::gui
