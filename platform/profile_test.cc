#include "platform/profile.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>

#include "platform/testing/memory_env.h"
#include "platform/testing/temp_folder_test.h"
#include "platform/win_path.h"

namespace ltb::platform {
namespace {

constexpr char kF1[] =
    "[section1]\r\nname1=val1\r\nname2=\"val2\"\r\nname3\r\nname4=a\r\n[section2]\r\n";

struct Row {
  const char* id;
  std::string ini;
  const char* section;
  const char* key;
  const char* def;
  size_t capacity;
  std::string expected;
};

TEST(ProfileTest, WindowsTable) {
  const std::string f1 = kF1;
  const std::string cr = "[section1]\rname1=val1\rname2=\"val2\"\rname3\rname4=a\r[section2]\r";
  const Row rows[] = {
      {"P02", f1, "", "name1", "default", 260, "default"},
      {"P03", f1, "notasection", "name1", "default", 260, "default"},
      {"P05", f1, "", "name1", "", 260, ""},
      {"P06", f1, "", "name1", "default  ", 260, "default"},
      {"P07", f1, "", "name1", "one two  ", 260, "one two"},
      {"P10", f1, "section1", "", "default", 260, "default"},
      {"P11", f1, "section1", "notakey", "default", 260, "default"},
      {"P14", f1, "section1", "", "default  ", 260, "default"},
      {"P18", f1, "section1", "name1", "default", 0, ""},
      {"P19", f1, "section1", "name1", "default", 4, "val"},
      {"P20", f1, "section1", "name1", "default", 5, "val1"},
      {"P21", f1, "section1", "name4", "default", 260, "a"},
      {"P22", f1, "section1", "name4", "default", 1, ""},
      {"P25", f1, "section1", "name2", "default", 260, "val2"},
      {"P26", f1, "section1", "NaMe1", "default", 260, "val1"},
      {"P29/CR", cr, "section1", "name1", "default", 260, "val1"},
      {"P30", f1, "section2", "DoesntExist", "", 260, ""},
      {"P32",
       std::string("\r\nkey=val_no_section\r\n[]\r\nkey=val_e_section\r\n[s]\r\n") +
           "=val_no_key\r\n[t]\r\n" + std::string(1, '\0'),
       "", "key", "", 100, "val_e_section"},
      {"P33", "[s]\r\n=val_no_key\r\n", "s", "", "", 100, "val_no_key"},
      {"I01", "[s]\r\n  key  =  value  \r\n", "s", "key", "d", 260, "value"},
      {"I02", "[s]\r\nkey=value\r\n", "s", "  key  ", "d", 260, "value"},
      {"I03", "[s]\r\nkey=value\r\n", "  S  ", "KEY", "d", 260, "value"},
      {"I04", "[ s ]\r\nkey=value\r\n", "s", "key", "d", 260, "value"},
      {"I05", "[s] ;comment\r\nkey=value\r\n", "s", "key", "d", 260, "value"},
      {"I06", "[s]\r\nk=first\r\nk=second\r\n", "s", "k", "d", 260, "first"},
      {"I07", "[s]\r\na=1\r\n[s]\r\nb=2\r\n", "s", "a", "d", 260, "1"},
      {"I08", "[s]\r\na=1\r\n[s]\r\nb=2\r\n", "s", "b", "d", 260, "d"},
      {"I09", "[s]\r\nname3\r\n", "s", "name3", "d", 260, "d"},
      {"I10", "[s]\r\nk=\r\n", "s", "k", "d", 260, ""},
      {"I12", "[s]\r\n;c=1\r\nk=v\r\n", "s", ";c", "d", 260, "1"},
      {"I13", "[s]\r\nk=value ;comment\r\n", "s", "k", "d", 260, "value ;comment"},
      {"I14", "[s]\r\nk=a=b\r\n", "s", "k", "d", 260, "a=b"},
      {"I15", "[s]\r\nk=a  b\t \r\n", "s", "k", "d", 260, "a  b"},
      {"I16", "[s]\r\nk='v'\r\n", "s", "k", "d", 260, "v"},
      {"I17", "[s]\r\nk=\"abc\r\n", "s", "k", "d", 260, "\"abc"},
      {"I18", "[s]\r\nk=\"a\"b\"\r\n", "s", "k", "d", 260, "a\"b"},
      {"I19", "[s]\r\nk=\"\"\r\n", "s", "k", "d", 260, ""},
      {"I20", "[s]\r\nk=\"\r\n", "s", "k", "d", 260, "\""},
      {"I22", "[s]\r\nk=\"val2\"\r\n", "s", "k", "d", 6, "val2"},
      {"I23", "[s]\r\n", "s", "k", "  x  ", 260, "  x"},
      {"I24", "[s]\r\n", "s", "k", "x\t", 260, "x\t"},
      {"I27", "[s\r\nk=v\r\n", "s", "k", "d", 260, "d"},
      {"I29", "[s]\n\nk=v\n", "s", "k", "d", 260, "v"},
      {"I30", "\xEF\xBB\xBF[s]\r\nk=\xE8\xA1\xA8\r\n", "s", "k", "d", 260, "表"},
      // The program's own file and Shift_JIS names and values.
      {"SY26", "[ProgramLevel]\r\nSY26=2\r\n", "programlevel", "sy26", "1", 16, "2"},
      {"SJIS", "[表示]\r\nソフト=ゾーン\r\n", "表示", "ソフト", "d", 260, "ゾーン"},
      // "[ゾ" has no closing bracket: 0x5D is the second byte of ゾ.
      {"SJIS-]", "[ゾ\r\nk=v\r\n", "ゾ", "k", "d", 260, "d"},
      {"SJIS-]2", "[ゾ]\r\nk=v\r\n", "ゾ", "k", "d", 260, "v"},
      // Names differing only in the second byte of a character.
      {"SJIS-case", "[s]\r\n\x83\x41=v\r\n", "s", "\x83\x61", "d", 260, "d"},
      // Never half a character: capacity 4 leaves room for "ア" only.
      {"SJIS-cut", "[s]\r\nk=アイ\r\n", "s", "k", "d", 4, "ア"},
      {"SJIS-def-cut", "[s]\r\n", "s", "k", "アイ", 4, "ア"},
  };
  for (const Row& r : rows) {
    testing::MemoryEnv env;
    env.files["C:\\p.ini"] = r.ini;
    EXPECT_EQ(GetPrivateProfileString(env, r.section, r.key, r.def, r.capacity, "C:\\p.ini"),
              r.expected)
        << r.id;
  }
}

TEST(ProfileTest, MissingFileGivesTheDefault) {
  testing::MemoryEnv env;
  EXPECT_EQ(GetPrivateProfileString(env, "s", "k", "def  ", 260, "C:\\none.ini"), "def");
  EXPECT_EQ(GetPrivateProfileString(env, "s", "k", "def", 260, ""), "def");
  EXPECT_EQ(GetPrivateProfileString(env, "s", "k", "def", 3, "C:\\none.ini"), "de");
}

class ProfileFileTest : public testing::TempFolderTest {};

TEST_F(ProfileFileTest, FolderInsteadOfFileGivesTheDefault) {
  EXPECT_EQ(GetPrivateProfileString(*Env::Default(), "s", "k", "d", 260, dir_), "d");
}

TEST_F(ProfileFileTest, HugeFileIsReadWithoutExhaustingMemory) {
  // A sparse file of 3 GiB whose first lines hold the entry.
  const std::string path = linuxDir_ + "/huge.ini";
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  ASSERT_GE(fd, 0);
  const std::string head = "[ProgramLevel]\r\nSY26=3\r\n";
  ASSERT_EQ(::write(fd, head.data(), head.size()), static_cast<ssize_t>(head.size()));
  ASSERT_EQ(::ftruncate(fd, off_t{3} << 30), 0);
  ::close(fd);
  EXPECT_EQ(GetPrivateProfileString(*Env::Default(), "ProgramLevel", "SY26", "1", 16,
                                    dir_ + "\\huge.ini"),
            "3");
}

TEST_F(ProfileFileTest, EntryAfterManyOthersIsFound) {
  std::string text = "[big]\r\n";
  for (int i = 0; i < 50000; ++i) text += "key" + std::to_string(i) + "=value\r\n";
  text += "[ProgramLevel]\r\nSY26=\"2\"\r\n";
  const std::string path = dir_ + "\\設定.ini";
  auto f = Env::Default()->NewWritableFile(path);
  ASSERT_TRUE(f && f->Append(text).ok() && f->Close().ok());
  EXPECT_EQ(GetPrivateProfileString(*Env::Default(), "ProgramLevel", "SY26", "1", 16, path), "2");
  EXPECT_EQ(GetPrivateProfileString(*Env::Default(), "big", "KEY49999", "1", 16, path), "value");
}

}  // namespace
}  // namespace ltb::platform
