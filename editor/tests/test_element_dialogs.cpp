// The element-parameter and initial-value dialogs driven by script: their controls, what
// each button stores and when, the byte caps of the texts, and the state name of a bond.
#include "document.h"
#include "element_dialogs.h"
#include "main_window.h"
#include "platform/client_view.h"
#include "platform/cp932.h"
#include "platform/dialog.h"
#include "platform/message_box.h"
#include "resources/element_dialog_templates.h"
#include "test_diagram_records.h"
#include "test_window_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace {

using plat::Dialog;
using plat::DluToPxX;
using plat::DluToPxY;
namespace script = plat::dlgscript;

constexpr char kElementDialog[] = "ELEMENT_PARAMETER_DIALOG";
constexpr char kInitialValueDialog[] = "INITIAL_VALUE_DIALOG";

QString U(const char* utf8) { return QString::fromUtf8(utf8); }
std::string Repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}
// Dialog units of the 10-point gothic dialog font (7 x 13 base units) to pixels.
constexpr plat::BaseUnits kGothic10{7, 13};
int DluToPxX(int x) { return plat::DluToPxX(x, kGothic10); }
int DluToPxY(int y) { return plat::DluToPxY(y, kGothic10); }
QRect Dlu(int x, int y, int w, int h) { return QRect(DluToPxX(x), DluToPxY(y), DluToPxX(w), DluToPxY(h)); }

class ElementDialogs : public ScriptedEditorTest {
 protected:
  void SetUp() override {
    ScriptedEditorTest::SetUp();
    g_documentSaved = 1;
  }

  static int AddElement(int kind) { return testdoc::AddElement(kind, 1); }
  // A bond from the tail's side (4 unless given) to the head.
  static int AddBond(int tail, int head, int tailSide = 4) { return testdoc::AddBond(tail, tailSide, head); }
  // An element of the kind beside a 0-junction, joined to it by the given number of bonds.
  static int ElementWithBonds(int kind, int bonds) {
    const int element = AddElement(kind);
    const int junction = AddElement(kKindZeroJunction);
    for (int i = 0; i < bonds; ++i) AddBond(junction, element, i);
    return element;
  }
  static std::string Used(const ElementRecord& e, int i) {
    return TextOf(e.used[i].type) + "/" + TextOf(e.used[i].name) + "/" + TextOf(e.used[i].comment);
  }
  static std::string Feedback(const ElementRecord& e, int i) {
    return TextOf(e.feedback[i].name) + "/" + TextOf(e.feedback[i].kind) + "/" + TextOf(e.feedback[i].bond);
  }
  static std::string Row(const Dialog& d, int list, int row) {
    return d.ListText(list, row, 0) + "/" + d.ListText(list, row, 1) + "/" + d.ListText(list, row, 2);
  }

  // Opens the element dialog on element i with the script; its end code.
  static int OpenElement(int i, script::Script s) {
    g_currentIndex = i;
    script::Queue(kElementDialog, std::move(s));
    return RunElementParameterDialog(nullptr);
  }
  // A key press's initial-value test on bond b, selected.
  static void KeyOnBond(int b) {
    g_currentIndex = b;
    g_document.selectionActive = 1;
    g_document.selectionIsElement = 0;
    EditInitialValueOfSelectedBond(nullptr);
  }
};

// The unnamed labels of a dialog in template order: text, rectangle, framed.
struct LabelSeen {
  QString text;
  QRect rect;
  bool framed;
  bool operator==(const LabelSeen& o) const { return text == o.text && rect == o.rect && framed == o.framed; }
};
std::vector<LabelSeen> UnnamedLabels(const Dialog& d) {
  std::vector<LabelSeen> out;
  for (QLabel* l : d.findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
    out.push_back({l->text(), l->geometry(), l->frameShape() != QFrame::NoFrame});
  return out;
}
void PrintTo(const LabelSeen& l, std::ostream* os) {
  *os << l.text.toStdString() << " (" << l.rect.x() << "," << l.rect.y() << "," << l.rect.width() << ","
      << l.rect.height() << ")" << (l.framed ? " framed" : "");
}

// ---- ELEMENT_PARAMETER_DIALOG -------------------------------------------------

TEST_F(ElementDialogs, ElementDialogShowsEveryControlAndTheElement) {
  const int c = ElementWithBonds(kKindC, 3);
  ElementRecord& e = g_document.elements[c];
  StoreText(e.equation, J("E=Q/C1\r\n// 容量"));
  StoreText(e.parameterNames, "C1\r\nK");
  StoreText(e.parameterValues, "1.0\r\n2.0");
  StoreText(e.parameterUnits, "F\r\n-");
  StoreText(e.parameterComments, J("容量\r\n係数"));
  testdoc::AddUsed(e, J("実数"), "Q0", J("初期"));
  testdoc::AddFeedback(e, "F2", "Flow", "2");

  const int code = OpenElement(c, [](Dialog& d) {
    EXPECT_EQ(d.windowTitle(), U("Parameters and characteristic equations"));
    EXPECT_EQ(d.size(), QSize(DluToPxX(415), DluToPxY(285)));
    struct Named {
      int id;
      const char* text;
      QRect rect;
    };
    const Named named[] = {
        {plat::IDOK, "OK", Dlu(295, 264, 50, 14)},
        {plat::IDCANCEL, "CANCEL", Dlu(352, 264, 50, 14)},
        {dlgres::kParameterGroup, "パラメータ", Dlu(10, 10, 237, 150)},
        {dlgres::kUsedVariableGroup, "使用変数", Dlu(254, 10, 150, 116)},
        {dlgres::kFeedbackVariableGroup, "フィードバック変数", Dlu(254, 135, 150, 116)},
        {dlgres::kEquationGroup, "特性式 ↓", Dlu(10, 163, 237, 118)},
        {dlgres::kEquationEdit, "E=Q/C1\n// 容量", Dlu(15, 175, 223, 92)},
        {dlgres::kParameterNamesEdit, "C1\nK", Dlu(15, 31, 33, 124)},
        {dlgres::kParameterValuesEdit, "1.0\n2.0", Dlu(47, 31, 48, 124)},
        {dlgres::kParameterUnitsEdit, "F\n-", Dlu(93, 31, 42, 124)},
        {dlgres::kParameterCommentsEdit, "容量\n係数", Dlu(134, 31, 105, 124)},
        {dlgres::kDeleteUsedButton, "削除", Dlu(373, 76, 26, 12)},
        {dlgres::kAddUsedButton, "追加", Dlu(373, 54, 26, 12)},
        {dlgres::kDeleteFeedbackButton, "削除", Dlu(373, 203, 26, 12)},
        {dlgres::kAddFeedbackButton, "追加", Dlu(373, 181, 26, 12)},
        {dlgres::kUsedNameEdit, "", Dlu(297, 31, 28, 12)},
        {dlgres::kUsedCommentEdit, "", Dlu(334, 31, 45, 12)},
        {dlgres::kFeedbackNameEdit, "", Dlu(259, 156, 28, 12)},
    };
    for (const Named& n : named) {
      SCOPED_TRACE(n.id);
      ASSERT_NE(d.Child(n.id), nullptr);
      EXPECT_EQ(d.GetTextU(n.id), U(n.text));
      EXPECT_EQ(d.Child(n.id)->geometry(), n.rect);
    }
    EXPECT_NE(qobject_cast<QPlainTextEdit*>(d.Child(dlgres::kEquationEdit)), nullptr);
    EXPECT_NE(qobject_cast<QLineEdit*>(d.Child(dlgres::kUsedNameEdit)), nullptr);
    const std::vector<LabelSeen> labels = {
        {U("変数名"), Dlu(15, 20, 32, 12), true},   {U("値"), Dlu(46, 20, 48, 12), true},
        {U("単位"), Dlu(94, 20, 41, 12), true},     {U("コメント"), Dlu(134, 20, 105, 12), true},
        {U("型"), Dlu(259, 21, 31, 8), false},      {U("変数名"), Dlu(297, 21, 23, 8), false},
        {U("コメント"), Dlu(334, 21, 36, 8), false}, {U("変数名"), Dlu(259, 146, 23, 8), false},
        {U("FB変数"), Dlu(296, 146, 44, 8), false}, {U("ボンド"), Dlu(357, 145, 25, 8), false},
        {U("↑"), Dlu(43, 270, 9, 10), false},
    };
    EXPECT_EQ(UnnamedLabels(d), labels);

    // The choice boxes, in pixels, nothing chosen.
    struct ComboSeen {
      int id;
      QPoint at;
      int width;
      std::vector<std::string> items;
    };
    const ComboSeen combos[] = {
        {dlgres::kUsedTypeCombo, {455, 50}, 55, {J("整数"), J("実数")}},
        {dlgres::kFeedbackKindCombo, {518, 253}, 95, {"Effort", "Flow", "Momentum", "Displacement"}},
        {dlgres::kFeedbackBondCombo, {625, 252}, 70, {"1", "2", "3"}},
    };
    for (const ComboSeen& cs : combos) {
      SCOPED_TRACE(cs.id);
      auto* box = qobject_cast<QComboBox*>(d.Child(cs.id));
      ASSERT_NE(box, nullptr);
      EXPECT_FALSE(box->isEditable());
      EXPECT_EQ(box->pos(), cs.at);
      EXPECT_EQ(box->width(), cs.width);
      EXPECT_EQ(d.ComboSelection(cs.id), -1);
      std::vector<std::string> items;
      for (int i = 0; i < d.ComboCount(cs.id); ++i) items.push_back(d.ComboText(cs.id, i));
      EXPECT_EQ(items, cs.items);
    }

    // The two lists with their columns and the element's rows.
    struct ListSeen {
      int id;
      QRect rect;
      std::vector<std::pair<const char*, int>> columns;
      std::string row0;
    };
    const ListSeen lists[] = {
        {dlgres::kUsedVariableList,
         {455, 85, 185, 105},
         {{"型", 40}, {"変数名", 60}, {"コメント", 85}},
         J("実数/Q0/初期")},
        {dlgres::kFeedbackVariableList,
         {455, 290, 185, 105},
         {{"変数名", 60}, {"FB変数", 85}, {"ボンド", 40}},
         "F2/Flow/2"},
    };
    for (const ListSeen& ls : lists) {
      SCOPED_TRACE(ls.id);
      auto* list = qobject_cast<QTreeWidget*>(d.Child(ls.id));
      ASSERT_NE(list, nullptr);
      EXPECT_EQ(list->geometry(), ls.rect);
      EXPECT_EQ(list->selectionMode(), QAbstractItemView::ExtendedSelection);
      ASSERT_EQ(list->columnCount(), 3);
      for (int col = 0; col < 3; ++col) {
        EXPECT_EQ(list->headerItem()->text(col), U(ls.columns[col].first));
        EXPECT_EQ(list->columnWidth(col), ls.columns[col].second);
        EXPECT_EQ(list->headerItem()->textAlignment(col) & Qt::AlignHorizontal_Mask, static_cast<int>(Qt::AlignLeft));
      }
      ASSERT_EQ(d.ListRowCount(ls.id), 1);
      EXPECT_EQ(Row(d, ls.id, 0), ls.row0);
    }
    d.PressEscape();
  });
  EXPECT_EQ(code, plat::IDCANCEL);
  EXPECT_EQ(g_documentSaved, 1);
}

// The tables change at each press and stay after CANCEL; the texts typed are dropped.
TEST_F(ElementDialogs, CancelKeepsTheTableEditsAndDropsTheTexts) {
  const int r = AddElement(kKindR);
  ElementRecord& e = g_document.elements[r];
  StoreText(e.equation, "E=R1*F");
  StoreText(e.extraText2430, "x");
  e.checkBoxes[3] = 1;
  OpenElement(r, [&](Dialog& d) {
    d.ChooseCombo(dlgres::kUsedTypeCombo, 1);
    d.SetTextU(dlgres::kUsedNameEdit, "k");
    d.Press(dlgres::kAddUsedButton);
    EXPECT_EQ(e.usedCount, 1);  // at once
    d.SetTextU(dlgres::kEquationEdit, "E=0");
    d.SetTextU(dlgres::kParameterNamesEdit, "R1");
    d.Press(plat::IDCANCEL);
  });
  ASSERT_EQ(e.usedCount, 1);
  EXPECT_EQ(Used(e, 0), J("実数") + "/k/");
  EXPECT_EQ(TextOf(e.equation), "E=R1*F");
  EXPECT_EQ(TextOf(e.parameterNames), "");
  EXPECT_EQ(TextOf(e.extraText2430), "x");
  EXPECT_EQ(e.checkBoxes[3], 1);
  EXPECT_EQ(g_documentSaved, 1);  // the presses do not mark modified
}

// OK stores the five texts with CR LF line ends, empties the fields the dialog does not
// show and marks the document modified.
TEST_F(ElementDialogs, OkStoresTheFiveTextsAndEmptiesTheExtras) {
  const int se = AddElement(kKindSE);
  ElementRecord& e = g_document.elements[se];
  for (auto& t : e.extraTexts) std::strcpy(t, "old");
  std::strcpy(e.extraText2430, "a");
  std::strcpy(e.extraText2440, "b");
  std::strcpy(e.extraText2450, "c");
  for (int& f : e.checkBoxes) f = 1;
  const int code = OpenElement(se, [](Dialog& d) {
    d.SetTextU(dlgres::kEquationEdit, U("E=V0*sin(W*t)\n// 電源"));
    d.SetTextU(dlgres::kParameterNamesEdit, "V0\nW\n");
    d.SetTextU(dlgres::kParameterValuesEdit, "1.0\n6.28\n");
    d.SetTextU(dlgres::kParameterUnitsEdit, U("V\nrad/s\n"));
    d.SetTextU(dlgres::kParameterCommentsEdit, U("振幅\n角周波数\n"));
    d.PressEnter();
  });
  EXPECT_EQ(code, plat::IDOK);
  EXPECT_EQ(TextOf(e.equation), J("E=V0*sin(W*t)\r\n// 電源"));
  EXPECT_EQ(TextOf(e.parameterNames), "V0\r\nW\r\n");
  EXPECT_EQ(TextOf(e.parameterValues), "1.0\r\n6.28\r\n");
  EXPECT_EQ(TextOf(e.parameterUnits), "V\r\nrad/s\r\n");
  EXPECT_EQ(TextOf(e.parameterComments), J("振幅\r\n角周波数\r\n"));
  for (auto& t : e.extraTexts) EXPECT_EQ(TextOf(t), "");
  EXPECT_EQ(TextOf(e.extraText2430), "");
  EXPECT_EQ(TextOf(e.extraText2440), "");
  EXPECT_EQ(TextOf(e.extraText2450), "");
  for (int f : e.checkBoxes) EXPECT_EQ(f, 0);
  EXPECT_EQ(g_documentSaved, 0);
  EXPECT_TRUE(plat::msgscript::Records().empty());
}

// Rows 0 and 2 of three selected: both go, the former row 1 becomes row 0, in the list and
// in the table; with nothing selected the button does nothing. Both tables alike.
TEST_F(ElementDialogs, DeleteRemovesEverySelectedRowAndKeepsTheOrder) {
  const int tf = AddElement(kKindTF);
  ElementRecord& e = g_document.elements[tf];
  testdoc::AddUsed(e, J("整数"), "a", "A");
  testdoc::AddUsed(e, J("実数"), "b", "B");
  testdoc::AddUsed(e, J("整数"), "c", "C");
  testdoc::AddFeedback(e, "x", "Effort", "1");
  testdoc::AddFeedback(e, "y", "Flow", "2");
  testdoc::AddFeedback(e, "z", "Momentum", "3");
  OpenElement(tf, [&](Dialog& d) {
    struct Case {
      int list, button;
      std::string rowLeft;
    };
    const Case cases[] = {{dlgres::kUsedVariableList, dlgres::kDeleteUsedButton, J("実数") + "/b/B"},
                          {dlgres::kFeedbackVariableList, dlgres::kDeleteFeedbackButton, "y/Flow/2"}};
    for (const Case& c : cases) {
      SCOPED_TRACE(c.list);
      d.Press(c.button);  // nothing selected
      EXPECT_EQ(d.ListRowCount(c.list), 3);
      d.ListSelect(c.list, 0, true);
      d.ListSelect(c.list, 2, true);
      d.Press(c.button);
      ASSERT_EQ(d.ListRowCount(c.list), 1);
      EXPECT_EQ(Row(d, c.list, 0), c.rowLeft);
    }
    d.Press(plat::IDCANCEL);
  });
  ASSERT_EQ(e.usedCount, 1);
  EXPECT_EQ(Used(e, 0), J("実数") + "/b/B");
  ASSERT_EQ(e.feedbackCount, 1);
  EXPECT_EQ(Feedback(e, 0), "y/Flow/2");
}

// An add needs a choice and a name; the comment may be empty; the fields keep their
// contents, so the same variable can be added twice.
TEST_F(ElementDialogs, AddNeedsAChoiceAndANameAndAllowsDuplicates) {
  const int gy = ElementWithBonds(kKindGY, 2);
  ElementRecord& e = g_document.elements[gy];
  OpenElement(gy, [&](Dialog& d) {
    d.SetTextU(dlgres::kUsedNameEdit, "n");
    d.Press(dlgres::kAddUsedButton);  // no type chosen
    d.ChooseCombo(dlgres::kUsedTypeCombo, 0);
    d.SetTextU(dlgres::kUsedNameEdit, "");
    d.Press(dlgres::kAddUsedButton);  // no name
    EXPECT_EQ(d.ListRowCount(dlgres::kUsedVariableList), 0);
    d.SetTextU(dlgres::kUsedNameEdit, "n");
    d.Press(dlgres::kAddUsedButton);  // no comment: allowed
    d.Press(dlgres::kAddUsedButton);  // the same again
    ASSERT_EQ(d.ListRowCount(dlgres::kUsedVariableList), 2);
    EXPECT_EQ(Row(d, dlgres::kUsedVariableList, 1), J("整数") + "/n/");
    EXPECT_EQ(d.GetTextU(dlgres::kUsedNameEdit), "n");
    EXPECT_EQ(d.ComboSelection(dlgres::kUsedTypeCombo), 0);

    d.Press(dlgres::kAddFeedbackButton);  // nothing at all
    d.SetTextU(dlgres::kFeedbackNameEdit, "f");
    d.ChooseCombo(dlgres::kFeedbackKindCombo, 3);
    d.Press(dlgres::kAddFeedbackButton);  // no bond
    d.ComboSelect(dlgres::kFeedbackKindCombo, -1);
    d.ChooseCombo(dlgres::kFeedbackBondCombo, 1);
    d.Press(dlgres::kAddFeedbackButton);  // no kind
    d.ChooseCombo(dlgres::kFeedbackKindCombo, 3);
    d.SetTextU(dlgres::kFeedbackNameEdit, "");
    d.Press(dlgres::kAddFeedbackButton);  // no name
    EXPECT_EQ(d.ListRowCount(dlgres::kFeedbackVariableList), 0);
    d.SetTextU(dlgres::kFeedbackNameEdit, "f");
    d.Press(dlgres::kAddFeedbackButton);
    ASSERT_EQ(d.ListRowCount(dlgres::kFeedbackVariableList), 1);
    EXPECT_EQ(Row(d, dlgres::kFeedbackVariableList, 0), "f/Displacement/2");
    d.Press(plat::IDCANCEL);
  });
  ASSERT_EQ(e.usedCount, 2);
  EXPECT_EQ(Used(e, 0), J("整数") + "/n/");
  EXPECT_EQ(Used(e, 1), J("整数") + "/n/");
  ASSERT_EQ(e.feedbackCount, 1);
  EXPECT_EQ(Feedback(e, 0), "f/Displacement/2");
}

// Each table holds 20 entries: the 21st add is refused, silently.
TEST_F(ElementDialogs, The21stVariableIsRefused) {
  const int c = ElementWithBonds(kKindC, 1);
  ElementRecord& e = g_document.elements[c];
  for (int i = 0; i < kMaxUsedVariables - 1; ++i) testdoc::AddUsed(e, J("整数"), "u", "");
  for (int i = 0; i < kMaxFeedbackVariables - 1; ++i) testdoc::AddFeedback(e, "f", "Flow", "1");
  OpenElement(c, [&](Dialog& d) {
    d.ChooseCombo(dlgres::kUsedTypeCombo, 1);
    d.SetTextU(dlgres::kUsedNameEdit, "last");
    d.SetTextU(dlgres::kFeedbackNameEdit, "last");
    d.ChooseCombo(dlgres::kFeedbackKindCombo, 0);
    d.ChooseCombo(dlgres::kFeedbackBondCombo, 0);
    for (int i = 0; i < 3; ++i) {
      d.Press(dlgres::kAddUsedButton);
      d.Press(dlgres::kAddFeedbackButton);
    }
    EXPECT_EQ(d.ListRowCount(dlgres::kUsedVariableList), kMaxUsedVariables);
    EXPECT_EQ(d.ListRowCount(dlgres::kFeedbackVariableList), kMaxFeedbackVariables);
    d.Press(plat::IDCANCEL);
  });
  EXPECT_EQ(e.usedCount, kMaxUsedVariables);
  EXPECT_EQ(e.feedbackCount, kMaxFeedbackVariables);
  EXPECT_EQ(Used(e, kMaxUsedVariables - 1), J("実数") + "/last/");
  EXPECT_EQ(Feedback(e, kMaxFeedbackVariables - 1), "last/Effort/1");
  EXPECT_TRUE(plat::msgscript::Records().empty());
}

// Without bonds the bond choice is empty, so no feedback variable can be added.
TEST_F(ElementDialogs, WithoutBondsTheBondChoiceIsEmpty) {
  const int sf = AddElement(kKindSF);
  OpenElement(sf, [](Dialog& d) {
    EXPECT_EQ(d.ComboCount(dlgres::kFeedbackBondCombo), 0);
    d.SetTextU(dlgres::kFeedbackNameEdit, "f");
    d.ChooseCombo(dlgres::kFeedbackKindCombo, 0);
    d.ChooseCombo(dlgres::kFeedbackBondCombo, 0);
    d.Press(dlgres::kAddFeedbackButton);
    EXPECT_EQ(d.ListRowCount(dlgres::kFeedbackVariableList), 0);
    d.Press(plat::IDCANCEL);
  });
  EXPECT_EQ(g_document.elements[sf].feedbackCount, 0);
}

// Every cap is in CP932 bytes and cuts before a double-byte character that does not fit
// whole; a CR LF pair is never split.
TEST_F(ElementDialogs, TextsAreCutToTheirByteCapsOnCharacterBoundaries) {
  const int i = AddElement(kKindI);
  ElementRecord& e = g_document.elements[i];
  const std::string kanji = J("電");
  OpenElement(i, [&](Dialog& d) {
    d.SetTextU(dlgres::kEquationEdit, plat::cp932::ToQString("a" + Repeat(kanji, 1050)));         // 2101 bytes
    d.SetTextU(dlgres::kParameterNamesEdit, plat::cp932::ToQString(Repeat(kanji, 205)));          // 410 bytes
    d.SetTextU(dlgres::kParameterValuesEdit, QString(608, 'v') + "\nw");  // CR LF would end at 610
    d.SetTextU(dlgres::kParameterUnitsEdit, QString(559, 'u') + "x");
    d.SetTextU(dlgres::kParameterCommentsEdit, plat::cp932::ToQString("c" + Repeat(kanji, 405)));  // 811 bytes
    d.ChooseCombo(dlgres::kUsedTypeCombo, 0);
    d.SetTextU(dlgres::kUsedNameEdit, U("電圧電圧電"));          // 10 bytes
    d.SetTextU(dlgres::kUsedCommentEdit, U("コメントの長い"));   // 14 bytes: fits
    d.Press(dlgres::kAddUsedButton);
    d.SetTextU(dlgres::kUsedNameEdit, U("a電圧電圧"));           // 9 bytes: fits
    d.SetTextU(dlgres::kUsedCommentEdit, U("x長いコメントだ"));  // 15 bytes
    d.Press(dlgres::kAddUsedButton);
    d.SetTextU(dlgres::kFeedbackNameEdit, U("x電圧電圧電"));     // 11 bytes
    d.ChooseCombo(dlgres::kFeedbackKindCombo, 1);
    d.Press(dlgres::kAddFeedbackButton);
    d.PressEnter();
  });
  EXPECT_EQ(TextOf(e.equation), "a" + Repeat(kanji, 1049));  // 2099 bytes
  EXPECT_EQ(TextOf(e.parameterNames), Repeat(kanji, 204));   // 408 bytes
  EXPECT_EQ(TextOf(e.parameterValues), std::string(608, 'v'));
  EXPECT_EQ(TextOf(e.parameterUnits), std::string(559, 'u'));
  EXPECT_EQ(TextOf(e.parameterComments), "c" + Repeat(kanji, 404));  // 809 bytes
  ASSERT_EQ(e.usedCount, 2);
  EXPECT_EQ(Used(e, 0), J("整数/電圧電圧/コメントの長い"));
  EXPECT_EQ(Used(e, 1), J("整数/a電圧電圧/x長いコメント"));
  EXPECT_EQ(e.feedbackCount, 0);  // no bonds
}

// The name and comment edits hold their bytes while typing: what does not fit is refused.
TEST_F(ElementDialogs, NameEditsRefuseTypingBeyondTheirBytes) {
  const int c = AddElement(kKindC);
  OpenElement(c, [](Dialog& d) {
    struct Case {
      int id;
      const char* first;
      const char* refused;
      const char* accepted;
      const char* result;
    };
    const Case cases[] = {
        {dlgres::kUsedNameEdit, "電圧電圧", "電", "a", "電圧電圧a"},              // 9 bytes
        {dlgres::kFeedbackNameEdit, "abcdefgh", "電", "i", "abcdefghi"},          // 9 bytes
        {dlgres::kUsedCommentEdit, "コメント長いa", "電", "b", "コメント長いab"},  // 14 bytes
    };
    for (const Case& c : cases) {
      SCOPED_TRACE(c.id);
      auto* edit = qobject_cast<QLineEdit*>(d.Child(c.id));
      ASSERT_NE(edit, nullptr);
      edit->insert(U(c.first));
      edit->insert(U(c.refused));
      EXPECT_EQ(edit->text(), U(c.first));
      edit->insert(U(c.accepted));
      EXPECT_EQ(edit->text(), U(c.result));
    }
    d.Press(plat::IDCANCEL);
  });
}

// A character with no CP932 form is stored as '?'.
TEST_F(ElementDialogs, CharactersOutsideCp932BecomeQuestionMarks) {
  const int r = AddElement(kKindR);
  ElementRecord& e = g_document.elements[r];
  OpenElement(r, [](Dialog& d) {
    d.SetTextU(dlgres::kEquationEdit, U("E=R1*F // 😀 ok"));
    d.SetTextU(dlgres::kParameterCommentsEdit, U("한抵抗"));  // no hangul in CP932
    d.ChooseCombo(dlgres::kUsedTypeCombo, 1);
    d.SetTextU(dlgres::kUsedNameEdit, U("x😀"));
    d.Press(dlgres::kAddUsedButton);
    d.Press(plat::IDOK);
  });
  EXPECT_EQ(TextOf(e.equation), "E=R1*F // ? ok");
  EXPECT_EQ(TextOf(e.parameterComments), "?" + J("抵抗"));
  ASSERT_EQ(e.usedCount, 1);
  EXPECT_EQ(TextOf(e.used[0].name), "x?");
}

// A text left unchanged goes back byte for byte, even bytes that are not CP932 and line
// ends that are not CR LF; an edited field is encoded anew.
TEST_F(ElementDialogs, UnchangedTextsKeepTheirStoredBytes) {
  const int c = AddElement(kKindC);
  ElementRecord& e = g_document.elements[c];
  const std::string odd = "E=Q\x80\xFD\nX\r\nY\xA0";
  StoreText(e.equation, odd);
  StoreText(e.parameterNames, "C1\nK\r\n");
  StoreText(e.parameterValues, "\x81");  // a lone lead byte
  StoreText(e.parameterUnits, "F");
  OpenElement(c, [](Dialog& d) {
    d.SetTextU(dlgres::kParameterUnitsEdit, "H");
    d.Press(plat::IDOK);
  });
  EXPECT_EQ(TextOf(e.equation), odd);
  EXPECT_EQ(TextOf(e.parameterNames), "C1\nK\r\n");
  EXPECT_EQ(TextOf(e.parameterValues), "\x81");
  EXPECT_EQ(TextOf(e.parameterUnits), "H");
}

// ---- INITIAL_VALUE_DIALOG -----------------------------------------------------

// Which bonds carry a state: a C end gives DP, an I end MN (the I test decides when both
// hold); anything else opens nothing. The name is written at opening, even on CANCEL.
TEST_F(ElementDialogs, InitialValueDialogOpensForCAndIBondsWithTheStateName) {
  struct Case {
    int tailKind, headKind;
    bool opens;
    int valueKind;
    const char* name;
  };
  const Case cases[] = {
      {kKindZeroJunction, kKindC, true, 0, "DP3"},
      {kKindC, kKindOneJunction, true, 0, "DP3"},
      {kKindOneJunction, kKindI, true, 1, "MN3"},
      {kKindI, kKindZeroJunction, true, 1, "MN3"},
      {kKindC, kKindI, true, 1, "MN3"},
      {kKindI, kKindC, true, 1, "MN3"},
      {kKindZeroJunction, kKindR, false, 7, ""},
      {kKindSE, kKindOneJunction, false, 7, ""},
      {kKindZeroJunction, kKindOneJunction, false, 7, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(kKindNames[c.tailKind]) + "->" + kKindNames[c.headKind]);
    ResetEditorState();
    script::Begin();
    // Two bonds before it: its state name carries display number 3.
    const int j = AddElement(kKindOneJunction);
    AddBond(j, AddElement(kKindZeroJunction), 0);
    AddBond(j, AddElement(kKindZeroJunction), 4);
    const int b = AddBond(AddElement(c.tailKind), AddElement(c.headKind));
    g_document.initialValueKind = 7;
    bool opened = false;
    script::Queue(kInitialValueDialog, [&](Dialog& d) {
      opened = true;
      EXPECT_EQ(d.windowTitle(), U("Initial value input"));
      d.PressEscape();
    });
    KeyOnBond(b);
    EXPECT_EQ(opened, c.opens);
    EXPECT_EQ(g_document.initialValueKind, c.valueKind);
    EXPECT_EQ(TextOf(g_document.bonds[b].initialName), c.name);
    EXPECT_EQ(TextOf(g_document.bonds[b].initialValue), "0.0000000E+00");
    EXPECT_EQ(g_document.bonds[b].hasInitialValue, 0);
  }
}

TEST_F(ElementDialogs, InitialValueDialogOpensOnlyWithASelection) {
  const int j = AddElement(kKindZeroJunction);
  const int b = AddBond(j, AddElement(kKindC));
  g_currentIndex = b;
  g_document.selectionActive = 0;
  EditInitialValueOfSelectedBond(nullptr);
  EXPECT_TRUE(script::Opened().empty());
  EXPECT_EQ(TextOf(g_document.bonds[b].initialName), "");
}

TEST_F(ElementDialogs, InitialValueDialogShowsItsControlsAndTheStoredValue) {
  const int j = AddElement(kKindZeroJunction);
  const int b = AddBond(j, AddElement(kKindC));
  g_document.bonds[b].hasInitialValue = 1;
  std::strcpy(g_document.bonds[b].initialValue, "2.5E-03");
  script::Queue(kInitialValueDialog, [](Dialog& d) {
    EXPECT_EQ(d.size(), QSize(DluToPxX(134), DluToPxY(55)));
    EXPECT_EQ(d.GetTextU(plat::IDOK), "OK");
    EXPECT_EQ(d.Child(plat::IDOK)->geometry(), Dlu(12, 35, 45, 12));
    EXPECT_EQ(d.GetTextU(plat::IDCANCEL), "CANCEL");
    EXPECT_EQ(d.Child(plat::IDCANCEL)->geometry(), Dlu(73, 35, 45, 12));
    EXPECT_NE(qobject_cast<QCheckBox*>(d.Child(dlgres::kHasInitialValueCheck)), nullptr);
    EXPECT_EQ(d.Child(dlgres::kHasInitialValueCheck)->geometry(), Dlu(9, 12, 10, 10));
    EXPECT_TRUE(d.IsChecked(dlgres::kHasInitialValueCheck));
    EXPECT_NE(qobject_cast<QLineEdit*>(d.Child(dlgres::kInitialValueEdit)), nullptr);
    EXPECT_EQ(d.Child(dlgres::kInitialValueEdit)->geometry(), Dlu(54, 10, 71, 14));
    EXPECT_EQ(d.GetTextU(dlgres::kInitialValueEdit), "2.5E-03");
    const std::vector<LabelSeen> labels = {{"DP1", QRect(36, 19, 56, 16), false}};
    EXPECT_EQ(UnnamedLabels(d), labels);
    d.Press(plat::IDCANCEL);
  });
  KeyOnBond(b);
  EXPECT_EQ(script::Opened(), std::vector<std::string>{kInitialValueDialog});
}

// Checked OK stores the value cut to 19 characters; unchecked OK clears the flag and keeps
// the value, which the next opening shows again.
TEST_F(ElementDialogs, InitialValueOkStoresTheCheckAndTheValue) {
  const int j = AddElement(kKindOneJunction);
  const int b = AddBond(j, AddElement(kKindI));
  BondRecord& r = g_document.bonds[b];
  script::Queue(kInitialValueDialog, [](Dialog& d) {
    EXPECT_FALSE(d.IsChecked(dlgres::kHasInitialValueCheck));
    d.Press(dlgres::kHasInitialValueCheck);
    d.SetTextU(dlgres::kInitialValueEdit, "1.2345678901234E+05abcdef");  // 25 characters
    d.Press(plat::IDOK);
  });
  KeyOnBond(b);
  EXPECT_EQ(r.hasInitialValue, 1);
  EXPECT_EQ(TextOf(r.initialValue), "1.2345678901234E+05");
  EXPECT_EQ(TextOf(r.initialName), "MN1");

  script::Queue(kInitialValueDialog, [](Dialog& d) {
    EXPECT_TRUE(d.IsChecked(dlgres::kHasInitialValueCheck));
    d.Press(dlgres::kHasInitialValueCheck);  // unchecked
    d.SetTextU(dlgres::kInitialValueEdit, "9.9");
    d.Press(plat::IDOK);
  });
  KeyOnBond(b);
  EXPECT_EQ(r.hasInitialValue, 0);
  EXPECT_EQ(TextOf(r.initialValue), "1.2345678901234E+05");

  std::string shown;
  script::Queue(kInitialValueDialog, [&](Dialog& d) {
    shown = d.GetText(dlgres::kInitialValueEdit, 100);
    d.Press(plat::IDCANCEL);
  });
  KeyOnBond(b);
  EXPECT_EQ(shown, "1.2345678901234E+05");
}

// A key press with a bond selected reaches the initial-value test, then clears the selection
// and marks the document modified, whether or not the dialog opened.
TEST_F(ElementDialogs, KeyPressWithABondSelectedOpensTheInitialValueDialog) {
  MainWindow window;
  const int j = AddElement(kKindZeroJunction);
  AddBond(j, AddElement(kKindR));
  const int b = AddBond(j, AddElement(kKindC), 0);
  g_documentSaved = 1;
  script::Queue(kInitialValueDialog, [](Dialog& d) {
    d.Press(dlgres::kHasInitialValueCheck);
    d.SetTextU(dlgres::kInitialValueEdit, "1.0");
    d.Press(plat::IDOK);
  });
  g_currentIndex = b;
  g_document.selectionActive = 1;
  g_document.selectionIsElement = 0;
  window.OnKeyDown(plat::VK_RIGHT);
  EXPECT_EQ(script::Opened(), std::vector<std::string>{kInitialValueDialog});
  EXPECT_EQ(TextOf(g_document.bonds[b].initialName), "DP2");
  EXPECT_EQ(TextOf(g_document.bonds[b].initialValue), "1.0");
  EXPECT_EQ(g_documentSaved, 0);
}

}  // namespace
