#include "platform/process.h"

#include "platform/fs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include <optional>

namespace plat {
namespace {

std::optional<QStringList>& InjectedDirs() {
  static std::optional<QStringList> dirs;
  return dirs;
}

QString FindIn(const QStringList& dirs, const QString& name) {
  for (const QString& dir : dirs) {
    const QFileInfo fi(QDir(dir.isEmpty() ? QStringLiteral(".") : dir), name);
    if (fi.isFile() && fi.isExecutable()) return fi.absoluteFilePath();
  }
  return {};
}

constexpr QProcess::ProcessChannelMode kForwarded = QProcess::ForwardedChannels;

}  // namespace

QStringList Process::SearchDirs() {
  if (InjectedDirs()) return *InjectedDirs();
  QStringList dirs;
  dirs << QCoreApplication::applicationDirPath() << QDir::currentPath();
  const QString path = fs::ToQString(qgetenv("PATH").toStdString());
  for (const QString& entry : path.split(QLatin1Char(':')))
    dirs << (entry.isEmpty() ? QDir::currentPath() : entry);  // an empty entry is the cwd
  return dirs;
}

void Process::SetSearchDirs(const QStringList& dirs) { InjectedDirs() = dirs; }
void Process::ResetSearchDirs() { InjectedDirs().reset(); }

QString Process::Resolve(const QString& name) {
  if (name.isEmpty()) return {};
  if (name.contains(QLatin1Char('/'))) return name;
  const QStringList dirs = SearchDirs();
  QString found = FindIn(dirs, name);
  // Programs named with ".exe" are found without it too.
  if (found.isEmpty() && name.size() > 4 && name.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive))
    found = FindIn(dirs, name.left(name.size() - 4));
  return found;
}

int Process::RunAndWait(const QString& program, const QStringList& args, const QString& workDir) {
  const QString resolved = Resolve(program);
  if (resolved.isEmpty()) return -1;
  QProcess p;
  p.setProgram(resolved);
  p.setArguments(args);
  if (!workDir.isEmpty()) p.setWorkingDirectory(workDir);
  p.setProcessChannelMode(kForwarded);
  p.setInputChannelMode(QProcess::ForwardedInputChannel);
  p.start();
  if (!p.waitForStarted(-1)) return -1;
  p.waitForFinished(-1);
  return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

int Process::RunCommandAndWait(const QString& commandLine, const QString& workDir) {
  QStringList words = QProcess::splitCommand(commandLine);
  if (words.isEmpty()) return -1;
  const QString program = words.takeFirst();
  return RunAndWait(program, words, workDir);
}

bool Process::StartDetached(const QString& program, const QStringList& args, const QString& workDir) {
  const QString resolved = Resolve(program);
  if (resolved.isEmpty()) return false;
  return QProcess::startDetached(resolved, args, workDir.isEmpty() ? QDir::currentPath() : workDir);
}

}  // namespace plat
