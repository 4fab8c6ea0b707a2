// The reports of the built-in sample ledger, one per method, compared byte
// for byte with the files in tests/golden. After an intended change of the
// report or of the sample ledger, run the test once with
// LTB_UPDATE_GOLDEN=1 to rewrite them, and review the difference.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/program_runner.h"

namespace ltb::e2e {
namespace {

struct Method {
  const char* name;
  const char* golden;
};

class GoldenReportTest : public ::testing::TestWithParam<Method> {};

TEST_P(GoldenReportTest, SampleLedgerReportMatches) {
  TempDir dir;
  const std::string out = dir / "report.xml";
  std::vector<std::string> args = {"--ui", "console", "--method", GetParam().name,
                                   "--output", out, "--execute", "--yes"};
  if (std::string(GetParam().name) == "journal") args.insert(args.end(), {"--months", "4-3"});
  // No --ledger and no $LEDORA_HOME: the built-in sample, created on first use.
  const ProgramResult r =
      RunProgram(ProgramDir() + "/LedTaxBridgeA", args,
                 {{"HOME", dir.path()},
                  {"XDG_DATA_HOME", dir / "share"},
                  {"LEDORA_HOME", ""},
                  {"LEDORA_USER", ""}});
  ASSERT_EQ(r.status, 0) << r.output;
  const std::string golden = GoldenDir() + "/" + GetParam().golden;
  const std::string produced = ReadWholeFile(out);
  if (const char* update = std::getenv("LTB_UPDATE_GOLDEN"); update && *update == '1') {
    WriteWholeFile(golden, produced);
  }
  ASSERT_TRUE(std::filesystem::exists(golden)) << golden;
  EXPECT_TRUE(produced == ReadWholeFile(golden))
      << "the report differs from " << golden;
}

INSTANTIATE_TEST_SUITE_P(Methods, GoldenReportTest,
                         ::testing::Values(Method{"journal", "sample_journal.xml"},
                                           Method{"return", "sample_return_values.xml"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace ltb::e2e
