// GetPrivateProfileStringA over Env::ReadFile.
#include "platform/profile.h"

#include <string_view>

#include "platform/cp932.h"

namespace ltb::platform {
namespace {

// Profiles are small; a larger file is read only this far, so that a
// mistaken path to a huge file cannot exhaust memory.
constexpr size_t kMaxProfileBytes = size_t{64} << 20;

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Blanks as the profile reader knows them: TAB, LF, VT, FF, CR, space and
// ^Z. None of them can be the second byte of a double-byte character.
bool IsBlank(char c) {
  unsigned char u = static_cast<unsigned char>(c);
  return (u >= 0x09 && u <= 0x0D) || u == 0x20 || u == 0x1A;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// One pair of surrounding quotes, double or single, is removed.
std::string_view StripQuotes(std::string_view v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.front() == v.back()) {
    return v.substr(1, v.size() - 2);
  }
  return v;
}

std::string Fit(std::string_view s, size_t capacity) {
  if (capacity == 0) return {};
  return std::string(CutOnCharBoundary(s, capacity - 1));
}

// The value of key in the first section named section: *found is false
// when there is no such section or key, or when the key has no '='.
std::string_view Lookup(std::string_view text, std::string_view section, std::string_view key,
                        bool* found) {
  *found = false;
  bool inSection = false;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = Trim(text.substr(pos, end - pos));
    pos = end + 1;
    if (line.empty()) continue;
    if (line[0] == '[') {
      // The name runs to the last ']' on the line; without one the line
      // is an ordinary entry.
      size_t close = FindLastChar(line, ']');
      if (close != std::string_view::npos) {
        if (inSection) return {};  // only the first such section counts
        inSection = EqualsIgnoreAsciiCase(Trim(line.substr(1, close - 1)), section);
        continue;
      }
    }
    if (!inSection) continue;
    size_t eq = FindChar(line, '=');
    std::string_view name = Trim(line.substr(0, eq));
    if (!EqualsIgnoreAsciiCase(name, key)) continue;
    if (eq == std::string_view::npos) return {};  // a name without a value
    *found = true;
    return StripQuotes(Trim(line.substr(eq + 1)));
  }
  return {};
}

}  // namespace

std::string GetPrivateProfileString(Env& env, const std::string& section, const std::string& key,
                                    const std::string& def, size_t capacity,
                                    const std::string& path) {
  // Only trailing spaces of the default are dropped.
  std::string_view fallback = def;
  while (!fallback.empty() && fallback.back() == ' ') fallback.remove_suffix(1);

  std::string data;
  if (path.empty() || !env.ReadFile(path, &data, kMaxProfileBytes).ok()) {
    return Fit(fallback, capacity);
  }
  if (std::string_view(data).starts_with(kUtf8Bom)) {
    std::string converted;
    Utf8ToCp932(std::string_view(data).substr(kUtf8Bom.size()), &converted);
    data = std::move(converted);
  }
  bool found = false;
  std::string_view value = Lookup(data, Trim(section), Trim(key), &found);
  return Fit(found ? value : fallback, capacity);
}

}  // namespace ltb::platform
