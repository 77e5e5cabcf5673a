// The profile file: case-insensitive names, first match, trimming, and
// writes that keep every other line byte for byte.
#include "platform/ini.h"

#include "test_fs_temp_dir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using plat::Ini;

namespace {

const char kSample[] =
    "; installation settings\r\n"
    "[Directory]\r\n"
    "Vrd=None\r\n"
    "DATA = C:\\work\\Csv\\ \r\n"
    "Vrk=\"D:\\Advance\\VRK\\\"\r\n"
    "Data=second\r\n"
    "\r\n"
    "[Compiler]\n"
    "Type=1\n"
    "C_Command=gcc -o temp -Wl,--no-as-needed -lm\n"
    "[directory]\r\n"
    "Par=in the second section\r\n";

}  // namespace

TEST(Ini, ReadsWithoutRegardToCaseFirstMatchWins) {
  TempCwd cwd;
  WriteFileBytes("vork.ini", kSample);
  Ini ini("vork.ini");
  struct Case {
    const char* section;
    const char* key;
    const char* value;
  } cases[] = {
      {"Directory", "Data", "C:\\work\\Csv\\"},  // blanks trimmed, backslashes kept, first of two keys
      {"DIRECTORY", "data", "C:\\work\\Csv\\"},
      {"directory", "VRK", "D:\\Advance\\VRK\\"},  // one pair of quotes removed
      {"Directory", "Vrd", "None"},
      {"compiler", "c_command", "gcc -o temp -Wl,--no-as-needed -lm"},  // LF-only lines
      {"Directory", "Par", "<missing>"},  // only the first section of a name counts
      {"Private", "Mode", "<missing>"},
      {"Directory", "Mode", "<missing>"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ini.GetString(c.section, c.key, "<missing>"), c.value) << c.section << "/" << c.key;
  EXPECT_EQ(ini.GetString("Private", "Mode"), "");
  EXPECT_EQ(Ini("no-such.ini").GetString("Directory", "Vrd", "x"), "x");
}

TEST(Ini, ReadsIntegersFromTheirLeadingDigits) {
  TempCwd cwd;
  WriteFileBytes("a.ini", "[S]\r\nA=1\r\nB=12ab\r\nC=x\r\nD=\r\nE= 7 \r\nF=-1\r\nG=99999999999\r\n");
  Ini ini("a.ini");
  EXPECT_EQ(ini.GetInt("s", "a", 5), 1);
  EXPECT_EQ(ini.GetInt("S", "B", 5), 12);
  EXPECT_EQ(ini.GetInt("S", "C", 5), 0);
  EXPECT_EQ(ini.GetInt("S", "D", 5), 5);  // an empty value reads as the default
  EXPECT_EQ(ini.GetInt("S", "E", 5), 7);
  EXPECT_EQ(ini.GetInt("S", "F", 5), -1);
  EXPECT_EQ(ini.GetInt("S", "G", 5), 2147483647);
  EXPECT_EQ(ini.GetInt("S", "Missing", 5), 5);
  EXPECT_EQ(Ini("none.ini").GetInt("S", "A", 0), 0);
}

TEST(Ini, WriteReplacesTheFirstMatchInPlaceAndKeepsEveryOtherByte) {
  TempCwd cwd;
  WriteFileBytes("vork.ini", kSample);
  Ini ini("vork.ini");
  ASSERT_TRUE(ini.WriteString("directory", "data", "/work/Csv/"));
  std::string expected = kSample;
  expected.replace(expected.find("DATA = C:\\work\\Csv\\ \r\n"), 22, "DATA=/work/Csv/\r\n");
  EXPECT_EQ(ReadFileBytes("vork.ini"), expected);
  EXPECT_EQ(ini.GetString("Directory", "Data"), "/work/Csv/");

  // A line that ends with LF keeps its LF.
  ASSERT_TRUE(ini.WriteString("Compiler", "TYPE", "0"));
  expected.replace(expected.find("Type=1\n"), 7, "Type=0\n");
  EXPECT_EQ(ReadFileBytes("vork.ini"), expected);
}

TEST(Ini, WriteAppendsTheKeyAtTheEndOfItsSectionOrANewSection) {
  TempCwd cwd;
  WriteFileBytes("vork.ini", "[Directory]\r\nVrd=a\r\n\r\n[Compiler]\nType=0");
  Ini ini("vork.ini");
  ASSERT_TRUE(ini.WriteString("Directory", "Data", "b"));
  EXPECT_EQ(ReadFileBytes("vork.ini"), "[Directory]\r\nVrd=a\r\nData=b\r\n\r\n[Compiler]\nType=0");
  // The last line had no line end: it gets one before the new line.
  ASSERT_TRUE(ini.WriteString("Compiler", "C_Command", "gcc"));
  EXPECT_EQ(ReadFileBytes("vork.ini"), "[Directory]\r\nVrd=a\r\nData=b\r\n\r\n[Compiler]\nType=0\r\nC_Command=gcc\r\n");
  ASSERT_TRUE(ini.WriteString("Private", "Mode", "Advance"));
  EXPECT_EQ(ReadFileBytes("vork.ini"),
            "[Directory]\r\nVrd=a\r\nData=b\r\n\r\n[Compiler]\nType=0\r\nC_Command=gcc\r\n[Private]\r\nMode=Advance\r\n");
}

TEST(Ini, WriteCreatesAMissingFileWithCrLfLines) {
  TempCwd cwd;
  Ini ini("new.ini");
  ASSERT_TRUE(ini.WriteString("Directory", "Data", "C:\\x\\"));
  EXPECT_EQ(ReadFileBytes("new.ini"), "[Directory]\r\nData=C:\\x\\\r\n");
  EXPECT_EQ(ini.GetString("Directory", "Data"), "C:\\x\\");
  EXPECT_FALSE(Ini("no-such-dir/x.ini").WriteString("A", "B", "C"));
  EXPECT_FALSE(Ini("no-such-dir/x.ini").WriteSection("A", {"B=C"}));
}

TEST(Ini, WriteSectionReplacesOnlyThatSectionsLines) {
  TempCwd cwd;
  const std::string before =
      "[Directory]\r\nData=x\r\n\r\n[COMPILER]\r\nType=1\r\n; old\r\nC_Command=cc\r\nOther=1\r\n\r\n[Private]\nMode=Advance\n";
  WriteFileBytes("vork.ini", before);
  Ini ini("vork.ini");
  ASSERT_TRUE(ini.WriteSection("Compiler", {"Type=0"}));
  EXPECT_EQ(ReadFileBytes("vork.ini"),
            "[Directory]\r\nData=x\r\n\r\n[COMPILER]\r\nType=0\r\n\r\n[Private]\nMode=Advance\n");
  ASSERT_TRUE(ini.WriteSection("Extra", {"A=1", "B=2"}));
  EXPECT_EQ(ini.GetString("extra", "b"), "2");
  EXPECT_EQ(ini.GetString("Private", "Mode"), "Advance");
}

TEST(Ini, AByteOrderMarkBeforeTheFirstSectionIsKept) {
  TempCwd cwd;
  WriteFileBytes("vork.ini", "\xEF\xBB\xBF[Private]\r\nMode=Advance\r\n");
  Ini ini("vork.ini");
  EXPECT_EQ(ini.GetString("Private", "Mode"), "Advance");
  ASSERT_TRUE(ini.WriteString("Private", "Mode", "Basic"));
  EXPECT_EQ(ReadFileBytes("vork.ini"), "\xEF\xBB\xBF[Private]\r\nMode=Basic\r\n");
}

// A settings name that is a directory, a FIFO or a file without read permission
// reads as an empty file and is never written (no exception, no blocking open, no
// file emptied by a rewrite).
TEST(Ini, NonRegularOrUnreadableFilesReadAsEmptyAndAreNotWritten) {
  TempCwd cwd;
  ASSERT_EQ(mkdir("dir.ini", 0755), 0);
  ASSERT_EQ(mkfifo("fifo.ini", 0644), 0);
  WriteFileBytes("locked.ini", "[Compiler]\r\nType=1\r\n");
  ASSERT_EQ(chmod("locked.ini", 0), 0);
  const bool lockedIsUnreadable = access("locked.ini", R_OK) != 0;  // root reads it all the same
  for (const char* name : {"dir.ini", "fifo.ini", "locked.ini"}) {
    if (std::string(name) == "locked.ini" && !lockedIsUnreadable) continue;
    Ini ini(name);
    EXPECT_EQ(ini.GetString("Compiler", "Type", "<missing>"), "<missing>") << name;
    EXPECT_EQ(ini.GetInt("Compiler", "Type", 7), 7) << name;
    EXPECT_FALSE(ini.WriteString("Compiler", "Type", "0")) << name;
    EXPECT_FALSE(ini.WriteSection("Compiler", {"Type=0"})) << name;
  }
  chmod("locked.ini", 0600);
  EXPECT_EQ(ReadFileBytes("locked.ini"), "[Compiler]\r\nType=1\r\n");
  struct stat st;
  ASSERT_EQ(stat("fifo.ini", &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
}
