// VRKT: the bond-graph editor.
#include "main_window.h"

#include <QApplication>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("VRKT"));
  return WinMain(SW_SHOWDEFAULT);
}
