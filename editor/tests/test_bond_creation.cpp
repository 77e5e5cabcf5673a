// Bond creation with the bond tool: the side choice, the automatic causal
// stroke, snapping, every refusal, the new bond's record and ports, the rubber
// band on the canvas, the causal-stroke dialog and its picture, and a few real
// mouse events through the main window.
#include "bond_creation.h"
#include "canvas_drawing.h"
#include "document.h"
#include "main_window.h"
#include "platform/dialog.h"
#include "platform/message_box.h"
#include "resources/bond_templates.h"
#include "test_diagram_records.h"
#include "test_fs_temp_dir.h"
#include "test_window_fixture.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using plat::Point;
using testdoc::Centre;
using testdoc::ExpectBox;

constexpr plat::Rgb kInk = plat::MakeRgb(7, 0, 0);
const char kStrokeDialog[] = "STROKE_SELECT_DIALOG";

// Canvases made directly, no window: the operations get a null window.
class BondCreation : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetEditorState();
    CreateCanvasBuffers(nullptr);
    InitDocumentAndSettings();
    plat::dlgscript::Begin();
  }
  void TearDown() override {
    testdoc::ExpectTablesConsistent();
    plat::dlgscript::End();
    DeleteCanvasBuffers();
    ResetEditorState();
  }

  // Places an element of the kind centred on the canvas point, as the placing
  // tool does; its index.
  static int Place(int kind, int x, int y) {
    const int i = testdoc::PlaceForTest(kind, x, y);
    g_currentTool = kToolBond;
    return i;
  }
  static void ClickOn(int i) {
    const Point c = Centre(i);
    OnBondToolClick(nullptr, c.x, c.y);
  }
  // Both clicks, tail then head, at the boxes' centres.
  static void Join(int tail, int head) {
    ClickOn(tail);
    ClickOn(head);
  }
  // The stroke dialog's next run: choose the radio, then press OK.
  static void AnswerStroke(int radio) {
    plat::dlgscript::Queue(kStrokeDialog, [radio](plat::Dialog& d) {
      d.Press(radio);
      d.Press(plat::IDOK);
    });
  }
  static int DialogsRun() {
    int n = 0;
    for (const std::string& name : plat::dlgscript::Opened()) n += name == kStrokeDialog ? 1 : 0;
    return n;
  }
  // Side s of element e carries a bond to a 0-junction of its own, placed far off.
  static void Occupy(int e, int s) {
    const int n = g_elementCount;
    const int partner = Place(kKindZeroJunction, 1500 - 40 * (n % 20), 1300 - 50 * (n / 20));
    testdoc::AddBond(e, s, partner);
  }

  TempCwd cwd_;
};

// ---- the side choice ------------------------------------------------------------------

TEST_F(BondCreation, SideFacingThePointerFromTheStartPoint) {
  struct Case {
    int dx, dy, side;
  };
  const Case cases[] = {
      {100, 0, 4},    {0, -100, 2},  {-100, 0, 0},  {0, 100, 6},  {-100, -100, 1}, {100, -100, 3},
      {100, 100, 5},  {-100, 100, 7}, {100, -41, 4}, {100, -42, 3}, {100, 41, 4},    {100, 42, 5},
      {-100, -1, 0},  {-100, 1, 0},  {-100, -41, 0}, {-100, -42, 1}, {41, -100, 2},  {42, -100, 3},
  };
  g_startX = 500;
  g_startY = 400;
  for (const Case& c : cases) EXPECT_EQ(GetSideFromDirection(500 + c.dx, 400 + c.dy), c.side) << c.dx << "," << c.dy;
  // The pointer is a client point: the scroll position is added.
  g_scrollX = 100;
  g_scrollY = 40;
  EXPECT_EQ(GetSideFromDirection(500, 360 - 100), 3);  // canvas (600, 300): up and right
  EXPECT_EQ(GetSideFromDirection(400, 360), 4);        // canvas (500, 400) is the start point itself: theta 0
}

TEST_F(BondCreation, FreeSideSearchKeepsOneDirectionSetByTheBoxes) {
  struct Case {
    const char* what;
    int headLeft, headTop;  // the tail's box is at (400, 400)
    int preferred;
    std::vector<int> order;
  };
  const Case cases[] = {
      {"head above, right", 600, 200, 3, {3, 2, 1, 0, 7, 6, 5, 4}},
      {"head above, left", 200, 200, 1, {1, 2, 3, 4, 5, 6, 7, 0}},
      {"head below, left", 200, 600, 7, {7, 6, 5, 4, 3, 2, 1, 0}},
      {"head below, right", 600, 600, 5, {5, 6, 7, 0, 1, 2, 3, 4}},
      {"same top, right", 600, 400, 4, {4, 5, 6, 7, 0, 1, 2, 3}},
      {"same top, left", 200, 400, 0, {0, 1, 2, 3, 4, 5, 6, 7}},
      {"same left, above", 400, 200, 2, {2, 3, 4, 5, 6, 7, 0, 1}},
      {"same left, below", 400, 600, 6, {6, 7, 0, 1, 2, 3, 4, 5}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    // Each candidate in turn is the first free one: the ones before it are
    // blocked, at the tail's side or at the head's opposite side by turns.
    for (int n = 0; n <= 8; ++n) {
      ResetEditorState();
      const int tail = Place(kKindZeroJunction, 407, 415);
      const int head = Place(kKindOneJunction, c.headLeft + 7, c.headTop + 15);
      for (int i = 0; i < n; ++i) {
        const int d = c.order[static_cast<std::size_t>(i)];
        if (i % 2 == 0) Occupy(tail, d); else Occupy(head, OppositeSide(d));
      }
      EXPECT_EQ(ChooseFreeSide(tail, head, c.preferred), n < 8 ? c.order[static_cast<std::size_t>(n)] : 8)
          << "blocked " << n;
      testdoc::ExpectTablesConsistent();
    }
  }
}

// ---- the automatic causal stroke ----------------------------------------------------------

TEST_F(BondCreation, PresetStrokeFromTheKindsAtEitherEnd) {
  struct Case {
    int tail, head;
    int result, strokeAtHead;  // strokeAtHead 9: the slot's value is left alone
  };
  const int J0 = kKindZeroJunction, J1 = kKindOneJunction;
  const Case cases[] = {
      {J0, kKindC, 1, 0},  {J1, kKindSE, 1, 0}, {kKindI, J0, 1, 0}, {kKindSF, J1, 1, 0},  // first row
      {J0, kKindI, 1, 1},  {J1, kKindSF, 1, 1}, {kKindC, J0, 1, 1}, {kKindSE, J1, 1, 1},  // second row
      {kKindSE, kKindC, 1, 0},  // the first row is tested first
      {kKindR, J0, 0, 9},  {J1, kKindR, 0, 9},  {kKindTF, J0, 0, 9}, {J1, kKindGY, 0, 9}, {J0, J1, 0, 9},
  };
  for (const Case& c : cases) {
    ResetEditorState();
    // The tail 0 and the head 1, and three bonds between two more junctions: the new bond's slot is 3.
    testdoc::AddElement(c.tail, 1);
    testdoc::AddElement(c.head, 1);
    const int j0 = testdoc::AddElement(kKindZeroJunction, 9);
    const int j1 = testdoc::AddElement(kKindOneJunction, 9);
    for (int s = 0; s < 3; ++s) testdoc::AddBond(j0, s, j1);
    g_bondTailElement = 0;
    g_currentIndex = 1;
    g_document.bonds[3].strokeAtHead = 9;
    EXPECT_EQ(PresetCausality(), c.result) << kKindNames[c.tail] << " -> " << kKindNames[c.head];
    EXPECT_EQ(g_document.bonds[3].strokeAtHead, c.strokeAtHead) << kKindNames[c.tail] << " -> " << kKindNames[c.head];
    testdoc::ExpectTablesConsistent();
  }
}

TEST_F(BondCreation, DialogOpensOnlyWhereNoRuleDecides) {
  struct Case {
    int tail, head;
    bool dialog;
    int strokeAtHead;
  };
  const int J0 = kKindZeroJunction, J1 = kKindOneJunction;
  const Case cases[] = {
      {kKindC, J0, false, 1}, {J0, kKindC, false, 0},  {kKindSE, J1, false, 1}, {J1, kKindI, false, 1},
      {J0, kKindSF, false, 1}, {kKindR, J0, true, 1},  {kKindTF, J1, true, 1},  {J0, kKindGY, true, 1},
      {J0, J1, true, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(kKindNames[c.tail]) + " -> " + kKindNames[c.head]);
    ResetEditorState();
    plat::dlgscript::Begin();
    const int tail = Place(c.tail, 200, 300);
    const int head = Place(c.head, 400, 300);
    AnswerStroke(dlgres::kStrokeAtHeadRadio);
    Join(tail, head);
    EXPECT_EQ(DialogsRun(), c.dialog ? 1 : 0);
    ASSERT_EQ(g_bondCount, 1);
    EXPECT_EQ(g_document.bonds[0].strokeAtHead, c.strokeAtHead);
    testdoc::ExpectTablesConsistent();
  }
}

// ---- snapping -------------------------------------------------------------------------------

TEST_F(BondCreation, SnappingPlacesTheElementBesideItsAnchorAndClampsIt) {
  struct Case {
    const char* what;
    Rect anchor;        // width 30, height 30
    int side;
    int movedLeft, movedTop;  // an SE, 45 x 30
    Rect want;
  };
  const Rect a{400, 300, 430, 330};
  const Case cases[] = {
      {"left", a, 0, 100, 320, {100, 300, 145, 330}},
      {"right", a, 4, 700, 280, {700, 300, 745, 330}},
      {"top", a, 2, 380, 150, {393, 150, 438, 180}},
      {"bottom", a, 6, 300, 450, {393, 450, 438, 480}},
      {"left top", a, 1, 100, 200, {279, 200, 324, 230}},
      {"right top", a, 3, 700, 200, {506, 200, 551, 230}},
      {"right bottom", a, 5, 700, 400, {506, 400, 551, 430}},
      {"left bottom", a, 7, 100, 400, {279, 400, 324, 430}},
      {"top clamped to 30", {400, 10, 430, 40}, 0, 100, 50, {100, 30, 145, 60}},
      {"bottom clamped to 1030", {400, 1020, 430, 1050}, 4, 700, 900, {700, 1000, 745, 1030}},
      {"left clamped to 0", {20, 300, 50, 330}, 1, 100, 200, {0, 200, 45, 230}},
      {"right clamped to 1500", {1480, 300, 1510, 330}, 5, 1600, 400, {1455, 400, 1500, 430}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ResetEditorState();
    testdoc::Element(0, kKindC, 1, c.anchor.left, c.anchor.top, 30);
    testdoc::Element(1, kKindSE, 4, c.movedLeft, c.movedTop, 45);
    const ElementRecord& moved = g_document.elements[1];
    g_drawDC->SetLogging(true);
    g_drawDC->ClearLog();
    SnapElementBeside(0, 1, c.side);
    ExpectBox(1, c.want);
    EXPECT_EQ(moved.width, 45);
    EXPECT_EQ(moved.height, 30);
    // The label drawn at the new place.
    ASSERT_EQ(g_drawDC->Log().size(), 1u);
    EXPECT_EQ(g_drawDC->Log()[0].text, "SE4");
    EXPECT_EQ(g_drawDC->Log()[0].points[0], (Point{c.want.left, c.want.top}));
    testdoc::ExpectTablesConsistent();
  }
}

TEST_F(BondCreation, TheNotYetBondedEndIsSnappedAndOnlyThat) {
  // Neither bonded: the head moves beside the tail (side 4 of the tail: same top).
  const int j = Place(kKindZeroJunction, 300, 300);
  const int c = Place(kKindC, 500, 340);
  const Rect jBox = g_document.elements[j].box;
  Join(j, c);
  ASSERT_EQ(g_bondCount, 1);
  ExpectBox(j, jBox);
  ExpectBox(c, {485, 285, 515, 315});
  EXPECT_EQ(g_document.selectionIsElement, 1);
  // The occupied region follows the move.
  EXPECT_TRUE(g_document.occupiedRegion.Contains(485, 285));
  EXPECT_FALSE(g_document.occupiedRegion.Contains(500, 340));

  // Head bonded, tail not: the tail moves beside the head, at the head's side g.
  const int sf = Place(kKindSF, 200, 420);  // below left of the junction: the second click goes up and right
  Join(sf, j);
  ASSERT_EQ(g_bondCount, 2);
  const BondRecord& b = g_document.bonds[1];
  EXPECT_EQ(b.tailElement, sf);
  EXPECT_EQ(b.tailSide, 3);
  EXPECT_EQ(b.headSide, 7);
  ExpectBox(j, jBox);
  // Side 7 of the junction (293, 285, 308, 315): right = 293 - (405 - 315) - 6 = 197.
  ExpectBox(sf, {155, 405, 197, 435});

  // Both bonded: nothing moves.
  const int j1 = Place(kKindOneJunction, 700, 600);
  const int r = Place(kKindR, 900, 600);
  AnswerStroke(dlgres::kStrokeAtTailRadio);
  Join(j1, r);
  const Rect j1Box = g_document.elements[j1].box;
  const Rect rBox = g_document.elements[r].box;
  g_document.selectionIsElement = 0;
  Join(j, j1);  // a junction pair: the dialog decides
  ASSERT_EQ(g_bondCount, 3) << "the unanswered dialog counts as Cancel";
  AnswerStroke(dlgres::kStrokeAtTailRadio);
  Join(j, j1);
  ASSERT_EQ(g_bondCount, 4);
  ExpectBox(j, jBox);
  ExpectBox(j1, j1Box);
  ExpectBox(r, rBox);
  EXPECT_EQ(g_document.selectionIsElement, 0);
}

// ---- the refusals ---------------------------------------------------------------------------

TEST_F(BondCreation, RefusalsLeaveTheDocumentAsItWas) {
  enum Restore { kAll, kEraseRectOnly };  // a refusal at the first click restores everything at once
  struct Case {
    const char* what;
    std::function<void()> setUp;
    int first;            // element of the first click
    int second;           // element of the second click, -1 = empty canvas
    Restore restore;
    int currentAfter;     // g_currentIndex afterwards
  };
  // Elements: 0 C1, 1 0-junction, 2 R1, 3 1-junction, 4 TF1; 5 another 0-junction.
  auto joinC1ToJunction = [] {
    Join(0, 1);  // C at the tail: no dialog
  };
  auto joinJunctions = [] {
    AnswerStroke(dlgres::kStrokeAtTailRadio);
    Join(1, 3);
  };
  auto fullJunction = [] {
    for (int s = 0; s < 8; ++s) testdoc::AddBond(1, s, 5);
  };
  // Pairs of junctions, away from the others, joined on all eight sides until the table is full.
  auto fullTable = [] {
    while (g_bondCount < kMaxBonds) {
      const int a = testdoc::AddElement(kKindZeroJunction, g_kindCounters[kKindZeroJunction] + 1, 1500, 1300);
      const int b = testdoc::AddElement(kKindOneJunction, g_kindCounters[kKindOneJunction] + 1, 1500, 1300);
      for (int s = 0; s < kPortSides && g_bondCount < kMaxBonds; ++s) testdoc::AddBond(a, s, b);
    }
  };
  const Case cases[] = {
      {"same element twice", nullptr, 1, 1, kAll, 1},
      {"second click on empty canvas", nullptr, 1, -1, kAll, 1},
      {"neither end a junction", nullptr, 0, 2, kEraseRectOnly, 2},
      {"bonded one-port as first click", joinC1ToJunction, 0, 3, kAll, 0},
      {"bonded one-port as head", joinC1ToJunction, 3, 0, kAll, 0},
      {"already joined, same direction", joinJunctions, 1, 3, kAll, 3},
      {"already joined, other direction", joinJunctions, 3, 1, kAll, 1},
      {"full junction", fullJunction, 4, 1, kAll, 1},
      {"501st bond", fullTable, 1, 3, kAll, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ResetEditorState();
    g_drawDC->FillWhite();
    g_cleanDC->FillWhite();
    Place(kKindC, 200, 200);
    Place(kKindZeroJunction, 400, 200);
    Place(kKindR, 400, 400);
    Place(kKindOneJunction, 600, 400);
    Place(kKindTF, 200, 400);
    Place(kKindZeroJunction, 700, 700);
    if (c.setUp) c.setUp();
    plat::dlgscript::Begin();
    const int bonds = g_bondCount;
    const int bond0Head = g_document.bonds[0].headElement;
    std::vector<ElementRecord> ports(g_document.elements, g_document.elements + g_elementCount);

    ClickOn(c.first);
    // A mark drawn after the first click, far from both elements, and the band to the second point.
    const bool refusedAtFirst = g_bondDrawing == 0;
    const Point to = c.second >= 0 ? Centre(c.second) : Point{900, 150};
    if (!refusedAtFirst) {
      g_drawDC->FillRect(1200, 1000, 1210, 1010, plat::kBlack);
      TrackBondRubberBand(nullptr, to.x, to.y);
      OnBondToolClick(nullptr, to.x, to.y);
    }

    EXPECT_EQ(g_bondDrawing, 0);
    EXPECT_EQ(g_bondCount, bonds);
    EXPECT_EQ(g_document.bonds[0].headElement, bond0Head);
    EXPECT_EQ(DialogsRun(), 0);
    EXPECT_EQ(g_currentIndex, c.currentAfter);
    for (int i = 0; i < g_elementCount; ++i) {
      const ElementRecord& e = g_document.elements[i];
      ExpectBox(i, ports[static_cast<std::size_t>(i)].box);
      for (int s = 0; s < 8; ++s) {
        EXPECT_EQ(e.portInUse[s], ports[static_cast<std::size_t>(i)].portInUse[s]) << "element " << i << " side " << s;
        EXPECT_EQ(e.portPartner[s], ports[static_cast<std::size_t>(i)].portPartner[s]) << "element " << i;
      }
    }
    // The band is gone; the mark stays only when just the area of the two elements came back.
    const plat::Point start{g_startX, g_startY};
    const int midX = (start.x + to.x) / 2;
    const int midY = (start.y + to.y) / 2;
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx)
        EXPECT_EQ(g_drawDC->Pixel(midX + dx, midY + dy), g_cleanDC->Pixel(midX + dx, midY + dy));
    if (!refusedAtFirst) {
      EXPECT_EQ(g_drawDC->Pixel(1205, 1005), c.restore == kAll ? plat::kWhite : plat::kBlack);
    }
    testdoc::ExpectTablesConsistent();
  }
}

TEST_F(BondCreation, NoElementUnderAFirstClickDoesNothing) {
  Place(kKindC, 200, 200);
  g_drawDC->FillRect(1200, 1000, 1210, 1010, plat::kBlack);
  OnBondToolClick(nullptr, 600, 600);
  EXPECT_EQ(g_bondDrawing, 0);
  EXPECT_EQ(g_currentIndex, 0);
  EXPECT_EQ(g_cleanDC->Pixel(1205, 1005), plat::kWhite) << "the clean canvas is not taken";
  EXPECT_EQ(g_drawDC->Pixel(1205, 1005), plat::kBlack);
  // The hit test: left and top edges in, right and bottom edges out.
  const Rect b = g_document.elements[0].box;  // (185, 185, 215, 215)
  OnBondToolClick(nullptr, b.right, b.top);
  EXPECT_EQ(g_bondDrawing, 0);
  OnBondToolClick(nullptr, b.left, b.bottom);
  EXPECT_EQ(g_bondDrawing, 0);
  OnBondToolClick(nullptr, b.right - 1, b.bottom - 1);
  EXPECT_EQ(g_bondDrawing, 1);
  EXPECT_EQ(g_startX, b.right - 1);
  EXPECT_EQ(g_startY, b.bottom - 1);
  EXPECT_EQ(g_drawDC->CurrentPosition().x, b.right - 1);
  EXPECT_EQ(g_cleanDC->Pixel(1205, 1005), plat::kBlack) << "the whole drawing went into the clean canvas";
}

// ---- the new bond ----------------------------------------------------------------------------

TEST_F(BondCreation, NewBondRecordAndPortsFieldByField) {
  const int c = Place(kKindC, 115, 115);             // box (100, 100, 130, 130)
  const int j = Place(kKindZeroJunction, 207, 115);  // box (200, 100, 215, 130)
  // The slot holds an earlier bond's leftovers.
  BondRecord& b = g_document.bonds[0];
  for (int& r : b.reserved) r = 7;
  b.hasInitialValue = 1;
  StoreText(b.initialName, "DP9");
  StoreText(b.initialValue, "5.0");
  b.strokeAtHead = 0;
  g_document.elements[j].portBond[0] = 42;
  g_document.elements[j].portIsHead[0] = 0;

  Join(c, j);  // straight to the right: side 4 of C1, side 0 of the junction
  ASSERT_EQ(g_bondCount, 1);
  EXPECT_EQ(g_bondDrawing, 0);
  EXPECT_EQ(b.headElement, j);
  EXPECT_EQ(b.tailElement, c);
  EXPECT_EQ(b.headSide, 0);
  EXPECT_EQ(b.tailSide, 4);
  const Point want[4] = {{199, 123}, {199, 107}, {131, 107}, {131, 123}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(b.hitPolygon[i], want[i]) << i;
  }
  EXPECT_TRUE(b.hitRegion.Contains(165, 115));
  EXPECT_FALSE(b.hitRegion.Contains(165, 106));
  for (int r : b.reserved) EXPECT_EQ(r, 0);
  EXPECT_EQ(b.strokeAtHead, 1);  // C at the tail: the stroke at the junction's end
  EXPECT_EQ(b.hasInitialValue, 0);
  EXPECT_EQ(TextOf(b.initialName), "");
  EXPECT_EQ(TextOf(b.initialValue), "0.0000000E+00");

  const ElementRecord& t = g_document.elements[c];
  const ElementRecord& h = g_document.elements[j];
  for (int s = 0; s < 8; ++s) {
    EXPECT_EQ(t.portInUse[s], s == 4 ? 1 : 0) << s;
    EXPECT_EQ(h.portInUse[s], s == 0 ? 1 : 0) << s;
  }
  EXPECT_EQ(t.portPartner[4], j);
  EXPECT_EQ(t.portIsHead[4], 0);
  EXPECT_EQ(t.portBond[4], 0);
  EXPECT_EQ(h.portPartner[0], c);
  EXPECT_EQ(h.portIsHead[0], 1);
  EXPECT_EQ(h.portBond[0], 0);
  EXPECT_EQ(g_currentIndex, j);
  EXPECT_EQ(g_bondTailElement, c);

  // Its picture: number 1, line, half arrow and the stroke at the head end.
  EXPECT_EQ(g_drawDC->Pixel(165, 115), kInk);
  EXPECT_EQ(g_drawDC->Pixel(195, 111), kInk);
  EXPECT_EQ(g_drawDC->Pixel(135, 111), plat::kWhite);

  // The second bond gets the next slot and shows number 2.
  const int i = Place(kKindI, 207, 300);
  g_drawDC->SetLogging(true);
  Join(j, i);
  ASSERT_EQ(g_bondCount, 2);
  EXPECT_EQ(g_document.bonds[1].tailSide, 6);
  EXPECT_EQ(g_document.bonds[1].headSide, 2);
  EXPECT_EQ(g_document.elements[j].portBond[6], 1);
  EXPECT_EQ(g_document.bonds[1].strokeAtHead, 1);  // I at the head
  bool numberTwo = false;
  for (const plat::DrawOp& op : g_drawDC->Log()) numberTwo = numberTwo || (op.kind == plat::DrawOp::kText && op.text == "2");
  EXPECT_TRUE(numberTwo);
}

TEST_F(BondCreation, TheHeadsOtherBondsAreDrawnBeforeThePortsChange) {
  // The junction is the head of an earlier bond; a new element is snapped and
  // the junction's bonds are redrawn with the new bond not yet in its ports.
  const int j = Place(kKindOneJunction, 400, 300);
  const int se = Place(kKindSE, 200, 300);
  Join(se, j);
  const int c = Place(kKindC, 600, 300);
  g_drawDC->SetLogging(true);
  g_drawDC->ClearLog();
  Join(c, j);  // the junction is bonded, C is not: C (the tail) is snapped
  ASSERT_EQ(g_bondCount, 2);
  // Repaint without C, C's label, then bond 2, then the junction's bonds (only bond 1 then).
  std::vector<std::string> texts;
  for (const plat::DrawOp& op : g_drawDC->Log())
    if (op.kind == plat::DrawOp::kText) texts.push_back(op.text);
  const std::vector<std::string> want = {"1", "SE1", "C1", "2", "1"};
  EXPECT_EQ(texts, want);
  EXPECT_EQ(g_document.elements[c].portInUse[0], 1);
  EXPECT_EQ(g_document.elements[j].portInUse[4], 1);
}

// ---- the rubber band ---------------------------------------------------------------------------

// Distance of pixel (x, y) from the segment a-b.
double Distance(int x, int y, Point a, Point b) {
  const double vx = b.x - a.x, vy = b.y - a.y;
  const double len2 = vx * vx + vy * vy;
  double t = len2 > 0 ? ((x - a.x) * vx + (y - a.y) * vy) / len2 : 0;
  t = std::max(0.0, std::min(1.0, t));
  return std::hypot(x - (a.x + t * vx), y - (a.y + t * vy));
}

TEST_F(BondCreation, RubberBandIsDottedAndThePreviousOneIsRestored) {
  const int tail = Place(kKindZeroJunction, 400, 400);
  // A black area the bands cross: a white erasing line would show in it.
  g_drawDC->FillRect(250, 250, 700, 700, plat::kBlack);
  g_drawDC->FillRect(393, 385, 408, 415, plat::kWhite);
  ClickOn(tail);
  const Point start{g_startX, g_startY};
  const Point moves[] = {{600, 500}, {600, 300}, {start.x, 550}, {start.x + 200, start.y}, {300, 320}, {-50, 900}};
  for (const Point& p : moves) {
    SCOPED_TRACE(std::to_string(p.x) + "," + std::to_string(p.y));
    TrackBondRubberBand(nullptr, p.x, p.y);
    EXPECT_EQ(g_drawDC->CurrentPosition(), p);
    // Every pixel that differs from the clean canvas lies on the band to p.
    int inkOnBand = 0, differing = 0, strays = 0;
    for (int y = 200; y < 950; ++y)
      for (int x = 0; x < 800; ++x) {
        const plat::Rgb now = g_drawDC->Pixel(x, y);
        if (now == g_cleanDC->Pixel(x, y)) continue;
        ++differing;
        if (Distance(x, y, start, p) > 1.5) ++strays;
        if (now == kInk) ++inkOnBand;
      }
    EXPECT_EQ(strays, 0);
    // Dotted: one pixel in three is ink, the gaps white over the black.
    const double length = std::max(std::abs(p.x - start.x), std::abs(p.y - start.y));
    EXPECT_GT(inkOnBand, length * 0.25);
    EXPECT_LT(inkOnBand, length * 0.5);
    EXPECT_GT(differing, inkOnBand);
  }
}

TEST_F(BondCreation, BandIsCopiedFromTheCanvasPointOfTheClientPoint) {
  const int tail = Place(kKindZeroJunction, 500, 500);
  g_scrollX = 100;
  g_scrollY = 40;
  const Point c = Centre(tail);
  OnBondToolClick(nullptr, c.x - 100, c.y - 40);
  ASSERT_EQ(g_bondDrawing, 1);
  EXPECT_EQ(g_startX, c.x);
  EXPECT_EQ(g_startY, c.y);
  TrackBondRubberBand(nullptr, c.x - 100 + 150, c.y - 40);
  EXPECT_EQ(g_drawDC->CurrentPosition(), (Point{c.x + 150, c.y}));
}

// ---- the causal-stroke dialog -----------------------------------------------------------------

TEST_F(BondCreation, StrokeDialogOkStoresTheChosenEnd) {
  const int r = Place(kKindR, 200, 300);
  const int j = Place(kKindOneJunction, 400, 300);
  g_document.bonds[0].strokeAtHead = 1;  // left by an earlier bond in this slot
  bool startedAtTail = false;
  plat::dlgscript::Queue(kStrokeDialog, [&](plat::Dialog& d) {
    startedAtTail = d.IsChecked(dlgres::kStrokeAtTailRadio) && !d.IsChecked(dlgres::kStrokeAtHeadRadio);
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Causality"));
    EXPECT_EQ(g_strokeBond, 0);
    EXPECT_EQ(g_document.strokeTailElement, r);
    EXPECT_EQ(g_document.strokeHeadElement, j);
    EXPECT_EQ(g_bondCount, 0) << "the dialog runs before the bond is made";
    d.Press(dlgres::kStrokeAtHeadRadio);
    d.Press(plat::IDOK);
  });
  Join(r, j);
  EXPECT_TRUE(startedAtTail) << "a new bond starts with the tail end's radio";
  ASSERT_EQ(g_bondCount, 1);
  EXPECT_EQ(g_document.bonds[0].strokeAtHead, 1);
  EXPECT_EQ(g_bondAccepted, 1);
}

TEST_F(BondCreation, StrokeDialogCancelMakesNoBondAndMovesNothing) {
  for (const bool escape : {false, true}) {
    SCOPED_TRACE(escape ? "Escape" : "CANCEL");
    ResetEditorState();
    plat::dlgscript::Begin();
    const int j = Place(kKindZeroJunction, 200, 300);
    const int tf = Place(kKindTF, 400, 360);
    const Rect tfBox = g_document.elements[tf].box;
    g_document.selectionIsElement = 0;
    plat::dlgscript::Queue(kStrokeDialog, [escape](plat::Dialog& d) {
      d.Press(dlgres::kStrokeAtHeadRadio);
      if (escape) d.PressEscape(); else d.Press(plat::IDCANCEL);
    });
    Join(j, tf);
    EXPECT_EQ(DialogsRun(), 1);
    EXPECT_EQ(g_bondAccepted, 0);
    EXPECT_EQ(g_bondDrawing, 0);
    EXPECT_EQ(g_bondCount, 0);
    EXPECT_EQ(g_document.bonds[0].strokeAtHead, 0);
    ExpectBox(tf, tfBox);
    EXPECT_EQ(g_document.selectionIsElement, 0);
    for (int s = 0; s < 8; ++s) {
      EXPECT_EQ(g_document.elements[j].portInUse[s], 0);
      EXPECT_EQ(g_document.elements[tf].portInUse[s], 0);
    }
    testdoc::ExpectTablesConsistent();
  }
}

TEST_F(BondCreation, StrokeDialogOfAnExistingBondShowsAndChangesItsStroke) {
  const int j = Place(kKindZeroJunction, 200, 300);
  const int r = Place(kKindR, 400, 300);
  AnswerStroke(dlgres::kStrokeAtHeadRadio);
  Join(j, r);
  ASSERT_EQ(g_bondCount, 1);
  g_strokeBond = 0;
  g_document.strokeHeadElement = r;
  g_document.strokeTailElement = j;

  // Cancel changes nothing; the stored stroke is the initial choice.
  bool shownAtHead = false;
  plat::dlgscript::Queue(kStrokeDialog, [&](plat::Dialog& d) {
    shownAtHead = d.IsChecked(dlgres::kStrokeAtHeadRadio) && !d.IsChecked(dlgres::kStrokeAtTailRadio);
    d.Press(dlgres::kStrokeAtTailRadio);
    d.Press(plat::IDCANCEL);
  });
  EXPECT_EQ(RunStrokeSelectDialog(nullptr), plat::IDCANCEL);
  EXPECT_TRUE(shownAtHead);
  EXPECT_EQ(g_document.bonds[0].strokeAtHead, 1);

  AnswerStroke(dlgres::kStrokeAtTailRadio);
  EXPECT_EQ(RunStrokeSelectDialog(nullptr), plat::IDOK);
  EXPECT_EQ(g_document.bonds[0].strokeAtHead, 0);
  bool shownAtTail = false;
  plat::dlgscript::Queue(kStrokeDialog, [&](plat::Dialog& d) {
    shownAtTail = d.IsChecked(dlgres::kStrokeAtTailRadio);
    d.Press(plat::IDOK);
  });
  EXPECT_EQ(RunStrokeSelectDialog(nullptr), plat::IDOK);
  EXPECT_TRUE(shownAtTail);
  EXPECT_EQ(g_document.bonds[0].strokeAtHead, 0);
}

TEST_F(BondCreation, StrokeDialogLayout) {
  CausalityDialog d;
  EXPECT_EQ(d.Name(), QStringLiteral("STROKE_SELECT_DIALOG"));
  EXPECT_EQ(d.size(), QSize(d.DluToPxX(215), d.DluToPxY(95)));
  struct Want {
    int id, x, y, w, h;
    const char* text;
  };
  const Want controls[] = {{plat::IDOK, 162, 12, 42, 12, "OK"},
                           {plat::IDCANCEL, 162, 32, 42, 12, "CANCEL"},
                           {dlgres::kStrokeAtTailRadio, 10, 13, 15, 30, ""},
                           {dlgres::kStrokeAtHeadRadio, 10, 50, 15, 30, ""}};
  for (const Want& w : controls) {
    QWidget* c = d.Child(w.id);
    ASSERT_NE(c, nullptr) << w.id;
    EXPECT_EQ(c->geometry(), QRect(d.DluToPxX(w.x), d.DluToPxY(w.y), d.DluToPxX(w.w), d.DluToPxY(w.h)))
        << w.id;
    EXPECT_EQ(d.GetTextU(w.id), QString::fromUtf8(w.text)) << w.id;
  }
  // The radio beside each picture: the tail end's by the upper bar (y 20..69), the head end's by
  // the lower (80..129).
  EXPECT_LE(d.Child(dlgres::kStrokeAtTailRadio)->geometry().top(), 21);
  EXPECT_GE(d.Child(dlgres::kStrokeAtHeadRadio)->geometry().top(), 80);
}

// The base units of the 10-point gothic dialog font.
constexpr plat::BaseUnits kGothic10{7, 13};

// The picture of the two choices painted on an image of the dialog's size.
class StrokePicture : public BondCreation {
 protected:
  QImage Paint(int head, int tail) {
    QImage image(plat::DluToPxX(215, kGothic10), plat::DluToPxY(95, kGothic10), QImage::Format_RGB32);
    image.fill(kGrey);
    QPainter painter(&image);
    DrawCausalityChoices(painter, head, tail);
    painter.end();
    return image;
  }
  static plat::Rgb At(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFFu; }
  static bool InkInRow(const QImage& image, int y, int x0, int x1, plat::Rgb rgb) {
    for (int x = x0; x <= x1; ++x)
      if (At(image, x, y) == rgb) return true;
    return false;
  }
  static int BlackIn(const QImage& image, int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) n += At(image, x, y) == 0 ? 1 : 0;
    return n;
  }
  static constexpr plat::Rgb kGrey = 0xC0C0C0;
};

TEST_F(StrokePicture, TwoBarsWithTheStrokeAtTheTailAboveAndAtTheHeadBelow) {
  const int c = Place(kKindC, 200, 300);            // width 30
  const int j = Place(kKindZeroJunction, 400, 300);
  const QImage image = Paint(j, c);
  const int x0 = 55 + 30;  // the bond starts after the tail's width
  int labelInk = 0;
  for (int bar : {20, 80}) {
    SCOPED_TRACE(bar);
    // The white bar of 220 x 50 at (45, bar).
    EXPECT_EQ(At(image, 45, bar), plat::kWhite);
    EXPECT_EQ(At(image, 264, bar + 49), plat::kWhite);
    EXPECT_EQ(At(image, 44, bar), kGrey);
    EXPECT_EQ(At(image, 265, bar), kGrey);
    EXPECT_EQ(At(image, 45, bar - 1), kGrey);
    EXPECT_EQ(At(image, 45, bar + 50), kGrey);
    // The bond from (55 + w, bar + 25) to (185, bar + 25), 2 pixels wide.
    for (int x : {x0 + 3, 120, 170}) {
      int ink = 0;
      for (int y = bar + 22; y <= bar + 28; ++y) ink += At(image, x, y) == kInk ? 1 : 0;
      EXPECT_EQ(ink, 2) << "x " << x;
      EXPECT_EQ(At(image, x, bar + 25), kInk) << "x " << x;
    }
    EXPECT_FALSE(InkInRow(image, bar + 25, 46, x0 - 3, kInk));
    // The half arrow above the line's end, filled RGB(4, 0, 0).
    EXPECT_EQ(At(image, 175, bar + 23), plat::MakeRgb(4, 0, 0));
    EXPECT_EQ(At(image, 186, bar + 20), plat::kWhite);
    // The labels: C1 from (50, bar + 10), 0 from (195, bar + 10).
    const int tailInk = BlackIn(image, 50, bar + 10, x0, bar + 40);
    const int headInk = BlackIn(image, 195, bar + 10, 230, bar + 40);
    EXPECT_GT(tailInk, 20);
    EXPECT_GT(headInk, 20);
    labelInk += tailInk + headInk;
  }
  EXPECT_EQ(BlackIn(image, 0, 0, image.width(), image.height()), labelInk) << "black only in the labels";
  // The strokes, off the bond's row: at x = 55 + w from 40 to 50 above, at x = 185 from 100 to 110 below.
  EXPECT_TRUE(InkInRow(image, 41, x0 - 1, x0 + 1, kInk));
  EXPECT_TRUE(InkInRow(image, 49, x0 - 1, x0 + 1, kInk));
  EXPECT_FALSE(InkInRow(image, 38, x0 - 2, x0 + 2, kInk));
  EXPECT_FALSE(InkInRow(image, 41, 183, 187, kInk));
  EXPECT_TRUE(InkInRow(image, 101, 184, 186, kInk));
  EXPECT_TRUE(InkInRow(image, 109, 184, 186, kInk));
  EXPECT_FALSE(InkInRow(image, 101, x0 - 2, x0 + 2, kInk));
}

TEST_F(StrokePicture, LongLabelsAreDrawnWhole) {
  g_kindCounters[kKindSE] = 100;
  const int se = Place(kKindSE, 200, 300);  // width 57
  g_document.elements[se].number = 100;
  const int j = Place(kKindOneJunction, 400, 300);
  ASSERT_EQ(ElementLabel(se), "SE100");
  const QImage image = Paint(j, se);
  const plat::Font& font = CreateLabelFont(nullptr, "Times New Roman", g_fontHeight);
  const int from = 50 + font.TextWidth("SE10");
  const int to = 50 + font.TextWidth("SE100");
  EXPECT_GT(BlackIn(image, from, 30, to, 60), 10) << "the last digit is drawn";
}

TEST_F(StrokePicture, TheDialogPaintsThePictureOfItsBond) {
  const int c = Place(kKindC, 200, 300);
  const int j = Place(kKindZeroJunction, 400, 300);
  g_document.strokeHeadElement = j;
  g_document.strokeTailElement = c;
  CausalityDialog d;
  const QImage shown = d.grab().toImage();
  EXPECT_EQ(shown.pixel(45, 20) & 0xFFFFFFu, plat::kWhite);
  EXPECT_EQ(shown.pixel(120, 45) & 0xFFFFFFu, kInk);
  EXPECT_EQ(shown.pixel(120, 105) & 0xFFFFFFu, kInk);
}

// ---- through the main window --------------------------------------------------------------------

class BondToolWindow : public MainWindowFixture {
 protected:
  void TearDown() override {
    testdoc::ExpectTablesConsistent();
    MainWindowFixture::TearDown();
  }
  void Place(int tool, int x, int y) {
    window_->OnCommand(tool);
    RealClick(x, y);
  }
};

TEST_F(BondToolWindow, RealClicksAndMovesDrawTheBandAtTheScrolledCanvasPoint) {
  Place(ToolOfKind(kKindZeroJunction), 200, 200);  // box (193, 185, 208, 215)
  Place(ToolOfKind(kKindR), 400, 300);             // R1
  window_->OnScroll(plat::SB_HORZ, plat::SB_THUMBTRACK, 100);
  window_->OnScroll(plat::SB_VERT, plat::SB_THUMBTRACK, 40);
  window_->OnCommand(kToolBond);
  // Canvas (200, 200) is client (100, 160).
  RealClick(100, 160);
  ASSERT_EQ(g_bondDrawing, 1);
  EXPECT_EQ(g_currentIndex, 0);
  EXPECT_EQ(g_startX, 200);
  EXPECT_EQ(g_startY, 200);
  EXPECT_EQ(g_documentSaved, 0);
  RealMove(250, 200);  // canvas (350, 240)
  EXPECT_EQ(g_drawDC->CurrentPosition(), (Point{350, 240}));
  // Band ink on the canvas, and in the window at client = canvas - scroll.
  auto bandInk = [](int x0, int y0, int x1, int y1, const std::function<plat::Rgb(int, int)>& at) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) n += at(x, y) == kInk ? 1 : 0;
    return n;
  };
  auto onCanvas = [](int x, int y) { return g_drawDC->Pixel(x, y); };
  const int ink = bandInk(190, 190, 360, 250, onCanvas);
  EXPECT_GT(ink, 30);
  window_->View()->PresentNow();
  const QImage shown = window_->View()->grab().toImage();
  EXPECT_EQ(bandInk(90, 150, 260, 210, [&](int x, int y) { return shown.pixel(x, y) & 0xFFFFFFu; }), ink);
  const int farEnd = bandInk(290, 200, 345, 245, onCanvas);
  EXPECT_GT(farEnd, 5);

  // The R end: the stroke dialog, answered with the head end.
  plat::dlgscript::Queue(kStrokeDialog, [](plat::Dialog& d) {
    d.Press(dlgres::kStrokeAtHeadRadio);
    d.Press(plat::IDOK);
  });
  RealMove(300, 260);
  RealClick(300, 260);  // canvas (400, 300): R1
  ASSERT_EQ(g_bondCount, 1);
  EXPECT_EQ(g_document.bonds[0].tailElement, 0);
  EXPECT_EQ(g_document.bonds[0].headElement, 1);
  EXPECT_EQ(g_document.bonds[0].tailSide, 5);
  EXPECT_EQ(g_document.bonds[0].strokeAtHead, 1);
  EXPECT_EQ(g_bondDrawing, 0);
  // The first band is gone (the new bond runs from (213, 217) to R1, snapped to (284, 285)).
  EXPECT_EQ(bandInk(290, 200, 345, 245, onCanvas), 0);
  EXPECT_EQ(g_document.elements[1].box.left, 284);
}

// A small graph drawn with the mouse, written as a picture for people to look at.
TEST_F(BondToolWindow, SmallGraphDrawnWithTheMouse) {
  Place(ToolOfKind(kKindSE), 120, 250);           // SE1
  Place(ToolOfKind(kKindOneJunction), 300, 250);
  Place(ToolOfKind(kKindR), 310, 420);            // R1
  Place(ToolOfKind(kKindC), 300, 100);            // C1
  Place(ToolOfKind(kKindI), 480, 240);            // I1
  window_->OnCommand(kToolBond);
  auto join = [&](int tail, int head) {
    const Rect& t = g_document.elements[tail].box;
    const Rect& h = g_document.elements[head].box;
    RealClick((t.left + t.right) / 2, (t.top + t.bottom) / 2);
    RealClick((h.left + h.right) / 2, (h.top + h.bottom) / 2);
  };
  join(0, 1);  // SE at the tail: stroke at the junction's end
  plat::dlgscript::Queue(kStrokeDialog, [](plat::Dialog& d) {
    d.Press(dlgres::kStrokeAtTailRadio);
    d.Press(plat::IDOK);
  });
  join(1, 2);  // R: chosen in the dialog
  join(1, 3);  // C at the head: stroke at the junction's end
  join(1, 4);  // I at the head: stroke at I's end
  ASSERT_EQ(g_bondCount, 4);
  EXPECT_EQ(plat::dlgscript::Pending(kStrokeDialog), 0);
  const int strokes[] = {1, 0, 0, 1};
  const int tailSides[] = {4, 6, 2, 4};
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(g_document.bonds[k].tailElement, k == 0 ? 0 : 1) << k;
    EXPECT_EQ(g_document.bonds[k].headElement, k + 1) << k;
    EXPECT_EQ(g_document.bonds[k].strokeAtHead, strokes[k]) << k;
    EXPECT_EQ(g_document.bonds[k].tailSide, tailSides[k]) << k;
    EXPECT_EQ(g_document.bonds[k].headSide, OppositeSide(tailSides[k])) << k;
  }
  window_->View()->PresentNow();
  QApplication::processEvents();
  const QString path = QStringLiteral(VORK_BINARY_DIR) + QStringLiteral("/editor/bond_creation.png");
  ASSERT_TRUE(window_->grab().toImage().save(path));
}

}  // namespace
