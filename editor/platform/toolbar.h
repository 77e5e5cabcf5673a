// A fixed toolbar of push buttons and separators, each button carrying a
// command id; a click reaches the command handler. Buttons show as pressed
// only through Check: a click never changes the checked state by itself.
#pragma once

#include <QToolBar>

#include <functional>
#include <map>
#include <vector>

class QAction;

namespace plat {

struct ToolbarButton {
  int bitmap;   // index of the button's picture
  int id;       // command id (0 for a separator)
  int state;    // kButtonEnabled or kButtonIndeterminate
  int style;    // kStyleButton or kStyleSeparator
};
constexpr int kButtonEnabled = 0x04;
constexpr int kButtonIndeterminate = 0x10;  // shown greyed, not enabled
constexpr int kStyleButton = 0x00;
constexpr int kStyleSeparator = 0x01;

class Toolbar : public QToolBar {
  Q_OBJECT
 public:
  // pictures: one image per bitmap index; onCommand receives the id of every click.
  Toolbar(QWidget* parent, std::vector<QPixmap> pictures, std::function<void(int)> onCommand);

  void AddButtons(const ToolbarButton* buttons, int count);
  void InsertButton(int position, const ToolbarButton& button);
  int ButtonCount() const { return static_cast<int>(entries_.size()); }
  // Id at a position (0 for a separator), -1 outside.
  int IdAt(int position) const;

  void Check(int id, bool on);
  bool IsChecked(int id) const;
  void Enable(int id, bool on);
  bool IsEnabled(int id) const;
  QAction* Action(int id) const;
  // The button widget of a command (for tests and geometry).
  QWidget* ButtonWidget(int id) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QAction* Make(const ToolbarButton& button);
  void Clicked(int id);

  std::vector<QPixmap> pictures_;
  std::function<void(int)> onCommand_;
  std::vector<QAction*> entries_;
  std::map<int, bool> checked_;
};

// The pictures of a toolbar: each text drawn centred into a w x h image.
std::vector<QPixmap> TextPictures(const std::vector<QString>& glyphs, int w, int h);

}  // namespace plat
