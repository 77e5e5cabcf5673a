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
      case plat::IDOK:
        StoreElementParameters();
        End(plat::IDOK);
        g_documentSaved = 0;
        break;
      case plat::IDCANCEL: End(plat::IDCANCEL); break;
      case dlgres::kAddUsedButton: AddUsedVariable(); break;
      case dlgres::kDeleteUsedButton: DeleteUsedVariables(); break;
      case dlgres::kAddFeedbackButton: AddFeedbackVariable(); break;
      case dlgres::kDeleteFeedbackButton: DeleteFeedbackVariables(); break;
      default: break;
    }
  }

 private:
  void InitElementParameterDialog() {
    // Choice boxes and lists, in pixels of the client area; nothing chosen at first.
    AddChildPx(dlgres::kUsedTypeCombo, plat::Ctl::Combo, 455, 50, 55, 100);
    ComboAdd(dlgres::kUsedTypeCombo, plat::cp932::FromUtf8("整数"));
    ComboAdd(dlgres::kUsedTypeCombo, plat::cp932::FromUtf8("実数"));
    AddChildPx(dlgres::kFeedbackKindCombo, plat::Ctl::Combo, 518, 253, 95, 100);
    for (const char* kind : kFeedbackKinds) ComboAdd(dlgres::kFeedbackKindCombo, kind);
    AddChildPx(dlgres::kFeedbackBondCombo, plat::Ctl::Combo, 625, 252, 70, 100);
    ComboAddNumbers(dlgres::kFeedbackBondCombo, g_bondCount);
    AddChildPx(dlgres::kUsedVariableList, plat::Ctl::List, 455, 85, 185, 105);
    ListAddColumn(dlgres::kUsedVariableList, QStringLiteral("型"), 40, Align::Left);
    ListAddColumn(dlgres::kUsedVariableList, QStringLiteral("変数名"), 60, Align::Left);
    ListAddColumn(dlgres::kUsedVariableList, QStringLiteral("コメント"), 85, Align::Left);
    AddChildPx(dlgres::kFeedbackVariableList, plat::Ctl::List, 455, 290, 185, 105);
    ListAddColumn(dlgres::kFeedbackVariableList, QStringLiteral("変数名"), 60, Align::Left);
    ListAddColumn(dlgres::kFeedbackVariableList, QStringLiteral("FB変数"), 85, Align::Left);
    ListAddColumn(dlgres::kFeedbackVariableList, QStringLiteral("ボンド"), 40, Align::Left);

    // The equation field has its scroll bar; the four parameter columns scroll without one.
    SetScrollBar(dlgres::kEquationEdit, Qt::ScrollBarAlwaysOn);
    for (int id : {dlgres::kParameterNamesEdit, dlgres::kParameterValuesEdit, dlgres::kParameterUnitsEdit,
                   dlgres::kParameterCommentsEdit})
      SetScrollBar(id, Qt::ScrollBarAlwaysOff);
    SetByteLimit(dlgres::kUsedNameEdit, kVariableNameBytes);
    SetByteLimit(dlgres::kUsedCommentEdit, kVariableCommentBytes);
    SetByteLimit(dlgres::kFeedbackNameEdit, kVariableNameBytes);

    SetText(dlgres::kEquationEdit, TextOf(e_.equation));
    SetText(dlgres::kParameterNamesEdit, TextOf(e_.parameterNames));
    SetText(dlgres::kParameterValuesEdit, TextOf(e_.parameterValues));
    SetText(dlgres::kParameterUnitsEdit, TextOf(e_.parameterUnits));
    SetText(dlgres::kParameterCommentsEdit, TextOf(e_.parameterComments));
    for (int i = 0; i < e_.usedCount; ++i) {
      const UsedVariable& v = e_.used[i];
      ListInsertRow(dlgres::kUsedVariableList, i, {TextOf(v.type), TextOf(v.name), TextOf(v.comment)});
    }
    for (int i = 0; i < e_.feedbackCount; ++i) {
      const FeedbackVariable& v = e_.feedback[i];
      ListInsertRow(dlgres::kFeedbackVariableList, i, {TextOf(v.name), TextOf(v.kind), TextOf(v.bond)});
    }
  }

  // The five texts, each cut to its field; the fields the dialog does not show are emptied.
  void StoreElementParameters() {
    StoreText(e_.equation, GetText(dlgres::kEquationEdit, sizeof e_.equation - 1));
    StoreText(e_.parameterNames, GetText(dlgres::kParameterNamesEdit, sizeof e_.parameterNames - 1));
    StoreText(e_.parameterValues, GetText(dlgres::kParameterValuesEdit, sizeof e_.parameterValues - 1));
    StoreText(e_.parameterUnits, GetText(dlgres::kParameterUnitsEdit, sizeof e_.parameterUnits - 1));
    StoreText(e_.parameterComments, GetText(dlgres::kParameterCommentsEdit, sizeof e_.parameterComments - 1));
    for (auto& text : e_.extraTexts) ZeroBytes(text, sizeof text);
    ZeroBytes(e_.extraText2430, sizeof e_.extraText2430);
    ZeroBytes(e_.extraText2440, sizeof e_.extraText2440);
    ZeroBytes(e_.extraText2450, sizeof e_.extraText2450);
    for (int& flag : e_.checkBoxes) flag = 0;
  }

  // A full table (20 entries) refuses the add.
  void AddUsedVariable() {
    const int type = ComboSelection(dlgres::kUsedTypeCombo);
    const std::string name = GetText(dlgres::kUsedNameEdit, kVariableNameBytes);
    const std::string comment = GetText(dlgres::kUsedCommentEdit, kVariableCommentBytes);
    if (type < 0 || name.empty()) return;
    if (e_.usedCount >= kMaxUsedVariables) return;
    const std::string typeText = ComboText(dlgres::kUsedTypeCombo, type);
    ListInsertRow(dlgres::kUsedVariableList, e_.usedCount, {typeText, name, comment});
    UsedVariable& v = e_.used[e_.usedCount];
    StoreText(v.type, typeText);
    StoreText(v.name, name);
    StoreText(v.comment, comment);
    ++e_.usedCount;
  }

  void DeleteUsedVariables() { ListDeleteSelected(dlgres::kUsedVariableList, e_.used, e_.usedCount); }

  void AddFeedbackVariable() {
    const std::string name = GetText(dlgres::kFeedbackNameEdit, kVariableNameBytes);
    const int kind = ComboSelection(dlgres::kFeedbackKindCombo);
    const int bond = ComboSelection(dlgres::kFeedbackBondCombo);
    if (name.empty() || kind < 0 || bond < 0) return;
    if (e_.feedbackCount >= kMaxFeedbackVariables) return;
    const std::string kindText = ComboText(dlgres::kFeedbackKindCombo, kind);
    const std::string bondText = ComboText(dlgres::kFeedbackBondCombo, bond);
    ListInsertRow(dlgres::kFeedbackVariableList, e_.feedbackCount, {name, kindText, bondText});
    FeedbackVariable& v = e_.feedback[e_.feedbackCount];
    StoreText(v.name, name);
    StoreText(v.kind, kindText);
    StoreText(v.bond, bondText);
    ++e_.feedbackCount;
  }

  void DeleteFeedbackVariables() {
    ListDeleteSelected(dlgres::kFeedbackVariableList, e_.feedback, e_.feedbackCount);
  }

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
    if (id == plat::IDOK) {
      StoreInitialValue();
      End(plat::IDOK);
    } else if (id == plat::IDCANCEL) {
      End(plat::IDCANCEL);
    }
  }

 private:
  // The state name is written at every opening, whatever button closes the dialog.
  void InitInitialValueDialog() {
    char name[32];
    std::snprintf(name, sizeof name, g_document.initialValueKind == 0 ? "DP%d" : "MN%d", bond_ + 1);
    StoreText(b_.initialName, name);
    if (b_.hasInitialValue == 1) Check(dlgres::kHasInitialValueCheck, true);
    SetText(dlgres::kInitialValueEdit, TextOf(b_.initialValue));
    AddChildPx(-1, plat::Ctl::Label, 36, 19, 56, 16, plat::cp932::ToQString(TextOf(b_.initialName)));
  }

  // Unchecked: the value text stays as it was.
  void StoreInitialValue() {
    if (IsChecked(dlgres::kHasInitialValueCheck)) {
      b_.hasInitialValue = 1;
      StoreText(b_.initialValue, GetText(dlgres::kInitialValueEdit, kInitialValueBytes));
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
  if (!ElementInUse(g_currentIndex)) return plat::IDCANCEL;
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
