#include "element_dialogs.h"

#include "document.h"
#include "platform/client_view.h"
#include "platform/cp932.h"
#include "platform/dialog.h"
#include "resources/element_dialog_templates.h"

#include <QPlainTextEdit>

#include <cstdio>
#include <string>

namespace {

// Byte capacities of the element's texts (field size - 1).
constexpr std::size_t kVariableNameBytes = sizeof(UsedVariable::name) - 1;
constexpr std::size_t kVariableCommentBytes = sizeof(UsedVariable::comment) - 1;
constexpr std::size_t kInitialValueBytes = sizeof(BondRecord::initialValue) - 1;

const char* const kFeedbackKinds[] = {"Effort", "Flow", "Momentum", "Displacement"};

// ---- ELEMENT_PARAMETER_DIALOG -----------------------------------------------

class ElementParameterDialog : public plat::Dialog {
 public:
  explicit ElementParameterDialog(int element)
      : plat::Dialog(dlgres::ElementParameterTemplate()), e_(g_document.elements[element]) {}

 protected:
  void OnInit() override { InitElementParameterDialog(); }

  void OnCommand(int id) override {
    switch (id) {
      case 1:
        StoreElementParameters();
        End(1);
        g_documentSaved = 0;
        break;
      case 2: End(2); break;
      case 2548: AddUsedVariable(); break;
      case 2549: DeleteUsedVariables(); break;
      case 2550: AddFeedbackVariable(); break;
      case 2551: DeleteFeedbackVariables(); break;
      default: break;
    }
  }

 private:
  void InitElementParameterDialog() {
    // Choice boxes and lists, in pixels of the client area; nothing chosen at first.
    AddChildPx(2540, plat::Ctl::Combo, 455, 50, 55, 100);
    ComboAdd(2540, plat::cp932::FromUtf8("整数"));
    ComboAdd(2540, plat::cp932::FromUtf8("実数"));
    AddChildPx(2545, plat::Ctl::Combo, 518, 253, 95, 100);
    for (const char* kind : kFeedbackKinds) ComboAdd(2545, kind);
    AddChildPx(2546, plat::Ctl::Combo, 625, 252, 70, 100);
    ComboAddNumbers(2546, g_bondCount);
    AddChildPx(2543, plat::Ctl::List, 455, 85, 185, 105);
    ListAddColumn(2543, QStringLiteral("型"), 40, Align::Left);
    ListAddColumn(2543, QStringLiteral("変数名"), 60, Align::Left);
    ListAddColumn(2543, QStringLiteral("コメント"), 85, Align::Left);
    AddChildPx(2547, plat::Ctl::List, 455, 290, 185, 105);
    ListAddColumn(2547, QStringLiteral("変数名"), 60, Align::Left);
    ListAddColumn(2547, QStringLiteral("FB変数"), 85, Align::Left);
    ListAddColumn(2547, QStringLiteral("ボンド"), 40, Align::Left);

    // The equation field has its scroll bar; the four parameter columns scroll without one.
    SetScrollBar(2300, Qt::ScrollBarAlwaysOn);
    for (int id : {2310, 2320, 2330, 2340}) SetScrollBar(id, Qt::ScrollBarAlwaysOff);
    SetByteLimit(2541, kVariableNameBytes);
    SetByteLimit(2542, kVariableCommentBytes);
    SetByteLimit(2544, kVariableNameBytes);

    SetText(2300, TextOf(e_.equation));
    SetText(2310, TextOf(e_.parameterNames));
    SetText(2320, TextOf(e_.parameterValues));
    SetText(2330, TextOf(e_.parameterUnits));
    SetText(2340, TextOf(e_.parameterComments));
    for (int i = 0; i < e_.usedCount; ++i) {
      const UsedVariable& v = e_.used[i];
      ListInsertRow(2543, i, {TextOf(v.type), TextOf(v.name), TextOf(v.comment)});
    }
    for (int i = 0; i < e_.feedbackCount; ++i) {
      const FeedbackVariable& v = e_.feedback[i];
      ListInsertRow(2547, i, {TextOf(v.name), TextOf(v.kind), TextOf(v.bond)});
    }
  }

  // The five texts, each cut to its field; the fields the dialog does not show are emptied.
  void StoreElementParameters() {
    StoreText(e_.equation, GetText(2300, sizeof e_.equation - 1));
    StoreText(e_.parameterNames, GetText(2310, sizeof e_.parameterNames - 1));
    StoreText(e_.parameterValues, GetText(2320, sizeof e_.parameterValues - 1));
    StoreText(e_.parameterUnits, GetText(2330, sizeof e_.parameterUnits - 1));
    StoreText(e_.parameterComments, GetText(2340, sizeof e_.parameterComments - 1));
    for (auto& text : e_.extraTexts) ZeroBytes(text, sizeof text);
    ZeroBytes(e_.extraText2430, sizeof e_.extraText2430);
    ZeroBytes(e_.extraText2440, sizeof e_.extraText2440);
    ZeroBytes(e_.extraText2450, sizeof e_.extraText2450);
    for (int& flag : e_.checkBoxes) flag = 0;
  }

  // A full table (20 entries) refuses the add.
  void AddUsedVariable() {
    const int type = ComboSelection(2540);
    const std::string name = GetText(2541, kVariableNameBytes);
    const std::string comment = GetText(2542, kVariableCommentBytes);
    if (type < 0 || name.empty()) return;
    if (e_.usedCount >= kMaxUsedVariables) return;
    const std::string typeText = ComboText(2540, type);
    ListInsertRow(2543, e_.usedCount, {typeText, name, comment});
    UsedVariable& v = e_.used[e_.usedCount];
    StoreText(v.type, typeText);
    StoreText(v.name, name);
    StoreText(v.comment, comment);
    ++e_.usedCount;
  }

  void DeleteUsedVariables() { ListDeleteSelected(2543, e_.used, e_.usedCount); }

  void AddFeedbackVariable() {
    const std::string name = GetText(2544, kVariableNameBytes);
    const int kind = ComboSelection(2545);
    const int bond = ComboSelection(2546);
    if (name.empty() || kind < 0 || bond < 0) return;
    if (e_.feedbackCount >= kMaxFeedbackVariables) return;
    const std::string kindText = ComboText(2545, kind);
    const std::string bondText = ComboText(2546, bond);
    ListInsertRow(2547, e_.feedbackCount, {name, kindText, bondText});
    FeedbackVariable& v = e_.feedback[e_.feedbackCount];
    StoreText(v.name, name);
    StoreText(v.kind, kindText);
    StoreText(v.bond, bondText);
    ++e_.feedbackCount;
  }

  void DeleteFeedbackVariables() { ListDeleteSelected(2547, e_.feedback, e_.feedbackCount); }

  void SetScrollBar(int id, Qt::ScrollBarPolicy policy) {
    if (auto* edit = qobject_cast<QPlainTextEdit*>(Child(id))) edit->setVerticalScrollBarPolicy(policy);
  }

  ElementRecord& e_;
};

// ---- INITIAL_VALUE_DIALOG ---------------------------------------------------

class InitialValueDialog : public plat::Dialog {
 public:
  explicit InitialValueDialog(int bond)
      : plat::Dialog(dlgres::InitialValueTemplate()), bond_(bond), b_(g_document.bonds[bond]) {}

 protected:
  void OnInit() override { InitInitialValueDialog(); }

  void OnCommand(int id) override {
    if (id == 1) {
      StoreInitialValue();
      End(1);
    } else if (id == 2) {
      End(2);
    }
  }

 private:
  // The state name is written at every opening, whatever button closes the dialog.
  void InitInitialValueDialog() {
    char name[32];
    std::snprintf(name, sizeof name, g_document.initialValueKind == 0 ? "DP%d" : "MN%d", bond_ + 1);
    StoreText(b_.initialName, name);
    if (b_.hasInitialValue == 1) Check(2580, true);
    SetText(2590, TextOf(b_.initialValue));
    AddChildPx(-1, plat::Ctl::Label, 36, 19, 56, 16, plat::cp932::ToQString(TextOf(b_.initialName)));
  }

  // Unchecked: the value text stays as it was.
  void StoreInitialValue() {
    if (IsChecked(2580)) {
      b_.hasInitialValue = 1;
      StoreText(b_.initialValue, GetText(2590, kInitialValueBytes));
    } else {
      b_.hasInitialValue = 0;
    }
  }

  int bond_;
  BondRecord& b_;
};

int KindOfElement(int element) {
  return ElementInUse(element) ? g_document.elements[element].kind : -1;
}

}  // namespace

int RunElementParameterDialog(QWidget* owner) {
  if (!ElementInUse(g_currentIndex)) return 2;
  return plat::RunDialog<ElementParameterDialog>(owner, g_currentIndex);
}

void EditInitialValueOfSelectedBond(plat::ClientView* window) {
  if (g_document.selectionActive == 0) return;
  if (!BondInUse(g_currentIndex)) return;
  const BondRecord& b = g_document.bonds[g_currentIndex];
  const int head = KindOfElement(b.headElement);
  const int tail = KindOfElement(b.tailElement);
  bool open = false;
  if (head == kKindC || tail == kKindC) {
    g_document.initialValueKind = 0;
    open = true;
  }
  // Tested second, so a bond between a C and an I carries a momentum.
  if (head == kKindI || tail == kKindI) {
    g_document.initialValueKind = 1;
    open = true;
  }
  if (open) plat::RunDialog<InitialValueDialog>(window ? window->window() : nullptr, g_currentIndex);
}
