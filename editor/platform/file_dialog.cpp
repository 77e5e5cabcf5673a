#include "platform/file_dialog.h"
namespace plat {
QString FileDialog::Open(QWidget*, const FileDialogOptions&) { return {}; }
QString FileDialog::Save(QWidget*, const FileDialogOptions&) { return {}; }
void FileDialog::SetHook(Hook) {}
}  // namespace plat
