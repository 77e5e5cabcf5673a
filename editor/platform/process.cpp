#include "platform/process.h"
namespace plat {
QString Process::Resolve(const QString&) { return {}; }
int Process::RunAndWait(const QString&, const QStringList&, const QString&) { return -1; }
int Process::RunCommandAndWait(const QString&, const QString&) { return -1; }
bool Process::StartDetached(const QString&, const QStringList&, const QString&) { return false; }
void Process::SetSearchDirs(const QStringList&) {}
void Process::ResetSearchDirs() {}
QStringList Process::SearchDirs() { return {}; }
}  // namespace plat
