// The program's arguments as main receives them: options, then the
// parent's line (UTF-8) turned into CP932 and read into the run context.
//
// Input: the arguments separated by 0x00 bytes.
#include <charconv>
#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/options.h"
#include "app/parent_line.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_input.h"
#include "platform/cp932.h"
#include "platform/win_path.h"

namespace {

using ltb::platform::CutOnCharBoundary;

// Three commas of the line, on the bytes the parser sees.
bool HasThreeCommas(std::string_view line) {
  size_t pos = 0;
  for (int i = 0; i < 3; ++i) {
    pos = line.find(',', pos);
    if (pos == std::string_view::npos) return false;
    ++pos;
  }
  return true;
}

// A leading integer as strtol reads plain digits: compared where the text
// is nothing but an optional '-' and digits.
void CheckLeadingLong(std::string_view text) {
  const long got = ltb::app::LeadingLong(text);
  if (text.empty()) {
    LTB_FUZZ_CHECK(got == 0);
    return;
  }
  const bool negative = text.front() == '-';
  std::string_view digits = negative ? text.substr(1) : text;
  if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos) return;
  long expected = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), expected);
  if (ec == std::errc::result_out_of_range) expected = negative ? LONG_MIN : LONG_MAX;
  LTB_FUZZ_CHECK(end == text.data() + text.size() || ec == std::errc::result_out_of_range);
  LTB_FUZZ_CHECK(got == expected);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ltb::fuzz::FuzzInput in(data, size);
  std::vector<std::string> args;
  while (!in.empty()) args.emplace_back(in.Field());

  ltb::app::Options options;
  std::string error;
  if (!ltb::app::ParseOptions(args, &options, &error)) {
    LTB_FUZZ_CHECK(!error.empty());
  }
  const std::string line =
      ltb::app::ParentLineToCp932(ltb::platform::DriveTable(), options.parentCommandLine);

  ltb::app::RunContext ctx;
  const bool parsed = ltb::app::ParseCommandLine(line, &ctx);
  const std::string_view seen = CutOnCharBoundary(line, ltb::app::kCommandLineBuffer - 1);
  LTB_FUZZ_CHECK(seen.size() < ltb::app::kCommandLineBuffer);
  LTB_FUZZ_CHECK(parsed == HasThreeCommas(seen));
  // The output path is the rest of the line the buffer held.
  LTB_FUZZ_CHECK(ctx.parentOutputPath.size() < ltb::app::kCommandLineBuffer);
  if (parsed && !ctx.parentOutputPath.empty()) {
    LTB_FUZZ_CHECK(seen.ends_with(ctx.parentOutputPath));
  }
  if (!parsed) LTB_FUZZ_CHECK(ctx.parentOutputPath.empty());

  // The items as the parser cut them.
  size_t from = 0;
  for (int i = 0; i < 3; ++i) {
    const size_t comma = seen.find(',', from);
    CheckLeadingLong(seen.substr(from, comma == std::string_view::npos ? comma : comma - from));
    if (comma == std::string_view::npos) break;
    from = comma + 1;
  }
  return 0;
}
