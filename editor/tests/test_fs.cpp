// File names: joining, stored backslashes, matching and listing without regard
// to case, deleting every case variant, copying over a file, replacing a file
// whole, reading one with a size limit, making directories, paths to and from Qt.
#include "platform/fs.h"

#include "test_fs_temp_dir.h"
#include "test_full_disk.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QDir>
#include <QString>

namespace fs = plat::fs;

TEST(Fs, JoinAndStoredBackslashes) {
  EXPECT_EQ(fs::Join("/work", "vork.ini"), "/work/vork.ini");
  EXPECT_EQ(fs::Join("/work/", "vork.ini"), "/work/vork.ini");
  EXPECT_EQ(fs::Join("/", "vork.ini"), "/vork.ini");
  EXPECT_EQ(fs::Join("", "vork.ini"), "vork.ini");
  EXPECT_EQ(fs::FromWinPath("C:\\work\\Csv\\"), "C:/work/Csv/");
  EXPECT_EQ(fs::FromWinPath("Advance\\VRK"), "Advance/VRK");
  EXPECT_EQ(fs::FromWinPath("/plain/path"), "/plain/path");
}

TEST(Fs, CurrentDirFollowsSetCurrentDir) {
  TempCwd cwd;
  EXPECT_EQ(fs::CurrentDir(), cwd.path());
  ASSERT_EQ(mkdir("sub", 0755), 0);
  ASSERT_TRUE(fs::SetCurrentDir("sub"));
  EXPECT_EQ(fs::CurrentDir(), cwd.path() + "/sub");
  EXPECT_FALSE(fs::SetCurrentDir("no-such-dir"));
  EXPECT_FALSE(fs::SetCurrentDir(""));
  EXPECT_EQ(fs::CurrentDir(), cwd.path() + "/sub");
}

TEST(Fs, ResolveMatchesEachComponentWithoutRegardToCase) {
  TempCwd cwd;
  ASSERT_EQ(mkdir("advance", 0755), 0);
  ASSERT_EQ(mkdir("advance/vrk", 0755), 0);
  WriteFileBytes("advance/vrk/Model.Vrk", "x");
  WriteFileBytes("temp.PAR", "p");
  WriteFileBytes("vork.ini", "a");
  WriteFileBytes("VORK.INI", "b");

  EXPECT_EQ(fs::Resolve("Advance/VRK"), "advance/vrk");
  EXPECT_EQ(fs::Resolve("Advance/VRK/"), "advance/vrk/");
  EXPECT_EQ(fs::Resolve("ADVANCE/Vrk/model.VRK"), "advance/vrk/Model.Vrk");
  EXPECT_EQ(fs::Resolve(cwd.path() + "/Advance/Vrk"), cwd.path() + "/advance/vrk");
  EXPECT_EQ(fs::Resolve("temp.par"), "temp.PAR");
  EXPECT_EQ(fs::Resolve("Vork.ini"), "VORK.INI");  // first in name order
  EXPECT_EQ(fs::Resolve("vork.ini"), "vork.ini");  // an exact match wins
  // What matches nothing is kept as given, from the first missing component on.
  EXPECT_EQ(fs::Resolve("Advance/Par/x.par"), "advance/Par/x.par");
  EXPECT_EQ(fs::Resolve("Csv"), "Csv");

  EXPECT_TRUE(fs::ExistsNoCase("ADVANCE/VRK/MODEL.VRK"));
  EXPECT_TRUE(fs::ExistsNoCase("Advance"));
  EXPECT_FALSE(fs::ExistsNoCase("Advance/C"));
  EXPECT_FALSE(fs::ExistsNoCase(""));
}

TEST(Fs, DeleteAllCasesRemovesEveryCaseVariantAndNothingElse) {
  TempCwd cwd;
  for (const char* n : {"temp.VRK", "temp.vrk", "TEMP.Vrk", "temp.VRKx", "xtemp.vrk"}) WriteFileBytes(n, "x");
  ASSERT_EQ(mkdir("Temp.vrk", 0755), 0);  // a directory of that name stays
  EXPECT_TRUE(fs::DeleteAllCases("temp.VRK"));
  QStringList left = QDir(".").entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name);
  EXPECT_EQ(left, (QStringList{"Temp.vrk", "temp.VRKx", "xtemp.vrk"}));
  EXPECT_FALSE(fs::DeleteAllCases("temp.vrk"));

  ASSERT_EQ(mkdir("Sub", 0755), 0);
  WriteFileBytes("Sub/SysVar.TXT", "x");
  EXPECT_TRUE(fs::DeleteAllCases("sub/sysvar.txt"));
  EXPECT_FALSE(fs::ExistsNoCase("Sub/sysvar.txt"));
}

TEST(Fs, CopyReplaceOverwritesThroughATemporaryFile) {
  TempCwd cwd;
  WriteFileBytes("temp.csv", "t,x\r\n0,1\r\n");
  ASSERT_EQ(mkdir("Csv", 0755), 0);
  ASSERT_TRUE(fs::CopyReplace("temp.csv", "Csv/run1.csv"));
  EXPECT_EQ(ReadFileBytes("Csv/run1.csv"), "t,x\r\n0,1\r\n");

  WriteFileBytes("temp.csv", "new");
  ASSERT_TRUE(fs::CopyReplace("temp.csv", "Csv/run1.csv"));
  EXPECT_EQ(ReadFileBytes("Csv/run1.csv"), "new");
  // No temporary file is left behind.
  EXPECT_EQ(QDir("Csv").entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{"run1.csv"});
}

TEST(Fs, CopyReplaceOfAFileOntoItselfKeepsIt) {
  TempCwd cwd;
  WriteFileBytes("temp.VRK", "model");
  EXPECT_TRUE(fs::SameFile("temp.VRK", cwd.path() + "/temp.VRK"));
  EXPECT_TRUE(fs::CopyReplace("temp.VRK", cwd.path() + "/./temp.VRK"));
  EXPECT_EQ(ReadFileBytes("temp.VRK"), "model");
  ASSERT_EQ(link("temp.VRK", "hard.vrk"), 0);
  EXPECT_TRUE(fs::CopyReplace("hard.vrk", "temp.VRK"));
  EXPECT_EQ(ReadFileBytes("temp.VRK"), "model");
}

TEST(Fs, CopyReplaceFailureLeavesTheTargetAlone) {
  TempCwd cwd;
  WriteFileBytes("target.csv", "old");
  EXPECT_FALSE(fs::CopyReplace("missing.csv", "target.csv"));
  EXPECT_EQ(ReadFileBytes("target.csv"), "old");
  WriteFileBytes("source.csv", "s");
  EXPECT_FALSE(fs::CopyReplace("source.csv", "no-such-dir/target.csv"));
  ASSERT_EQ(mkdir("adir", 0755), 0);
  EXPECT_FALSE(fs::CopyReplace("adir", "target.csv"));
  ASSERT_EQ(mkfifo("fifo.csv", 0644), 0);
  EXPECT_FALSE(fs::CopyReplace("fifo.csv", "target.csv"));  // no writer: must not block
  EXPECT_EQ(ReadFileBytes("target.csv"), "old");
  EXPECT_FALSE(fs::SameFile("missing.csv", "missing.csv"));
}

TEST(Fs, ReadFileReadsOnlyRegularFiles) {
  TempCwd cwd;
  WriteFileBytes("a.txt", std::string("x\0y\r\n", 5));
  ASSERT_EQ(mkdir("dir.txt", 0755), 0);
  ASSERT_EQ(mkfifo("fifo.txt", 0644), 0);
  struct Case {
    const char* path;
    fs::ReadResult result;
    std::string bytes;
  };
  const Case cases[] = {
      {"a.txt", fs::ReadResult::Ok, std::string("x\0y\r\n", 5)},
      {"missing.txt", fs::ReadResult::Missing, ""},
      {"no-dir/a.txt", fs::ReadResult::Missing, ""},
      {"dir.txt", fs::ReadResult::Unreadable, ""},
      {"fifo.txt", fs::ReadResult::Unreadable, ""},
  };
  for (const Case& c : cases) {
    std::string bytes = "stale";
    EXPECT_EQ(fs::ReadFile(c.path, &bytes), c.result) << c.path;
    EXPECT_EQ(bytes, c.bytes) << c.path;
  }
}

TEST(Fs, ReadFileRefusesAFileLongerThanTheLimit) {
  TempCwd cwd;
  WriteFileBytes("five.VRD", "12345");
  WriteFileBytes("empty.VRD", "");
  struct Case {
    const char* path;
    std::size_t maxBytes;
    fs::ReadResult result;
    std::string bytes;
  };
  const Case cases[] = {
      {"five.VRD", 5, fs::ReadResult::Ok, "12345"},  // exactly the limit
      {"five.VRD", 6, fs::ReadResult::Ok, "12345"},
      {"five.VRD", 4, fs::ReadResult::TooLarge, ""},
      {"five.VRD", 0, fs::ReadResult::TooLarge, ""},
      {"empty.VRD", 0, fs::ReadResult::Ok, ""},
      {"missing.VRD", 5, fs::ReadResult::Missing, ""},
  };
  for (const Case& c : cases) {
    std::string bytes = "stale";
    EXPECT_EQ(fs::ReadFile(c.path, &bytes, c.maxBytes), c.result) << c.path << " " << c.maxBytes;
    EXPECT_EQ(bytes, c.bytes) << c.path << " " << c.maxBytes;
  }
  // Larger than one read: the limit holds across the reads.
  WriteFileBytes("big.VRD", std::string(200000, 'b'));
  std::string bytes;
  EXPECT_EQ(fs::ReadFile("big.VRD", &bytes, 199999), fs::ReadResult::TooLarge);
  EXPECT_EQ(fs::ReadFile("big.VRD", &bytes, 200000), fs::ReadResult::Ok);
  EXPECT_EQ(bytes.size(), 200000u);
}

TEST(Fs, ListNoCaseNamesTheFilesOfEveryCase) {
  TempCwd cwd;
  for (const char* n : {"temp.VRK", "TEMP.vrk", "temp.vrk.bak", "xtemp.vrk", "other.vrk"}) WriteFileBytes(n, "x");
  ASSERT_EQ(mkdir("Temp.Vrk", 0755), 0);           // a directory is not listed
  ASSERT_EQ(symlink("Temp.Vrk", "temP.vrk"), 0);   // nor a link to one
  ASSERT_EQ(symlink("missing", "TeMp.VrK"), 0);    // a dangling link is
  ASSERT_EQ(mkdir("sub", 0755), 0);
  WriteFileBytes("sub/Temp.vrk", "x");

  EXPECT_EQ(fs::ListNoCase("", "temp.vrk"), (std::vector<std::string>{"TEMP.vrk", "TeMp.VrK", "temp.VRK"}));
  EXPECT_EQ(fs::ListNoCase(cwd.path(), "TEMP.VRK"), fs::ListNoCase("", "temp.vrk"));
  EXPECT_EQ(fs::ListNoCase("sub", "temp.VRK"), std::vector<std::string>{"Temp.vrk"});
  EXPECT_TRUE(fs::ListNoCase("", "temp.c").empty());
  EXPECT_TRUE(fs::ListNoCase("no-such-dir", "temp.vrk").empty());
}

TEST(Fs, IsReadableFileAndRemoveFile) {
  TempCwd cwd;
  WriteFileBytes("a.csv", "x");
  ASSERT_EQ(symlink("a.csv", "link.csv"), 0);
  ASSERT_EQ(mkdir("dir.csv", 0755), 0);
  ASSERT_EQ(mkfifo("fifo.csv", 0644), 0);
  const struct {
    const char* name;
    bool readable;
  } cases[] = {{"a.csv", true}, {"link.csv", true}, {"dir.csv", false}, {"fifo.csv", false}, {"missing.csv", false}};
  for (const auto& c : cases) EXPECT_EQ(fs::IsReadableFile(c.name), c.readable) << c.name;
  if (geteuid() != 0) {  // root reads whatever the mode says
    WriteFileBytes("locked.csv", "x");
    ASSERT_EQ(chmod("locked.csv", 0200), 0);
    EXPECT_FALSE(fs::IsReadableFile("locked.csv"));
  }

  EXPECT_TRUE(fs::RemoveFile("link.csv"));  // the link goes, its file stays
  EXPECT_TRUE(fs::IsReadableFile("a.csv"));
  EXPECT_FALSE(fs::RemoveFile("dir.csv"));
  EXPECT_FALSE(fs::RemoveFile("missing.csv"));
  EXPECT_TRUE(fs::RemoveFile("a.csv"));
  EXPECT_FALSE(fs::ExistsNoCase("a.csv"));
}

TEST(Fs, MakeDirectoryMakesOneLevel) {
  TempCwd cwd;
  WriteFileBytes("file", "x");
  EXPECT_TRUE(fs::MakeDirectory("Csv"));
  EXPECT_TRUE(fs::MakeDirectory(cwd.path() + "/Advance/"));  // a closing '/' is allowed
  EXPECT_TRUE(fs::MakeDirectory("Csv"));                      // already there: no error
  EXPECT_FALSE(fs::MakeDirectory("file"));                    // a file is in the way
  EXPECT_FALSE(fs::MakeDirectory("no-such-dir/Par"));         // one level only
  EXPECT_FALSE(fs::MakeDirectory(""));
  EXPECT_EQ(DirEntries("."), (QStringList{"Advance", "Csv", "file"}));
  struct stat st;
  ASSERT_EQ(stat("Advance", &st), 0);
  EXPECT_TRUE(S_ISDIR(st.st_mode));
}

TEST(Fs, PathsToAndFromQt) {
  TempCwd cwd;
  const std::string name = "\xe3\x83\xa2\xe3\x83\x87\xe3\x83\xab.VRD";  // "モデル.VRD" in UTF-8
  EXPECT_EQ(fs::ToQString(name), QString::fromUtf8("モデル.VRD"));
  EXPECT_EQ(fs::FromQString(QString::fromUtf8("モデル.VRD")), name);
  EXPECT_EQ(fs::FromQString(fs::ToQString("/work/Csv/run 1.csv")), "/work/Csv/run 1.csv");
  EXPECT_EQ(fs::ToQString(""), QString());

  EXPECT_EQ(fs::AbsolutePath("a.VRD"), cwd.path() + "/a.VRD");
  EXPECT_EQ(fs::AbsolutePath("vrd/../b.VRD"), cwd.path() + "/b.VRD");
  EXPECT_EQ(fs::AbsolutePath("/work//vrd/./c.VRD"), "/work/vrd/c.VRD");
  EXPECT_EQ(fs::AbsolutePath(name), cwd.path() + "/" + name);
}

TEST(Fs, ReadResourceReadsTheProgramsOwnFiles) {
  Q_INIT_RESOURCE(vrkt);
  std::string bytes = "stale";
  ASSERT_TRUE(fs::ReadResource(":/vrkt/toolbar_glyphs.txt", &bytes));
  EXPECT_EQ(bytes.substr(0, 8), "New\nOpn\n");
  EXPECT_FALSE(fs::ReadResource(":/vrkt/no-such-file", &bytes));
  EXPECT_EQ(bytes, "");
}

TEST(Fs, CurrentDirIsEmptyWhenItsDirectoryIsGone) {
  TempCwd cwd;
  ASSERT_EQ(mkdir("gone", 0755), 0);
  ASSERT_TRUE(fs::SetCurrentDir("gone"));
  ASSERT_EQ(rmdir((cwd.path() + "/gone").c_str()), 0);
  EXPECT_EQ(fs::CurrentDir(), "");
  // Paths composed from it stay relative, never "/name".
  EXPECT_EQ(fs::Join(fs::CurrentDir(), "vork.ini"), "vork.ini");
}

TEST(Fs, WriteFileAtomicCreatesOrReplacesAFileWhole) {
  TempCwd cwd;
  const mode_t oldMask = umask(027);
  EXPECT_TRUE(fs::WriteFileAtomic("new.VRD", std::string("a\0b\r\n", 5)));
  umask(oldMask);
  EXPECT_EQ(ReadFileBytes("new.VRD"), std::string("a\0b\r\n", 5));
  struct stat st;
  ASSERT_EQ(stat("new.VRD", &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);  // 0666 less the umask

  // A longer file replaced by a shorter one keeps its permissions.
  WriteFileBytes("old.VRD", std::string(5000, 'o'));
  ASSERT_EQ(chmod("old.VRD", 0604), 0);
  EXPECT_TRUE(fs::WriteFileAtomic(cwd.path() + "/old.VRD", "new"));
  EXPECT_EQ(ReadFileBytes("old.VRD"), "new");
  ASSERT_EQ(stat("old.VRD", &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0604u);
  EXPECT_TRUE(fs::WriteFileAtomic("empty.txt", ""));
  EXPECT_EQ(ReadFileBytes("empty.txt"), "");

  // Through a link the file it names is replaced and the link stays.
  ASSERT_EQ(mkdir("real", 0755), 0);
  WriteFileBytes("real/target.bmp", "old picture");
  ASSERT_EQ(symlink("real/target.bmp", "link.bmp"), 0);
  EXPECT_TRUE(fs::WriteFileAtomic("link.bmp", "new picture"));
  EXPECT_EQ(ReadFileBytes("real/target.bmp"), "new picture");
  struct stat link;
  ASSERT_EQ(lstat("link.bmp", &link), 0);
  EXPECT_TRUE(S_ISLNK(link.st_mode));
  EXPECT_EQ(DirEntries("real"), QStringList{"target.bmp"});
  EXPECT_EQ(DirEntries("."), (QStringList{"empty.txt", "link.bmp", "new.VRD", "old.VRD", "real"}));
}

TEST(Fs, WriteFileAtomicFailingAtAnyStepKeepsTheOldFileAndLeavesNothing) {
  TempCwd cwd;
  const fs::WriteStep steps[] = {fs::WriteStep::Write, fs::WriteStep::Flush, fs::WriteStep::Close,
                                 fs::WriteStep::Rename};
  for (fs::WriteStep step : steps) {
    SCOPED_TRACE(static_cast<int>(step));
    WriteFileBytes("model.VRD", "old model");
    fs::FailNextWriteAt(step);
    EXPECT_FALSE(fs::WriteFileAtomic("model.VRD", "new model"));
    EXPECT_EQ(ReadFileBytes("model.VRD"), "old model");
    EXPECT_EQ(DirEntries("."), QStringList{"model.VRD"});
    // The seam fires once.
    EXPECT_TRUE(fs::WriteFileAtomic("model.VRD", "new model"));
    EXPECT_EQ(ReadFileBytes("model.VRD"), "new model");
  }
  // A seam for another file's name waits for that file.
  fs::FailNextWriteAt(fs::WriteStep::Flush, "LumexIni.txt");
  EXPECT_TRUE(fs::WriteFileAtomic("temp.VRK", "model source"));
  EXPECT_FALSE(fs::WriteFileAtomic(cwd.path() + "/LumexIni.txt", "0\r\n1\r\n"));
  EXPECT_TRUE(fs::WriteFileAtomic("LumexIni.txt", "0\r\n1\r\n"));
  fs::FailNextWriteAt(fs::WriteStep::Rename);
  fs::FailNextWriteAt(fs::WriteStep::None);
  EXPECT_TRUE(fs::WriteFileAtomic("model.VRD", "again"));

  // What the system itself refuses.
  ASSERT_EQ(mkdir("adir.VRD", 0755), 0);
  EXPECT_FALSE(fs::WriteFileAtomic("adir.VRD", "x"));  // a directory is not replaced
  EXPECT_FALSE(fs::WriteFileAtomic("no-such-dir/model.VRD", "x"));
  EXPECT_EQ(DirEntries("."), (QStringList{"LumexIni.txt", "adir.VRD", "model.VRD", "temp.VRK"}));
  EXPECT_TRUE(DirEntries("adir.VRD").isEmpty());
}

// A full disk fails the flush of a small file, never the open.
TEST(Fs, WriteFileAtomicOntoAFullDiskKeepsTheOldFile) {
  TempCwd cwd;
  FullDisk disk(cwd.path() + "/disk", 16);
  SKIP_WITHOUT(disk);
  WriteFileBytes(disk.Path("good.VRD"), "2 1 2 0 ");
  ASSERT_TRUE(disk.Fill());
  EXPECT_FALSE(fs::WriteFileAtomic(disk.Path("good.VRD"), std::string(300, 'n')));
  EXPECT_EQ(ReadFileBytes(disk.Path("good.VRD")), "2 1 2 0 ");
  EXPECT_EQ(DirEntries(disk.Path("")), (QStringList{"filler", "good.VRD"}));
}
