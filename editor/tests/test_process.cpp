// Child programs: the bare-name search order, waiting, exit codes, forwarded channels,
// command splitting and detached starts. Each test works in a fresh directory.
#include "platform/fs.h"
#include "platform/process.h"

#include "test_fs_temp_dir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QThread>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

namespace {

using plat::Process;

class ProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = plat::fs::ToQString(cwd_.path());
    QDir(root_).mkpath("a");
    QDir(root_).mkpath("b");
    QDir(root_).mkpath("cwd");
  }
  void TearDown() override { Process::ResetSearchDirs(); }

  QString Dir(const char* sub) const { return root_ + "/" + sub; }

  // A shell script; executable unless said otherwise.
  static void Script(const QString& path, const QByteArray& body, bool executable = true) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\n" + body);
    f.close();
    QFile::Permissions p = QFile::ReadOwner | QFile::WriteOwner;
    if (executable) p |= QFile::ExeOwner;
    f.setPermissions(p);
  }

  static QByteArray Read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
  }

  TempCwd cwd_;
  QString root_;
};

TEST_F(ProcessTest, BareNamesAreSearchedInOrder) {
  Script(Dir("a") + "/tool", "exit 0\n", false);  // not executable: skipped
  Script(Dir("b") + "/tool", "exit 0\n");
  Script(Dir("a") + "/both", "exit 0\n");
  Script(Dir("b") + "/both", "exit 0\n");
  QDir(Dir("a")).mkdir("dirname");  // a directory is no program
  Script(Dir("b") + "/dirname", "exit 0\n");
  Script(Dir("b") + "/Lumex", "exit 0\n");
  Process::SetSearchDirs({Dir("a"), Dir("b")});
  EXPECT_EQ(Process::Resolve("tool"), Dir("b") + "/tool");
  EXPECT_EQ(Process::Resolve("both"), Dir("a") + "/both");
  EXPECT_EQ(Process::Resolve("dirname"), Dir("b") + "/dirname");
  EXPECT_EQ(Process::Resolve("Lumex.exe"), Dir("b") + "/Lumex");  // found without ".exe" too
  EXPECT_EQ(Process::Resolve("missing"), "");
  EXPECT_EQ(Process::Resolve("./rel/x"), "./rel/x");  // a path is used as it is
}

// Without injected directories: the application directory, the cwd, then PATH.
TEST_F(ProcessTest, DefaultSearchIncludesTheCurrentDirectory) {
  Script(Dir("cwd") + "/cvork2_probe", "exit 0\n");
  ASSERT_TRUE(QDir::setCurrent(Dir("cwd")));
  const QStringList dirs = Process::SearchDirs();
  ASSERT_GE(dirs.size(), 2);
  EXPECT_EQ(dirs[0], QCoreApplication::applicationDirPath());
  EXPECT_EQ(QDir(dirs[1]).canonicalPath(), QDir(Dir("cwd")).canonicalPath());
  EXPECT_EQ(QFileInfo(Process::Resolve("cvork2_probe")).canonicalFilePath(),
            QFileInfo(Dir("cwd") + "/cvork2_probe").canonicalFilePath());
  EXPECT_FALSE(Process::Resolve("sh").isEmpty());  // from PATH
}

TEST_F(ProcessTest, RunAndWaitGivesTheExitCodeAndRunsInTheWorkDir) {
  Script(Dir("a") + "/prog", "pwd > out.txt; echo \"$#:$1\" >> out.txt; exit 3\n");
  Process::SetSearchDirs({Dir("a")});
  EXPECT_EQ(Process::RunAndWait("prog", {"x y"}, Dir("cwd")), 3);
  const QByteArray out = Read(Dir("cwd") + "/out.txt");
  EXPECT_TRUE(out.contains("1:x y")) << out.constData();
  EXPECT_EQ(Process::RunAndWait("nothing_here"), -1);
}

// The child writes to the editor's own stdout (the listing appears in its terminal).
TEST_F(ProcessTest, ChildOutputGoesToTheInheritedStdout) {
  Script(Dir("a") + "/lister", "echo listing-line\n");
  Process::SetSearchDirs({Dir("a")});
  const QString capture = Dir("cwd") + "/stdout.txt";
  std::fflush(stdout);
  const int saved = dup(1);
  const int fd = ::open(capture.toLocal8Bit().constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  ASSERT_GE(fd, 0);
  dup2(fd, 1);
  ::close(fd);
  const int code = Process::RunAndWait("lister");
  std::fflush(stdout);
  dup2(saved, 1);
  ::close(saved);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(Read(capture), "listing-line\n");
}

TEST_F(ProcessTest, CommandLinesAreSplitWithoutAShell) {
  Script(Dir("a") + "/cc", "for a in \"$@\"; do echo \"[$a]\"; done > args.txt\n");
  Process::SetSearchDirs({Dir("a")});
  ASSERT_TRUE(QDir::setCurrent(Dir("cwd")));
  EXPECT_EQ(Process::RunCommandAndWait("cc -o \"my temp\" -lm temp.c runge.c"), 0);
  EXPECT_EQ(Read(Dir("cwd") + "/args.txt"), "[-o]\n[my temp]\n[-lm]\n[temp.c]\n[runge.c]\n");
  // Shell syntax is not interpreted: ';' and '$' are plain argument bytes.
  EXPECT_EQ(Process::RunCommandAndWait("cc a;b $HOME"), 0);
  EXPECT_EQ(Read(Dir("cwd") + "/args.txt"), "[a;b]\n[$HOME]\n");
  EXPECT_EQ(Process::RunCommandAndWait(""), -1);
  EXPECT_EQ(Process::RunCommandAndWait("nosuchcompiler temp.c"), -1);
}

TEST_F(ProcessTest, StartDetachedDoesNotWait) {
  Script(Dir("a") + "/viewer", "echo started > started.txt\n");
  Process::SetSearchDirs({Dir("a")});
  ASSERT_TRUE(Process::StartDetached("viewer", {}, Dir("cwd")));
  const QString flag = Dir("cwd") + "/started.txt";
  for (int i = 0; i < 500 && !QFile::exists(flag); ++i) QThread::msleep(20);
  EXPECT_TRUE(QFile::exists(flag));
  EXPECT_FALSE(Process::StartDetached("nothing_here"));
}

}  // namespace
