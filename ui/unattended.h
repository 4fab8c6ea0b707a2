// Options that let a script run the program without a person: they pre-fill
// the conditions dialog, press Execute and answer the Yes/No questions.
// Shared by the console and the GUI front ends and by the run driver.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "ui/conditions.h"

namespace ltb::ui {

struct UnattendedOptions {
  std::optional<AggregationMode> method;      // --method journal or return
  std::optional<std::pair<int, int>> months;  // start, end
  std::optional<std::string> output;          // as typed, UTF-8
  bool execute = false;                       // press Execute (F12)
  std::optional<bool> answer;                 // --yes / --no for every question
};

enum class OptionParse {
  kNotMine,    // not an unattended option; nothing consumed
  kFlag,       // consumed arg only (a flag, or --name=value)
  kWithValue,  // consumed arg and value
  kError,      // an unattended option with a bad or missing value; *error set
};

namespace unattended_detail {

inline bool ParseMonth(std::string_view s, int* month) {
  if (s.empty() || s.size() > 2) return false;
  int v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
  }
  *month = v;
  return true;
}

// Marks an English message id for the catalog; the caller's translator
// turns it into the user's language.
constexpr const char* MessageId(const char* id) { return id; }

// A message from its id, translated by `translate` when given, with the
// first "%s" replaced by `value` (the user's text, never a format).
inline std::string OptionMessage(const char* (*translate)(const char*), const char* id,
                                 std::string_view value = {}) {
  std::string text = translate ? translate(id) : id;
  if (const size_t at = text.find("%s"); at != std::string::npos) text.replace(at, 2, value);
  return text;
}

}  // namespace unattended_detail

using unattended_detail::MessageId;

// Parses one command-line argument; value is the following argument (empty
// when there is none). Accepts "--name value" and "--name=value":
//   --method journal|return   --months S-E   --output PATH
//   --execute   --yes   --no
// `translate`, when given, puts an error message in the user's language.
inline OptionParse ParseUnattendedOption(std::string_view arg, std::string_view value,
                                         UnattendedOptions* opts, std::string* error,
                                         const char* (*translate)(const char*) = nullptr) {
  std::string_view name = arg;
  bool inlineValue = false;
  if (const size_t eq = arg.find('='); eq != std::string_view::npos && arg.rfind("--", 0) == 0) {
    name = arg.substr(0, eq);
    value = arg.substr(eq + 1);
    inlineValue = true;
  }
  const OptionParse consumed = inlineValue ? OptionParse::kFlag : OptionParse::kWithValue;
  auto fail = [&](const char* id, std::string_view detail = {}) {
    *error = unattended_detail::OptionMessage(translate, id, detail);
    return OptionParse::kError;
  };
  if (name == "--execute" || name == "--yes" || name == "--no") {
    if (inlineValue) return fail(MessageId("%s takes no value: give it without =."), name);
    if (name == "--execute") {
      opts->execute = true;
    } else {
      const bool yes = name == "--yes";
      if (opts->answer && *opts->answer != yes)
        return fail(MessageId("--yes and --no exclude each other: give one of them."));
      opts->answer = yes;
    }
    return OptionParse::kFlag;
  }
  if (name != "--method" && name != "--months" && name != "--output") {
    return OptionParse::kNotMine;
  }
  if (value.empty()) return fail(MessageId("%s needs a value: give it after the option."), name);
  if (name == "--method") {
    if (value == "journal") {
      opts->method = kJournalAggregation;
    } else if (value == "return") {
      opts->method = kTaxReturnValues;
    } else {
      return fail(MessageId("--method takes journal or return, not %s."), value);
    }
  } else if (name == "--months") {
    const size_t dash = value.find('-');
    int start = 0, end = 0;
    if (dash == std::string_view::npos ||
        !unattended_detail::ParseMonth(value.substr(0, dash), &start) ||
        !unattended_detail::ParseMonth(value.substr(dash + 1), &end)) {
      return fail(MessageId("--months takes START-END, for example 4-3, not %s."), value);
    }
    opts->months = std::make_pair(start, end);
  } else {
    opts->output = std::string(value);
  }
  return consumed;
}

}  // namespace ltb::ui
