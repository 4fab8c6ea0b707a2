// The programs' failure messages and help in the user's language: the same
// error paths run under ja_JP.UTF-8, where no English sentence may reach the
// user, and under C, where the messages are English.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <clocale>
#include <filesystem>
#include <regex>

#include "tests/program_runner.h"

namespace ltb::e2e {
namespace {

// Two English words in a row (lower-case letters after the first, so option
// names, placeholders such as HOME, paths and numbers do not count): a
// sentence of ours left untranslated, or a system reason in English.
bool HasEnglishSentence(const std::string& text) {
  static const std::regex kWords("(^|[^-A-Za-z/._])[A-Za-z][a-z]+( [A-Za-z][a-z]+)+");
  return std::regex_search(text, kWords);
}

std::string ToolPath() {
  const char* staged = std::getenv("LTB_TEST_LEDGER_TOOL");
  return staged && *staged ? staged : ProgramDir() + "/ledora-ledger";
}

struct Case {
  const char* what;
  bool tool;  // ledora-ledger, else LedTaxBridgeA
  std::vector<std::string> args;
  // Variables of this case over those of every case.
  std::map<std::string, std::string> env = {};
  // What the path needs: a user the file permissions hold back (root may
  // write a read-only file), or the display of the test command.
  enum Needs { kNothing, kUnprivilegedUser, kDisplay } needs = kNothing;
};

TEST(LanguageTest, MessagesAreJapaneseUnderJapaneseAndEnglishUnderC) {
  if (std::setlocale(LC_ALL, "ja_JP.UTF-8") == nullptr) GTEST_SKIP() << "no ja_JP.UTF-8 locale";
  std::setlocale(LC_ALL, "C");
  TempDir dir;
  const std::string ledger = dir / "ledger";
  ASSERT_EQ(RunProgram(ToolPath(), {"sample", ledger}, {}).status, 0);
  const std::string missing = dir / "missing";
  const std::vector<std::string> unattended = {"--ledger",  ledger,    "--ui",     "console",
                                               "--method",  "journal", "--months", "4-3",
                                               "--execute", "--yes"};
  auto unattendedTo = [&](const std::string& output) {
    std::vector<std::string> args = unattended;
    args.insert(args.end(), {"--output", output});
    return args;
  };
  const std::string readOnly = dir / "read-only.xml";
  WriteWholeFile(readOnly, "kept\r\n");
  ASSERT_EQ(chmod(readOnly.c_str(), 0444), 0);
  const std::string badDrives = dir / "drives";
  WriteWholeFile(badDrives, "D: /tmp\nQ /tmp\n");
  // A folder where the settings file belongs.
  const std::string otherHome = dir / "other-home";
  std::filesystem::create_directories(otherHome + "/.config/ledtaxbridge/LedTaxBridgeA.env");
  const std::string strange = dir / "strange.xml";
  WriteWholeFile(strange, "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n<REPORT>\r\noops\r\n");
  // A file where the home folder belongs: no settings folder can be made.
  const std::string fileHome = dir / "file-home";
  WriteWholeFile(fileHome, "");
  const char* display = std::getenv("DISPLAY");
  // Files for the ledger tool's imports: each with one kind of fault.
  WriteWholeFile(dir / "column.csv", "date,debit_account,credit_account,colour\n");
  WriteWholeFile(dir / "amount.csv",
                 "date,debit_account,credit_account,debit_amount\n20160415,111,411,12x\n");
  WriteWholeFile(dir / "account.csv",
                 "date,debit_account,credit_account,debit_amount\n20160415,999,411,12\n");
  // "date" and a description in Shift_JIS.
  WriteWholeFile(dir / "shift-jis.csv",
                 "date,debit_account,credit_account,description\n"
                 "20160415,111,411,\x94\x84\x8F\xE3\n");
  WriteWholeFile(dir / "books.csv",
                 Utf8(u8"伝票番号,日付,借方勘定科目,借方補助科目,借方税区分,借方金額,貸方勘定科目,"
                      u8"貸方部門,貸方税区分,貸方金額,摘要\n"
                      u8",2016/4/15,謎の勘定,,,10800,売上高,,課税売上9%,1x,\n"
                      u8",2018/4/15,売掛金,,,100,売上高,,,100,\n"));
  const Case cases[] = {
      {"help", false, {"--help"}},
      {"unknown option", false, {"--bogus"}},
      {"bad months", false, {"--months", "13"}},
      {"options that exclude each other", false, {"--show", "x.xml", "--compare"}},
      {"unreadable drive table", false, {"--drives", missing}},
      {"control character in a path", false, {"--output", "a\tb"}},
      {"missing ledger", false, {"--ledger", missing, "--ui", "console"}},
      {"missing dataset", false, {"--ledger", ledger, "--dataset", "9", "--ui", "console"}},
      {"no terminal", false, {"--ledger", ledger, "--ui", "console"}},
      {"no display and no terminal", false, {"--ledger", ledger}},
      {"months with the saved values",
       false,
       {"--ledger", ledger, "--ui", "console", "--method", "return", "--months", "4-3",
        "--execute"}},
      {"months outside the period", false, {"--ledger", ledger, "--compare", "--months", "13-2"}},
      {"missing report", false, {"--show", missing}},
      {"report of another shape", false, {"--show", strange}},
      {"unwritable report", false, unattendedTo("/proc/self/report.xml")},
      {"report on a drive the drive table does not map", false, unattendedTo("Q:\\report.xml")},
      {"read-only report", false, unattendedTo(readOnly), {}, Case::kUnprivilegedUser},
      {"bad drive table line", false, {"--drives", badDrives}},
      {"bad drive table line in LTB_DRIVES",
       false,
       {"--show", missing},
       {{"LTB_DRIVES", badDrives}}},
      {"settings file that is a folder",
       false,
       unattendedTo(dir / "report.xml"),
       {{"HOME", otherHome}}},
      {"no settings folder", false, unattendedTo(dir / "report.xml"), {{"HOME", fileHome}}},
      {"parent window item that is no number",
       false,
       {"--ledger", ledger, "--ui", "console", "abc,1,2,x.xml"}},
      {"graphical front end without a display", false, {"--ledger", ledger, "--ui", "gui"}},
      // Leaks of the toolkit's libraries are the GUI tests' concern.
      {"conditions refused in the window",
       false,
       {"--ledger", ledger, "--ui", "gui", "--method", "journal", "--months", "4-3", "--output",
        dir / "no-folder/report.xml", "--execute", "--no"},
       {{"DISPLAY", display ? display : ""}, {"ASAN_OPTIONS", "detect_leaks=0"}},
       Case::kDisplay},
      {"tool help", true, {"--help"}},
      {"tool command help", true, {"select", "--help"}},
      {"unknown command", true, {"frobnicate"}},
      {"tool usage", true, {"select", ledger}},
      {"tool missing ledger", true, {"datasets", missing}},
      {"import: unknown column", true, {"import-journal", ledger, "1", "column.csv"}},
      {"import: bad amount", true, {"import-journal", ledger, "1", "amount.csv"}},
      {"import: unknown account", true, {"import-journal", ledger, "1", "account.csv"}},
      {"import: unreadable file", true, {"import-accounts", ledger, "1", missing}},
      {"import: Shift_JIS file", true, {"import-journal", ledger, "1", "shift-jis.csv"}},
      {"import-books: every problem of the file", true, {"import-books", ledger, "1", "books.csv"}},
      {"import-books: a Shift_JIS file without the layout's columns",
       true,
       {"import-books", ledger, "1", "shift-jis.csv"}},
      {"export to a missing folder", true, {"export-books", ledger, "1", missing + "/x.csv"}},
      {"sample into an existing ledger", true, {"sample", ledger}},
      {"an account code in use", true, {"add-account", ledger, "1", "111", "0x40882040"}},
      {"a setting out of range", true, {"set-tax", ledger, "1", "--filing", "7"}},
      {"a period longer than a year",
       true,
       {"add-dataset", ledger, "9", "X", "--from", "20160401", "--to", "20180331"}},
      {"an unknown option", true, {"add-department", ledger, "1", "5", "--colour", "red"}},
      {"a sample where no folder can be made", true, {"sample", "/proc/ledger"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.needs == Case::kUnprivilegedUser && geteuid() == 0) continue;
    if (c.needs == Case::kDisplay && (display == nullptr || *display == '\0')) continue;
    const std::string program = c.tool ? ToolPath() : ProgramDir() + "/LedTaxBridgeA";
    std::map<std::string, std::string> base = {
        {"LEDORA_HOME", ""}, {"LTB_DRIVES", ""},   {"DISPLAY", ""},        {"LANG", ""},
        {"LANGUAGE", ""},    {"HOME", dir.path()}, {"XDG_CONFIG_HOME", ""}};
    for (const auto& [name, value] : c.env) base[name] = value;
    auto ja = base, c_locale = base;
    ja["LC_ALL"] = "ja_JP.UTF-8";
    c_locale["LC_ALL"] = "C";
    const ProgramResult japanese = RunProgram(program, c.args, ja, 60, dir.path());
    const ProgramResult english = RunProgram(program, c.args, c_locale, 60, dir.path());
    EXPECT_FALSE(japanese.output.empty());
    EXPECT_FALSE(HasEnglishSentence(japanese.output)) << japanese.output;
    EXPECT_TRUE(HasEnglishSentence(english.output)) << english.output;
    EXPECT_EQ(japanese.status, english.status);
  }
}

// The console form on a terminal (script gives the program one): each
// month and the output file asked by its own label, the action line in the
// user's language, and a button chosen by its Japanese name.
TEST(LanguageTest, ConsoleFormLabelsWhatItAsksInTheUsersLanguage) {
  if (std::setlocale(LC_ALL, "ja_JP.UTF-8") == nullptr) GTEST_SKIP() << "no ja_JP.UTF-8 locale";
  std::setlocale(LC_ALL, "C");
  TempDir dir;
  const std::string ledger = dir / "ledger";
  ASSERT_EQ(RunProgram(ToolPath(), {"sample", ledger}, {}).status, 0);
  WriteWholeFile(dir / "answers", Utf8(u8"\n\n\n\nキャンセル\n"));
  struct Locale {
    const char* name;
    std::vector<std::string> shows;
    std::string askAgain;  // what the form says to an answer it does not know
  };
  const Locale locales[] = {
      {"ja_JP.UTF-8",
       {Utf8(u8"開始月 [4]: "), Utf8(u8"終了月 [3]: "), Utf8(u8"出力先 ["),
        Utf8(u8"e = 実行(F12)、b = 参照...、c = キャンセル(Esc)、Enter = 値を変更: ")},
       Utf8(u8"Enter キーを押してください")},
      {"C",
       {"Start month [4]: ", "End month [3]: ", "Output file [",
        Utf8(u8"e = 実行(F12), b = 参照..., c = キャンセル(Esc), Enter = change the values: ")},
       "Please answer"},
  };
  for (const Locale& l : locales) {
    SCOPED_TRACE(l.name);
    const ProgramResult r =
        RunProgram("/bin/sh",
                   {"-c",
                    "script -qec 'exec \"$LTB_PROGRAM\" --ledger \"$LTB_LEDGER\" --ui console' "
                    "/dev/null <answers"},
                   {{"LTB_PROGRAM", ProgramDir() + "/LedTaxBridgeA"},
                    {"LTB_LEDGER", ledger},
                    {"SHELL", "/bin/sh"},
                    {"LEDORA_HOME", ""},
                    {"DISPLAY", ""},
                    {"LANG", ""},
                    {"LANGUAGE", ""},
                    {"LC_ALL", l.name}},
                   60, dir.path());
    for (const std::string& label : l.shows) EXPECT_TRUE(Contains(r.output, label)) << r.output;
    // Cancelled by the button's name, not by the end of the input.
    EXPECT_FALSE(Contains(r.output, l.askAgain)) << r.output;
    EXPECT_TRUE(Contains(r.output, Utf8(u8"集計を中止します"))) << r.output;
  }
}

}  // namespace
}  // namespace ltb::e2e
