// vork.ini: the "None" defaults written back, the advanced mode, stored
// directories with backslashes, the compiler section.
#include "document.h"
#include "settings.h"

#include "platform/ini.h"
#include "test_fs_temp_dir.h"

#include <gtest/gtest.h>

#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

namespace {

class Settings : public ::testing::Test {
 protected:
  void SetUp() override { ResetEditorState(); }
  void TearDown() override { ResetEditorState(); }
  TempCwd cwd_;
};

}  // namespace

TEST_F(Settings, NoneDefaultsAreWrittenBackOnceAndOtherLinesKept) {
  const std::string before =
      "; shipped with the installation\r\n"
      "[Private]\r\nMode=Basic\r\n\r\n"
      "[Directory]\r\nVrd=None\r\nData=None\r\nPar=None\r\nC=C:\\old\\C\\\r\n\r\n"
      "[Compiler]\r\nType=0\r\nC_Command=gcc -o temp -Wl,--no-as-needed -lm\r\n";
  WriteFileBytes("vork.ini", before);
  InitDocumentAndSettings();
  EXPECT_EQ(g_startDirectory, cwd_.path());
  EXPECT_EQ(g_advanceMode, 0);
  const std::string& s = cwd_.path();
  const std::string after =
      "; shipped with the installation\r\n"
      "[Private]\r\nMode=Basic\r\n\r\n"
      "[Directory]\r\nVrd=" + s + "/Vrd/\r\nData=" + s + "/Csv/\r\nPar=None\r\nC=C:\\old\\C\\\r\n\r\n"
      "[Compiler]\r\nType=0\r\nC_Command=gcc -o temp -Wl,--no-as-needed -lm\r\n";
  EXPECT_EQ(ReadFileBytes("vork.ini"), after);
  // A second start finds no "None" and changes nothing.
  InitDocumentAndSettings();
  EXPECT_EQ(ReadFileBytes("vork.ini"), after);
  EXPECT_EQ(ReadDirectorySetting(SettingsPath(), "Data"), s + "/Csv/");
}

TEST_F(Settings, AdvancedModeFillsItsDirectoriesInOrder) {
  WriteFileBytes("vork.ini", "[Private]\r\nMode=Advance\r\n[Directory]\r\nvrk=None\r\nF=None\r\nData=D:\\r\\\r\n");
  InitDocumentAndSettings();
  EXPECT_EQ(g_advanceMode, 1);
  const std::string& s = cwd_.path();
  // Existing keys keep their place and spelling; missing ones are not created.
  EXPECT_EQ(ReadFileBytes("vork.ini"), "[Private]\r\nMode=Advance\r\n[Directory]\r\nvrk=" + s +
                                           "/Advance/VRK/\r\nF=" + s + "/Advance/F/\r\nData=D:\\r\\\r\n");
  EXPECT_EQ(ReadDirectorySetting(SettingsPath(), "Vrk"), s + "/Advance/VRK/");
  EXPECT_EQ(ReadDirectorySetting(SettingsPath(), "Data"), "D:/r/");  // backslashes read as '/'
  EXPECT_EQ(ReadDirectorySetting(SettingsPath(), "Par"), "");
}

TEST_F(Settings, OnlyExactValuesCount) {
  struct Case {
    const char* mode;
    int advance;
  } cases[] = {{"Advance", 1}, {"advance", 0}, {"ADVANCE", 0}, {"Advanced", 0}, {"", 0}};
  for (const Case& c : cases) {
    WriteFileBytes("vork.ini", std::string("[private]\r\nMODE=") + c.mode + "\r\n[Directory]\r\nData=none\r\nVrd=\r\n");
    InitDocumentAndSettings();
    EXPECT_EQ(g_advanceMode, c.advance) << c.mode;
    // "none" is not "None", and an empty value stays empty.
    EXPECT_EQ(plat::Ini("vork.ini").GetString("Directory", "Data"), "none");
    EXPECT_EQ(plat::Ini("vork.ini").GetString("Directory", "Vrd", "<missing>"), "");
  }
}

TEST_F(Settings, MissingFileStaysMissing) {
  InitDocumentAndSettings();
  EXPECT_EQ(g_advanceMode, 0);
  EXPECT_FALSE(QFileInfo::exists("vork.ini"));
  EXPECT_EQ(ReadCompilerType(SettingsPath()), 0);
  EXPECT_EQ(ReadCompilerCommand(SettingsPath(), 0), "");
}

TEST_F(Settings, TheSettingsFileIsFoundWithoutRegardToCase) {
  WriteFileBytes("VORK.INI", "[DIRECTORY]\r\nDATA=None\r\n");
  EXPECT_EQ(SettingsPath(), cwd_.path() + "/VORK.INI");
  InitDocumentAndSettings();
  EXPECT_EQ(ReadFileBytes("VORK.INI"), "[DIRECTORY]\r\nDATA=" + cwd_.path() + "/Csv/\r\n");
  EXPECT_FALSE(QFileInfo::exists("vork.ini"));
}

TEST_F(Settings, CompilerSectionIsReplacedByTypeAndBothCommands) {
  WriteFileBytes("vork.ini",
                 "[Directory]\r\nData=x\r\n\r\n[compiler]\r\nTYPE=1\r\nc_command=old\r\nExtra=1\r\n\r\n[Private]\r\nMode=Advance\r\n");
  const std::string path = SettingsPath();
  EXPECT_EQ(ReadCompilerType(path), 1);
  EXPECT_EQ(ReadCompilerCommand(path, 0), "old");
  ASSERT_TRUE(WriteCompilerSettings(path, 0, "gcc -o temp -Wl,--no-as-needed -lm", "f77 -o temp C:\\lib"));
  EXPECT_EQ(ReadFileBytes("vork.ini"),
            "[Directory]\r\nData=x\r\n\r\n[compiler]\r\nType=0\r\nC_Command=gcc -o temp -Wl,--no-as-needed -lm\r\n"
            "F_Command=f77 -o temp C:\\lib\r\n\r\n[Private]\r\nMode=Advance\r\n");
  EXPECT_EQ(ReadCompilerType(path), 0);
  EXPECT_EQ(ReadCompilerCommand(path, 1), "f77 -o temp C:\\lib");  // commands are left as typed
  // Any type other than 0 is stored as 1.
  ASSERT_TRUE(WriteCompilerSettings(path, 7, "a", "b"));
  EXPECT_EQ(ReadCompilerType(path), 1);
  EXPECT_EQ(ReadCompilerCommand(path, 3), "b");
}

TEST_F(Settings, CompilerSettingsCreateAMissingFile) {
  ASSERT_TRUE(WriteCompilerSettings(SettingsPath(), 1, "cc", "fc"));
  EXPECT_EQ(ReadFileBytes("vork.ini"), "[Compiler]\r\nType=1\r\nC_Command=cc\r\nF_Command=fc\r\n");
}

TEST_F(Settings, AnUnreadableCurrentDirectoryNeverGivesARootPath) {
  ASSERT_EQ(mkdir("gone", 0755), 0);
  ASSERT_EQ(chdir("gone"), 0);
  ASSERT_EQ(rmdir((cwd_.path() + "/gone").c_str()), 0);
  EXPECT_EQ(SettingsPath(), "vork.ini");
  InitDocumentAndSettings();
  EXPECT_EQ(g_startDirectory, "");
  EXPECT_EQ(g_advanceMode, 0);
}
