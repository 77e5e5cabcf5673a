// A user's way through editing a diagram on the real main window: SE, a
// 1-junction, R, C and I placed with their tools, joined by clicks with the
// bond tool, described in their parameter dialogs, two initial values entered;
// then one element dragged with its bonds and one deleted with its bond. The
// feature tests check each step in detail; this one checks that the steps work
// together and what the document holds after them.
#include "canvas_drawing.h"
#include "document.h"
#include "main_window.h"
#include "selection.h"
#include "platform/client_view.h"
#include "platform/dialog.h"
#include "platform/message_box.h"
#include "resources/bond_templates.h"
#include "resources/element_dialog_templates.h"
#include "test_diagram_records.h"
#include "test_window_fixture.h"

#include <QApplication>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using plat::Point;
using testdoc::Centre;
using testdoc::ExpectBox;

constexpr char kStrokeDialog[] = "STROKE_SELECT_DIALOG";
constexpr char kElementDialog[] = "ELEMENT_PARAMETER_DIALOG";
constexpr char kInitialValueDialog[] = "INITIAL_VALUE_DIALOG";
constexpr plat::Rgb kInk = kBondColor;

// The elements in the order they are placed.
enum : int { SE = 0, J = 1, R = 2, C = 3, I = 4 };

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

// What the user types into one element's parameter dialog.
struct Description {
  int element;
  const char* names;      // multi-line texts as the edit shows them (LF)
  const char* values;
  const char* units;
  const char* comments;
  const char* equation;
  const char* feedbackName;  // nullptr: no feedback variable
  int feedbackKind;          // item of the kind choice
  int feedbackBond;          // item of the bond choice ("1" is item 0)
};
const Description kDescriptions[] = {
    {SE, "E0", "5.0", "V", "source", "E=E0", "f1", 1, 0},
    {R, "R1", "10.0", "Ohm", "抵抗値", "E=R1*F", "f4", 1, 3},
    {C, "C1\nQ0", "0.01\n0.0", "F\nC", "", "E=Q/C1", nullptr, 0, 0},
    {I, "L1", "0.5", "H", "inertia", "F=P/L1", nullptr, 0, 0},
};

// The CP932 bytes the edits' text is stored as: CR LF between lines.
std::string Stored(const char* shown) {
  std::string out;
  for (const char* p = shown; *p; ++p) out += *p == '\n' ? std::string("\r\n") : std::string(1, *p);
  return ::J(out);
}

class EditingJourney : public MainWindowFixture {
 protected:
  void TearDown() override {
    testdoc::ExpectTablesConsistent();
    MainWindowFixture::TearDown();
  }
  QPoint InWindow(Point p) const { return MainWindowFixture::InWindow(p.x, p.y); }

  // Through the window's entry points, in client points (the canvas is not scrolled).
  void Click(Point p) {
    W().OnLButtonDown(p.x, p.y);
    W().OnLButtonUp(p.x, p.y);
  }
  // Through Qt's events, where the mapping of points, buttons and keys counts.
  void RealClick(Point p, Qt::MouseButton button = Qt::LeftButton) { MainWindowFixture::RealClick(p.x, p.y, button); }
  void RealMove(Point p) { MainWindowFixture::RealMove(p.x, p.y); }
  void RealKey(Qt::Key key) {
    QTest::keyClick(window_->View(), key);
    QApplication::processEvents();
  }

  // The middle of bond k between its two port points.
  static Point Middle(int k) {
    const BondRecord& b = g_document.bonds[k];
    return Point{(GetPortX(b.tailSide, b.tailElement) + GetPortX(b.headSide, b.headElement)) / 2,
                 (GetPortY(b.tailSide, b.tailElement) + GetPortY(b.headSide, b.headElement)) / 2};
  }
  // Pixels other than white in the rectangle.
  static int InkIn(const plat::Canvas& canvas, const Rect& r) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) n += canvas.Pixel(x, y) != plat::kWhite ? 1 : 0;
    return n;
  }
  static int InkAround(const plat::Canvas& canvas, Point p, plat::Rgb colour, int radius = 2) {
    int n = 0;
    for (int y = p.y - radius; y <= p.y + radius; ++y)
      for (int x = p.x - radius; x <= p.x + radius; ++x) n += canvas.Pixel(x, y) == colour ? 1 : 0;
    return n;
  }

  // Five elements with their tools, then four bonds from the junction's
  // partners by two clicks each: SE -> 1, 1 -> R (stroke chosen at R's end in
  // the dialog), 1 -> C, and 1 -> I with real mouse events.
  void DrawTheGraph() {
    W().OnCommand(ToolOfKind(kKindSE));
    RealClick({120, 250});
    W().OnCommand(ToolOfKind(kKindOneJunction));
    Click({300, 250});
    W().OnCommand(ToolOfKind(kKindR));
    Click({310, 420});
    W().OnCommand(ToolOfKind(kKindC));
    Click({300, 100});
    W().OnCommand(ToolOfKind(kKindI));
    Click({480, 240});
    ASSERT_EQ(g_elementCount, 5);

    W().OnCommand(kToolBond);
    Click(Centre(SE));
    Click(Centre(J));
    plat::dlgscript::Queue(kStrokeDialog, [](plat::Dialog& d) {
      // The picture shows the junction at the tail and R at the head; a new
      // bond starts with the stroke at the tail end.
      EXPECT_EQ(g_document.strokeTailElement, J);
      EXPECT_EQ(g_document.strokeHeadElement, R);
      EXPECT_TRUE(d.IsChecked(dlgres::kStrokeAtTailRadio));
      d.Press(dlgres::kStrokeAtHeadRadio);
      d.Press(plat::IDOK);
    });
    Click(Centre(J));
    Click({310, 420});
    Click(Centre(J));
    Click(Centre(C));

    RealClick(Centre(J));
    RealMove({400, 245});
    ASSERT_EQ(g_bondDrawing, 1);
    EXPECT_GT(InkAround(*g_drawDC, {350, 247}, kInk, 3), 0) << "the rubber band";
    RealMove(Centre(I));
    RealClick(Centre(I));
    ASSERT_EQ(g_bondCount, 4);
    EXPECT_EQ(g_bondDrawing, 0);
  }

  // Each numbered element described in its dialog, opened by a right click on
  // it once selected (for R a real right click); then two initial values.
  void DescribeTheGraph() {
    W().OnCommand(kToolSelect);
    for (const Description& e : kDescriptions) {
      SCOPED_TRACE(kKindNames[g_document.elements[e.element].kind]);
      plat::dlgscript::Queue(kElementDialog, [&e](plat::Dialog& d) {
        EXPECT_EQ(d.ComboCount(dlgres::kFeedbackBondCombo), 4);  // the bonds 1 to 4
        d.SetTextU(dlgres::kParameterNamesEdit, U(e.names));
        d.SetTextU(dlgres::kParameterValuesEdit, U(e.values));
        d.SetTextU(dlgres::kParameterUnitsEdit, U(e.units));
        d.SetTextU(dlgres::kParameterCommentsEdit, U(e.comments));
        d.SetTextU(dlgres::kEquationEdit, U(e.equation));
        if (e.element == R) {
          d.ChooseCombo(dlgres::kUsedTypeCombo, 0);
          d.SetTextU(dlgres::kUsedNameEdit, U("n"));
          d.SetTextU(dlgres::kUsedCommentEdit, U("回数"));
          d.Press(dlgres::kAddUsedButton);
        }
        if (e.feedbackName) {
          d.SetTextU(dlgres::kFeedbackNameEdit, U(e.feedbackName));
          d.ChooseCombo(dlgres::kFeedbackKindCombo, e.feedbackKind);
          d.ChooseCombo(dlgres::kFeedbackBondCombo, e.feedbackBond);
          d.Press(dlgres::kAddFeedbackButton);
        }
        d.Press(plat::IDOK);
      });
      Click(Centre(e.element));
      ASSERT_EQ(ClassifySelection(), HIT_ELEMENT);
      g_documentSaved = 1;  // as a save would leave it: OK clears it
      if (e.element == R) {
        RealClick(Centre(e.element), Qt::RightButton);
      } else {
        W().OnRButtonDown(Centre(e.element).x, Centre(e.element).y);
      }
      EXPECT_EQ(plat::dlgscript::Pending(kElementDialog), 0);
      EXPECT_EQ(g_document.selectionActive, 0);
      EXPECT_EQ(g_documentSaved, 0);
    }

    // A key with a bond selected: bond 3 (junction - C) holds a displacement,
    // bond 4 (junction - I) a momentum.
    struct Value {
      int bond;
      const char* name;
      const char* value;
    };
    const Value values[] = {{2, "DP3", "1.5E-03"}, {3, "MN4", "2.0E+00"}};
    for (const Value& v : values) {
      plat::dlgscript::Queue(kInitialValueDialog, [v](plat::Dialog& d) {
        EXPECT_EQ(TextOf(g_document.bonds[v.bond].initialName), v.name);
        EXPECT_FALSE(d.IsChecked(dlgres::kHasInitialValueCheck));
        EXPECT_EQ(d.GetTextU(dlgres::kInitialValueEdit), U("0.0000000E+00"));
        d.Press(dlgres::kHasInitialValueCheck);
        d.SetTextU(dlgres::kInitialValueEdit, U(v.value));
        d.Press(plat::IDOK);
      });
      Click(Middle(v.bond));
      ASSERT_EQ(ClassifySelection(), HIT_BOND);
      ASSERT_EQ(g_document.selectedIndex, v.bond);
      g_documentSaved = 1;
      if (v.bond == 3) {
        RealKey(Qt::Key_A);
      } else {
        W().OnKeyDown('A');
      }
      EXPECT_EQ(plat::dlgscript::Pending(kInitialValueDialog), 0);
      EXPECT_EQ(g_document.selectionActive, 0);
      EXPECT_EQ(g_documentSaved, 0);
    }
  }

};

// Port entries expected on the sides in use; every other side is free.
struct PortWant {
  int element, side, bond, partner, isHead;
};
void ExpectPorts(const std::vector<PortWant>& used) {
  for (int i = 0; i < g_elementCount; ++i) {
    const ElementRecord& e = g_document.elements[i];
    for (int s = 0; s < kPortSides; ++s) {
      SCOPED_TRACE("element " + std::to_string(i) + " side " + std::to_string(s));
      const PortWant* want = nullptr;
      for (const PortWant& p : used)
        if (p.element == i && p.side == s) want = &p;
      EXPECT_EQ(e.portInUse[s], want ? 1 : 0);
      if (!want) continue;
      EXPECT_EQ(e.portBond[s], want->bond);
      EXPECT_EQ(e.portPartner[s], want->partner);
      EXPECT_EQ(e.portIsHead[s], want->isHead);
    }
  }
}

struct BondWant {
  int tail, tailSide, head, headSide, strokeAtHead, hasInitialValue;
  const char* initialName;
  const char* initialValue;
};
void ExpectBonds(const std::vector<BondWant>& bonds) {
  ASSERT_EQ(g_bondCount, static_cast<int>(bonds.size()));
  for (int k = 0; k < g_bondCount; ++k) {
    SCOPED_TRACE("bond " + std::to_string(k + 1));
    const BondRecord& b = g_document.bonds[k];
    const BondWant& w = bonds[static_cast<std::size_t>(k)];
    EXPECT_EQ(b.tailElement, w.tail);
    EXPECT_EQ(b.tailSide, w.tailSide);
    EXPECT_EQ(b.headElement, w.head);
    EXPECT_EQ(b.headSide, w.headSide);
    EXPECT_EQ(b.strokeAtHead, w.strokeAtHead);
    EXPECT_EQ(b.hasInitialValue, w.hasInitialValue);
    EXPECT_EQ(TextOf(b.initialName), w.initialName);
    EXPECT_EQ(TextOf(b.initialValue), w.initialValue);
    for (int r : b.reserved) EXPECT_EQ(r, 0);
  }
}

TEST_F(EditingJourney, DrawJoinAndDescribeAGraph) {
  ASSERT_NO_FATAL_FAILURE(DrawTheGraph());
  ASSERT_NO_FATAL_FAILURE(DescribeTheGraph());

  // Elements: kinds, numbers, widths and the boxes after snapping (the
  // junction beside SE at its right, R centred below it, C centred above it,
  // I level with it on its right).
  struct ElementWant {
    int kind, number, width, numbered;
    Rect box;
  };
  const ElementWant elements[] = {
      {kKindSE, 1, 45, 1, {98, 235, 143, 265}},        {kKindOneJunction, 1, 15, 0, {293, 235, 308, 265}},
      {kKindR, 1, 30, 1, {285, 405, 315, 435}},         {kKindC, 1, 30, 1, {285, 85, 315, 115}},
      {kKindI, 1, 21, 1, {470, 235, 491, 265}},
  };
  ASSERT_EQ(g_elementCount, 5);
  for (int i = 0; i < 5; ++i) {
    const ElementRecord& e = g_document.elements[i];
    EXPECT_EQ(e.kind, elements[i].kind) << i;
    EXPECT_EQ(e.number, elements[i].number) << i;
    EXPECT_EQ(e.width, elements[i].width) << i;
    EXPECT_EQ(e.height, 30) << i;
    EXPECT_EQ(e.numbered, elements[i].numbered) << i;
    ExpectBox(i, elements[i].box);
    EXPECT_TRUE(g_document.occupiedRegion.IntersectsRect(e.box)) << i;
    EXPECT_EQ(e.staleMark, 0) << i;
  }
  ExpectPorts({{SE, 4, 0, J, 0},
               {J, 0, 0, SE, 1},
               {J, 6, 1, R, 0},
               {R, 2, 1, J, 1},
               {J, 2, 2, C, 0},
               {C, 6, 2, J, 1},
               {J, 4, 3, I, 0},
               {I, 0, 3, J, 1}});

  // Bonds: ends, sides, strokes (SE's and C's ends set the stroke at the
  // junction, I's at I, R's chosen at R) and the two initial values.
  ExpectBonds({{SE, 4, J, 0, 1, 0, "", "0.0000000E+00"},
               {J, 6, R, 2, 1, 0, "", "0.0000000E+00"},
               {J, 2, C, 6, 0, 1, "DP3", "1.5E-03"},
               {J, 4, I, 0, 1, 1, "MN4", "2.0E+00"}});

  // Texts as typed, lines joined by CR LF, Japanese as CP932 bytes.
  for (const Description& d : kDescriptions) {
    const ElementRecord& e = g_document.elements[d.element];
    SCOPED_TRACE(kKindNames[e.kind]);
    EXPECT_EQ(TextOf(e.parameterNames), Stored(d.names));
    EXPECT_EQ(TextOf(e.parameterValues), Stored(d.values));
    EXPECT_EQ(TextOf(e.parameterUnits), Stored(d.units));
    EXPECT_EQ(TextOf(e.parameterComments), Stored(d.comments));
    EXPECT_EQ(TextOf(e.equation), Stored(d.equation));
    EXPECT_EQ(e.feedbackCount, d.feedbackName ? 1 : 0);
    EXPECT_EQ(e.usedCount, d.element == R ? 1 : 0);
  }
  const ElementRecord& r = g_document.elements[R];
  EXPECT_EQ(TextOf(r.parameterComments), "\x92\xEF\x8D\x52\x92\x6C");  // 抵抗値
  EXPECT_EQ(TextOf(g_document.elements[C].parameterNames), "C1\r\nQ0");
  EXPECT_EQ(TextOf(r.used[0].type), "\x90\xAE\x90\x94");    // 整数
  EXPECT_EQ(TextOf(r.used[0].name), "n");
  EXPECT_EQ(TextOf(r.used[0].comment), "\x89\xF1\x90\x94");  // 回数
  EXPECT_EQ(TextOf(r.feedback[0].name), "f4");
  EXPECT_EQ(TextOf(r.feedback[0].kind), "Flow");
  EXPECT_EQ(TextOf(r.feedback[0].bond), "4");
  EXPECT_EQ(TextOf(g_document.elements[SE].feedback[0].bond), "1");

  // Hit regions: the middle of each bond selects that bond and no other.
  for (int k = 0; k < g_bondCount; ++k) {
    for (int other = 0; other < g_bondCount; ++other)
      EXPECT_EQ(HitTestBond(other, Middle(k).x, Middle(k).y), other == k ? 1 : 0) << k << " " << other;
  }

  // The picture: every bond and label drawn, no selection mark left.
  for (int k = 0; k < g_bondCount; ++k) EXPECT_GT(InkAround(*g_drawDC, Middle(k), kInk), 0) << "bond " << k + 1;
  for (int i = 0; i < g_elementCount; ++i) EXPECT_GT(InkIn(*g_drawDC, g_document.elements[i].box), 0) << i;
  EXPECT_EQ(g_documentSaved, 0);
  EXPECT_TRUE(plat::msgscript::Records().empty());
  const std::vector<std::string> opened = {"SELECT_COMPILER",    kStrokeDialog,      kElementDialog,
                                           kElementDialog,       kElementDialog,     kElementDialog,
                                           kInitialValueDialog, kInitialValueDialog};
  EXPECT_EQ(plat::dlgscript::Opened(), opened);

  window_->View()->PresentNow();
  QApplication::processEvents();
  const QString path = QStringLiteral(VORK_BINARY_DIR) + QStringLiteral("/editing_journey.png");
  EXPECT_TRUE(window_->grab().toImage().save(path));
}

TEST_F(EditingJourney, DragTheJunctionThenDeleteC) {
  ASSERT_NO_FATAL_FAILURE(DrawTheGraph());
  ASSERT_NO_FATAL_FAILURE(DescribeTheGraph());
  g_documentSaved = 1;  // as a save would leave it

  // The junction dragged by 40, 20 with real events: its four bonds follow.
  const Point oldMiddle = Middle(2);
  QTest::mousePress(Handle(), Qt::LeftButton, Qt::NoModifier, InWindow(Centre(J)));
  RealMove({320, 260});
  RealMove({340, 270});
  QTest::mouseRelease(Handle(), Qt::LeftButton, Qt::NoModifier, InWindow({340, 270}));
  QApplication::processEvents();
  EXPECT_EQ(g_elementDragging, 0);
  ExpectBox(J, {333, 255, 348, 285});
  EXPECT_TRUE(g_document.occupiedRegion.IntersectsRect(g_document.elements[J].box));
  EXPECT_FALSE(g_document.occupiedRegion.IntersectsRect(Rect{293, 235, 308, 255}));
  EXPECT_EQ(g_documentSaved, 0);
  const Point middles[] = {{238, 260}, {320, 345}, {320, 185}, {409, 260}};
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(Middle(k), middles[k]) << k;
    EXPECT_EQ(HitTestBond(k, middles[k].x, middles[k].y), 1) << "bond " << k + 1;
    EXPECT_GT(InkAround(*g_drawDC, middles[k], kInk), 0) << "bond " << k + 1;
  }
  EXPECT_EQ(HitTestBond(2, oldMiddle.x, oldMiddle.y), 0);
  EXPECT_EQ(InkAround(*g_drawDC, oldMiddle, kInk), 0);

  // C selected by a real click and deleted by the Delete key: its bond 3 goes,
  // bond 4 becomes bond 3 and I moves down to slot 3. R reads bond 4 as
  // feedback, a number above the removed one: it is circled; SE reads bond 1.
  RealClick(Centre(C));
  ASSERT_EQ(ClassifySelection(), HIT_ELEMENT);
  g_documentSaved = 1;
  RealKey(Qt::Key_Delete);
  ASSERT_EQ(g_elementCount, 4);
  EXPECT_EQ(g_document.elements[3].kind, kKindI);
  ExpectBox(3, {470, 235, 491, 265});
  EXPECT_FALSE(g_document.occupiedRegion.IntersectsRect(Rect{285, 85, 315, 115}));
  ExpectPorts({{SE, 4, 0, J, 0}, {J, 0, 0, SE, 1}, {J, 6, 1, R, 0}, {R, 2, 1, J, 1}, {J, 4, 2, 3, 0}, {3, 0, 2, J, 1}});
  EXPECT_EQ(g_document.elements[J].portBond[2], -1);  // the freed side
  ExpectBonds({{SE, 4, J, 0, 1, 0, "", "0.0000000E+00"},
               {J, 6, R, 2, 1, 0, "", "0.0000000E+00"},
               {J, 4, 3, 0, 1, 1, "MN4", "2.0E+00"}});  // the state name keeps its old number
  EXPECT_EQ(HitTestBond(2, middles[3].x, middles[3].y), 1);
  EXPECT_EQ(g_documentSaved, 0);
  EXPECT_EQ(g_document.elements[R].staleMark, 1);
  EXPECT_EQ(g_document.elements[SE].staleMark, 0);
  EXPECT_EQ(g_lowestRemovedBond, 10000);
  const Point circleLeft{Centre(R).x - 20, Centre(R).y};
  EXPECT_GT(InkAround(*g_drawDC, circleLeft, kMarkColor), 0);
  EXPECT_EQ(InkAround(*g_drawDC, {Centre(SE).x - 20, Centre(SE).y}, kMarkColor), 0);

  // Closing R's dialog takes the mark away.
  plat::dlgscript::Queue(kElementDialog, [](plat::Dialog& d) { d.Press(plat::IDCANCEL); });
  Click(Centre(R));
  W().OnRButtonDown(Centre(R).x, Centre(R).y);
  EXPECT_EQ(g_document.elements[R].staleMark, 0);
  window_->View()->PresentNow();
  EXPECT_EQ(InkAround(*g_drawDC, circleLeft, kMarkColor), 0);
}

}  // namespace
