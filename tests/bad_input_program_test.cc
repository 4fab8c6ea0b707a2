// The real program against bad ledgers, bad folders and bad files beside
// it: each ends with a clear message and loses nothing.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "ledger/ledger_db.h"
#include "ledger/ledger_host.h"
#include "ledger/ledger_writer.h"
#include "platform/cp932.h"
#include "platform/drive_type_probe.h"
#include "platform/testing/read_only_folder.h"
#include "platform/win_path.h"
#include "tests/program_runner.h"

namespace ltb::e2e {
namespace {

// The text of the first <name> element of a report.
std::string Element(const std::string& report, const std::string& name) {
  const std::string open = "<" + name + ">";
  const size_t at = report.find(open);
  if (at == std::string::npos) return "(none)";
  const size_t from = at + open.size();
  return report.substr(from, report.find("</", from) - from);
}

// The longest line of a report, without its CR LF.
size_t LongestLine(const std::string& report) {
  size_t longest = 0, start = 0;
  for (size_t lf = report.find('\n'); lf != std::string::npos; lf = report.find('\n', start)) {
    longest = std::max(longest, lf - start - 1);
    start = lf + 1;
  }
  return longest;
}

class BadInputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(dir / "home");
    std::string error;
    ASSERT_TRUE(ledger::CreateSampleLedger(ledgerHome(), &error)) << error;
  }

  std::string ledgerHome() const { return dir / "ledger"; }
  std::string ledgerFile() const { return ledger::LedgerFilePath(ledgerHome()); }
  std::string out() const { return dir / "out.xml"; }

  void SetLedger(const std::string& sql) {
    std::string error;
    auto db = ledger::LedgerDb::Open(ledgerHome(), ledger::LedgerDb::Mode::kReadWrite, &error);
    ASSERT_TRUE(db) << error;
    ASSERT_TRUE(db->Exec(sql.c_str(), &error)) << error;
  }
  void SetCompanyName(const std::string& cp932) {
    std::string utf8 = platform::Cp932ToUtf8(cp932);
    std::string quoted;
    for (char c : utf8) quoted += c == '\'' ? std::string("''") : std::string(1, c);
    SetLedger("UPDATE datasets SET company_name = '" + quoted + "' WHERE no = 1");
  }

  std::map<std::string, std::string> Environment() const {
    return {{"HOME", dir / "home"},
            {"XDG_DATA_HOME", dir / "home/share"},
            {"XDG_CONFIG_HOME", dir / "home/.config"},
            {"LEDORA_HOME", ""},
            {"LEDORA_USER", "user01"},
            {"LTB_DRIVES", ""},
            // The messages checked here are the English ones.
            {"LC_ALL", "C"}};
  }

  ProgramResult Run(const std::string& output,
                    const std::string& program = ProgramDir() + "/LedTaxBridgeA") {
    return RunProgram(program,
                      {"--ledger", ledgerHome(), "--ui", "console", "--method", "journal",
                       "--months", "4-3", "--output", output, "--execute", "--yes"},
                      Environment(), 30);
  }

  // A copy of the program in a folder of its own, with ZenkitDef.ini.
  std::string ProgramCopy() {
    const std::string folder = dir / "prog";
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(ProgramDir() + "/LedTaxBridgeA", folder + "/LedTaxBridgeA");
    WriteWholeFile(folder + "/ZenkitDef.ini", "[ProgramLevel]\r\nSY26=1\r\n");
    return folder;
  }

  // A ledger the program cannot use: exit 2, a message naming the file, no
  // report, and the ledger's bytes as they were (read before the damage
  // or the lock: closing any descriptor of the file drops this process's
  // SQLite locks on it).
  void ExpectRefusedLedger(const std::string& why, const std::string& before) {
    const ProgramResult r = Run(out());
    EXPECT_EQ(r.status, 2) << r.output;
    EXPECT_TRUE(Contains(r.output, "ledger.db")) << r.output;
    EXPECT_TRUE(Contains(r.output, why)) << r.output;
    EXPECT_FALSE(std::filesystem::exists(out()));
    EXPECT_TRUE(ReadWholeFile(ledgerFile()) == before) << "the ledger was changed";
  }

  TempDir dir;
};

TEST_F(BadInputTest, TruncatedLedgerIsRefusedAndKept) {
  const std::string whole = ReadWholeFile(ledgerFile());
  WriteWholeFile(ledgerFile(), whole.substr(0, whole.size() / 2));
  ExpectRefusedLedger("not a ledger database", whole.substr(0, whole.size() / 2));
}

TEST_F(BadInputTest, LedgerWithADamagedHeaderIsRefusedAndKept) {
  std::string bytes = ReadWholeFile(ledgerFile());
  bytes.replace(0, 32, std::string(32, '\x5a'));
  WriteWholeFile(ledgerFile(), bytes);
  ExpectRefusedLedger("not a ledger database", bytes);
}

TEST_F(BadInputTest, LedgerOfANewerSchemaIsRefusedAndKept) {
  SetLedger("UPDATE meta SET value = '2' WHERE key = 'schema_version'");
  ExpectRefusedLedger("schema version 2", ReadWholeFile(ledgerFile()));
}

// Another program holds the ledger's write lock for the whole run: the run
// waits a bounded time, then names the file and ends with an error.
TEST_F(BadInputTest, LedgerLockedByAnotherWriterEndsInBoundedTime) {
  const std::string before = ReadWholeFile(ledgerFile());
  sqlite3* writer = nullptr;
  ASSERT_EQ(sqlite3_open(ledgerFile().c_str(), &writer), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(writer,
                         "BEGIN EXCLUSIVE; UPDATE meta SET value = value "
                         "WHERE key = 'schema_version'",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  ExpectRefusedLedger("another program is writing to the ledger", before);
  sqlite3_exec(writer, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(writer);
}

TEST_F(BadInputTest, IniFileThatIsAFolderIsABrokenEnvironment) {
  const std::string folder = ProgramCopy();
  std::filesystem::remove(folder + "/ZenkitDef.ini");
  std::filesystem::create_directory(folder + "/ZenkitDef.ini");
  const ProgramResult r = Run(out(), folder + "/LedTaxBridgeA");
  EXPECT_EQ(r.status, 2) << r.output;
  EXPECT_TRUE(Contains(r.output, Utf8(u8"動作環境が不正です。"))) << r.output;
  EXPECT_FALSE(std::filesystem::exists(out()));
}

// 1 MB of support information: only the first 30000 bytes count, and an
// overlong product name is cut so that its line still fits.
TEST_F(BadInputTest, MegabyteSupportFileWithAnOverlongName) {
  const std::string folder = ProgramCopy();
  std::string inf = "[=製品名=]" + std::string(400, 'N') + "\r\n";
  while (inf.size() < 1024 * 1024) inf += std::string(78, 'x') + "\r\n";
  inf += "[=製品ﾊﾞｰｼﾞｮﾝ=]9.99\r\n";  // beyond the part that is read
  WriteWholeFile(folder + "/SUPPORT.INF", inf);
  const ProgramResult r = Run(out(), folder + "/LedTaxBridgeA");
  ASSERT_EQ(r.status, 0) << r.output;
  const std::string report = ReadWholeFile(out());
  const std::string name = Element(report, "PROGRAMNAME");
  EXPECT_FALSE(name.empty());
  EXPECT_EQ(name, std::string(name.size(), 'N'));
  EXPECT_EQ(Element(report, "PROGRAMVER"), "17.00.0X");
  EXPECT_LE(LongestLine(report), 255u);
}

// 1,000 bytes of company name become a whole-character prefix that fits
// its line; the rest of the report is complete.
TEST_F(BadInputTest, CompanyNameOfAThousandBytes) {
  std::string name;
  for (int i = 0; i < 500; ++i) name += "髙";
  ASSERT_EQ(name.size(), 1000u);
  SetCompanyName(name);
  const ProgramResult r = Run(out());
  ASSERT_EQ(r.status, 0) << r.output;
  const std::string report = ReadWholeFile(out());
  const std::string written = Element(report, "KOMONSAKINAME");
  EXPECT_FALSE(written.empty());
  EXPECT_EQ(written.size() % 2, 0u);
  EXPECT_EQ(name.rfind(written, 0), 0u);
  EXPECT_LE(LongestLine(report), 255u);
  EXPECT_TRUE(report.ends_with("</REPORT>\r\n"));
}

// Characters of the NEC and IBM extensions travel byte for byte into the
// report, and a folder named with them is created at its Linux path.
TEST_F(BadInputTest, ExtensionCharactersInCompanyNameAndOutputPath) {
  const std::string name = "①Ⅲ㈱髙﨑商事";
  SetCompanyName(name);
  const std::string folder = dir / platform::Cp932ToUtf8("出力①Ⅲ㈱髙﨑");
  const std::string file = folder + "/" + platform::Cp932ToUtf8("報告﨑.xml");
  const ProgramResult r = Run(file);  // the missing folder is created (Yes)
  ASSERT_EQ(r.status, 0) << r.output;
  ASSERT_TRUE(std::filesystem::exists(file)) << r.output;
  EXPECT_EQ(Element(ReadWholeFile(file), "KOMONSAKINAME"), name);
  // The remembered path is the CP932 form of the same path.
  const std::string settings = ReadWholeFile(dir / "home/.config/ledtaxbridge/LedTaxBridgeA.env");
  EXPECT_TRUE(Contains(settings, "出力①Ⅲ㈱髙﨑\\報告﨑.xml\n")) << settings;
}

// A read-only settings folder: the report is finished and the old settings
// file stays as it was.
TEST_F(BadInputTest, ReadOnlySettingsFolderKeepsTheOldFile) {
  const std::string folder = dir / "settings";
  std::filesystem::create_directories(folder);
  {
    std::string error;
    auto db = ledger::LedgerDb::Open(ledgerHome(), ledger::LedgerDb::Mode::kReadWrite, &error);
    ASSERT_TRUE(db) << error;
    ASSERT_TRUE(ledger::SetSetting(*db, "folder_settings",
                                   platform::UserPathToWindows(platform::DriveTable(), folder),
                                   &error))
        << error;
  }
  const std::string old = "user02/3/3:0/4/3/Z:\\theirs.xml\nuser01/1/1:0/5/6/Z:\\mine.xml\n";
  // With the lock file that an earlier run left, the rewrite gets as far as
  // writing.
  platform::testing::ReadOnlyFolder readOnly(
      folder, {{"LedTaxBridgeA.env", old}, {"LedTaxBridgeA.env.lock", ""}});
  if (!readOnly.ok()) GTEST_SKIP() << "cannot make a read-only folder here";
  const ProgramResult r = Run(out());
  EXPECT_EQ(r.status, 0) << r.output;
  EXPECT_TRUE(ReadWholeFile(out()).ends_with("</REPORT>\r\n"));
  EXPECT_TRUE(ReadWholeFile(folder + "/LedTaxBridgeA.env") == old);
  // The user is told, with the file and the reason (it used to be silent).
  const std::string file =
      platform::Cp932ToUtf8(platform::UserPathToWindows({}, folder + "/LedTaxBridgeA.env"));
  EXPECT_TRUE(Contains(r.output, "The settings file " + file + " could not be written: "))
      << r.output;
}

// A path holding a control character, from any option or the parent's
// line, is refused before anything runs, naming where it came from (a line
// feed in --output used to be stored and lead the next report elsewhere);
// a Linux folder with its final "/" is no file name, as its Windows form.
TEST_F(BadInputTest, ControlCharactersAndFolderPathsAreNoOutputFile) {
  const std::string folder = dir / "outdir";
  std::filesystem::create_directories(folder);
  struct Case {
    const char* what;
    std::vector<std::string> args;
    int status;
    std::string message;
  } cases[] = {
      {"--output with LF",
       {"--output", dir / "tax\n2016.xml"},
       2,
       "--output holds the control character 0x0A"},
      {"--output with CR",
       {"--output", dir / "tax.xml\r"},
       2,
       "--output holds the control character 0x0D"},
      {"--ledger with TAB",
       {"--ledger", ledgerHome() + "\t"},
       2,
       "--ledger holds the control character 0x09"},
      {"--drives with DEL",
       {"--drives", dir / "d\x7F"},
       2,
       "--drives holds the control character 0x7F"},
      {"parent line with LF",
       {"0,0,0," + out() + "\nx"},
       2,
       "the parent command line holds the control character 0x0A"},
      {"folder with its /",
       {"--output", folder + "/"},
       1,
       Utf8(u8"ファイル名が指定されていません。")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<std::string> args = {"--ledger", ledgerHome(), "--ui", "console",   "--method",
                                     "journal",  "--months",   "4-3",  "--execute", "--yes"};
    if (c.args[0] == "--ledger" || c.args[0] == "--drives") {
      args.insert(args.end(), {"--output", out()});
    }
    if (c.args[0] == "--ledger") args.erase(args.begin(), args.begin() + 2);
    args.insert(args.end(), c.args.begin(), c.args.end());
    const ProgramResult r = RunProgram(ProgramDir() + "/LedTaxBridgeA", args, Environment(), 30);
    EXPECT_EQ(r.status, c.status) << r.output;
    EXPECT_TRUE(Contains(r.output, c.message)) << r.output;
    EXPECT_FALSE(std::filesystem::exists(out()));
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_TRUE(std::filesystem::is_empty(folder));
    EXPECT_FALSE(std::filesystem::exists(dir / "home/.config/ledtaxbridge/LedTaxBridgeA.env"));
  }
}

// The drive table is read only from a regular file of sane size, from the
// option and the variable alike: a FIFO used to hang the run, /dev/zero to
// fill the memory, and a folder was taken for an empty table.
TEST_F(BadInputTest, ADriveTableThatIsNoRegularFileEndsTheRunAtOnce) {
  ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
  WriteWholeFile(dir / "huge", std::string(2 << 20, '#'));
  const std::pair<std::string, const char*> files[] = {
      {dir / "fifo", "is not a regular file"},
      {"/dev/zero", "is not a regular file"},
      {dir / "home", "is not a regular file"},
      {dir / "huge", "is larger than 1048576 bytes"},
  };
  for (const auto& [file, message] : files) {
    for (const bool variable : {false, true}) {
      SCOPED_TRACE(file + (variable ? " in LTB_DRIVES" : " in --drives"));
      std::map<std::string, std::string> env = Environment();
      std::vector<std::string> args = {"--ledger", ledgerHome(), "--compare"};
      if (variable) {
        env["LTB_DRIVES"] = file;
      } else {
        args.insert(args.end(), {"--drives", file});
      }
      const ProgramResult r = RunProgram(ProgramDir() + "/LedTaxBridgeA", args, env, 30);
      EXPECT_EQ(r.status, 2) << r.output;
      EXPECT_TRUE(Contains(r.output, message)) << r.output;
    }
  }
}

// Asked for help or the version with nowhere to write it, the program says
// so with status 2 (it used to end with 0).
TEST_F(BadInputTest, HelpAndVersionThatCannotBeWrittenAreAnError) {
  for (const char* option : {"--help", "--version"}) {
    SCOPED_TRACE(option);
    StartedProgram started =
        StartProgram(ProgramDir() + "/LedTaxBridgeA", {option}, Environment(), "exec >/dev/full;");
    const ProgramResult r = FinishProgram(started, 30);
    EXPECT_EQ(r.status, 2) << r.output;
    EXPECT_TRUE(Contains(r.output, "could not be written")) << r.output;
  }
}

// A ledger this user may not read is named as such, with the reason (it
// used to be reported as missing).
TEST_F(BadInputTest, AnUnreadableLedgerIsNamedUnreadable) {
  if (geteuid() == 0) GTEST_SKIP() << "the superuser reads every file";
  ASSERT_EQ(chmod(ledgerFile().c_str(), 0), 0);
  const ProgramResult r = Run(out());
  chmod(ledgerFile().c_str(), 0644);
  EXPECT_EQ(r.status, 2) << r.output;
  EXPECT_TRUE(Contains(r.output, "cannot be read: Permission denied")) << r.output;
  EXPECT_FALSE(Contains(r.output, "does not exist")) << r.output;
}

// A drive mapped to the root of a read-only mount of a fixed disk is no
// usable drive (M4), as a write-protected volume is not on Windows. The
// mount is made in a mount namespace of the run's own.
TEST_F(BadInputTest, ADriveOnAReadOnlyMountIsRefused) {
  const std::string root = dir / "volume";
  std::filesystem::create_directories(root);
  if (platform::ProbeDriveType(root) != platform::DriveType::kFixed) {
    GTEST_SKIP() << "the test folder is on no fixed disk";
  }
  if (RunProgram("/usr/bin/unshare", {"-Urm", "sh", "-c", "mount --bind -o ro \"$0\" \"$0\"", root},
                 {}, 30)
          .status != 0) {
    GTEST_SKIP() << "no mount namespaces here";
  }
  WriteWholeFile(dir / "drives", "D: " + root + "\n");
  std::vector<std::string> args = {"-Urm",      "sh",
                                   "-c",        "mount --bind -o ro \"$0\" \"$0\" && exec \"$@\"",
                                   root,        ProgramDir() + "/LedTaxBridgeA",
                                   "--drives",  dir / "drives",
                                   "--ledger",  ledgerHome(),
                                   "--ui",      "console",
                                   "--method",  "journal",
                                   "--months",  "4-3",
                                   "--output",  "D:\\report.xml",
                                   "--execute", "--yes"};
  const ProgramResult r = RunProgram("/usr/bin/unshare", args, Environment(), 30);
  EXPECT_EQ(r.status, 1) << r.output;
  EXPECT_TRUE(Contains(r.output, Utf8(u8"ドライブ名が有効でありません。"))) << r.output;
  EXPECT_TRUE(std::filesystem::is_empty(root));
}

// A read-only output folder: every section fails, the user is told, and
// the run is an error even though every question was answered Yes.
TEST_F(BadInputTest, ReadOnlyOutputFolderIsAnError) {
  const std::string folder = dir / "readonly";
  std::filesystem::create_directories(folder);
  platform::testing::ReadOnlyFolder readOnly(folder);
  if (!readOnly.ok()) GTEST_SKIP() << "cannot make a read-only folder here";
  const ProgramResult r = Run(folder + "/report.xml");
  EXPECT_EQ(r.status, 2) << r.output;
  EXPECT_TRUE(Contains(r.output, Utf8(u8"システム情報の出力に失敗しました。"))) << r.output;
  EXPECT_TRUE(Contains(r.output, Utf8(u8"出力ファイルを最後まで書き込めませんでした。")))
      << r.output;
  EXPECT_FALSE(Contains(r.output, Utf8(u8"消費税情報の出力が終了しました。"))) << r.output;
  EXPECT_FALSE(std::filesystem::exists(folder + "/report.xml"));
}

}  // namespace
}  // namespace ltb::e2e
