// Modal dialogs built from template tables: controls carry numeric ids, rectangles are
// in dialog units (base units from the template's font: x * 7 / 4, y * 13 / 8 pixels
// for the 10-point gothic), every button click and every user
// choice in a combo box reaches OnCommand(id). Escape and the close box run
// OnCommand(IDCANCEL); Enter runs OnCommand(IDOK). The dialog closes only through
// End(code).
#pragma once
#include "platform/dialog_ids.h"

#include <QDialog>
#include <QFont>
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
  PushButton,   // push button (IDOK is the default button)
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

// The base units of a dialog font: the pixels of 4 horizontal and of 8 vertical
// dialog units.
struct BaseUnits {
  int x;
  int y;
};
inline bool operator==(const BaseUnits& a, const BaseUnits& b) { return a.x == b.x && a.y == b.y; }

// The font of a template: the face at the point size on a 96-dpi screen. The gothic
// faces are taken from their metric-compatible stand-ins when they are not installed
// ("ＭＳ ゴシック": MS Gothic, IPAGothic; "ＭＳ Ｐゴシック": MS PGothic, IPAPGothic).
QFont DialogFont(const char* face, int points);
// x: the average width of the 52 Latin letters, (width / 26 + 1) / 2; y: the height of
// the character cell from the face's own line metrics. 10-point gothic: 7 x 13;
// 9-point P gothic: 7 x 12.
BaseUnits BaseUnitsOf(const QFont& font);

// Dialog units -> pixels.
inline int DluToPxX(int x, const BaseUnits& units) { return x * units.x / 4; }
inline int DluToPxY(int y, const BaseUnits& units) { return y * units.y / 8; }

class Dialog : public QDialog {
  Q_OBJECT
 public:
  explicit Dialog(const DialogTemplate& tmpl);
  ~Dialog() override;

  const QString& Name() const { return name_; }

  // Dialog units of this dialog's font -> pixels.
  const BaseUnits& Units() const { return units_; }
  int DluToPxX(int x) const { return plat::DluToPxX(x, units_); }
  int DluToPxY(int y) const { return plat::DluToPxY(y, units_); }

  // A child placed in pixels of the client area (created at run time, e.g. in OnInit).
  QWidget* AddChildPx(int id, Ctl kind, int x, int y, int w, int h, const QString& text = {});
  QWidget* Child(int id) const;  // nullptr when there is no such control

  // Texts. An edit holds bytes in its encoding: CP932 (document texts, the default) or
  // UTF-8 (settings values and file names, which are file-system bytes).
  enum class Encoding { Cp932, Utf8 };
  // Caps the edit at bytes in that encoding, as the field it fills holds them: typing or
  // pasting beyond the cap is refused (what was just put in is cut back, never inside a
  // character), SetText shows at most that much, and GetText gives at most that much.
  // A line end of a multi-line edit counts as CR LF, two bytes.
  void SetByteLimit(int id, std::size_t bytes, Encoding encoding = Encoding::Cp932);
  // The text as bytes of the edit's encoding, at most maxBytes and the edit's cap (not
  // counting a terminator), cut on a character boundary; a character the encoding lacks
  // becomes '?'; multi-line edits give CR LF. A text left unchanged since SetText comes
  // back as the bytes that were set (cut to the same limits).
  std::string GetText(int id, std::size_t maxBytes = std::string::npos) const;
  // Fills the control with bytes of its encoding (CR LF in multi-line edits); an edit
  // shows the start of its text, with the cursor before the first character.
  void SetText(int id, std::string_view bytes);
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

  // The control that takes the focus when the dialog opens: the first enabled one in
  // template order that Tab can reach; nullptr when there is none.
  QWidget* FirstTabStop() const;

  // Ends the dialog with code (returned by RunModal).
  void End(int code);
  bool Ended() const { return ended_; }
  int EndCode() const { return endCode_; }

  // What the user does (the widgets call these; tests may call them directly).
  void Command(int id);      // a command from control id: OnCommand(id)
  void Press(int id);        // a click on button, check box or radio id (toggles as a click does;
                             // a disabled one ignores it); with no such control: Command(id)
  void ChooseCombo(int id, int index);  // a user choice in a combo box, then OnCommand(id)
  void PressEscape();        // Escape: OnCommand(IDCANCEL)
  void PressCloseBox();      // the close box: OnCommand(IDCANCEL)
  void PressEnter();         // Enter: OnCommand(IDOK)

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
    std::size_t byteLimit = std::string::npos;  // none
    Encoding encoding = Encoding::Cp932;
    bool fitConnected = false;  // a multi-line edit whose changes are fitted to its cap
  };
  void FitPlainEdit(int id);
  void MakeControl(int id, Ctl kind, const QString& text, int x, int y, int w, int h);
  Control* Find(int id);
  const Control* Find(int id) const;

  QString name_;
  BaseUnits units_{};
  int tx_, ty_;
  std::map<int, Control> controls_;
  std::vector<QWidget*> unnamed_;
  std::vector<QWidget*> order_;  // every control in template order, then the added ones
  bool ended_ = false;
  int endCode_ = 0;
  bool running_ = false;
  bool fitting_ = false;  // a change made by FitPlainEdit itself
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
