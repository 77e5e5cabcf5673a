#include "platform/file_dialog.h"

#include <QFileDialog>

namespace plat {
namespace {

FileDialog::Hook& TheHook() {
  static FileDialog::Hook hook;
  return hook;
}

QString Run(QWidget* owner, const FileDialogOptions& o, bool save) {
  if (TheHook()) return TheHook()(save, o);
  QFileDialog d(owner, o.title, o.initialDirectory);
  d.setOption(QFileDialog::DontUseNativeDialog);
  d.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  d.setFileMode(save || !o.mustExist ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  if (save) d.setOption(QFileDialog::DontConfirmOverwrite);  // an existing file is replaced
  QStringList filters;
  for (const auto& [description, pattern] : o.filters)
    filters << QStringLiteral("%1 (%2)").arg(description, pattern);
  if (!filters.isEmpty()) d.setNameFilters(filters);
  if (!o.defaultSuffix.isEmpty()) d.setDefaultSuffix(o.defaultSuffix);
  if (d.exec() != QDialog::Accepted) return {};
  const QStringList files = d.selectedFiles();
  return files.isEmpty() ? QString() : files.front();
}

}  // namespace

QString FileDialog::Open(QWidget* owner, const FileDialogOptions& options) { return Run(owner, options, false); }
QString FileDialog::Save(QWidget* owner, const FileDialogOptions& options) { return Run(owner, options, true); }
void FileDialog::SetHook(Hook hook) { TheHook() = std::move(hook); }

}  // namespace plat
