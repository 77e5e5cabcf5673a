// Pictures of elements and bonds on the canvases: port points, the bond's
// number, line, half arrow and causal stroke, hit polygons and regions,
// labels, red marks and the repaint routines.
#include "canvas_drawing.h"
#include "document.h"
#include "test_diagram_records.h"
#include "test_window_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using plat::DrawOp;
using plat::Point;
using testdoc::Bond;
using testdoc::Element;

class Drawing : public CanvasFixture {
 protected:
  static std::vector<std::string> Texts() {
    std::vector<std::string> out;
    for (const DrawOp& op : Ops(DrawOp::kText)) out.push_back(op.text);
    return out;
  }

  // The worked bond: C1 at (100, 100), 30 x 30, its side 4 at (135, 115), to a
  // 0-junction whose side 0 lies at (195, 115).
  static void WorkedBond(int strokeAtHead) {
    Element(0, kKindC, 1, 100, 100, 30);
    Element(1, kKindZeroJunction, 1, 200, 100, 15);
    Bond(0, 0, 4, 1, 0, strokeAtHead);
  }
};

TEST_F(Drawing, PortPointsOfEverySide) {
  Element(0, kKindC, 1, 100, 100, 30);
  const int want[8][2] = {{95, 115}, {95, 98}, {115, 98}, {135, 98}, {135, 115}, {135, 132}, {115, 132}, {95, 132}};
  for (int s = 0; s < 8; ++s) {
    EXPECT_EQ(GetPortX(s, 0), want[s][0]) << "side " << s;
    EXPECT_EQ(GetPortY(s, 0), want[s][1]) << "side " << s;
  }
  // Odd widths halve toward zero.
  Element(1, kKindI, 1, 10, 40, 21);
  EXPECT_EQ(GetPortX(2, 1), 20);
  EXPECT_EQ(GetPortX(6, 1), 20);
}

TEST_F(Drawing, WorkedBondPictureWithTheStrokeAtEitherEnd) {
  struct Case {
    int strokeAtHead;
    Point strokeFrom, strokeTo;
  };
  for (const Case& c : {Case{0, {135, 110}, {135, 120}}, Case{1, {195, 110}, {195, 120}}}) {
    SCOPED_TRACE(c.strokeAtHead);
    ResetEditorState();
    WorkedBond(c.strokeAtHead);
    g_drawDC->ClearLog();
    DrawBond(4, 0, 0, 1, *g_drawDC, 0);
    const auto& log = g_drawDC->Log();
    ASSERT_EQ(log.size(), 4u);
    // The number first, then the line, the arrow and the stroke.
    EXPECT_EQ(log[0].kind, DrawOp::kText);
    EXPECT_EQ(log[0].text, "1");
    ExpectPoints(log[0].points, {{165, 90}});
    EXPECT_EQ(log[1].kind, DrawOp::kLine);
    ExpectPoints(log[1].points, {{135, 115}, {195, 115}});
    EXPECT_EQ(log[1].penWidth, 2);
    EXPECT_EQ(log[1].rgb, plat::MakeRgb(7, 0, 0));
    EXPECT_EQ(log[2].kind, DrawOp::kFillPolygon);
    ExpectPoints(log[2].points, {{196, 115}, {183, 109}, {183, 115}});
    EXPECT_EQ(log[2].rgb, plat::MakeRgb(4, 0, 0));
    EXPECT_EQ(log[3].kind, DrawOp::kLine);
    ExpectPoints(log[3].points, {c.strokeFrom, c.strokeTo});
    EXPECT_EQ(log[3].penWidth, 2);
  }
}

TEST_F(Drawing, WorkedBondHitPolygonAndRegion) {
  WorkedBond(0);
  const BondRecord& b = g_document.bonds[0];
  ExpectPoints(std::vector<Point>(b.hitPolygon, b.hitPolygon + 4), {{199, 123}, {199, 107}, {131, 107}, {131, 123}});
  EXPECT_EQ(b.tailElement, 0);
  EXPECT_EQ(b.headElement, 1);
  EXPECT_EQ(b.tailSide, 4);
  EXPECT_EQ(b.headSide, 0);
  // The strip covers x 131..198 and y 107..122.
  EXPECT_TRUE(b.hitRegion.Contains(131, 107));
  EXPECT_TRUE(b.hitRegion.Contains(198, 122));
  EXPECT_TRUE(b.hitRegion.Contains(165, 115));
  EXPECT_FALSE(b.hitRegion.Contains(199, 115));
  EXPECT_FALSE(b.hitRegion.Contains(130, 115));
  EXPECT_FALSE(b.hitRegion.Contains(165, 106));
  EXPECT_FALSE(b.hitRegion.Contains(165, 123));
}

TEST_F(Drawing, NumberGoesLeftUnlessTheBondRunsMoreAcrossThanDown) {
  struct Case {
    const char* what;
    int headLeft, headTop, headSide;
    Point number;
  };
  // Tail: C1 at (100, 100), 30 x 30, side 6 at (115, 132) for the vertical case, side 5 at (135, 132) for the diagonal.
  const Case cases[] = {
      {"vertical", 108, 194, 2, {90, 162}},     // head port (115, 192): midpoint (115, 162), 25 left
      {"diagonal", 170, 169, 1, {125, 149}},    // head port (165, 167): |dx| = |dy| = 30, 25 left of (150, 149)
      {"across", 200, 140, 0, {165, 118}},      // head port (195, 155) from (135, 132): 25 up
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ResetEditorState();
    Element(0, kKindC, 1, 100, 100, 30);
    Element(1, kKindOneJunction, 1, c.headLeft, c.headTop, 15);
    const int tailSide = std::string(c.what) == "vertical" ? 6 : 5;
    Bond(0, 0, tailSide, 1, c.headSide, 0);
    g_drawDC->ClearLog();
    DrawBond(tailSide, c.headSide, 0, 1, *g_drawDC, 0);
    const auto texts = Ops(DrawOp::kText);
    ASSERT_EQ(texts.size(), 1u);
    ExpectPoints(texts[0].points, {c.number});
  }
}

TEST_F(Drawing, VerticalBondNearTheLeftEdgeTruncatesTheTinyCosineDownward) {
  // cos of the vertical direction is 6.1e-17, not 0: x - 12 c lies just below x.
  Element(0, kKindOneJunction, 1, -2, 40, 15);   // side 6 at (5, 72)
  Element(1, kKindC, 1, -10, 140, 30);           // side 2 at (5, 138)
  Bond(0, 0, 6, 1, 2, 0);
  g_drawDC->ClearLog();
  DrawBond(6, 2, 0, 1, *g_drawDC, 0);
  const auto arrow = Ops(DrawOp::kFillPolygon);
  ASSERT_EQ(arrow.size(), 1u);
  EXPECT_EQ(arrow[0].points[0], (Point{5, 139}));
  EXPECT_EQ(arrow[0].points[2], (Point{4, 126}));
}

TEST_F(Drawing, ArrowAndStrokeReachTheCanvasPixels) {
  WorkedBond(1);
  DrawBond(4, 0, 0, 1, *g_drawDC, 0);
  const plat::Region arrow = plat::Region::Polygon(std::vector<Point>{{196, 115}, {183, 109}, {183, 115}});
  EXPECT_TRUE(arrow.Contains(186, 112));
  EXPECT_EQ(g_drawDC->Pixel(186, 112), plat::MakeRgb(4, 0, 0));
  EXPECT_EQ(g_drawDC->Pixel(160, 115), plat::MakeRgb(7, 0, 0));  // the line
  EXPECT_EQ(g_drawDC->Pixel(195, 119), plat::MakeRgb(7, 0, 0));  // the stroke at the head
  EXPECT_EQ(g_drawDC->Pixel(160, 125), plat::kWhite);
}

TEST_F(Drawing, LabelsOfNumberedKindsAndJunctions) {
  struct Case {
    int kind, number;
    const char* label;
  };
  const Case cases[] = {{kKindC, 12, "C12"}, {kKindI, 1, "I1"}, {kKindR, 3, "R3"},  {kKindSE, 100, "SE100"},
                        {kKindSF, 7, "SF7"}, {kKindTF, 2, "TF2"}, {kKindGY, 1000, "GY1000"},
                        {kKindZeroJunction, 3, "0"}, {kKindOneJunction, 2, "1"}};
  for (const Case& c : cases) {
    ResetEditorState();
    Element(0, c.kind, c.number, 100, 100, 30);
    EXPECT_EQ(ElementLabel(0), c.label);
    g_drawDC->ClearLog();
    DrawLabelAt(40, 50, 0);
    const auto texts = Ops(DrawOp::kText);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, c.label);  // drawn whole, however long
    ExpectPoints(texts[0].points, {{40, 50}});
  }
}

TEST_F(Drawing, DrawElementPutsTheLabelAtItsBoxAndTheBoxIntoTheOccupiedRegion) {
  Element(0, kKindSE, 4, 300, 200, 57);
  DrawElement(nullptr, 0);
  const int w = plat::Font::Label().TextWidth("SE4");
  int ink = 0, outside = 0;
  for (int y = 190; y < 240; ++y)
    for (int x = 290; x < 380; ++x) {
      if (g_drawDC->Pixel(x, y) == plat::kWhite) continue;
      if (x >= 300 && x < 300 + w && y >= 200 && y < 230) ++ink;
      else ++outside;
    }
  EXPECT_GT(ink, 50);
  EXPECT_EQ(outside, 0);
  EXPECT_TRUE(g_document.occupiedRegion.Contains(300, 200));
  EXPECT_TRUE(g_document.occupiedRegion.Contains(356, 229));
  EXPECT_FALSE(g_document.occupiedRegion.Contains(357, 200));
  EXPECT_FALSE(g_document.occupiedRegion.Contains(300, 230));
}

TEST_F(Drawing, RedMarksAreCirclesOfRadiusTwentyAndAFullRedrawDropsThem) {
  Element(0, kKindC, 1, 100, 100, 30);
  Element(1, kKindR, 1, 400, 100, 30);
  g_document.elements[0].staleMark = 1;
  DrawMarks(nullptr);
  const auto marks = Ops(DrawOp::kEllipse);
  ASSERT_EQ(marks.size(), 1u);
  ExpectPoints(marks[0].points, {{95, 95}, {135, 135}});
  const plat::Rgb red = plat::MakeRgb(255, 0, 0);
  EXPECT_EQ(g_drawDC->Pixel(95, 115), red);
  EXPECT_EQ(g_drawDC->Pixel(134, 115), red);
  EXPECT_EQ(g_drawDC->Pixel(115, 95), red);
  EXPECT_EQ(g_drawDC->Pixel(115, 134), red);
  EXPECT_EQ(g_drawDC->Pixel(135, 115), plat::kWhite);
  EXPECT_EQ(g_drawDC->Pixel(94, 115), plat::kWhite);
  // Centre of an odd box halves toward zero: box 400..430 -> 415.
  g_document.elements[1].staleMark = 1;
  g_drawDC->ClearLog();
  DrawMarks(nullptr);
  ASSERT_EQ(Ops(DrawOp::kEllipse).size(), 2u);
  ExpectPoints(Ops(DrawOp::kEllipse)[1].points, {{395, 95}, {435, 135}});

  RedrawDiagram();
  EXPECT_EQ(g_drawDC->Pixel(95, 115), plat::kWhite);
  EXPECT_EQ(g_drawDC->Pixel(134, 115), plat::kWhite);
}

TEST_F(Drawing, FullRedrawDrawsEveryLabelThenEveryBondOnWhite) {
  WorkedBond(0);
  Element(2, kKindR, 1, 200, 200, 30);
  Bond(1, 1, 6, 2, 2, 1);
  g_drawDC->FillRect(0, 0, 50, 50, plat::MakeRgb(0, 0, 255));
  g_drawDC->ClearLog();
  RedrawDiagram();
  EXPECT_EQ(g_drawDC->Pixel(10, 10), plat::kWhite);
  const auto& log = g_drawDC->Log();
  ASSERT_GE(log.size(), 4u);
  EXPECT_EQ(log[0].kind, DrawOp::kFillWhite);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"C1", "0", "R1", "1", "2"}));
  EXPECT_EQ(Ops(DrawOp::kFillPolygon).size(), 2u);
  // Nothing touches the occupied region.
  EXPECT_TRUE(g_document.occupiedRegion.IsEmpty());
}

TEST_F(Drawing, RepaintWithoutABondOrWithoutAnElement) {
  WorkedBond(0);                          // bond 0: C1 -> 0
  Element(2, kKindR, 1, 200, 200, 30);
  Bond(1, 1, 6, 2, 2, 1);                 // bond 1: 0 -> R1
  plat::Canvas clean(2000, 1414);
  clean.SetLogging(true);
  RepaintAllButBond(clean, 0);
  std::vector<std::string> texts;
  for (const DrawOp& op : clean.Log())
    if (op.kind == DrawOp::kText) texts.push_back(op.text);
  EXPECT_EQ(texts, (std::vector<std::string>{"C1", "0", "R1", "2"}));

  // Without the junction (element 1, also the current element): its label and
  // both its bonds go, and its box leaves the occupied region.
  for (int i = 0; i < 3; ++i) DrawElement(nullptr, i);
  g_currentIndex = 1;
  clean.ClearLog();
  RepaintAllButElement(clean, 1);
  texts.clear();
  for (const DrawOp& op : clean.Log())
    if (op.kind == DrawOp::kText) texts.push_back(op.text);
  EXPECT_EQ(texts, (std::vector<std::string>{"C1", "R1"}));
  EXPECT_FALSE(g_document.occupiedRegion.Contains(200, 100));
  EXPECT_TRUE(g_document.occupiedRegion.Contains(100, 100));

  // Without R1 while the junction is current: bond 0, whose head is the current
  // element, is left out; bond 1 is drawn from its tail, the junction.
  g_currentIndex = 1;
  clean.ClearLog();
  RepaintAllButElement(clean, 2);
  texts.clear();
  for (const DrawOp& op : clean.Log())
    if (op.kind == DrawOp::kText) texts.push_back(op.text);
  EXPECT_EQ(texts, (std::vector<std::string>{"C1", "0", "2"}));
}

TEST_F(Drawing, BondsOfTheCurrentElementOnlyForAnElementInUse) {
  WorkedBond(0);
  g_currentIndex = 1;
  g_drawDC->ClearLog();
  RedrawCurrentElementBonds(nullptr);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"1"}));
  ExpectPoints(Ops(DrawOp::kLine)[0].points, {{135, 115}, {195, 115}});

  // A bond index (here 0 would name a bond) taken for an element past the count draws nothing.
  g_currentIndex = 5;
  g_document.elements[5].portInUse[0] = 1;
  g_document.elements[5].portBond[0] = 0;
  g_drawDC->ClearLog();
  RedrawCurrentElementBonds(nullptr);
  EXPECT_TRUE(g_drawDC->Log().empty());

  // A side naming a bond beyond the count is left out.
  g_currentIndex = 0;
  g_document.elements[0].portInUse[2] = 1;
  g_document.elements[0].portBond[2] = 7;
  g_drawDC->ClearLog();
  RedrawCurrentElementBonds(nullptr);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"1"}));
}

TEST_F(Drawing, MovedElementGetsItsBondRegionsRebuilt) {
  WorkedBond(0);
  ElementRecord& c = g_document.elements[0];
  c.box = Rect{100, 300, 130, 330};  // moved 200 down: side 4 now at (135, 315)
  g_currentIndex = 0;
  RebuildCurrentElementBondRegions();
  const BondRecord& b = g_document.bonds[0];
  EXPECT_TRUE(b.hitRegion.Contains(135, 315));
  EXPECT_FALSE(b.hitRegion.Contains(165, 115));
  EXPECT_EQ(b.hitPolygon[2].y < 320, true);
}

TEST_F(Drawing, CancellingABondDrawingRestoresTheWholeDrawingFromTheCleanCanvas) {
  g_cleanDC->FillRect(10, 10, 20, 20, plat::MakeRgb(0, 0, 255));
  g_drawDC->Line(0, 500, 1999, 500, plat::Pen::Dot(1, plat::MakeRgb(7, 0, 0)));
  g_bondDrawing = 1;
  CancelBondDrawing(nullptr);
  EXPECT_EQ(g_bondDrawing, 0);
  EXPECT_EQ(g_drawDC->Pixel(15, 15), plat::MakeRgb(0, 0, 255));
  EXPECT_EQ(g_drawDC->Pixel(1000, 500), plat::kWhite);
  EXPECT_EQ(g_drawDC->Image(), g_cleanDC->Image());
}

TEST(CanvasBuffers, BothCanvasesAreWhiteAndOfTheCanvasSize) {
  CreateCanvasBuffers(nullptr);
  ASSERT_NE(g_drawDC, nullptr);
  ASSERT_NE(g_cleanDC, nullptr);
  EXPECT_EQ(g_canvasWidth, 2000);
  EXPECT_EQ(g_canvasHeight, 1414);
  for (plat::Canvas* c : {g_drawDC, g_cleanDC}) {
    EXPECT_EQ(c->Width(), 2000);
    EXPECT_EQ(c->Height(), 1414);
    EXPECT_EQ(c->Pixel(0, 0), plat::kWhite);
    EXPECT_EQ(c->Pixel(1999, 1413), plat::kWhite);
  }
  DeleteCanvasBuffers();
  EXPECT_EQ(g_drawDC, nullptr);
  EXPECT_EQ(g_cleanDC, nullptr);
}

}  // namespace
