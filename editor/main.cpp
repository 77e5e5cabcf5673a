// VRKT: the bond-graph editor.
#include "main_window.h"
#include "platform/translation.h"

#include <QApplication>
#include <QTranslator>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("VRKT"));
  // Qt's own texts (message-box buttons, file and print dialogs) in Japanese.
  const std::unique_ptr<QTranslator> japanese = plat::LoadQtJapanese();
  if (japanese) QApplication::installTranslator(japanese.get());
  return WinMain(SW_SHOWDEFAULT);
}
