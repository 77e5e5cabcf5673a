#include "platform/print_dialog.h"

#include <QPrintDialog>
#include <QPrinter>

namespace plat {
namespace {

PrintDialog::Hook& TheHook() {
  static PrintDialog::Hook hook;
  return hook;
}

}  // namespace

QAbstractPrintDialog::PrintDialogOptions PrintDialog::Options() {
  return QAbstractPrintDialog::PrintShowPageSize;
}

bool PrintDialog::Run(QWidget* owner, QPrinter& printer) {
  if (TheHook()) return TheHook()(printer, Options());
  QPrintDialog d(&printer, owner);
  d.setOptions(Options());
  return d.exec() == QDialog::Accepted;
}

void PrintDialog::SetHook(Hook hook) { TheHook() = std::move(hook); }

}  // namespace plat
