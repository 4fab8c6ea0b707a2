// Line input and CP932 output on the console.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace ltb::ui {

// One line from in without its line end; nullopt at end of input.
std::optional<std::string> ReadLine(std::FILE* in);

// Writes CP932 text converted to UTF-8.
void PrintCp932(std::FILE* out, std::string_view text);

// Prints "label [current]: " (CP932 texts) and reads the answer as typed;
// nullopt at end of input.
std::optional<std::string> Prompt(std::FILE* in, std::FILE* out, std::string_view label,
                                  std::string_view current);

// A template text without its mnemonic: "月度(&S)" -> "月度", "実行(F12)" stays.
std::string WithoutMnemonic(std::string_view text);

}  // namespace ltb::ui
