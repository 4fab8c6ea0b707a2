#include "frontends/console/console_seat.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "dialog/tax_conditions_dialog.h"
#include "dialog/testing/temp_drive_env.h"
#include "host/testing/fake_host.h"

namespace ltb::ui {
namespace {

// The console prints UTF-8, while narrow literals here are CP932.
std::string U8(const char8_t* s) { return reinterpret_cast<const char*>(s); }

// Captures what the seat writes, from a script of typed lines.
struct Console {
  explicit Console(const std::string& script) : input(script) {
    in = fmemopen(input.data(), input.size() ? input.size() : 1, "r");
    if (input.empty()) std::fgetc(in);  // nothing to read
    out = tmpfile();
    err = tmpfile();
  }
  ~Console() {
    std::fclose(in);
    std::fclose(out);
    std::fclose(err);
  }
  static std::string Read(std::FILE* f) {
    std::string s;
    std::rewind(f);
    for (int c; (c = std::fgetc(f)) != EOF;) s.push_back(static_cast<char>(c));
    return s;
  }
  std::string input;
  std::FILE* in;
  std::FILE* out;
  std::FILE* err;
};

class ConsoleSeatTest : public ::testing::Test {
 protected:
  int Run(const UnattendedOptions& opts, Console& c, bool interactive) {
    host.folders[host::kFolderOutput] = "C:\\out\\";
    host.folders[host::kFolderSettings] = "C:\\settings\\";
    auto seat = NewConsoleSeat(env, opts, c.in, c.out, c.err, interactive);
    dialog::TaxConditionsDialog d(host, env, *seat, *EditionByLetter('A'), 0);
    d.input.periodStartDate = 20150401;
    d.input.periodEndDate = 20160331;
    d.input.deductionLabelText = "課税仕入控除";
    d.input.deductionText = " 個別対応方式";
    const int code = d.DoModal();
    outputPath = d.outputPath;
    months = d.startMonthText + "-" + d.endMonthText;
    return code;
  }
  ltb::testing::FakeHost host;
  dialog::testing::TempDriveEnv env;
  std::string outputPath, months;
};

TEST_F(ConsoleSeatTest, UnattendedRunFillsExecutesAndAnswersQuestions) {
  UnattendedOptions opts;
  opts.months = {5, 12};
  opts.output = "C:\\new\\tax.xml";
  opts.execute = true;
  opts.answer = true;
  Console c("");
  EXPECT_EQ(Run(opts, c, false), ui::kIdExecuteButton);
  EXPECT_EQ(outputPath, "C:\\new\\tax.xml");
  EXPECT_EQ(months, "5-12");
  EXPECT_TRUE(std::filesystem::is_directory(env.Linux("C:\\new")));
  const std::string printed = Console::Read(c.out);
  EXPECT_NE(printed.find(U8(u8"[消費税] 指定されたフォルダは存在しません。")), std::string::npos)
      << printed;  // UTF-8 on the console
  EXPECT_NE(printed.find("-> yes (--yes)"), std::string::npos);
}

TEST_F(ConsoleSeatTest, UnattendedRefusalOrMissingAnswerEndsCancelled) {
  UnattendedOptions bad;
  bad.months = {2, 4};
  bad.output = "C:\\out\\a.xml";
  bad.execute = true;
  Console c1("");
  EXPECT_EQ(Run(bad, c1, false), ui::kIdCancelButton);
  EXPECT_NE(Console::Read(c1.out).find(U8(u8"集計期間に誤りがあります。")), std::string::npos);

  UnattendedOptions noAnswer;
  noAnswer.output = "C:\\missing\\a.xml";
  noAnswer.execute = true;
  Console c2("");
  EXPECT_EQ(Run(noAnswer, c2, false), ui::kIdCancelButton);
  EXPECT_NE(Console::Read(c2.err).find("--yes or --no"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(env.Linux("C:\\missing")));

  Console c3("");
  EXPECT_EQ(Run(UnattendedOptions{}, c3, false), ui::kIdCancelButton);
  EXPECT_NE(Console::Read(c3.err).find("needs a terminal"), std::string::npos);

  UnattendedOptions returnMethod;  // tax-return values are not usable here
  returnMethod.method = kTaxReturnValues;
  returnMethod.execute = true;
  Console c4("");
  EXPECT_EQ(Run(returnMethod, c4, false), ui::kIdCancelButton);
}

TEST_F(ConsoleSeatTest, InteractiveFormAsksAgainAfterARefusal) {
  // No method question (the tax-return values are not usable); months 4-3 kept, a bad path, execute
  // (M3), then a good path, execute, create the folder.
  Console c("\n\nC:\\o\\*.xml\ne\n\n\nC:\\o\\t.xml\ne\ny\n");
  EXPECT_EQ(Run(UnattendedOptions{}, c, true), ui::kIdExecuteButton);
  EXPECT_EQ(outputPath, "C:\\o\\t.xml");
  EXPECT_EQ(months, "4-3");
  const std::string printed = Console::Read(c.out);
  EXPECT_NE(printed.find(U8(u8"消費税 - 集計条件")), std::string::npos);
  EXPECT_NE(printed.find(U8(u8"不正な文字")), std::string::npos);
  // The commands name their buttons as the dialog does.
  EXPECT_NE(printed.find(U8(u8"e = 実行(F12)")), std::string::npos);
  EXPECT_NE(printed.find(U8(u8"c = キャンセル(Esc)")), std::string::npos);
}

TEST(UnattendedOptionsTest, ParsesTheOptions) {
  UnattendedOptions o;
  std::string error;
  EXPECT_EQ(ParseUnattendedOption("--method", "return", &o, &error), OptionParse::kWithValue);
  EXPECT_EQ(o.method, 1);
  EXPECT_EQ(ParseUnattendedOption("--months=4-3", "", &o, &error), OptionParse::kFlag);
  EXPECT_EQ(o.months, std::make_pair(4, 3));
  EXPECT_EQ(ParseUnattendedOption("--yes", "", &o, &error), OptionParse::kFlag);
  EXPECT_EQ(ParseUnattendedOption("--no", "", &o, &error), OptionParse::kError);
  EXPECT_EQ(ParseUnattendedOption("--months", "4", &o, &error), OptionParse::kError);
  EXPECT_EQ(ParseUnattendedOption("--method", "", &o, &error), OptionParse::kError);
  EXPECT_EQ(ParseUnattendedOption("--ledger", "x", &o, &error), OptionParse::kNotMine);
}

}  // namespace
}  // namespace ltb::ui
