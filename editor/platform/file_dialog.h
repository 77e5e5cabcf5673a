// Open and save file dialogs (Qt's own dialog, so "*.VRK" also lists ".vrk" files).
#pragma once
#include <QString>
#include <functional>
#include <utility>
#include <vector>

class QWidget;

namespace plat {

struct FileDialogOptions {
  QString title;
  // (description, pattern): shown as "description (pattern)", e.g. ("VRK File", "*.VRK").
  std::vector<std::pair<QString, QString>> filters;
  QString defaultSuffix;                             // without the dot, e.g. "VRK"
  QString initialDirectory;
  bool mustExist = false;                            // open: the file must exist
};

struct FileDialog {
  // The chosen path, or an empty text when the user cancels.
  static QString Open(QWidget* owner, const FileDialogOptions& options);
  static QString Save(QWidget* owner, const FileDialogOptions& options);

  // Test hook: answers every dialog instead of showing one (save = true for Save).
  using Hook = std::function<QString(bool save, const FileDialogOptions& options)>;
  static void SetHook(Hook hook);  // empty function: real dialogs again
};

}  // namespace plat
