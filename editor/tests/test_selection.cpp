// The select tool: what a press selects and its dotted mark, the two canvases
// around a selection, dragging with the bonds following and the restore
// rectangle, the occupied region at press and release, deletion with its
// renumbering, the red circles of stale feedback references, and real mouse
// events on the main window.
#include "canvas_drawing.h"
#include "document.h"
#include "main_window.h"
#include "selection.h"
#include "platform/client_view.h"
#include "platform/dialog.h"
#include "platform/message_box.h"
#include "test_diagram_records.h"
#include "test_fs_temp_dir.h"
#include "test_window_fixture.h"

#include <QApplication>
#include <QPaintEvent>
#include <QRegion>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

using plat::DrawOp;
using plat::Point;
using testdoc::Bond;
using testdoc::Element;
using testdoc::ExpectBox;

constexpr plat::Rgb kDotColor = plat::MakeRgb(7, 0, 0);

// The document drawn, every box in the occupied region, the clean canvas a copy.
void Show() {
  RedrawDiagram();
  for (int i = 0; i < g_elementCount; ++i)
    g_document.occupiedRegion.Unite(plat::Region::FromRect(g_document.elements[i].box));
  g_cleanDC->CopyFrom(*g_drawDC, 0, 0, g_canvasWidth, g_canvasHeight, 0, 0);
  g_drawDC->ClearLog();
}

// C1 (0) at (100, 100), a 1-junction (1) at (200, 100), R1 (2) at (300, 100);
// bond 1 from C1's side 4 (135, 115) to the junction's side 0 (195, 115),
// bond 2 from the junction's side 4 (220, 115) to R1's side 0 (295, 115).
void Chain() {
  Element(0, kKindC, 1, 100, 100, 30);
  Element(1, kKindOneJunction, 1, 200, 100, 15);
  Element(2, kKindR, 1, 300, 100, 30);
  Bond(0, 0, 4, 1, 0);
  Bond(1, 1, 4, 2, 0);
}

// ---- reading the canvases ------------------------------------------------------------

int Ink(const plat::Canvas& c, int left, int top, int right, int bottom) {
  int n = 0;
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x)
      if (c.Pixel(x, y) != plat::kWhite) ++n;
  return n;
}
int Ink(const plat::Canvas& c, const Rect& r) { return Ink(c, r.left, r.top, r.right, r.bottom); }

bool HasLine(Point from, Point to, plat::Pen::Style style, int width) {
  for (const DrawOp& op : Ops(DrawOp::kLine)) {
    if (op.penStyle == style && op.penWidth == width && op.points[0].x == from.x && op.points[0].y == from.y &&
        op.points[1].x == to.x && op.points[1].y == to.y)
      return true;
  }
  return false;
}


// A selection of the element or bond `index`, held for a drag when it is an element.
void ExpectSelected(int isElement, int index) {
  EXPECT_EQ(g_document.selectionActive, 1);
  EXPECT_EQ(g_document.selectionIsElement, isElement);
  EXPECT_EQ(g_document.selectedIndex, index);
  EXPECT_EQ(g_currentIndex, index);
  EXPECT_EQ(g_elementDragging, isElement);
}

struct Port {
  int inUse, bond, partner, isHead;
};
void ExpectPort(int element, int side, Port want) {
  const ElementRecord& e = g_document.elements[element];
  EXPECT_EQ(e.portInUse[side], want.inUse) << "element " << element << " side " << side;
  EXPECT_EQ(e.portBond[side], want.bond) << "element " << element << " side " << side;
  EXPECT_EQ(e.portPartner[side], want.partner) << "element " << element << " side " << side;
  EXPECT_EQ(e.portIsHead[side], want.isHead) << "element " << element << " side " << side;
}

void ExpectBondEnds(int k, int tail, int tailSide, int head, int headSide) {
  const BondRecord& b = g_document.bonds[k];
  EXPECT_EQ(b.tailElement, tail) << "bond " << k;
  EXPECT_EQ(b.tailSide, tailSide) << "bond " << k;
  EXPECT_EQ(b.headElement, head) << "bond " << k;
  EXPECT_EQ(b.headSide, headSide) << "bond " << k;
}

// Two outputs, to see every deletion empty the list.
void TwoOutputs() {
  g_document.outputCount = 2;
  StoreText(g_document.outputs[0].kindName, "Effort");
  StoreText(g_document.outputs[0].bondText, "1");
  StoreText(g_document.outputs[1].kindName, "Flow");
  StoreText(g_document.outputs[1].bondText, "3");
}
void ExpectOutputsEmpty() {
  EXPECT_EQ(g_document.outputCount, 0);
  for (int i = 0; i < 2; ++i) {
    const OutputVariable& o = g_document.outputs[i];
    EXPECT_TRUE(std::all_of(o.kindName, o.kindName + sizeof o.kindName, [](char c) { return c == 0; }));
    EXPECT_TRUE(std::all_of(o.bondText, o.bondText + sizeof o.bondText, [](char c) { return c == 0; }));
  }
}

// What deletion never changes, record by record in table order: the bonds'
// state names, the elements' numbers and feedback bond texts (all twenty), the
// per-kind counters.
std::vector<std::string> Unchanged() {
  std::vector<std::string> out;
  for (int k = 0; k < g_bondCount; ++k) out.push_back("bond named " + TextOf(g_document.bonds[k].initialName));
  for (int i = 0; i < g_elementCount; ++i) {
    const ElementRecord& e = g_document.elements[i];
    std::string s = std::string(kKindNames[e.kind]) + " number " + std::to_string(e.number) + " reads";
    for (const FeedbackVariable& f : e.feedback) s += " " + TextOf(f.bond);
    out.push_back(s);
  }
  for (int c : g_kindCounters) out.push_back("counter " + std::to_string(c));
  return out;
}

void SelectDirectly(int index, int isElement) {
  g_document.selectionActive = 1;
  g_document.selectionIsElement = isElement;
  g_document.selectedIndex = index;
  g_currentIndex = index;
}

// ---- without a window: the operations on the document and the canvases --------------

class Selection : public CanvasFixture {
 protected:
  void TearDown() override {
    testdoc::ExpectTablesConsistent();
    CanvasFixture::TearDown();
  }
};

TEST_F(Selection, PressOnAnElementSelectsItWithADottedOutlineAndStartsItsDrag) {
  Chain();
  Show();
  g_scrollX = 40;
  g_scrollY = 20;
  OnSelectToolClick(nullptr, 70, 92);  // canvas (110, 112), inside C1

  ExpectSelected(1, 0);
  EXPECT_EQ(g_dragOffsetX, 10);
  EXPECT_EQ(g_dragOffsetY, 12);
  // The press point is the last drag point.
  EXPECT_EQ(g_startX, 110);
  EXPECT_EQ(g_startY, 112);

  // 5 px wider on each side, 2 px taller above and below, dotted RGB(7, 0, 0), hollow.
  EXPECT_EQ(g_document.selectionRect, (Rect{95, 98, 135, 132}));
  const auto rects = Ops(DrawOp::kRectangle);
  ASSERT_EQ(rects.size(), 1u);
  ExpectPoints(rects[0].points, {{95, 98}, {135, 132}});
  EXPECT_EQ(rects[0].penStyle, plat::Pen::kDot);
  EXPECT_EQ(rects[0].penWidth, 1);
  EXPECT_EQ(rects[0].rgb, kDotColor);
  EXPECT_GT(Ink(*g_drawDC, 95, 98, 96, 132), 0);        // the outline's left edge
  EXPECT_EQ(Ink(*g_drawDC, 96, 99, 100, 131), 0);      // hollow: nothing between outline and label

  // The drawing shows everything; the clean canvas lacks C1 and its bond.
  EXPECT_GT(Ink(*g_drawDC, g_document.elements[0].box), 0);
  EXPECT_EQ(Ink(*g_cleanDC, g_document.elements[0].box), 0);
  EXPECT_NE(g_drawDC->Pixel(165, 115), plat::kWhite);
  EXPECT_EQ(g_cleanDC->Pixel(165, 115), plat::kWhite);
  EXPECT_GT(Ink(*g_cleanDC, g_document.elements[1].box), 0);
  EXPECT_NE(g_cleanDC->Pixel(250, 115), plat::kWhite);  // the junction's other bond

  // The held box has left the occupied region.
  EXPECT_FALSE(g_document.occupiedRegion.IntersectsRect(g_document.elements[0].box));
  EXPECT_TRUE(g_document.occupiedRegion.IntersectsRect(g_document.elements[1].box));
  EXPECT_EQ(ClassifySelection(), HIT_ELEMENT);
}

TEST_F(Selection, ElementsComeBeforeBondsAndTheLowestIndexFirst) {
  // A 1-junction (0) at (200, 100); C1 (1) at (100, 100); R1 (2) at (110, 105)
  // overlapping C1 and bond 1's strip; bond 1 from C1's side 4 to the junction's
  // side 0, bond 2 from R1's side 4 (145, 120) to the junction's side 7 (195, 132).
  Element(0, kKindOneJunction, 1, 200, 100, 15);
  Element(1, kKindC, 1, 100, 100, 30);
  Element(2, kKindR, 1, 110, 105, 30);
  Bond(0, 1, 4, 0, 0);
  Bond(1, 2, 4, 0, 7);
  Show();
  const plat::Region& strip0 = g_document.bonds[0].hitRegion;
  const plat::Region& strip1 = g_document.bonds[1].hitRegion;
  ASSERT_TRUE(strip0.Contains(135, 115));
  ASSERT_TRUE(strip0.Contains(170, 120) && strip1.Contains(170, 120));
  ASSERT_TRUE(strip1.Contains(185, 132) && !strip0.Contains(185, 132));

  struct Case {
    const char* what;
    int x, y;
    int active, isElement, index;
  };
  const Case cases[] = {
      {"two boxes: the lower index", 115, 110, 1, 1, 1},
      {"a box over a bond's strip: the element", 135, 115, 1, 1, 2},
      {"the box's last pixel", 214, 129, 1, 1, 0},
      {"the box's right edge is outside", 215, 110, 0, 0, 0},
      {"the box's top edge is inside", 207, 100, 1, 1, 0},
      {"two strips: the lower index", 170, 120, 1, 0, 0},
      {"one strip", 185, 132, 1, 0, 1},
      {"empty canvas", 600, 600, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    g_document.selectionActive = 0;
    g_document.selectionIsElement = 0;
    g_elementDragging = 0;
    OnSelectToolClick(nullptr, c.x, c.y);
    if (c.active == 1) {
      ExpectSelected(c.isElement, c.index);
    } else {
      EXPECT_EQ(g_document.selectionActive, 0);
    }
  }
}

TEST_F(Selection, PressOnABondMarksItsHitPolygonAndLeavesItOutOfTheCleanCanvas) {
  Chain();
  Show();
  OnSelectToolClick(nullptr, 165, 115);
  ExpectSelected(0, 0);
  // The smallest rectangle holding both ends' boxes.
  EXPECT_EQ(g_document.selectionRect, (Rect{100, 100, 215, 130}));
  const auto polys = Ops(DrawOp::kPolygon);
  ASSERT_EQ(polys.size(), 1u);
  ExpectPoints(polys[0].points, {{199, 123}, {199, 107}, {131, 107}, {131, 123}});
  EXPECT_EQ(polys[0].penStyle, plat::Pen::kDot);
  EXPECT_EQ(polys[0].rgb, kDotColor);
  EXPECT_GT(Ink(*g_drawDC, 132, 107, 198, 108), 0);

  // The clean canvas: every label, every bond but this one.
  EXPECT_EQ(g_cleanDC->Pixel(165, 115), plat::kWhite);
  EXPECT_NE(g_cleanDC->Pixel(250, 115), plat::kWhite);
  for (int i = 0; i < 3; ++i) EXPECT_GT(Ink(*g_cleanDC, g_document.elements[i].box), 0);
  EXPECT_EQ(ClassifySelection(), HIT_BOND);

  // Clearing draws the bond again over the restored drawing, without its mark.
  ClearSelection(nullptr);
  EXPECT_EQ(g_document.selectionActive, 0);
  EXPECT_NE(g_drawDC->Pixel(165, 115), plat::kWhite);
  EXPECT_EQ(Ink(*g_drawDC, 132, 107, 198, 108), 0);
  EXPECT_EQ(ClassifySelection(), 0);
}

TEST_F(Selection, ClearingAnElementSelectionDrawsTheLabelButLeavesItsBondsToTheCaller) {
  Chain();
  Show();
  OnSelectToolClick(nullptr, 110, 110);
  g_elementDragging = 0;  // released
  ClearSelection(nullptr);
  EXPECT_EQ(g_document.selectionActive, 0);
  EXPECT_EQ(g_document.selectionIsElement, 1);  // kept: keys still test it
  EXPECT_EQ(Ink(*g_drawDC, 95, 98, 96, 132), 0);  // the mark is gone
  EXPECT_GT(Ink(*g_drawDC, g_document.elements[0].box), 0);
  EXPECT_EQ(g_drawDC->Pixel(165, 115), plat::kWhite);
  RedrawCurrentElementBonds(nullptr);
  EXPECT_NE(g_drawDC->Pixel(165, 115), plat::kWhite);

  // With nothing selected it does nothing at all.
  g_drawDC->ClearLog();
  g_drawDC->Line(0, 600, 100, 600, plat::Pen::Solid(1, plat::kBlack));
  ClearSelection(nullptr);
  EXPECT_NE(g_drawDC->Pixel(50, 600), plat::kWhite);
  EXPECT_EQ(g_drawDC->Log().size(), 1u);
}

TEST_F(Selection, ClassifySelectionByWhatIsSelected) {
  for (int kind = 0; kind < kKindCount; ++kind) Element(kind, kind, 1, 100 + 80 * kind, 100, 15);
  for (int kind = 0; kind < kKindCount; ++kind) {
    SelectDirectly(kind, 1);
    EXPECT_EQ(ClassifySelection(), kind <= 6 ? HIT_ELEMENT : 0) << "kind " << kind;
  }
  SelectDirectly(3, 0);
  EXPECT_EQ(ClassifySelection(), HIT_BOND);
  g_document.selectionActive = 0;
  for (int isElement : {0, 1}) {
    g_document.selectionIsElement = isElement;
    EXPECT_EQ(ClassifySelection(), 0);
  }
}

// Bonds 1 to 4 round a 1-junction (0): SE1 (1) -> junction, junction -> C1 (2),
// junction -> I1 (3), junction -> R1 (4).
void Star() {
  Element(0, kKindOneJunction, 1, 300, 300, 15);
  Element(1, kKindSE, 1, 150, 300, 45);
  Element(2, kKindC, 1, 400, 300, 30);
  Element(3, kKindI, 1, 300, 200, 21);
  Element(4, kKindR, 1, 300, 400, 30);
  Bond(0, 1, 4, 0, 0);
  Bond(1, 0, 4, 2, 0);
  Bond(2, 0, 2, 3, 6);
  Bond(3, 0, 6, 4, 2);
}

TEST_F(Selection, DeletingBondTwoRenumbersTheLaterBondsOnEverySide) {
  Star();
  Show();
  TwoOutputs();
  // Sides not in use: a stale bond index above the deleted one is lowered too.
  g_document.elements[2].portBond[3] = 3;
  g_document.elements[2].portBond[5] = 1;
  const BondRecord oldLast = g_document.bonds[3];
  // State names and feedback texts name the bonds by their numbers before the deletion.
  const char* names[] = {"MN1", "DP2", "MN3", "DP4"};
  for (int k = 0; k < 4; ++k) StoreText(g_document.bonds[k].initialName, names[k]);
  StoreText(g_document.elements[2].feedback[0].bond, "3");
  StoreText(g_document.elements[4].feedback[19].bond, "4");
  std::vector<std::string> unchanged = Unchanged();
  unchanged.erase(unchanged.begin() + 1);  // bond 2's

  SelectDirectly(1, 0);
  DeleteSelection(nullptr, 1);
  EXPECT_EQ(Unchanged(), unchanged);

  EXPECT_EQ(g_bondCount, 3);
  EXPECT_EQ(g_elementCount, 5);
  // Bonds 3 and 4 are now 2 and 3, on both their ends.
  ExpectBondEnds(0, 1, 4, 0, 0);
  ExpectBondEnds(1, 0, 2, 3, 6);
  ExpectBondEnds(2, 0, 6, 4, 2);
  ExpectPort(0, 2, {1, 1, 3, 0});
  ExpectPort(3, 6, {1, 1, 0, 1});
  ExpectPort(0, 6, {1, 2, 4, 0});
  ExpectPort(4, 2, {1, 2, 0, 1});
  ExpectPort(0, 0, {1, 0, 1, 1});
  // The freed sides: not in use, bond -1, partner and head flag as they were.
  ExpectPort(0, 4, {0, -1, 2, 0});
  ExpectPort(2, 0, {0, -1, 0, 1});
  EXPECT_EQ(g_document.elements[2].portBond[3], 2);
  EXPECT_EQ(g_document.elements[2].portBond[5], 1);
  // The moved records keep their hit regions; the old last slot keeps its record.
  EXPECT_EQ(HitTestBond(1, 308, 265), 1);
  ExpectBondEnds(3, oldLast.tailElement, oldLast.tailSide, oldLast.headElement, oldLast.headSide);
  ExpectOutputsEmpty();
  // A bond deleted by itself lowers the lowest removed index too.
  EXPECT_EQ(g_lowestRemovedBond, 1);
  // The drawing was restored from the clean canvas; the occupied region is untouched.
  EXPECT_EQ(Ops(DrawOp::kCopy).size(), 1u);
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(g_document.occupiedRegion.IntersectsRect(g_document.elements[i].box));
}

TEST_F(Selection, DeletingAnElementTakesItsBondsAndLowersEveryLaterElementIndex) {
  // SE1 (0), a 1-junction (1), C1 (2), a 0-junction (3), R1 (4). Bond 1: 0-junction
  // -> C1; bond 2: SE1 -> 1-junction (its side 0); bond 3: 0-junction -> R1;
  // bond 4: 1-junction (its side 4) -> 0-junction.
  Element(0, kKindSE, 1, 100, 100, 45);
  Element(1, kKindOneJunction, 1, 200, 100, 15);
  Element(2, kKindC, 1, 300, 200, 30);
  Element(3, kKindZeroJunction, 1, 300, 100, 15);
  Element(4, kKindR, 1, 400, 100, 30);
  Bond(0, 3, 6, 2, 2);
  Bond(1, 0, 4, 1, 0);
  Bond(2, 3, 4, 4, 0);
  Bond(3, 1, 4, 3, 0);
  Show();
  TwoOutputs();
  const Rect junctionBox = g_document.elements[1].box;
  const Rect rBox = g_document.elements[4].box;
  g_document.elements[2].portPartner[5] = 4;  // a side not in use with a stale partner
  const char* names[] = {"DP1", "", "MN3", ""};
  for (int k = 0; k < 4; ++k) StoreText(g_document.bonds[k].initialName, names[k]);
  StoreText(g_document.elements[2].feedback[0].bond, "4");
  StoreText(g_document.elements[4].feedback[3].bond, "2");
  std::vector<std::string> unchanged = Unchanged();
  // Bonds 2 and 4 (indices 1 and 3) go with the 1-junction (the fifth entry).
  for (int gone : {4 + 1, 3, 1}) unchanged.erase(unchanged.begin() + gone);

  SelectDirectly(1, 1);
  DeleteSelection(nullptr, 1);
  EXPECT_EQ(Unchanged(), unchanged);

  EXPECT_EQ(g_elementCount, 4);
  EXPECT_EQ(g_bondCount, 2);
  EXPECT_EQ(g_document.selectionIsElement, 0);
  // The lowest of the removed bonds as numbered before: index 1 (the second read 2, once 3).
  EXPECT_EQ(g_lowestRemovedBond, 1);
  // Elements moved down: C1, the 0-junction and R1 in slots 1 to 3.
  EXPECT_EQ(g_document.elements[1].kind, kKindC);
  EXPECT_EQ(g_document.elements[2].kind, kKindZeroJunction);
  EXPECT_EQ(g_document.elements[3].kind, kKindR);
  ExpectBox(3, rBox);
  // The remaining bonds with their ends lowered.
  ExpectBondEnds(0, 2, 6, 1, 2);
  ExpectBondEnds(1, 2, 4, 3, 0);
  ExpectPort(2, 6, {1, 0, 1, 0});
  ExpectPort(2, 4, {1, 1, 3, 0});
  ExpectPort(1, 2, {1, 0, 2, 1});
  ExpectPort(3, 0, {1, 1, 2, 1});
  // Freed sides keep their partners; partners are lowered only on sides in use.
  ExpectPort(0, 4, {0, -1, 1, 0});
  ExpectPort(2, 0, {0, -1, 1, 1});
  EXPECT_EQ(g_document.elements[1].portPartner[5], 4);
  // The slot beyond the count still holds R1.
  EXPECT_EQ(g_document.elements[4].kind, kKindR);
  ExpectBox(4, rBox);
  ExpectOutputsEmpty();
  EXPECT_FALSE(g_document.occupiedRegion.IntersectsRect(junctionBox));
  EXPECT_TRUE(g_document.occupiedRegion.IntersectsRect(rBox));
  // The moved bond's strip still hits.
  EXPECT_EQ(HitTestBond(1, 350, 115), 1);
}

TEST_F(Selection, TheLastRecordStaysInItsSlotBeyondTheCount) {
  Chain();
  Element(3, kKindSE, 4, 500, 300, 45);
  StoreText(g_document.elements[3].equation, "e = 1");
  Show();
  TwoOutputs();
  StoreText(g_document.bonds[1].initialName, "DP2");
  StoreText(g_document.elements[2].feedback[0].bond, "2");
  std::vector<std::string> unchanged = Unchanged();
  unchanged.erase(unchanged.begin() + 2 + 3);  // SE4's: after the two bonds and three elements
  SelectDirectly(3, 1);
  DeleteSelection(nullptr, 3);
  EXPECT_EQ(Unchanged(), unchanged);
  EXPECT_EQ(g_elementCount, 3);
  EXPECT_EQ(g_document.elements[3].kind, kKindSE);
  EXPECT_EQ(g_document.elements[3].number, 4);
  EXPECT_EQ(TextOf(g_document.elements[3].equation), "e = 1");
  EXPECT_EQ(g_lowestRemovedBond, 1000);  // no bond went with it
  ExpectOutputsEmpty();

  unchanged.erase(unchanged.begin() + 1);
  SelectDirectly(1, 0);
  DeleteSelection(nullptr, 1);
  EXPECT_EQ(Unchanged(), unchanged);
  EXPECT_EQ(g_bondCount, 1);
  ExpectBondEnds(1, 1, 4, 2, 0);
  EXPECT_TRUE(g_document.bonds[1].hitRegion.IsEmpty());
  EXPECT_EQ(g_lowestRemovedBond, 1);
}

TEST_F(Selection, DeleteWithNothingSelectedChangesNothing) {
  Chain();
  Show();
  TwoOutputs();
  g_drawDC->Line(0, 600, 100, 600, plat::Pen::Solid(1, plat::kBlack));
  g_document.selectionIsElement = 1;
  DeleteSelection(nullptr, 0);
  EXPECT_EQ(g_elementCount, 3);
  EXPECT_EQ(g_bondCount, 2);
  EXPECT_EQ(g_document.outputCount, 2);
  EXPECT_EQ(g_lowestRemovedBond, 1000);
  EXPECT_NE(g_drawDC->Pixel(50, 600), plat::kWhite);
}

TEST_F(Selection, StaleFeedbackReferencesAreCircledInRed) {
  // A 1-junction (0) with bonds 1 to 3 to C1, I1 and R1; elements 4 to 9 read feedback bonds.
  Element(0, kKindOneJunction, 1, 300, 300, 15);
  Element(1, kKindC, 1, 150, 300, 30);
  Element(2, kKindI, 1, 400, 300, 21);
  Element(3, kKindR, 1, 300, 400, 30);
  Bond(0, 0, 0, 1, 4);
  Bond(1, 0, 4, 2, 0);
  Bond(2, 0, 6, 3, 2);
  struct Reader {
    const char* text;
    int slot, count, markedBefore, marked;
  };
  const Reader readers[] = {
      {"3", 0, 1, 0, 1},   // names the removed bond 3
      {"12", 0, 1, 0, 1},  // renumbered
      {"2", 0, 1, 0, 0},   // before the removed bond
      {"", 0, 1, 0, 0},    // empty: 0
      {"5", 19, 1, 0, 1},  // the last slot counts, whatever feedbackCount says
      {"1", 0, 1, 1, 1},   // marked before: still circled
  };
  for (int r = 0; r < 6; ++r) {
    const int i = 4 + r;
    Element(i, kKindSE, 1 + r, 100 + 100 * r, 600, 45);
    ElementRecord& e = g_document.elements[i];
    e.feedbackCount = readers[r].count;
    StoreText(e.feedback[readers[r].slot].bond, readers[r].text);
    e.staleMark = readers[r].markedBefore;
  }
  Show();
  // Deleting R1 removes bond index 2 (bond 3); the readers move down to slots 3 to 8.
  SelectDirectly(3, 1);
  DeleteSelection(nullptr, 3);
  EXPECT_EQ(g_lowestRemovedBond, 2);
  RedrawDiagram();
  g_drawDC->ClearLog();
  MarkStaleFeedbackRefs();

  EXPECT_EQ(g_lowestRemovedBond, 10000);
  std::vector<Point> circled;
  for (const DrawOp& op : Ops(DrawOp::kEllipse)) {
    EXPECT_EQ(op.penStyle, plat::Pen::kSolid);
    EXPECT_EQ(op.penWidth, 1);
    EXPECT_EQ(op.rgb, plat::MakeRgb(255, 0, 0));
    circled.push_back(op.points[0]);
  }
  std::vector<Point> want;
  for (int r = 0; r < 6; ++r) {
    const ElementRecord& e = g_document.elements[3 + r];
    EXPECT_EQ(e.staleMark, readers[r].marked) << readers[r].text;
    if (readers[r].marked == 1) {
      const int cx = (e.box.left + e.box.right) / 2;
      const int cy = (e.box.top + e.box.bottom) / 2;
      want.push_back(Point{cx - 20, cy - 20});
    }
  }
  ExpectPoints(circled, want);
  // The circles reach the clean canvas too.
  const Rect& first = g_document.elements[3].box;
  const int cx = (first.left + first.right) / 2;
  const int cy = (first.top + first.bottom) / 2;
  for (const plat::Canvas* c : {g_drawDC, g_cleanDC}) {
    int red = 0;
    for (int x = cx - 3; x <= cx + 3; ++x) red += c->Pixel(x, cy - 20) == plat::MakeRgb(255, 0, 0) ? 1 : 0;
    EXPECT_GT(red, 0);
  }

  // After the marking nothing new is marked until the next deletion.
  StoreText(g_document.elements[5].feedback[0].bond, "9999");
  MarkStaleFeedbackRefs();
  EXPECT_EQ(g_document.elements[5].staleMark, 0);
}

TEST_F(Selection, DeletingABondAloneMarksTheReadersOfTheLaterBonds) {
  Star();
  Element(5, kKindSF, 1, 600, 600, 42);
  Element(6, kKindGY, 1, 700, 600, 51);
  StoreText(g_document.elements[5].feedback[0].bond, "2");  // the deleted bond 2
  StoreText(g_document.elements[6].feedback[0].bond, "1");
  g_document.elements[5].feedbackCount = 1;
  g_document.elements[6].feedbackCount = 1;
  Show();
  SelectDirectly(1, 0);
  DeleteSelection(nullptr, 1);
  MarkStaleFeedbackRefs();
  EXPECT_EQ(g_document.elements[5].staleMark, 1);
  EXPECT_EQ(g_document.elements[6].staleMark, 0);
}

// ---- on the main window: press, move, release and keys ----------------------------------

class SelectionWindow : public MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    if (g_drawDC) g_drawDC->SetLogging(true);
  }
  void TearDown() override {
    testdoc::ExpectTablesConsistent();
    MainWindowFixture::TearDown();
  }
};

TEST_F(SelectionWindow, TheDraggedElementTakesItsBondsAlong) {
  Chain();
  Show();
  EXPECT_EQ(g_documentSaved, 1);
  const Rect oldBox = g_document.elements[1].box;
  W().OnLButtonDown(205, 110);  // the junction, offsets (5, 10)
  ASSERT_EQ(g_elementDragging, 1);
  EXPECT_FALSE(g_document.occupiedRegion.IntersectsRect(oldBox));
  EXPECT_GT(Ink(*g_drawDC, 219, 98, 220, 132), 0);  // the mark's right edge

  g_drawDC->ClearLog();
  W().OnMouseMove(255, 160);
  // Restored around the previous point (205, 110) +-50/30, the partners and the
  // old box, with 30 px to spare.
  auto copies = Ops(DrawOp::kCopy);
  ASSERT_EQ(copies.size(), 1u);
  ExpectPoints(copies[0].points, {{70, 50}, {290, 120}, {70, 50}});
  ExpectBox(1, Rect{250, 150, 265, 180});
  const auto texts = Ops(DrawOp::kText);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].text, "1");
  ExpectPoints(texts[0].points, {{250, 150}});
  EXPECT_TRUE(HasLine({245, 165}, {135, 115}, plat::Pen::kDot, 1));
  EXPECT_TRUE(HasLine({270, 165}, {295, 115}, plat::Pen::kDot, 1));
  EXPECT_EQ(g_document.selectionActive, 0);
  // The old place, its mark and the old bond lines are gone; the partners stay.
  EXPECT_EQ(Ink(*g_drawDC, oldBox), 0);
  EXPECT_EQ(Ink(*g_drawDC, 219, 98, 220, 132), 0);
  EXPECT_EQ(g_drawDC->Pixel(165, 115), plat::kWhite);
  EXPECT_GT(Ink(*g_drawDC, g_document.elements[0].box), 0);
  EXPECT_GT(Ink(*g_drawDC, g_document.elements[2].box), 0);

  EXPECT_GT(Ink(*g_drawDC, 250, 150, 265, 160), 0);  // the label's upper part
  g_drawDC->ClearLog();
  W().OnMouseMove(265, 170);
  copies = Ops(DrawOp::kCopy);
  ASSERT_EQ(copies.size(), 1u);
  ExpectPoints(copies[0].points, {{70, 70}, {290, 150}, {70, 70}});
  ExpectBox(1, Rect{260, 160, 275, 190});
  EXPECT_EQ(Ink(*g_drawDC, 250, 150, 265, 160), 0);  // the previous step's label

  g_drawDC->ClearLog();
  W().OnLButtonUp(265, 170);
  EXPECT_EQ(g_elementDragging, 0);
  EXPECT_EQ(g_document.selectionActive, 0);
  EXPECT_TRUE(g_document.occupiedRegion.IntersectsRect(g_document.elements[1].box));
  EXPECT_FALSE(g_document.occupiedRegion.IntersectsRect(oldBox));
  // Solid bonds at the new place, and their strips moved with them.
  EXPECT_TRUE(HasLine({135, 115}, {255, 175}, plat::Pen::kSolid, 2));
  EXPECT_TRUE(HasLine({280, 175}, {295, 115}, plat::Pen::kSolid, 2));
  EXPECT_EQ(HitTestBond(0, 195, 145), 1);
  EXPECT_EQ(HitTestBond(0, 165, 115), 0);
  EXPECT_EQ(g_documentSaved, 0);
}

TEST_F(SelectionWindow, APressWithoutAMoveKeepsTheSelectionAndTheSavedFlag) {
  Chain();
  Show();
  const Rect box = g_document.elements[0].box;
  W().OnLButtonDown(110, 110);
  EXPECT_FALSE(g_document.occupiedRegion.IntersectsRect(box));
  W().OnLButtonUp(110, 110);
  EXPECT_TRUE(g_document.occupiedRegion.IntersectsRect(box));
  EXPECT_EQ(g_elementDragging, 0);
  EXPECT_EQ(g_document.selectionActive, 1);
  EXPECT_EQ(ClassifySelection(), HIT_ELEMENT);
  EXPECT_EQ(g_documentSaved, 1);

  // Moved away and back to the press point: the element stands where it stood.
  W().OnLButtonDown(110, 110);
  W().OnMouseMove(160, 150);
  W().OnMouseMove(110, 110);
  W().OnLButtonUp(110, 110);
  ExpectBox(0, box);
  EXPECT_EQ(g_document.selectionActive, 0);
  EXPECT_EQ(g_documentSaved, 1);
}

TEST_F(SelectionWindow, DragsAreNotClamped) {
  Chain();
  Show();
  W().OnLButtonDown(110, 110);
  W().OnMouseMove(-200, -150);
  W().OnLButtonUp(-200, -150);
  ExpectBox(0, Rect{-210, -160, -180, -130});
  EXPECT_EQ(g_documentSaved, 0);
  W().OnLButtonDown(1990, 1400);  // empty canvas: nothing held
  EXPECT_EQ(g_elementDragging, 0);
  EXPECT_EQ(g_document.selectionActive, 0);
}

TEST_F(SelectionWindow, DeleteWhileTheButtonHoldsTheElementEndsTheDrag) {
  Chain();
  Show();
  const Rect junctionBox = g_document.elements[1].box;
  W().OnLButtonDown(205, 110);
  W().OnKeyDown(plat::VK_DELETE);
  EXPECT_EQ(g_elementCount, 2);
  EXPECT_EQ(g_bondCount, 0);
  EXPECT_EQ(g_elementDragging, 0);
  EXPECT_EQ(g_document.selectionActive, 0);
  EXPECT_EQ(g_documentSaved, 0);
  // The move and the release that follow move nothing and add no box.
  const Rect rBox = g_document.elements[1].box;
  W().OnMouseMove(400, 400);
  W().OnLButtonUp(400, 400);
  ExpectBox(1, rBox);
  EXPECT_FALSE(g_document.occupiedRegion.IntersectsRect(junctionBox));
  EXPECT_FALSE(g_document.occupiedRegion.IntersectsRect(Rect{390, 390, 410, 410}));

  // Once the element has moved it is no longer selected: Delete leaves it and its drag.
  W().OnLButtonDown(110, 110);
  W().OnMouseMove(120, 300);
  W().OnKeyDown(plat::VK_DELETE);
  EXPECT_EQ(g_elementCount, 2);
  EXPECT_EQ(g_elementDragging, 1);
  W().OnLButtonUp(120, 300);
  ExpectBox(0, Rect{110, 290, 140, 320});
}

// What the client area repaints, in client coordinates.
class PaintSpy : public QObject {
 public:
  explicit PaintSpy(QWidget* view) { view->installEventFilter(this); }
  QRegion painted;

 protected:
  bool eventFilter(QObject* /*watched*/, QEvent* event) override {
    if (event->type() == QEvent::Paint) painted += static_cast<QPaintEvent*>(event)->region();
    return false;
  }
};

TEST_F(SelectionWindow, AFastMoveRepaintsTheElementWhereItNowStands) {
  Chain();
  Show();
  window_->OnScroll(plat::SB_HORZ, plat::SB_THUMBTRACK, 50);
  window_->OnScroll(plat::SB_VERT, plat::SB_THUMBTRACK, 20);
  PaintSpy spy(window_->View());
  W().OnLButtonDown(60, 90);  // C1 at canvas (110, 110)
  ASSERT_EQ(g_elementDragging, 1);
  QApplication::processEvents();
  spy.painted = QRegion();
  // One move far beyond the area restored around the press point.
  W().OnMouseMove(400, 400);
  QApplication::processEvents();
  ExpectBox(0, Rect{440, 410, 470, 440});
  // The label and its bond previews at client = canvas - scroll, and the old place.
  const QRegion wanted = QRegion(390, 390, 30, 30) + QRegion(150, 95, 270, 305) + QRegion(50, 80, 30, 30);
  EXPECT_TRUE((wanted - spy.painted).isEmpty());
}

TEST_F(SelectionWindow, DeleteDuringAMovedDragLeavesNoCopyBehind) {
  Chain();
  Show();
  W().OnLButtonDown(110, 110);
  W().OnMouseMove(200, 400);  // C1 now at (190, 390)
  W().OnKeyDown(plat::VK_DELETE);  // nothing is selected any more: nothing goes
  ASSERT_EQ(g_elementCount, 3);
  ASSERT_EQ(g_elementDragging, 1);
  const Rect heldBox = g_document.elements[0].box;
  W().OnMouseMove(260, 400);
  W().OnLButtonUp(260, 400);
  ExpectBox(0, Rect{250, 390, 280, 420});
  // Neither the label nor the solid bond of the place where Delete found it stays.
  EXPECT_EQ(Ink(*g_drawDC, heldBox), 0);
  EXPECT_EQ(g_drawDC->Pixel(210, 260), plat::kWhite);
  EXPECT_GT(Ink(*g_drawDC, g_document.elements[0].box), 0);

  // Held over R1 at the Delete: R1's box stays whole in the occupied region.
  W().OnLButtonDown(260, 400);
  W().OnMouseMove(325, 115);  // C1 at (315, 105), over R1's (300, 100, 330, 130)
  W().OnKeyDown(plat::VK_DELETE);
  W().OnMouseMove(325, 300);
  W().OnLButtonUp(325, 300);
  EXPECT_TRUE(g_document.occupiedRegion.IntersectsRect(Rect{320, 110, 321, 111}));
  EXPECT_TRUE(g_document.occupiedRegion.IntersectsRect(g_document.elements[0].box));
}

TEST_F(SelectionWindow, ARightPressPutsDownTheElementTheLeftButtonHolds) {
  Chain();
  Show();
  // Held in place: the element dialog opens and takes the left button's release.
  plat::dlgscript::Queue("ELEMENT_PARAMETER_DIALOG", [](plat::Dialog& d) { d.Press(plat::IDCANCEL); });
  W().OnLButtonDown(110, 110);
  W().OnRButtonDown(110, 110);
  EXPECT_EQ(plat::dlgscript::Pending("ELEMENT_PARAMETER_DIALOG"), 0);
  EXPECT_EQ(g_elementDragging, 0);
  EXPECT_TRUE(g_document.occupiedRegion.IntersectsRect(g_document.elements[0].box));
  EXPECT_EQ(g_documentSaved, 1);
  W().OnMouseMove(300, 300);
  ExpectBox(0, Rect{100, 100, 130, 130});

  // Moved, so nothing is selected: the tool changes and the element stays where it is.
  W().OnLButtonDown(110, 110);
  W().OnMouseMove(150, 300);
  W().OnRButtonDown(150, 300);
  EXPECT_EQ(g_currentTool, kToolBond);
  EXPECT_EQ(g_elementDragging, 0);
  W().OnLButtonUp(150, 300);
  W().OnMouseMove(400, 400);
  ExpectBox(0, Rect{140, 290, 170, 320});
  EXPECT_TRUE(g_document.occupiedRegion.IntersectsRect(g_document.elements[0].box));
  EXPECT_EQ(HitTestBond(0, 185, 210), 1);  // bond 1 from (175, 305) to (195, 115)
  EXPECT_EQ(g_documentSaved, 0);
}

TEST_F(SelectionWindow, RealPressMoveReleaseDragsTheElementUnderThePointer) {
  Chain();
  Show();
  window_->OnScroll(plat::SB_HORZ, plat::SB_THUMBTRACK, 50);
  window_->OnScroll(plat::SB_VERT, plat::SB_THUMBTRACK, 20);
  ASSERT_EQ(g_scrollX, 50);
  ASSERT_EQ(g_scrollY, 20);
  // C1's canvas (110, 110) is client (60, 90).
  QTest::mousePress(Handle(), Qt::LeftButton, Qt::NoModifier, InWindow(60, 90));
  QApplication::processEvents();
  ASSERT_EQ(g_elementDragging, 1);
  EXPECT_EQ(g_currentIndex, 0);
  QTest::mouseMove(Handle(), InWindow(110, 140));
  QTest::mouseMove(Handle(), InWindow(160, 190));
  QTest::mouseRelease(Handle(), Qt::LeftButton, Qt::NoModifier, InWindow(160, 190));
  QApplication::processEvents();
  EXPECT_EQ(g_elementDragging, 0);
  ExpectBox(0, Rect{200, 200, 230, 230});
  EXPECT_TRUE(g_document.occupiedRegion.IntersectsRect(g_document.elements[0].box));
  EXPECT_EQ(g_documentSaved, 0);
}

TEST_F(SelectionWindow, RealClickSelectsAndTheDeleteKeyRemoves) {
  Chain();
  Show();
  // The junction's canvas (207, 110) is client (207, 110) unscrolled.
  QTest::mouseClick(Handle(), Qt::LeftButton, Qt::NoModifier, InWindow(207, 110));
  QApplication::processEvents();
  EXPECT_EQ(g_document.selectionActive, 1);
  EXPECT_EQ(g_document.selectedIndex, 1);
  EXPECT_EQ(g_documentSaved, 1);
  QTest::keyClick(window_->View(), Qt::Key_Delete);
  EXPECT_EQ(g_elementCount, 2);
  EXPECT_EQ(g_bondCount, 0);
  EXPECT_EQ(g_document.elements[1].kind, kKindR);
  EXPECT_EQ(g_documentSaved, 0);
  // The drawing was redrawn without it.
  EXPECT_EQ(Ink(*g_drawDC, 200, 100, 215, 130), 0);
  EXPECT_GT(Ink(*g_drawDC, g_document.elements[1].box), 0);
}

}  // namespace
