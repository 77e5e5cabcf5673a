#include "platform/message_box.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>

#include <deque>

namespace plat {
namespace {

struct ScriptState {
  bool active = false;
  std::deque<int> answers;
  std::vector<msgscript::Record> records;
};
ScriptState& Script() {
  static ScriptState s;
  return s;
}

unsigned ButtonSet(unsigned flags) { return flags & 0xF; }

// The answer Escape (or the close box) gives, 0 when it is ignored.
int EscapeAnswer(unsigned flags) {
  switch (ButtonSet(flags)) {
    case MB_OK: return IDOK;
    case MB_OKCANCEL: return IDCANCEL;
    case MB_YESNOCANCEL: return IDCANCEL;
    case MB_YESNO: return 0;
    default: return IDCANCEL;
  }
}

int FirstButton(unsigned flags) {
  const unsigned set = ButtonSet(flags);
  return set == MB_YESNO || set == MB_YESNOCANCEL ? IDYES : IDOK;
}

// QMessageBox answers Escape on a Yes/No box with No and lets its close box end it;
// here both are ignored when the box has no cancelling button.
class Box : public QMessageBox {
 public:
  Box(QWidget* owner, bool escapable) : QMessageBox(owner), escapable_(escapable) {}

 protected:
  void keyPressEvent(QKeyEvent* e) override {
    if (!escapable_ && e->key() == Qt::Key_Escape) {
      e->accept();
      return;
    }
    QMessageBox::keyPressEvent(e);
  }
  void closeEvent(QCloseEvent* e) override {
    if (!escapable_) {
      e->ignore();
      return;
    }
    QMessageBox::closeEvent(e);
  }

 private:
  bool escapable_;
};

int RealBox(QWidget* owner, const QString& text, const QString& title, unsigned flags) {
  const int escape = EscapeAnswer(flags);
  Box box(owner, escape != 0);
  box.setWindowTitle(title);
  box.setText(text);
  switch (flags & 0xF0) {
    case MB_ICONERROR: box.setIcon(QMessageBox::Critical); break;
    case MB_ICONQUESTION: box.setIcon(QMessageBox::Question); break;
    case MB_ICONWARNING: box.setIcon(QMessageBox::Warning); break;
    case MB_ICONINFORMATION: box.setIcon(QMessageBox::Information); break;
    default: break;
  }
  struct Button { QMessageBox::StandardButton qt; int answer; };
  static const Button kOkCancel[] = {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}};
  static const Button kYesNoCancel[] = {
      {QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
  static const Button kYesNo[] = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}};
  static const Button kOk[] = {{QMessageBox::Ok, IDOK}};
  const Button* first = kOk;
  const Button* last = std::end(kOk);
  switch (ButtonSet(flags)) {
    case MB_OKCANCEL: first = kOkCancel; last = std::end(kOkCancel); break;
    case MB_YESNOCANCEL: first = kYesNoCancel; last = std::end(kYesNoCancel); break;
    case MB_YESNO: first = kYesNo; last = std::end(kYesNo); break;
    default: break;
  }
  const std::vector<Button> buttons(first, last);
  for (const Button& b : buttons) {
    QPushButton* pb = box.addButton(b.qt);
    if (b.answer == escape) box.setEscapeButton(pb);
  }
  box.setDefaultButton(buttons.front().qt);
  if (escape == 0) box.setWindowFlag(Qt::WindowCloseButtonHint, false);
  box.exec();
  QAbstractButton* clicked = box.clickedButton();
  for (const Button& b : buttons)
    if (clicked == box.button(b.qt)) return b.answer;
  return escape != 0 ? escape : FirstButton(flags);
}

}  // namespace

int MessageBox(QWidget* owner, const QString& text, const QString& title, unsigned flags) {
  ScriptState& s = Script();
  if (!s.active) return RealBox(owner, text, title, flags);
  int answer = 0;
  while (answer == 0) {
    if (s.answers.empty()) {
      answer = FirstButton(flags);
      break;
    }
    const int next = s.answers.front();
    s.answers.pop_front();
    if (next == msgscript::kEscape || next == msgscript::kCloseBox)
      answer = EscapeAnswer(flags);  // 0: ignored, the box stays and takes the next answer
    else
      answer = next;
  }
  s.records.push_back({text, title, flags, answer});
  return answer;
}

namespace msgscript {
void Begin() {
  ScriptState& s = Script();
  s.active = true;
  s.answers.clear();
  s.records.clear();
}
void End() {
  ScriptState& s = Script();
  s.active = false;
  s.answers.clear();
}
bool Active() { return Script().active; }
void Answer(int answer) { Script().answers.push_back(answer); }
const std::vector<Record>& Records() { return Script().records; }
int Pending() { return static_cast<int>(Script().answers.size()); }
}  // namespace msgscript

}  // namespace plat
