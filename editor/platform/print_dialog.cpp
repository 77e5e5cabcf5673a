#include "platform/print_dialog.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QPageRanges>
#include <QPrintDialog>
#include <QPrintEngine>
#include <QPrinter>
#include <QStringList>

namespace plat {
namespace {

PrintDialog::Hook& TheHook() {
  static PrintDialog::Hook hook;
  return hook;
}

// The options the CUPS print engine sends with the job: a print engine property
// holding a list of names, each followed by its value. The dialog puts its page
// selection there as "page-ranges" and "page-set".
constexpr auto kJobOptions = QPrintEngine::PrintEnginePropertyKey(0xfe00);

// Qt's dialog without its page selection. On Linux it shows the group of print
// ranges (all pages, pages from-to, a page list, odd or even pages) even when
// page ranges are not asked for, since CUPS could select the pages itself; the
// group comes back each time the dialog is shown, so it is taken away afterwards.
class CopiesAndPrinterDialog : public QPrintDialog {
 public:
  using QPrintDialog::QPrintDialog;

  void setVisible(bool visible) override {
    QPrintDialog::setVisible(visible);
    if (visible) HidePageSelection();
  }

 private:
  void HidePageSelection() {
    if (auto* all = findChild<QAbstractButton*>(QStringLiteral("printAll"))) all->setChecked(true);
    if (auto* pageSet = findChild<QComboBox*>(QStringLiteral("pageSetCombo"))) pageSet->setCurrentIndex(0);
    if (auto* group = findChild<QWidget*>(QStringLiteral("gbPrintRange"))) {
      group->setEnabled(false);
      group->hide();
    }
  }
};

// Every page, once per copy.
void DropPageSelection(QPrinter& printer) {
  printer.setPrintRange(QPrinter::AllPages);
  printer.setPageRanges(QPageRanges());
  QPrintEngine* engine = printer.printEngine();
  const QVariant value = engine->property(kJobOptions);
  if (!value.isValid()) return;  // not a CUPS job
  const QStringList options = value.toStringList();
  QStringList kept;
  for (int i = 0; i + 1 < options.size(); i += 2) {
    if (options[i] == QLatin1String("page-ranges") || options[i] == QLatin1String("page-set")) continue;
    kept << options[i] << options[i + 1];
  }
  if (kept != options) engine->setProperty(kJobOptions, kept);
}

}  // namespace

QAbstractPrintDialog::PrintDialogOptions PrintDialog::Options() {
  return QAbstractPrintDialog::PrintShowPageSize;
}

bool PrintDialog::Run(QWidget* owner, QPrinter& printer) {
  bool accepted = false;
  if (TheHook()) {
    accepted = TheHook()(printer, Options());
  } else {
    CopiesAndPrinterDialog d(&printer, owner);
    d.setOptions(Options());
    accepted = d.exec() == QDialog::Accepted;
  }
  if (accepted) DropPageSelection(printer);
  return accepted;
}

void PrintDialog::SetHook(Hook hook) { TheHook() = std::move(hook); }

}  // namespace plat
