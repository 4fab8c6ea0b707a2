// The reports of the built-in sample ledger, one per method, compared byte
// for byte with the files in tests/golden; a mismatch prints the lines that
// differ.
//
// Updating a golden is a reviewed step. After an intended change of the
// report or of the sample ledger:
//   LTB_UPDATE_GOLDEN=1 ctest --test-dir build-test -R GoldenReport
// rewrites every golden that differs and fails, printing the difference;
// review it with `git diff tests/golden`, run the test again without the
// variable (it passes), and commit the goldens with the change that made them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/cp932.h"
#include "tests/program_runner.h"

namespace ltb::e2e {
namespace {

bool UpdateRequested() {
  const char* update = std::getenv("LTB_UPDATE_GOLDEN");
  return update && *update == '1';
}

std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const size_t lf = text.find('\n');
    std::string_view line = text.substr(0, lf);
    if (line.ends_with('\r')) line.remove_suffix(1);
    lines.push_back(line);
    if (lf == std::string_view::npos) break;
    text.remove_prefix(lf + 1);
  }
  return lines;
}

// The lines removed from `before` ("-") and added in `after` ("+"), with
// their line numbers, in UTF-8 for the terminal; at most kShown of them.
std::string LineDiff(std::string_view before, std::string_view after) {
  constexpr size_t kShown = 80;
  const std::vector<std::string_view> a = Lines(before), b = Lines(after);
  // Longest common subsequence of lines, from the ends.
  std::vector<std::vector<int>> common(a.size() + 1, std::vector<int>(b.size() + 1, 0));
  for (size_t i = a.size(); i-- > 0;) {
    for (size_t j = b.size(); j-- > 0;) {
      common[i][j] =
          a[i] == b[j] ? common[i + 1][j + 1] + 1 : std::max(common[i + 1][j], common[i][j + 1]);
    }
  }
  std::string out;
  size_t shown = 0, hidden = 0;
  auto emit = [&](char sign, size_t number, std::string_view line) {
    if (shown++ >= kShown) {
      ++hidden;
      return;
    }
    out += sign + std::to_string(number + 1) + ": " + platform::Cp932ToUtf8(line) + "\n";
  };
  size_t i = 0, j = 0;
  while (i < a.size() || j < b.size()) {
    if (i < a.size() && j < b.size() && a[i] == b[j]) {
      ++i, ++j;
    } else if (i < a.size() && (j == b.size() || common[i + 1][j] >= common[i][j + 1])) {
      emit('-', i, a[i]), ++i;
    } else {
      emit('+', j, b[j]), ++j;
    }
  }
  if (hidden > 0) out += "... and " + std::to_string(hidden) + " more lines\n";
  return out;
}

struct Method {
  const char* name;
  const char* golden;
};

class GoldenReportTest : public ::testing::TestWithParam<Method> {};

TEST_P(GoldenReportTest, SampleLedgerReportMatches) {
  TempDir dir;
  const std::string out = dir / "report.xml";
  std::vector<std::string> args = {"--ui",     "console", "--method",  GetParam().name,
                                   "--output", out,       "--execute", "--yes"};
  if (std::string(GetParam().name) == "journal") args.insert(args.end(), {"--months", "4-3"});
  // No --ledger and no $LEDORA_HOME: the built-in sample, created on first use.
  const ProgramResult r = RunProgram(ProgramDir() + "/LedTaxBridgeA", args,
                                     {{"HOME", dir.path()},
                                      {"XDG_DATA_HOME", dir / "share"},
                                      {"LEDORA_HOME", ""},
                                      {"LEDORA_USER", ""}});
  ASSERT_EQ(r.status, 0) << r.output;
  const std::string golden = GoldenDir() + "/" + GetParam().golden;
  const std::string produced = ReadWholeFile(out);
  if (UpdateRequested()) {
    const bool existed = std::filesystem::exists(golden);
    const std::string before = existed ? ReadWholeFile(golden) : std::string();
    if (!existed || before != produced) {
      WriteWholeFile(golden, produced);
      FAIL() << golden << " rewritten; review it with git diff before committing it:\n"
             << LineDiff(before, produced);
    }
  }
  ASSERT_TRUE(std::filesystem::exists(golden)) << golden;
  const std::string expected = ReadWholeFile(golden);
  EXPECT_TRUE(produced == expected)
      << "the report differs from " << golden << " (- golden, + produced):\n"
      << LineDiff(expected, produced);
}

INSTANTIATE_TEST_SUITE_P(Methods, GoldenReportTest,
                         ::testing::Values(Method{"journal", "sample_journal.xml"},
                                           Method{"return", "sample_return_values.xml"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace ltb::e2e
