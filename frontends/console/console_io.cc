#include "frontends/console/console_io.h"

#include "platform/cp932.h"

namespace ltb::ui {

std::optional<std::string> ReadLine(std::FILE* in) {
  std::string line;
  int c;
  bool any = false;
  while ((c = std::fgetc(in)) != EOF) {
    any = true;
    if (c == '\n') break;
    line.push_back(static_cast<char>(c));
  }
  if (!any) return std::nullopt;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

void PrintCp932(std::FILE* out, std::string_view text) {
  const std::string utf8 = platform::Cp932ToUtf8(text);
  std::fwrite(utf8.data(), 1, utf8.size(), out);
}

std::optional<std::string> Prompt(std::FILE* in, std::FILE* out, std::string_view label,
                                  std::string_view current) {
  PrintCp932(out, label);
  std::fputs(" [", out);
  PrintCp932(out, current);
  std::fputs("]: ", out);
  std::fflush(out);
  return ReadLine(in);
}

std::string WithoutMnemonic(std::string_view text) {
  std::string result;
  for (size_t i = 0; i < text.size(); ++i) {
    // "(&X)" goes whole; a lone "&" marks the next character.
    if (text[i] == '(' && i + 3 < text.size() && text[i + 1] == '&' && text[i + 3] == ')') {
      i += 3;
      continue;
    }
    if (text[i] == '&' && !platform::IsTrailAt(text, i)) continue;
    result.push_back(text[i]);
  }
  return result;
}

}  // namespace ltb::ui
