#include "platform/dialog.h"

#include "platform/cp932.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QTreeWidget>

#include <deque>

namespace plat {
namespace {

struct ScriptState {
  bool active = false;
  std::map<std::string, std::deque<dlgscript::Script>> queues;
  std::vector<std::string> opened;
  std::function<void(Dialog&)> shownHook;
};
ScriptState& Scripts() {
  static ScriptState s;
  return s;
}

constexpr int kBytesRole = Qt::UserRole + 1;  // the CP932 bytes an item was made from

QByteArray AsBytes(std::string_view s) {
  return QByteArray(s.data(), static_cast<qsizetype>(s.size()));
}
std::string FromBytes(const QVariant& v) {
  const QByteArray b = v.toByteArray();
  return std::string(b.constData(), static_cast<std::size_t>(b.size()));
}

}  // namespace

Dialog::Dialog(const DialogTemplate& t)
    : QDialog(nullptr, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint),
      name_(QString::fromUtf8(t.name)),
      tx_(t.x),
      ty_(t.y) {
  setModal(true);
  setWindowTitle(QString::fromUtf8(t.caption));
  // "ＭＳ ゴシック" 10 point: the fixed-pitch gothic face, or its metric-compatible stand-ins.
  QFont font;
  font.setFamilies({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic"), QStringLiteral("IPAGothic"),
                    QStringLiteral("Noto Sans Mono CJK JP")});
  font.setPixelSize(13);
  setFont(font);
  setFixedSize(DluToPxX(t.w), DluToPxY(t.h));
  for (const ControlTemplate& c : t.controls)
    MakeControl(c.id, c.kind, QString::fromUtf8(c.text ? c.text : ""), DluToPxX(c.x), DluToPxY(c.y),
                DluToPxX(c.w), DluToPxY(c.h));
}

Dialog::~Dialog() = default;

void Dialog::MakeControl(int id, Ctl kind, const QString& text, int x, int y, int w, int h) {
  QWidget* widget = nullptr;
  switch (kind) {
    case Ctl::PushButton: {
      auto* b = new QPushButton(text, this);
      b->setAutoDefault(false);
      b->setDefault(id == 1);
      connect(b, &QPushButton::clicked, this, [this, id] { Command(id); });
      widget = b;
      break;
    }
    case Ctl::GroupBox: {
      auto* g = new QGroupBox(text, this);
      g->setAttribute(Qt::WA_TransparentForMouseEvents);
      g->setFocusPolicy(Qt::NoFocus);
      widget = g;
      break;
    }
    case Ctl::Label:
    case Ctl::FramedLabel: {
      auto* l = new QLabel(text, this);
      l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      l->setWordWrap(true);
      if (kind == Ctl::FramedLabel) {
        l->setFrameStyle(QFrame::Panel | QFrame::Raised);
        l->setLineWidth(2);
      }
      widget = l;
      break;
    }
    case Ctl::Edit: {
      auto* e = new QLineEdit(text, this);
      widget = e;
      break;
    }
    case Ctl::MultiEdit: {
      auto* e = new QPlainTextEdit(text, this);
      e->setTabChangesFocus(true);
      widget = e;
      break;
    }
    case Ctl::CheckBox: {
      auto* c = new QCheckBox(text, this);
      connect(c, &QCheckBox::clicked, this, [this, id] { Command(id); });
      widget = c;
      break;
    }
    case Ctl::RadioButton: {
      auto* r = new QRadioButton(text, this);
      if (lastKind_ != Ctl::RadioButton || radioGroup_ == nullptr) {
        radioGroup_ = new QButtonGroup(this);
        radioGroup_->setExclusive(true);
      }
      radioGroup_->addButton(r);
      connect(r, &QRadioButton::clicked, this, [this, id] { Command(id); });
      widget = r;
      break;
    }
    case Ctl::Combo: {
      auto* c = new QComboBox(this);
      c->setEditable(false);
      // The rectangle's height includes the drop-down list; the box itself is one line.
      const int boxHeight = c->sizeHint().height();
      const int rowHeight = c->fontMetrics().height() + 2;
      c->setMaxVisibleItems(std::max(1, (h - boxHeight) / std::max(1, rowHeight)));
      h = boxHeight;
      connect(c, QOverload<int>::of(&QComboBox::activated), this, [this, id](int) { Command(id); });
      widget = c;
      break;
    }
    case Ctl::List: {
      auto* l = new QTreeWidget(this);
      l->setRootIsDecorated(false);
      l->setItemsExpandable(false);
      l->setUniformRowHeights(true);
      l->setSelectionMode(QAbstractItemView::ExtendedSelection);
      l->setSelectionBehavior(QAbstractItemView::SelectRows);
      l->setColumnCount(0);
      l->header()->setStretchLastSection(false);
      l->header()->setSectionsMovable(false);
      widget = l;
      break;
    }
  }
  if (kind != Ctl::RadioButton) {
    // A radio group runs until the next control of another kind.
    if (lastKind_ == Ctl::RadioButton) radioGroup_ = nullptr;
  }
  lastKind_ = kind;
  widget->setGeometry(x, y, w, h);
  widget->show();
  if (id >= 0)
    controls_[id] = Control{kind, widget, {}, {}, false};
  else
    unnamed_.push_back(widget);
}

QWidget* Dialog::AddChildPx(int id, Ctl kind, int x, int y, int w, int h, const QString& text) {
  MakeControl(id, kind, text, x, y, w, h);
  return id >= 0 ? controls_[id].widget : unnamed_.back();
}

Dialog::Control* Dialog::Find(int id) {
  auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : &it->second;
}
const Dialog::Control* Dialog::Find(int id) const {
  auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : &it->second;
}
QWidget* Dialog::Child(int id) const {
  const Control* c = Find(id);
  return c ? c->widget : nullptr;
}

QString Dialog::GetTextU(int id) const {
  const Control* c = Find(id);
  if (!c) return {};
  QWidget* w = c->widget;
  if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
  if (auto* e = qobject_cast<QPlainTextEdit*>(w)) return e->toPlainText();
  if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
  if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
  if (auto* g = qobject_cast<QGroupBox*>(w)) return g->title();
  if (auto* cb = qobject_cast<QComboBox*>(w)) return cb->currentText();
  return {};
}

std::string Dialog::GetText(int id, std::size_t maxBytes) const {
  const Control* c = Find(id);
  if (!c) return {};
  const QString shown = GetTextU(id);
  if (c->hasSet && shown == c->setShown) return cp932::CutBytes(c->setBytes, maxBytes);
  if (c->kind == Ctl::MultiEdit) return cp932::FromEditText(shown, maxBytes);
  return cp932::FromQString(shown, maxBytes);
}

void Dialog::SetTextU(int id, const QString& text) {
  Control* c = Find(id);
  if (!c) return;
  QWidget* w = c->widget;
  if (auto* e = qobject_cast<QLineEdit*>(w)) e->setText(text);
  else if (auto* e = qobject_cast<QPlainTextEdit*>(w)) e->setPlainText(text);
  else if (auto* b = qobject_cast<QAbstractButton*>(w)) b->setText(text);
  else if (auto* l = qobject_cast<QLabel*>(w)) l->setText(text);
  else if (auto* g = qobject_cast<QGroupBox*>(w)) g->setTitle(text);
}

void Dialog::SetText(int id, std::string_view bytes) {
  Control* c = Find(id);
  if (!c) return;
  SetTextU(id, c->kind == Ctl::MultiEdit ? cp932::ToEditText(bytes) : cp932::ToQString(bytes));
  c->setBytes.assign(bytes.data(), bytes.size());
  c->setShown = GetTextU(id);
  c->hasSet = true;
}

bool Dialog::IsChecked(int id) const {
  const Control* c = Find(id);
  auto* b = c ? qobject_cast<QAbstractButton*>(c->widget) : nullptr;
  return b && b->isChecked();
}

void Dialog::Check(int id, bool on) {
  Control* c = Find(id);
  auto* b = c ? qobject_cast<QAbstractButton*>(c->widget) : nullptr;
  if (!b) return;
  QButtonGroup* group = b->group();
  const bool exclusive = group && group->exclusive();
  if (exclusive && !on) group->setExclusive(false);  // an exclusive group refuses to uncheck
  b->setChecked(on);
  if (exclusive && !on) group->setExclusive(true);
}

void Dialog::Enable(int id, bool on) {
  if (QWidget* w = Child(id)) w->setEnabled(on);
}
bool Dialog::IsEnabled(int id) const {
  QWidget* w = Child(id);
  return w && w->isEnabled();
}

void Dialog::ComboAdd(int id, std::string_view bytes) {
  auto* cb = qobject_cast<QComboBox*>(Child(id));
  if (!cb) return;
  const int current = cb->currentIndex();
  cb->addItem(cp932::ToQString(bytes), AsBytes(bytes));
  cb->setCurrentIndex(current);  // adding to an empty box would choose the new item
}
int Dialog::ComboCount(int id) const {
  auto* cb = qobject_cast<QComboBox*>(Child(id));
  return cb ? cb->count() : 0;
}
int Dialog::ComboSelection(int id) const {
  auto* cb = qobject_cast<QComboBox*>(Child(id));
  return cb ? cb->currentIndex() : -1;
}
void Dialog::ComboSelect(int id, int index) {
  auto* cb = qobject_cast<QComboBox*>(Child(id));
  if (!cb) return;
  cb->setCurrentIndex(index >= 0 && index < cb->count() ? index : -1);
}
std::string Dialog::ComboText(int id, int index) const {
  auto* cb = qobject_cast<QComboBox*>(Child(id));
  if (!cb || index < 0 || index >= cb->count()) return {};
  return FromBytes(cb->itemData(index));
}

void Dialog::ComboAddNumbers(int id, int count) {
  for (int n = 1; n <= count; ++n) ComboAdd(id, std::to_string(n));
}

void Dialog::ListAddColumn(int id, const QString& title, int widthPx, Align align) {
  auto* l = qobject_cast<QTreeWidget*>(Child(id));
  if (!l) return;
  const int column = l->columnCount();
  l->setColumnCount(column + 1);
  QTreeWidgetItem* header = l->headerItem();
  header->setText(column, title);
  const Qt::Alignment a = align == Align::Center ? Qt::AlignHCenter : Qt::AlignLeft;
  header->setTextAlignment(column, a | Qt::AlignVCenter);
  l->header()->setSectionResizeMode(column, QHeaderView::Fixed);
  l->header()->resizeSection(column, widthPx);
}

void Dialog::ListInsertRow(int id, int row, const std::vector<std::string>& cells) {
  auto* l = qobject_cast<QTreeWidget*>(Child(id));
  if (!l) return;
  auto* item = new QTreeWidgetItem;
  for (int c = 0; c < static_cast<int>(cells.size()); ++c) {
    item->setText(c, cp932::ToQString(cells[static_cast<std::size_t>(c)]));
    item->setData(c, kBytesRole, AsBytes(cells[static_cast<std::size_t>(c)]));
    item->setTextAlignment(c, Qt::Alignment(l->headerItem()->textAlignment(c)));
  }
  const int count = l->topLevelItemCount();
  l->insertTopLevelItem(row < 0 || row > count ? count : row, item);
}

void Dialog::ListDeleteRow(int id, int row) {
  auto* l = qobject_cast<QTreeWidget*>(Child(id));
  if (!l || row < 0 || row >= l->topLevelItemCount()) return;
  delete l->takeTopLevelItem(row);
}

int Dialog::ListRowCount(int id) const {
  auto* l = qobject_cast<QTreeWidget*>(Child(id));
  return l ? l->topLevelItemCount() : 0;
}

int Dialog::ListNextSelected(int id, int after) const {
  auto* l = qobject_cast<QTreeWidget*>(Child(id));
  if (!l) return -1;
  for (int r = after < 0 ? 0 : after + 1; r < l->topLevelItemCount(); ++r)
    if (l->topLevelItem(r)->isSelected()) return r;
  return -1;
}

void Dialog::ListSelect(int id, int row, bool on) {
  auto* l = qobject_cast<QTreeWidget*>(Child(id));
  if (!l || row < 0 || row >= l->topLevelItemCount()) return;
  l->topLevelItem(row)->setSelected(on);
}

std::string Dialog::ListText(int id, int row, int column) const {
  auto* l = qobject_cast<QTreeWidget*>(Child(id));
  if (!l || row < 0 || row >= l->topLevelItemCount()) return {};
  return FromBytes(l->topLevelItem(row)->data(column, kBytesRole));
}

void Dialog::End(int code) {
  ended_ = true;
  endCode_ = code;
  if (running_) QDialog::done(code);
}

void Dialog::done(int r) { End(r); }

void Dialog::Command(int id) { OnCommand(id); }

void Dialog::Press(int id) {
  if (auto* b = qobject_cast<QAbstractButton*>(Child(id))) {
    b->click();  // a disabled button ignores it; the click reaches OnCommand
    return;
  }
  if (!Child(id)) Command(id);
}

void Dialog::ChooseCombo(int id, int index) {
  auto* cb = qobject_cast<QComboBox*>(Child(id));
  if (!cb || !cb->isEnabled()) return;
  ComboSelect(id, index);
  Command(id);
}

void Dialog::PressEscape() { Command(2); }
void Dialog::PressCloseBox() { Command(2); }
void Dialog::PressEnter() { Command(1); }

// Escape and the close box arrive here (QDialog routes both to reject()).
void Dialog::reject() { Command(2); }
void Dialog::accept() { Command(1); }

void Dialog::keyPressEvent(QKeyEvent* e) {
  const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
  if (enter && (e->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
    // Enter presses the focused push button, else sends id 1.
    if (auto* b = qobject_cast<QPushButton*>(focusWidget()); b && b->isEnabled()) {
      for (auto& [id, c] : controls_)
        if (c.widget == b) {
          b->click();
          e->accept();
          return;
        }
    }
    PressEnter();
    e->accept();
    return;
  }
  if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier) {
    PressEscape();
    e->accept();
    return;
  }
  QDialog::keyPressEvent(e);
}

void Dialog::paintEvent(QPaintEvent* e) {
  QDialog::paintEvent(e);
  QPainter painter(this);
  OnPaint(painter);
}

int RunModal(Dialog& dialog, QWidget* owner) {
  ScriptState& s = Scripts();
  s.opened.push_back(dialog.Name().toStdString());
  dialog.ended_ = false;

  // Placed relative to the owner's client area.
  QWidget* client = owner;
  if (auto* mw = qobject_cast<QMainWindow*>(owner); mw && mw->centralWidget())
    client = mw->centralWidget();
  if (owner) dialog.setParent(owner, dialog.windowFlags());
  const QPoint origin = client ? client->mapToGlobal(QPoint(0, 0)) : QPoint(0, 0);
  dialog.move(origin + QPoint(DluToPxX(dialog.tx_), DluToPxY(dialog.ty_)));

  dialog.OnInit();
  if (dialog.Ended()) return dialog.EndCode();

  if (s.active) {
    auto it = s.queues.find(dialog.Name().toStdString());
    if (it == s.queues.end() || it->second.empty()) return -1;
    dlgscript::Script script = std::move(it->second.front());
    it->second.pop_front();
    script(dialog);
    return dialog.Ended() ? dialog.EndCode() : -1;
  }

  // Focus the first edit field (in creation order), where the user types first.
  for (QWidget* w : dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if ((qobject_cast<QLineEdit*>(w) || qobject_cast<QPlainTextEdit*>(w)) && w->isEnabled()) {
      w->setFocus();
      break;
    }
  }
  if (s.shownHook) {
    auto hook = s.shownHook;
    QTimer::singleShot(0, &dialog, [hook, &dialog] { hook(dialog); });
  }
  dialog.running_ = true;
  dialog.exec();
  dialog.running_ = false;
  return dialog.Ended() ? dialog.EndCode() : -1;
}

namespace dlgscript {
void Begin() {
  ScriptState& s = Scripts();
  s.active = true;
  s.queues.clear();
  s.opened.clear();
}
void End() {
  ScriptState& s = Scripts();
  s.active = false;
  s.queues.clear();
}
bool Active() { return Scripts().active; }
void Queue(const std::string& dialogName, Script script) {
  Scripts().queues[dialogName].push_back(std::move(script));
}
int Pending(const std::string& dialogName) {
  auto& q = Scripts().queues;
  auto it = q.find(dialogName);
  return it == q.end() ? 0 : static_cast<int>(it->second.size());
}
const std::vector<std::string>& Opened() { return Scripts().opened; }
void SetShownHook(std::function<void(Dialog&)> hook) { Scripts().shownHook = std::move(hook); }
}  // namespace dlgscript

}  // namespace plat
