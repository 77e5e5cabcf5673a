#include "platform/toolbar.h"

#include <QAction>
#include <QEvent>
#include <QFont>
#include <QPainter>
#include <QToolButton>

namespace plat {

Toolbar::Toolbar(QWidget* parent, std::vector<QPixmap> pictures, std::function<void(int)> onCommand)
    : QToolBar(parent), pictures_(std::move(pictures)), onCommand_(std::move(onCommand)) {
  setMovable(false);
  setFloatable(false);
  setFocusPolicy(Qt::NoFocus);
  setContextMenuPolicy(Qt::PreventContextMenu);
  setToolButtonStyle(Qt::ToolButtonIconOnly);
  setIconSize(QSize(25, 17));
  // The bar's face, not the white window below it.
  setAutoFillBackground(true);
  // Pointer events over the bar stay with the bar, never reach the window below.
  setMouseTracking(true);
  installEventFilter(this);
}

QAction* Toolbar::Make(const ToolbarButton& button) {
  QAction* action = nullptr;
  if (button.style & kStyleSeparator) {
    action = new QAction(this);
    action->setSeparator(true);
    return action;
  }
  action = new QAction(this);
  if (button.bitmap >= 0 && button.bitmap < static_cast<int>(pictures_.size())) {
    action->setIcon(QIcon(pictures_[button.bitmap]));
  }
  action->setCheckable(true);
  action->setEnabled((button.state & kButtonEnabled) != 0 && (button.state & kButtonIndeterminate) == 0);
  action->setData(button.id);
  const int id = button.id;
  connect(action, &QAction::triggered, this, [this, id]() { Clicked(id); });
  checked_[id] = false;
  return action;
}

void Toolbar::AddButtons(const ToolbarButton* buttons, int count) {
  for (int i = 0; i < count; ++i) InsertButton(static_cast<int>(entries_.size()), buttons[i]);
}

void Toolbar::InsertButton(int position, const ToolbarButton& button) {
  if (position < 0) position = 0;
  if (position > static_cast<int>(entries_.size())) position = static_cast<int>(entries_.size());
  QAction* action = Make(button);
  QAction* before = position < static_cast<int>(entries_.size()) ? entries_[position] : nullptr;
  insertAction(before, action);
  entries_.insert(entries_.begin() + position, action);
  if (QWidget* w = widgetForAction(action)) {
    w->setFocusPolicy(Qt::NoFocus);
    w->setContextMenuPolicy(Qt::PreventContextMenu);
  }
}

int Toolbar::IdAt(int position) const {
  if (position < 0 || position >= static_cast<int>(entries_.size())) return -1;
  QAction* a = entries_[position];
  return a->isSeparator() ? 0 : a->data().toInt();
}

QAction* Toolbar::Action(int id) const {
  for (QAction* a : entries_) {
    if (!a->isSeparator() && a->data().toInt() == id) return a;
  }
  return nullptr;
}

QWidget* Toolbar::ButtonWidget(int id) const {
  QAction* a = Action(id);
  return a ? widgetForAction(a) : nullptr;
}

void Toolbar::Check(int id, bool on) {
  if (QAction* a = Action(id)) {
    checked_[id] = on;
    const QSignalBlocker block(a);
    a->setChecked(on);
  }
}

bool Toolbar::IsChecked(int id) const {
  auto it = checked_.find(id);
  return it != checked_.end() && it->second;
}

void Toolbar::Enable(int id, bool on) {
  if (QAction* a = Action(id)) a->setEnabled(on);
}

bool Toolbar::IsEnabled(int id) const {
  QAction* a = Action(id);
  return a && a->isEnabled();
}

void Toolbar::Clicked(int id) {
  // Undo the toggle of the click: the handler sets the checked states.
  if (QAction* a = Action(id)) {
    const QSignalBlocker block(a);
    a->setChecked(checked_[id]);
  }
  if (onCommand_) onCommand_(id);
}

bool Toolbar::eventFilter(QObject* watched, QEvent* event) {
  if (watched == this) {
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::MouseMove:
      case QEvent::Wheel:
      case QEvent::ContextMenu:
        event->accept();
        return true;
      default: break;
    }
  }
  return QToolBar::eventFilter(watched, event);
}

std::vector<QPixmap> TextPictures(const std::vector<QString>& glyphs, int w, int h) {
  std::vector<QPixmap> out;
  out.reserve(glyphs.size());
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(10);
  font.setBold(true);
  for (const QString& g : glyphs) {
    QPixmap pm(w, h);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(QRect(0, 0, w, h), Qt::AlignCenter, g);
    out.push_back(pm);
  }
  return out;
}

}  // namespace plat
