// The window's menu bar, built from a menu resource: pop-ups holding items
// that carry command ids; a click on any item reaches the command handler.
//
// Resource text (UTF-8):
//   <name> MENU
//   BEGIN
//     POPUP "text"
//     BEGIN
//       MENUITEM "text", <id>
//       POPUP "text" BEGIN ... END
//     END
//   END
#pragma once

#include <QString>

#include <functional>
#include <map>
#include <string>

class QAction;
class QMenu;
class QMenuBar;

namespace plat {

class Menu {
 public:
  // Fills bar from the resource file (a Qt resource path or a file); false
  // when it cannot be read or parsed (the bar is then left empty).
  bool Load(QMenuBar* bar, const QString& path, std::function<void(int)> onCommand);
  // The same from resource text.
  bool LoadText(QMenuBar* bar, const QString& text, std::function<void(int)> onCommand);

  const QString& Name() const { return name_; }
  QAction* Item(int id) const;
  void Check(int id, bool on);
  void Enable(int id, bool on);

 private:
  QString name_;
  std::map<int, QAction*> items_;
};

}  // namespace plat
