// Child programs. Bare names are looked up in the application directory, the current
// directory, then each PATH entry. Children inherit stdin, stdout and stderr and are
// never run through a shell.
#pragma once
#include <QString>
#include <QStringList>

namespace plat {

struct Process {
  // Full path of an executable regular file, or "" when none is found. A name holding
  // '/' is taken as a path as it is.
  static QString Resolve(const QString& name);

  // Starts program (resolved) with args in workDir (empty = current directory) and waits
  // without a time limit. Returns the exit code, or -1 when it could not be started.
  static int RunAndWait(const QString& program, const QStringList& args = {},
                        const QString& workDir = {});
  // A command line split like a shell would (quotes), the first word resolved.
  static int RunCommandAndWait(const QString& commandLine, const QString& workDir = {});
  // Starts without waiting; false when it could not be started.
  static bool StartDetached(const QString& program, const QStringList& args = {},
                            const QString& workDir = {});

  // Test hook: the directories searched, in order, instead of application dir, cwd, PATH.
  static void SetSearchDirs(const QStringList& dirs);
  static void ResetSearchDirs();
  static QStringList SearchDirs();
};

}  // namespace plat
