// The print dialog: chooses the printer and the number of copies. It offers no
// page range, no current page, no selection, no odd/even page set and no printing
// to a file.
#pragma once
#include <QAbstractPrintDialog>
#include <functional>

class QPrinter;
class QWidget;

namespace plat {

struct PrintDialog {
  // The options the dialog is shown with.
  static QAbstractPrintDialog::PrintDialogOptions Options();

  // Shows the dialog for printer (which it changes as the user chooses); false
  // when the user cancels. An accepted printer prints every page: whatever page
  // selection it still carries (a range, a page list, odd or even pages) is dropped.
  static bool Run(QWidget* owner, QPrinter& printer);

  // Test hook: answers every dialog instead of showing one; it may set up the
  // printer (e.g. a PDF file and a copy count) and returns whether to print.
  using Hook = std::function<bool(QPrinter& printer, QAbstractPrintDialog::PrintDialogOptions options)>;
  static void SetHook(Hook hook);  // empty function: real dialogs again
};

}  // namespace plat
