// Modal dialogs built from template tables: controls carry numeric ids, rectangles are
// in dialog units (x * 7 / 4, y * 13 / 8 pixels), every button click and every user
// choice in a combo box reaches OnCommand(id). Escape and the close box run
// OnCommand(2); Enter runs OnCommand(1). The dialog closes only through End(code).
#pragma once
#include <QDialog>
#include <QString>
#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class QButtonGroup;
class QPainter;
class QPaintEvent;

namespace plat {

enum class Ctl {
  PushButton,   // push button (id 1 is the default button)
  GroupBox,     // frame with a title
  Label,        // static text
  Edit,         // single-line edit
  MultiEdit,    // multi-line edit: Enter makes a new line, Tab moves on
  CheckBox,     // automatic check box
  RadioButton,  // automatic radio button; consecutive radio buttons form one group
  Combo,        // drop-down list, choose only; -1 = nothing chosen
  List,         // report view with columns, several rows selectable
  FramedLabel,  // static text in a raised frame
};

struct ControlTemplate {
  int id;            // -1: no id (labels, group boxes)
  Ctl kind;
  const char* text;  // UTF-8, as shown
  int x, y, w, h;    // dialog units
};

struct DialogTemplate {
  const char* name;     // the resource name, e.g. "SELECT_COMPILER" (scripts are keyed by it)
  const char* caption;  // UTF-8
  int x, y, w, h;       // dialog units; position relative to the owner's client area
  std::vector<ControlTemplate> controls;
  const char* fontFace = "ＭＳ ゴシック";  // UTF-8; the dialog units follow the font
  int fontPoints = 10;
};

// Dialog units -> pixels (base units 7 x 13).
inline int DluToPxX(int x) { return x * 7 / 4; }
inline int DluToPxY(int y) { return y * 13 / 8; }

class Dialog : public QDialog {
  Q_OBJECT
 public:
  explicit Dialog(const DialogTemplate& tmpl);
  ~Dialog() override;

  const QString& Name() const { return name_; }

  // A child placed in pixels of the client area (created at run time, e.g. in OnInit).
  QWidget* AddChildPx(int id, Ctl kind, int x, int y, int w, int h, const QString& text = {});
  QWidget* Child(int id) const;  // nullptr when there is no such control

  // Texts. GetText returns CP932 bytes, at most maxBytes (not counting a terminator),
  // cut on a character boundary; multi-line edits give CR LF. A text left unchanged
  // since SetText comes back as the bytes that were set.
  std::string GetText(int id, std::size_t maxBytes) const;
  void SetText(int id, std::string_view cp932);
  QString GetTextU(int id) const;             // the Unicode text shown
  void SetTextU(int id, const QString& text); // as if typed by the user (tests)

  bool IsChecked(int id) const;
  void Check(int id, bool on);   // sets the state, sends no command
  void Enable(int id, bool on);
  bool IsEnabled(int id) const;

  // Combo boxes.
  void ComboAdd(int id, std::string_view cp932);  // keeps the current choice (none stays none)
  int ComboCount(int id) const;
  int ComboSelection(int id) const;               // -1 = nothing chosen
  void ComboSelect(int id, int index);            // sets the choice, sends no command
  std::string ComboText(int id, int index) const;
  void ComboAddNumbers(int id, int count);        // items "1" to count, in decimal

  // Report-view lists.
  enum class Align { Left, Center };
  void ListAddColumn(int id, const QString& title, int widthPx, Align align);
  void ListInsertRow(int id, int row, const std::vector<std::string>& cp932Cells);
  void ListDeleteRow(int id, int row);
  int ListRowCount(int id) const;
  int ListNextSelected(int id, int after = -1) const;  // first selected row after `after`, -1 = none
  void ListSelect(int id, int row, bool on);
  std::string ListText(int id, int row, int column) const;
  // Deletes every selected row, first selected first, together with the entry of the
  // dense table kept in step with the list: later entries move down, count shrinks.
  template <class Entry>
  void ListDeleteSelected(int id, Entry* table, int& count) {
    for (int r = ListNextSelected(id); r >= 0; r = ListNextSelected(id)) {
      ListDeleteRow(id, r);
      if (r >= count) continue;
      for (int i = r; i + 1 < count; ++i) table[i] = table[i + 1];
      --count;
    }
  }

  // Ends the dialog with code (returned by RunModal).
  void End(int code);
  bool Ended() const { return ended_; }
  int EndCode() const { return endCode_; }

  // What the user does (the widgets call these; tests may call them directly).
  void Command(int id);      // a command from control id: OnCommand(id)
  void Press(int id);        // a click on button, check box or radio id (toggles as a click does;
                             // a disabled one ignores it); with no such control: Command(id)
  void ChooseCombo(int id, int index);  // a user choice in a combo box, then OnCommand(id)
  void PressEscape();        // Escape: OnCommand(2)
  void PressCloseBox();      // the close box: OnCommand(2)
  void PressEnter();         // Enter: OnCommand(1)

 protected:
  virtual void OnInit() {}
  virtual void OnCommand(int /*id*/) {}
  // Painting of the client area over the controls' background (WM_PAINT); the painter
  // works in client pixels.
  virtual void OnPaint(QPainter& /*painter*/) {}
  void paintEvent(QPaintEvent* e) override;

  void reject() override;
  void accept() override;
  void keyPressEvent(QKeyEvent* e) override;
  void done(int r) override;

 private:
  friend int RunModal(Dialog& dialog, QWidget* owner);
  struct Control {
    Ctl kind;
    QWidget* widget;
    std::string setBytes;  // bytes of the last SetText
    QString setShown;      // what they showed
    bool hasSet = false;
  };
  void MakeControl(int id, Ctl kind, const QString& text, int x, int y, int w, int h);
  Control* Find(int id);
  const Control* Find(int id) const;

  QString name_;
  int tx_, ty_;
  std::map<int, Control> controls_;
  std::vector<QWidget*> unnamed_;
  bool ended_ = false;
  int endCode_ = 0;
  bool running_ = false;
  QButtonGroup* radioGroup_ = nullptr;
  Ctl lastKind_ = Ctl::Label;
};

// Runs the dialog modally, owned by owner: OnInit, then the event loop until End.
// Returns the end code; -1 when a script left the dialog open.
int RunModal(Dialog& dialog, QWidget* owner);

// Makes a dialog of class D, runs it modally owned by owner and returns its end code.
template <class D, class... Args>
int RunDialog(QWidget* owner, Args&&... args) {
  D dialog(std::forward<Args>(args)...);
  return RunModal(dialog, owner);
}

// Test hooks.
namespace dlgscript {
using Script = std::function<void(Dialog&)>;
// Scripting on: RunModal shows nothing; after OnInit it runs the next script queued for
// the dialog's name and returns the end code (-1 when the script did not end it). A
// dialog with no script queued returns -1 after OnInit.
void Begin();
void End();
bool Active();
void Queue(const std::string& dialogName, Script script);
int Pending(const std::string& dialogName);
const std::vector<std::string>& Opened();  // names of the dialogs run, in order

// Real dialogs: called once the modal loop runs, with the dialog shown (tests send key
// events from it). Empty function = none.
void SetShownHook(std::function<void(Dialog&)> hook);
}  // namespace dlgscript

}  // namespace plat
