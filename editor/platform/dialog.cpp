#include "platform/dialog.h"

#include "platform/cp932.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
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
#include <QRawFont>
#include <QTextCursor>
#include <QTimer>
#include <QTreeWidget>
#include <QValidator>

#include <algorithm>
#include <cstdint>
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

using Encoding = Dialog::Encoding;

// Calls f(start, length, bytes) for each character of an edit's text (one or two UTF-16
// units) with the bytes the edit stores it as, until f returns false. A line end of a
// multi-line edit is CR LF.
template <class F>
void ForEachCharBytes(const QString& text, bool multiLine, Encoding encoding, F f) {
  const int n = static_cast<int>(text.size());
  for (int i = 0; i < n;) {
    const int len = text[i].isHighSurrogate() && i + 1 < n && text[i + 1].isLowSurrogate() ? 2 : 1;
    std::string bytes;
    if (multiLine && text[i] == QLatin1Char('\n')) {
      bytes = "\r\n";
    } else {
      const QString c = text.mid(i, len);
      if (encoding == Encoding::Utf8) {
        const QByteArray u = c.toUtf8();
        bytes.assign(u.constData(), static_cast<std::size_t>(u.size()));
      } else {
        bytes = cp932::FromQString(c);
      }
    }
    if (!f(i, len, bytes)) return;
    i += len;
  }
}

// The text as stored bytes, at most maxBytes, never ending inside a character.
std::string EncodeText(const QString& text, bool multiLine, Encoding encoding, std::size_t maxBytes) {
  std::string out;
  ForEachCharBytes(text, multiLine, encoding, [&](int, int, const std::string& bytes) {
    if (bytes.size() > maxBytes - out.size()) return false;
    out += bytes;
    return true;
  });
  return out;
}

// Stored bytes as the text an edit shows.
QString DecodeText(std::string_view bytes, bool multiLine, Encoding encoding) {
  if (encoding == Encoding::Cp932) return multiLine ? cp932::ToEditText(bytes) : cp932::ToQString(bytes);
  QString text = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
  if (multiLine) text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return text;
}

// What to remove from an edit's text so that it fits maxBytes: the characters just
// before pos (the end of what was typed or pasted), as many as needed, then, when
// those are not enough, characters from the end.
struct Fit {
  int cutFrom = 0, cutTo = 0;  // [cutFrom, cutTo) goes
  int keep = 0;                // and everything from keep on
};
Fit FitToLimit(const QString& text, int pos, bool multiLine, Encoding encoding, std::size_t maxBytes) {
  struct Char {
    int start, len;
    std::size_t bytes;
  };
  std::vector<Char> chars;
  std::size_t total = 0;
  ForEachCharBytes(text, multiLine, encoding, [&](int start, int len, const std::string& bytes) {
    chars.push_back({start, len, bytes.size()});
    total += bytes.size();
    return true;
  });
  Fit fit;
  fit.keep = static_cast<int>(text.size());
  fit.cutFrom = fit.cutTo = std::clamp(pos, 0, fit.keep);
  int i = -1;  // the last character ending at or before pos
  while (i + 1 < static_cast<int>(chars.size()) && chars[i + 1].start + chars[i + 1].len <= pos) ++i;
  const int firstAfter = i + 1;
  if (i >= 0) fit.cutFrom = fit.cutTo = chars[i].start + chars[i].len;
  for (; total > maxBytes && i >= 0; --i) {
    total -= chars[i].bytes;
    fit.cutFrom = chars[i].start;
  }
  for (int j = static_cast<int>(chars.size()) - 1; total > maxBytes && j >= firstAfter; --j) {
    total -= chars[j].bytes;
    fit.keep = chars[j].start;
  }
  return fit;
}

// Holds a single-line edit to its cap: what a change put in is cut back to fit.
class ByteLimitValidator : public QValidator {
 public:
  ByteLimitValidator(std::size_t maxBytes, Encoding encoding, QObject* parent)
      : QValidator(parent), maxBytes_(maxBytes), encoding_(encoding) {}
  State validate(QString& input, int& pos) const override {
    const Fit fit = FitToLimit(input, pos, false, encoding_, maxBytes_);
    input.truncate(fit.keep);
    if (fit.cutTo > fit.cutFrom) {
      input.remove(fit.cutFrom, fit.cutTo - fit.cutFrom);
      pos = fit.cutFrom;
    }
    pos = std::min(pos, static_cast<int>(input.size()));
    return Acceptable;
  }

 private:
  std::size_t maxBytes_;
  Encoding encoding_;
};

// A big-endian 16-bit field of a font table.
int TableInt16(const QByteArray& table, int offset) {
  if (offset + 2 > table.size()) return 0;
  return static_cast<int16_t>((static_cast<unsigned char>(table[offset]) << 8) |
                              static_cast<unsigned char>(table[offset + 1]));
}

}  // namespace

QFont DialogFont(const char* face, int points) {
  const QString name = QString::fromUtf8(face ? face : "");
  QStringList families{name};
  if (name == QStringLiteral("ＭＳ ゴシック"))
    families << QStringLiteral("MS Gothic") << QStringLiteral("IPAGothic") << QStringLiteral("Noto Sans Mono CJK JP");
  else if (name == QStringLiteral("ＭＳ Ｐゴシック"))
    families << QStringLiteral("MS PGothic") << QStringLiteral("IPAPGothic") << QStringLiteral("Noto Sans CJK JP");
  QFont font;
  font.setFamilies(families);
  font.setPixelSize(std::max(1, (points * 96 + 36) / 72));  // points at 96 dpi, rounded
  return font;
}

BaseUnits BaseUnitsOf(const QFont& font) {
  const QFontMetrics metrics(font);
  const int letters = metrics.horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  BaseUnits units{(letters / 26 + 1) / 2, metrics.height()};
  // The cell height from the face's declared ascender and descender (its hhea table):
  // the gothic stand-ins share these with the faces they stand in for, while their
  // other line metrics make the cell a pixel taller.
  const QRawFont raw = QRawFont::fromFont(font);
  const QByteArray hhea = raw.isValid() ? raw.fontTable("hhea") : QByteArray();
  if (hhea.size() >= 8 && raw.unitsPerEm() > 0) {
    const double scale = raw.pixelSize() / raw.unitsPerEm();
    const int ascent = qRound(TableInt16(hhea, 4) * scale);
    const int descent = qRound(-TableInt16(hhea, 6) * scale);
    if (ascent + descent > 0) units.y = ascent + descent;
  }
  return {std::max(1, units.x), std::max(1, units.y)};
}

Dialog::Dialog(const DialogTemplate& t)
    : QDialog(nullptr, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint),
      name_(QString::fromUtf8(t.name)),
      tx_(t.x),
      ty_(t.y) {
  setModal(true);
  setWindowTitle(QString::fromUtf8(t.caption));
  const QFont font = DialogFont(t.fontFace, t.fontPoints);
  setFont(font);
  units_ = BaseUnitsOf(font);
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
      b->setDefault(id == IDOK);
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
  order_.push_back(widget);
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

void Dialog::SetByteLimit(int id, std::size_t bytes, Encoding encoding) {
  Control* c = Find(id);
  if (!c) return;
  c->byteLimit = bytes;
  c->encoding = encoding;
  if (auto* e = qobject_cast<QLineEdit*>(c->widget)) {
    delete e->validator();
    e->setValidator(new ByteLimitValidator(bytes, encoding, e));
    const int cursor = e->cursorPosition();
    e->setText(e->text());  // a text already there is held to the cap too
    e->setCursorPosition(cursor);
  } else if (auto* e = qobject_cast<QPlainTextEdit*>(c->widget)) {
    if (!c->fitConnected) connect(e, &QPlainTextEdit::textChanged, this, [this, id] { FitPlainEdit(id); });
    c->fitConnected = true;
    FitPlainEdit(id);
  }
}

// Cuts a multi-line edit's text back to its cap after a change.
void Dialog::FitPlainEdit(int id) {
  Control* c = Find(id);
  auto* e = c ? qobject_cast<QPlainTextEdit*>(c->widget) : nullptr;
  if (!e || fitting_) return;
  const QString text = e->toPlainText();
  QTextCursor cursor = e->textCursor();
  const int pos = cursor.position();
  const Fit fit = FitToLimit(text, pos, true, c->encoding, c->byteLimit);
  if (fit.keep == static_cast<int>(text.size()) && fit.cutTo == fit.cutFrom) return;
  fitting_ = true;
  if (fit.keep < static_cast<int>(text.size())) {
    cursor.setPosition(fit.keep);
    cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
  }
  if (fit.cutTo > fit.cutFrom) {
    cursor.setPosition(fit.cutFrom);
    cursor.setPosition(fit.cutTo, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
  }
  cursor.setPosition(fit.cutTo > fit.cutFrom ? fit.cutFrom : std::min(pos, fit.keep));
  e->setTextCursor(cursor);
  fitting_ = false;
}

std::string Dialog::GetText(int id, std::size_t maxBytes) const {
  const Control* c = Find(id);
  if (!c) return {};
  const std::size_t limit = std::min(maxBytes, c->byteLimit);
  const QString shown = GetTextU(id);
  if (c->hasSet && shown == c->setShown)
    return c->encoding == Encoding::Utf8 ? cp932::CutUtf8(c->setBytes, limit) : cp932::CutBytes(c->setBytes, limit);
  return EncodeText(shown, c->kind == Ctl::MultiEdit, c->encoding, limit);
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
  SetTextU(id, DecodeText(bytes, c->kind == Ctl::MultiEdit, c->encoding));
  // The start of the text in view, as a filled edit shows it (a long text would
  // otherwise show its end).
  if (auto* e = qobject_cast<QLineEdit*>(c->widget)) e->setCursorPosition(0);
  if (auto* e = qobject_cast<QPlainTextEdit*>(c->widget)) e->moveCursor(QTextCursor::Start);
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

QWidget* Dialog::FirstTabStop() const {
  for (QWidget* w : order_)
    if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && !w->isHidden()) return w;
  return nullptr;
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

void Dialog::PressEscape() { Command(IDCANCEL); }
void Dialog::PressCloseBox() { Command(IDCANCEL); }
void Dialog::PressEnter() { Command(IDOK); }

// Escape and the close box arrive here (QDialog routes both to reject()).
void Dialog::reject() { Command(IDCANCEL); }
void Dialog::accept() { Command(IDOK); }

void Dialog::keyPressEvent(QKeyEvent* e) {
  const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
  if (enter && (e->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
    // Enter presses the focused push button, else sends IDOK.
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
  dialog.move(origin + QPoint(dialog.DluToPxX(dialog.tx_), dialog.DluToPxY(dialog.ty_)));

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

  // The focus on the first tab stop in template order (controls added later come after).
  if (QWidget* first = dialog.FirstTabStop()) first->setFocus();
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
