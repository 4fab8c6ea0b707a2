#include "dialog/remembered_settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "dialog/testing/temp_drive_env.h"

namespace ltb::dialog {
namespace {

using testing::TempDriveEnv;

std::string Slurp(const std::string& linuxPath) {
  std::ifstream f(linuxPath, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

TEST(SettingsRecordTest, LineFormatAndLookup) {
  const std::string key = SettingsKey("U001", 1, 3);
  EXPECT_EQ(key, "U001/1/3:");
  EXPECT_EQ(SettingsLine(key, 0, 4, 3, "C:\\out\\tax.xml"), "U001/1/3:0/4/3/C:\\out\\tax.xml\n");

  RememberedRecord r;
  ASSERT_TRUE(FindRememberedRecord("X/1/3:1/1/2/a\nU001/1/3:0/4/3/C:\\o/t.xml\n", key, &r));
  EXPECT_EQ(r.mode, 0);
  EXPECT_EQ(r.startMonth, 4);
  EXPECT_EQ(r.endMonth, 3);
  EXPECT_EQ(r.outputPath, "C:\\o/t.xml");  // everything after the third "/"
  // Damaged record (fewer than three "/"): not found.
  EXPECT_FALSE(FindRememberedRecord("U001/1/3:0/4\n", key, &r));
  // Last line without LF.
  ASSERT_TRUE(FindRememberedRecord("U001/1/3:1/x/12/", key, &r));
  EXPECT_EQ(r.mode, 1);
  EXPECT_EQ(r.startMonth, 0);
  EXPECT_EQ(r.outputPath, "");
  // A record holding a control character anywhere (a CR before its LF, a
  // zero byte, a TAB, DEL) is ignored as a whole: it may lead elsewhere.
  for (const std::string& bad : std::vector<std::string>{
           "U001/1/3:0/4/3/C:\\o\\t.xml\r\n", "U001/1/3:0/4/3/C:\\a\tb.xml\n",
           std::string("U001/1/3:0/4/3/C:\\a\0\\b.xml\n", 27), "U001/1/3:0\x7F/4/3/C:\\x.xml\n"}) {
    EXPECT_FALSE(FindRememberedRecord(bad, key, &r)) << bad;
  }
}

TEST(SettingsRecordTest, KeyMatchesOnlyAtLineStart) {
  // "XU001/1/3:" ends with U001's key; it must not be taken for U001's.
  const std::string text = "XU001/1/3:0/5/6/C:\\other.xml\n";
  RememberedRecord r;
  EXPECT_FALSE(FindRememberedRecord(text, SettingsKey("U001", 1, 3), &r));
  const std::string replaced =
      ReplaceRememberedRecord(text, SettingsKey("U001", 1, 3), "U001/1/3:0/4/3/a\n");
  EXPECT_EQ(replaced, text + "U001/1/3:0/4/3/a\n");
}

TEST(SettingsRecordTest, ReplacementMovesTheLineToTheEndAndKeepsOthers) {
  const std::string text = "A/1/1:0/4/3/p\nB/1/1:0/4/3/q\r\nC/1/1:1/1/2/\x95\x5C\n";
  EXPECT_EQ(ReplaceRememberedRecord(text, "B/1/1:", "B/1/1:1/5/6/new\n"),
            "A/1/1:0/4/3/p\nC/1/1:1/1/2/\x95\x5C\nB/1/1:1/5/6/new\n");
  // A damaged record is replaced whole.
  EXPECT_EQ(ReplaceRememberedRecord("B/1/1:junk\nA/1/1:0/1/1/x\n", "B/1/1:", "B/1/1:0/1/1/y\n"),
            "A/1/1:0/1/1/x\nB/1/1:0/1/1/y\n");
  // A last line without LF does not run into the new record.
  EXPECT_EQ(ReplaceRememberedRecord("A/1/1:0/1/1/x", "B/1/1:", "B/1/1:0/1/1/y\n"),
            "A/1/1:0/1/1/x\nB/1/1:0/1/1/y\n");
}

TEST(SettingsFileTest, FirstRunCreatesFolderAndFileThenReplaces) {
  TempDriveEnv env;
  const std::string folder = "C:\\settings\\deep\\";
  ASSERT_TRUE(
      StoreRememberedRecord(env, folder, "LedTaxBridgeA.env", "U/1/2:", "U/1/2:0/4/3/C:\\a.xml\n")
          .ok());
  EXPECT_EQ(Slurp(env.Linux("C:\\settings\\deep\\LedTaxBridgeA.env")), "U/1/2:0/4/3/C:\\a.xml\n");
  ASSERT_TRUE(
      StoreRememberedRecord(env, folder, "LedTaxBridgeA.env", "V/1/2:", "V/1/2:1/1/1/\n").ok());
  ASSERT_TRUE(
      StoreRememberedRecord(env, folder, "LedTaxBridgeA.env", "U/1/2:", "U/1/2:0/5/6/C:\\b.xml\n")
          .ok());
  EXPECT_EQ(Slurp(env.Linux("C:\\settings\\deep\\LedTaxBridgeA.env")),
            "V/1/2:1/1/1/\nU/1/2:0/5/6/C:\\b.xml\n");
  RememberedRecord r;
  ASSERT_TRUE(LoadRememberedRecord(env, folder + "LedTaxBridgeA.env", "U/1/2:", &r));
  EXPECT_EQ(r.outputPath, "C:\\b.xml");
  EXPECT_FALSE(LoadRememberedRecord(env, folder + "missing.env", "U/1/2:", &r));
  EXPECT_FALSE(StoreRememberedRecord(env, "", "x.env", "U/1/2:", "U/1/2:0/1/1/\n").ok());
}

TEST(SettingsFileTest, LargeFilesAndLongRecordsSurviveWhole) {
  TempDriveEnv env;
  std::string others;
  for (int i = 0; others.size() < 40000; ++i) {
    others += "user" + std::to_string(i) + "/1/1:0/4/3/C:\\" + std::string(300, 'p') + "\n";
  }
  std::filesystem::create_directories(env.Linux("C:\\s"));
  { std::ofstream(env.Linux("C:\\s\\f.env"), std::ios::binary) << others; }
  const std::string longKey = SettingsKey(std::string(64, 'k'), 123456789, 987654321);
  const std::string longLine = SettingsLine(longKey, 0, 4, 3, "C:\\" + std::string(600, 'z'));
  ASSERT_TRUE(StoreRememberedRecord(env, "C:\\s\\", "f.env", longKey, longLine).ok());
  EXPECT_EQ(Slurp(env.Linux("C:\\s\\f.env")), others + longLine);
  RememberedRecord r;
  ASSERT_TRUE(LoadRememberedRecord(env, "C:\\s\\f.env", longKey, &r));
  EXPECT_EQ(r.outputPath.size(), 260u);  // the path buffer's limit, cut cleanly
}

TEST(SettingsFileTest, FailedWriteOrRenameLeavesTheOldFileWhole) {
  TempDriveEnv env;
  const std::string old = "A/1/1:0/4/3/p\nB/1/1:0/4/3/q\n";
  std::filesystem::create_directories(env.Linux("C:\\s"));
  { std::ofstream(env.Linux("C:\\s\\f.env"), std::ios::binary) << old; }
  // The new text's write: half of it reaches the disk, then the disk is full.
  // (Points 1 and 2 are the lock and the temporary file's creation.)
  env.SetPartialAppend(true);
  env.FailAt(3);
  EXPECT_FALSE(StoreRememberedRecord(env, "C:\\s\\", "f.env", "B/1/1:", "B/1/1:1/1/1/x\n").ok());
  EXPECT_EQ(Slurp(env.Linux("C:\\s\\f.env")), old);
  // The rename, after the write, flush, sync and close of the new text.
  env.FailAt(7);
  EXPECT_FALSE(StoreRememberedRecord(env, "C:\\s\\", "f.env", "B/1/1:", "B/1/1:1/1/1/x\n").ok());
  EXPECT_EQ(Slurp(env.Linux("C:\\s\\f.env")), old);
  // A lock or a temporary file that cannot be made changes nothing either.
  for (int point : {1, 2}) {
    env.FailAt(point);
    EXPECT_FALSE(StoreRememberedRecord(env, "C:\\s\\", "f.env", "B/1/1:", "B/1/1:1/1/1/x\n").ok());
    EXPECT_EQ(Slurp(env.Linux("C:\\s\\f.env")), old);
  }
  // No stray temporary file is left behind; the lock file stays for the
  // next run.
  int entries = 0;
  for (const auto& e : std::filesystem::directory_iterator(env.Linux("C:\\s"))) {
    if (e.path().filename() != "f.env.lock") ++entries;
  }
  EXPECT_EQ(entries, 1);
}

}  // namespace
}  // namespace ltb::dialog

namespace ltb::dialog {
namespace {

// Damaged, overlong and binary lines, and bytes that are not valid CP932:
// the record is read safely or not at all, and every other line is kept
// byte for byte when the record is replaced.
TEST(SettingsRecordTest, DamagedOverlongAndBinaryLines) {
  using namespace std::string_view_literals;
  const std::string key = "u1/1/1:";
  RememberedRecord r;

  // Fewer than three "/": not found, and replaced as a whole.
  const std::string damaged = "u1/1/1:0/4\nu2/1/1:0/4/3/Z:\\b.xml\n";
  EXPECT_FALSE(FindRememberedRecord(damaged, key, &r));
  EXPECT_EQ(ReplaceRememberedRecord(damaged, key, "u1/1/1:1/4/3/Z:\\n.xml\n"),
            "u2/1/1:0/4/3/Z:\\b.xml\nu1/1/1:1/4/3/Z:\\n.xml\n");

  // A path of 2,000 bytes of double-byte characters after one ASCII byte:
  // cut to at most 260 bytes, on a whole character.
  std::string longPath = "Z";
  for (int i = 0; i < 1000; ++i) longPath += "髙";
  ASSERT_TRUE(FindRememberedRecord(key + "0/4/3/" + longPath + "\n", key, &r));
  EXPECT_LE(r.outputPath.size(), 260u);
  EXPECT_EQ(r.outputPath.size() % 2, 1u);
  EXPECT_EQ(longPath.rfind(r.outputPath, 0), 0u);

  // Binary bytes (NUL, 0xFF, a lone CR) in other lines, and a key that only
  // appears in the middle of such a line.
  const std::string binary = std::string("x\0y\xFF\rz u1/1/1:9/9/9/Z:\\bad\n"sv) +
                             "u1/1/1:0/4/3/Z:\\ok.xml\n" + std::string("\x80\xA0\xFD\0\n"sv);
  ASSERT_TRUE(FindRememberedRecord(binary, key, &r));
  EXPECT_EQ(r.mode, 0);
  EXPECT_EQ(r.outputPath, "Z:\\ok.xml");
  EXPECT_EQ(ReplaceRememberedRecord(binary, key, "u1/1/1:1/4/3/Z:\\n.xml\n"),
            std::string("x\0y\xFF\rz u1/1/1:9/9/9/Z:\\bad\n"sv) +
                std::string("\x80\xA0\xFD\0\n"sv) + "u1/1/1:1/4/3/Z:\\n.xml\n");

  // A path ending in a lone lead byte, and one that is cut right after a
  // lead byte: neither runs past its line nor keeps half a character.
  ASSERT_TRUE(FindRememberedRecord(key + "0/4/3/Z:\\a\x81\nu2/1/1:x\n", key, &r));
  EXPECT_EQ(r.outputPath, "Z:\\a\x81");
  std::string cut = std::string(259, 'a') + "\x81\x40" + "tail";
  ASSERT_TRUE(FindRememberedRecord(key + "0/4/3/" + cut, key, &r));
  EXPECT_EQ(r.outputPath, std::string(259, 'a'));
}

}  // namespace
}  // namespace ltb::dialog
