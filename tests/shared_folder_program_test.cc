// The real program where users meet each other and the operating system:
// a settings folder shared by colleagues who finish at the same moment,
// names planted in shared folders, interrupted runs, resource limits,
// amounts past the 64-bit range and ledger text that XML cannot carry.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "ledger/ledger_db.h"
#include "ledger/ledger_host.h"
#include "ledger/ledger_writer.h"
#include "platform/win_path.h"
#include "tests/program_runner.h"

namespace ltb::e2e {
namespace {

namespace fs = std::filesystem;

// The names in a folder.
std::vector<std::string> Entries(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename());
  return names;
}

// The settings file's lines that start with "user/".
std::map<std::string, std::string> RecordsByUser(const std::string& text) {
  std::map<std::string, std::string> records;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) records[line.substr(0, line.find('/'))] = line;
  return records;
}

constexpr int kUsers = 20;

std::string UserName(int i) { return "u" + std::to_string(100 + i).substr(1); }

class SharedFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir / "home");
    fs::create_directories(shared());
    fs::create_directories(outDir());
    std::string error;
    ASSERT_TRUE(ledger::CreateSampleLedger(ledgerHome(), &error)) << error;
    auto db = ledger::LedgerDb::Open(ledgerHome(), ledger::LedgerDb::Mode::kReadWrite, &error);
    ASSERT_TRUE(db) << error;
    ASSERT_TRUE(ledger::SetSetting(*db, "folder_settings",
                                   platform::UserPathToWindows(platform::DriveTable(), shared()),
                                   &error))
        << error;
    for (int i = 0; i < kUsers; ++i) ASSERT_TRUE(ledger::AddUser(*db, UserName(i), 1, &error));
  }

  std::string ledgerHome() const { return dir / "ledger"; }
  std::string shared() const { return dir / "shared"; }
  std::string outDir() const { return dir / "out"; }
  std::string settingsFile() const { return dir / "shared/LedTaxBridgeA.env"; }
  std::string out() const { return dir / "out/report.xml"; }

  std::map<std::string, std::string> Environment(const std::string& user) const {
    return {{"HOME", dir / "home"},
            {"XDG_DATA_HOME", dir / "home/.local/share"},
            {"XDG_CONFIG_HOME", dir / "home/.config"},
            {"LEDORA_HOME", ""},
            {"LEDORA_USER", user},
            {"LTB_DRIVES", ""},
            // The messages checked here are the English ones.
            {"LC_ALL", "C"}};
  }
  std::vector<std::string> Args(const std::string& method, const std::string& output) const {
    std::vector<std::string> args = {"--ledger", ledgerHome(), "--ui", "console",   "--method",
                                     method,     "--output",   output, "--execute", "--yes"};
    if (method == "journal") args.insert(args.end(), {"--months", "4-3"});
    return args;
  }
  StartedProgram Start(const std::string& method, const std::string& output,
                       const std::string& user = "user01", const std::string& shellPrefix = "") {
    return StartProgram(ProgramDir() + "/LedTaxBridgeA", Args(method, output), Environment(user),
                        shellPrefix);
  }
  ProgramResult Run(const std::string& method, const std::string& output,
                    const std::string& user = "user01", const std::string& shellPrefix = "") {
    StartedProgram started = Start(method, output, user, shellPrefix);
    return FinishProgram(started, 60);
  }

  TempDir dir;
};

// Twenty colleagues finish at the same moment, three times: every record
// is kept, each with its latest values, and a stranger's record survives.
// In the last round all twenty write the same report: one whole report
// stays, and no temporary file.
TEST_F(SharedFolderTest, ConcurrentRunsKeepEveryRecord) {
  const std::string stranger = "keep/9/9:0/4/3/Z:\\elsewhere\\theirs.xml";
  WriteWholeFile(settingsFile(), stranger + "\n");
  for (int round = 1; round <= 3; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    std::vector<StartedProgram> runs;
    for (int i = 0; i < kUsers; ++i) {
      const std::string output =
          round == 3 ? outDir() + "/common.xml"
                     : outDir() + "/" + UserName(i) + "_" + std::to_string(round) + ".xml";
      runs.push_back(Start(round == 2 ? "journal" : "return", output, UserName(i)));
    }
    for (StartedProgram& run : runs) {
      ProgramResult r = FinishProgram(run, 120);
      EXPECT_EQ(r.status, 0) << r.output;
    }
    const std::map<std::string, std::string> records = RecordsByUser(ReadWholeFile(settingsFile()));
    EXPECT_EQ(records.size(), static_cast<size_t>(kUsers + 1));
    EXPECT_EQ(records.count("keep") ? records.at("keep") : "", stranger);
    for (int i = 0; i < kUsers; ++i) {
      const std::string u = UserName(i);
      const std::string tail =
          round == 3 ? "\\common.xml" : "\\" + u + "_" + std::to_string(round) + ".xml";
      const std::string line = records.count(u) ? records.at(u) : "<missing>";
      EXPECT_TRUE(line.ends_with(tail)) << line;
    }
  }
  // The same method and dataset give the same report, whoever wrote it.
  EXPECT_TRUE(ReadWholeFile(outDir() + "/common.xml") ==
              ReadWholeFile(outDir() + "/" + UserName(0) + "_1.xml"));
  EXPECT_EQ(Entries(outDir()).size(), 2u * kUsers + 1);
  // Only the file and its lock stay in the shared folder.
  std::vector<std::string> names = Entries(shared());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"LedTaxBridgeA.env", "LedTaxBridgeA.env.lock"}));
}

// A link, a FIFO, a device or a folder planted at the settings name is
// neither followed nor replaced: the run finishes without remembering and
// says why; the file the link points at is untouched.
TEST_F(SharedFolderTest, NamesPlantedAtTheSettingsFileAreLeftAlone) {
  const fs::path victim = dir / "victim.txt";
  WriteWholeFile(victim, "only the victim may read this\n");
  struct Plant {
    const char* what;
    std::function<void(const std::string&)> make;
    fs::file_type type;
  } plants[] = {
      {"link to a private file", [&](const std::string& p) { fs::create_symlink(victim, p); },
       fs::file_type::symlink},
      {"link to /dev/zero", [](const std::string& p) { fs::create_symlink("/dev/zero", p); },
       fs::file_type::symlink},
      {"FIFO", [](const std::string& p) { ASSERT_EQ(mkfifo(p.c_str(), 0666), 0); },
       fs::file_type::fifo},
      {"folder", [](const std::string& p) { fs::create_directory(p); }, fs::file_type::directory},
  };
  for (const Plant& plant : plants) {
    SCOPED_TRACE(plant.what);
    fs::remove_all(settingsFile());
    plant.make(settingsFile());
    ProgramResult r = Run("return", out());
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_TRUE(Contains(r.output, "is not a regular file")) << r.output;
    EXPECT_EQ(fs::symlink_status(settingsFile()).type(), plant.type);
    EXPECT_EQ(ReadWholeFile(victim), "only the victim may read this\n");
    std::vector<std::string> names = Entries(shared());
    EXPECT_EQ(names.size(), 2u) << "a temporary file stayed";  // the plant and the lock
  }
}

// In the output folder: a FIFO at the report's name is refused before any
// writing, without the run waiting for a reader; a link there is replaced by
// the report, never written through.
TEST_F(SharedFolderTest, NamesPlantedAtTheReportAreNeitherWrittenThroughNorWaitedOn) {
  ASSERT_EQ(mkfifo(out().c_str(), 0666), 0);
  ProgramResult r = Run("return", out());
  EXPECT_EQ(r.status, 2) << r.output;
  EXPECT_TRUE(Contains(r.output, Utf8(u8"ファイルでもフォルダでもないもの"))) << r.output;
  EXPECT_EQ(fs::symlink_status(out()).type(), fs::file_type::fifo);
  EXPECT_EQ(Entries(outDir()).size(), 1u);

  fs::remove(out());
  const fs::path victim = dir / "victim.xml";
  WriteWholeFile(victim, "someone else's file\n");
  fs::create_symlink(victim, out());
  r = Run("return", out());
  EXPECT_EQ(r.status, 0) << r.output;
  EXPECT_EQ(ReadWholeFile(victim), "someone else's file\n");
  EXPECT_EQ(fs::symlink_status(out()).type(), fs::file_type::regular);
  EXPECT_TRUE(ReadWholeFile(out()).ends_with("</REPORT>\r\n"));
}

// A colleague's shared settings file stays shared: a run with a narrow
// umask keeps its permission bits and its group.
TEST_F(SharedFolderTest, ARewriteKeepsTheModeAndGroupOfTheSettingsFile) {
  WriteWholeFile(settingsFile(), "keep/9/9:0/4/3/Z:\\x.xml\n");
  ASSERT_EQ(chmod(settingsFile().c_str(), 0664), 0);
  // A group other than this process's own that it may give a file: any for
  // the superuser, else one of its supplementary groups.
  gid_t group = getegid();
  if (geteuid() == 0) {
    group = getegid() + 4242;
  } else {
    gid_t groups[64];
    const int n = getgroups(64, groups);
    for (int i = 0; i < n; ++i) {
      if (groups[i] != getegid()) group = groups[i];
    }
  }
  ASSERT_EQ(chown(settingsFile().c_str(), static_cast<uid_t>(-1), group), 0);
  ProgramResult r = Run("return", out(), "user01", "umask 077;");
  ASSERT_EQ(r.status, 0) << r.output;
  struct stat st;
  ASSERT_EQ(stat(settingsFile().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0664u);
  EXPECT_EQ(st.st_gid, group);
  EXPECT_TRUE(Contains(ReadWholeFile(settingsFile()), "user01/"));
}

// A group other than this process's own that it may give a file: any for
// the superuser, else one of its supplementary groups (its own when it has
// none).
gid_t AnotherGroup() {
  if (geteuid() == 0) return getegid() + 4242;
  gid_t groups[64];
  const int n = getgroups(64, groups);
  for (int i = 0; i < n; ++i) {
    if (groups[i] != getegid()) return groups[i];
  }
  return getegid();
}

mode_t ModeOf(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

// A report written again keeps the permission bits and group the previous
// one was given (it used to come back 0644, readable by everyone); a new one
// has the ordinary mode; one made read-only is kept, and the run says so.
TEST_F(SharedFolderTest, AReportRewriteKeepsItsModeAndGroupAndAReadOnlyOneIsKept) {
  ProgramResult r = Run("return", out(), "user01", "umask 022;");
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_EQ(ModeOf(out()), 0644u);
  const gid_t group = AnotherGroup();
  ASSERT_EQ(chown(out().c_str(), static_cast<uid_t>(-1), group), 0);
  ASSERT_EQ(chmod(out().c_str(), 0640), 0);
  r = Run("return", out(), "user01", "umask 022;");
  ASSERT_EQ(r.status, 0) << r.output;
  struct stat st;
  ASSERT_EQ(stat(out().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(st.st_gid, group);

  WriteWholeFile(out(), "kept\r\n");
  ASSERT_EQ(chmod(out().c_str(), 0444), 0);
  r = Run("return", out());
  EXPECT_EQ(r.status, 2) << r.output;
  EXPECT_TRUE(Contains(r.output, "is read-only for you")) << r.output;
  EXPECT_EQ(ReadWholeFile(out()), "kept\r\n");
  EXPECT_EQ(ModeOf(out()), 0444u);
  EXPECT_EQ(Entries(outDir()).size(), 1u);
}

// A settings file made in a folder colleagues share (group-writable) is
// theirs to read and write too, whatever its maker's umask; in a private
// folder the umask holds. A file this user cannot read is named with its
// owner.
TEST_F(SharedFolderTest, ASettingsFileMadeInASharedFolderIsTheGroupsWhateverTheUmask) {
  ASSERT_EQ(chmod(shared().c_str(), 02775), 0);
  ProgramResult r = Run("return", out(), "user01", "umask 077;");
  ASSERT_EQ(r.status, 0) << r.output;
  struct stat st, folder;
  ASSERT_EQ(stat(settingsFile().c_str(), &st), 0);
  ASSERT_EQ(stat(shared().c_str(), &folder), 0);
  EXPECT_EQ(st.st_mode & 07777, 0660u);
  EXPECT_EQ(st.st_gid, folder.st_gid);

  fs::remove(settingsFile());
  ASSERT_EQ(chmod(shared().c_str(), 0755), 0);
  r = Run("return", out(), "user01", "umask 077;");
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_EQ(ModeOf(settingsFile()), 0600u);

  if (geteuid() == 0) return;  // the superuser reads every file
  ASSERT_EQ(chmod(settingsFile().c_str(), 0), 0);
  r = Run("return", out());
  EXPECT_EQ(r.status, 0) << r.output;
  const struct passwd* me = getpwuid(geteuid());
  ASSERT_NE(me, nullptr);
  EXPECT_TRUE(Contains(r.output, std::string("(owner: ") + me->pw_name + ") cannot be read"))
      << r.output;
}

// A link planted at the lock file's name is never followed: the file it
// points at keeps its private mode and its contents.
TEST_F(SharedFolderTest, ALinkPlantedAtTheLockNameLeavesItsTargetPrivate) {
  const std::string victim = dir / "private.txt";
  WriteWholeFile(victim, "mine alone\n");
  ASSERT_EQ(chmod(victim.c_str(), 0600), 0);
  fs::create_symlink(victim, settingsFile() + ".lock");
  const ProgramResult r = Run("return", out());
  EXPECT_EQ(r.status, 0) << r.output;
  EXPECT_TRUE(Contains(r.output, "could not be locked")) << r.output;
  EXPECT_EQ(ModeOf(victim), 0600u);
  EXPECT_EQ(ReadWholeFile(victim), "mine alone\n");
  EXPECT_EQ(fs::symlink_status(settingsFile() + ".lock").type(), fs::file_type::symlink);
}

// True when the process has a file open inside folder (its report being
// written, with or without a name yet).
bool WritesIn(int pid, const std::string& folder) {
  std::error_code ec;
  for (const auto& e : fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd", ec)) {
    const std::string target = fs::read_symlink(e.path(), ec).string();
    if (!ec && target.starts_with(folder + "/")) return true;
  }
  return false;
}

bool Exited(int pid) {
  const std::string stat = ReadWholeFile("/proc/" + std::to_string(pid) + "/stat");
  const size_t paren = stat.rfind(')');
  return paren == std::string::npos || stat.compare(paren + 2, 1, "Z") == 0;
}

// A signal that ends the run while the report is being written, SIGKILL,
// SIGQUIT, SIGUSR1 and SIGALRM included, leaves no partial report behind,
// named or hidden, and the previous report stays byte for byte.
TEST_F(SharedFolderTest, NoSignalLeavesAPartialReportBehind) {
  const std::string previous = "<?xml version=\"1.0\"?>\r\n<REPORT>previous</REPORT>\r\n";
  // No process can act on SIGKILL: only a file system with unnamed files
  // (O_TMPFILE: ext4, xfs, btrfs, tmpfs) keeps the report hidden until whole.
  const int probe = open(outDir().c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
  const bool unnamedFiles = probe >= 0;
  if (probe >= 0) close(probe);
  for (int sig : {SIGKILL, SIGQUIT, SIGUSR1, SIGALRM}) {
    SCOPED_TRACE("signal " + std::to_string(sig));
    if (sig == SIGKILL && !unnamedFiles) continue;
    bool interrupted = false;
    for (int attempt = 0; attempt < 10 && !interrupted; ++attempt) {
      WriteWholeFile(out(), previous);
      StartedProgram started = Start("journal", out(), "user01", "ulimit -c 0;");
      while (!WritesIn(started.pid, outDir()) && !Exited(started.pid)) {
      }
      kill(started.pid, sig);
      const ProgramResult r = FinishProgram(started, 60);
      const std::string report = ReadWholeFile(out());
      EXPECT_TRUE(report == previous || report.ends_with("</REPORT>\r\n")) << report.size();
      // A SIGKILL in the moment between the whole report being given its
      // hidden name and its rename leaves that hidden file: whole, never
      // partial. Any other leftover is a fault.
      for (const std::string& name : Entries(outDir())) {
        if (name == "report.xml") continue;
        const bool wholeHidden = sig == SIGKILL && name.starts_with(".~ltb") &&
                                 ReadWholeFile(outDir() + "/" + name).ends_with("</REPORT>\r\n");
        EXPECT_TRUE(wholeHidden) << name;
        fs::remove(outDir() + "/" + name);
      }
      interrupted = r.signal == sig && report == previous;
    }
    EXPECT_TRUE(interrupted) << "the run always finished before the signal";
  }
}

// Stopped while the report is being written, by a signal or by the
// file-size limit: the previous report stays byte for byte, no temporary
// file is left, and nothing is remembered.
TEST_F(SharedFolderTest, AnInterruptedReportLeavesThePreviousOneWhole) {
  const std::string previous = "<?xml version=\"1.0\"?>\r\n<REPORT>previous</REPORT>\r\n";
  for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
    SCOPED_TRACE("signal " + std::to_string(sig));
    WriteWholeFile(out(), previous);
    // The signal goes the moment the report is being written (the
    // temporary file may have no name yet, so the program's open files
    // tell). A run that was already past its report keeps its new, whole
    // report; one stopped in the middle keeps the previous one. Tried until
    // the middle is met.
    bool interrupted = false;
    for (int attempt = 0; attempt < 10 && !interrupted; ++attempt) {
      WriteWholeFile(out(), previous);
      StartedProgram started = Start("journal", out());
      while (!WritesIn(started.pid, outDir()) && !Exited(started.pid)) {
      }
      kill(started.pid, sig);
      ProgramResult r = FinishProgram(started, 60);
      const std::string report = ReadWholeFile(out());
      EXPECT_TRUE(report == previous || report.ends_with("</REPORT>\r\n")) << report.size();
      EXPECT_EQ(Entries(outDir()).size(), 1u) << "a temporary file stayed";
      interrupted = r.signal == sig && report == previous;
      if (interrupted) {
        EXPECT_FALSE(fs::exists(settingsFile())) << "remembered";
      }
      fs::remove(settingsFile());
    }
    EXPECT_TRUE(interrupted) << "the run always finished before the signal";
  }

  // 16 blocks of 512 bytes: the ledger opens, the report does not fit.
  WriteWholeFile(out(), previous);
  ProgramResult r = Run("journal", out(), "user01", "ulimit -f 16;");
  EXPECT_EQ(r.status, 2) << r.output;
  EXPECT_EQ(r.signal, 0) << "killed by the file-size limit";
  EXPECT_TRUE(Contains(r.output, Utf8(u8"出力ファイルを最後まで書き込めませんでした"))) << r.output;
  EXPECT_TRUE(ReadWholeFile(out()) == previous);
  EXPECT_EQ(Entries(outDir()).size(), 1u);
  EXPECT_FALSE(fs::exists(settingsFile()));
}

// Two entries whose sum leaves the 64-bit range, at each rate: the run
// ends with the overflow message and status 2, writes no report and
// remembers nothing: neither the first entry's figures as the total nor a
// message that the run finished.
TEST_F(SharedFolderTest, AnOverflowingJournalEndsWithoutAReport) {
  for (int rate : {800, 500, 300}) {
    SCOPED_TRACE("rate " + std::to_string(rate));
    TempDir home;
    const std::string ledgerAt = home / "ledger";
    std::string error;
    ASSERT_TRUE(ledger::CreateSampleLedger(ledgerAt, &error)) << error;
    {
      auto db = ledger::LedgerDb::Open(ledgerAt, ledger::LedgerDb::Mode::kReadWrite, &error);
      ASSERT_TRUE(db) << error;
      ASSERT_TRUE(ledger::SetSetting(*db, "folder_settings",
                                     platform::UserPathToWindows(platform::DriveTable(), shared()),
                                     &error));
      for (long n : {90001L, 90002L}) {
        ledger::JournalRow row;
        row.entryNo = n;
        row.date = 20160415;
        row.description = "huge sale";
        row.debit = {135, 0, 0, 0, 0, 0, 0};
        row.credit = {411, 0, 5'000'000'000'000'000'000, 0, 1, rate, 1};  // 5 x 10^14 yen
        row.debit.amount = row.credit.amount;
        ASSERT_TRUE(ledger::AddJournal(*db, 1, row, &error)) << error;
      }
    }
    std::vector<std::string> args = Args("journal", out());
    args[1] = ledgerAt;
    ProgramResult r = RunProgram(ProgramDir() + "/LedTaxBridgeA", args, Environment("user01"));
    EXPECT_EQ(r.status, 2) << r.output;
    EXPECT_TRUE(Contains(r.output, Utf8(u8"金額が計算できる範囲を超えました"))) << r.output;
    EXPECT_FALSE(fs::exists(out()));
    EXPECT_FALSE(fs::exists(settingsFile()));
  }
}

// Control characters in the company name reach the report as spaces, and
// the report parses.
TEST_F(SharedFolderTest, ControlCharactersInLedgerTextKeepTheReportWellFormed) {
  {
    std::string error;
    auto db = ledger::LedgerDb::Open(ledgerHome(), ledger::LedgerDb::Mode::kReadWrite, &error);
    ASSERT_TRUE(db) << error;
    ASSERT_TRUE(
        db->Exec("UPDATE datasets SET company_name = "
                 "'Ctrl' || char(1) || 'Esc' || char(27) || '[31mDel' || char(127) || 'End' "
                 "WHERE no = 1",
                 &error))
        << error;
  }
  for (const char* method : {"journal", "return"}) {
    SCOPED_TRACE(method);
    ProgramResult r = Run(method, out());
    ASSERT_EQ(r.status, 0) << r.output;
    const std::string report = ReadWholeFile(out());
    for (unsigned char c : report) {
      EXPECT_TRUE(c >= 0x20 ? c != 0x7F : c == '\t' || c == '\r' || c == '\n') << int{c};
    }
    ProgramResult lint = RunProgram("/usr/bin/xmllint", {"--noout", out()}, {});
    EXPECT_EQ(lint.status, 0) << lint.output;
  }
}

}  // namespace
}  // namespace ltb::e2e
