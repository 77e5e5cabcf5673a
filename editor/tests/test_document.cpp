// The document: placing and numbering, box widths, refusal on overlap,
// capacities, and the initialisers of reused slots.
#include "document.h"

#include "canvas_drawing.h"

#include "test_fs_temp_dir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

using ::testing::HasSubstr;

class Document : public ::testing::Test {
 protected:
  void SetUp() override { ResetEditorState(); }
  void TearDown() override { ResetEditorState(); }

  // A left click with a placing tool as the main window handles it: the
  // element is drawn (its box joins the occupied region) and counted.
  static bool Place(int kind, int x, int y) {
    g_currentTool = ToolOfKind(kind);
    const int i = AppendElementAt(x, y);
    if (i < 0) return false;
    g_document.occupiedRegion.Unite(plat::Region::FromRect(g_document.elements[i].box));
    return true;
  }

  // Deletion of an element without bonds: later records move down one place.
  static void Delete(int i) {
    g_document.occupiedRegion.Subtract(plat::Region::FromRect(g_document.elements[i].box));
    RemoveElement(i);
  }

  static std::string Label(int i) {
    const ElementRecord& e = g_document.elements[i];
    std::string s = kKindNames[e.kind];
    if (e.kind < g_numberedKinds) s += std::to_string(e.number);
    return s;
  }
};

}  // namespace

TEST_F(Document, KindsToolsAndSides) {
  for (int kind = 0; kind < kKindCount; ++kind) {
    EXPECT_EQ(ToolOfKind(kind), 1210 + 10 * kind);
    EXPECT_EQ(KindOfTool(ToolOfKind(kind)), kind);
  }
  EXPECT_STREQ(kKindNames[kKindSE], "SE");
  EXPECT_STREQ(kKindCodes[kKindZeroJunction], "ZJ");
  EXPECT_EQ(OppositeSide(0), 4);
  EXPECT_EQ(OppositeSide(5), 1);
  EXPECT_EQ(OppositeSide(7), 3);
}

TEST_F(Document, StartValues) {
  EXPECT_EQ(g_currentTool, kToolSelect);
  EXPECT_EQ(g_fontHeight, 30);
  EXPECT_EQ(g_numberedKinds, 7);
  EXPECT_EQ(g_scrollUnit, 1);
  EXPECT_EQ(g_elementCount + g_bondCount + g_currentIndex + g_scrollX + g_scrollY + g_language, 0);
  EXPECT_EQ(g_documentSaved + g_autoTimeStep + g_bondDrawing + g_elementDragging + g_advanceMode, 0);
  EXPECT_TRUE(g_startDirectory.empty());
  EXPECT_TRUE(g_document.occupiedRegion.IsEmpty());
  EXPECT_EQ(g_document.numeric.startTime[0], '\0');
  EXPECT_EQ(g_document.elements[kMaxElements - 1].expDataCode, "");
}

TEST_F(Document, WidthsFollowTheKindAndTheCounterBeforeNumbering) {
  struct Case {
    int kind;
    int oneDigit;
    int twoDigits;
  } cases[] = {{kKindC, 30, 42},  {kKindI, 21, 33},  {kKindR, 30, 42},
               {kKindSE, 45, 57}, {kKindSF, 42, 54}, {kKindTF, 45, 57},
               {kKindGY, 51, 63}, {kKindZeroJunction, 15, 15}, {kKindOneJunction, 15, 15}};
  // Only the counter matters, not the number finally given (here always 1).
  int y = 100;
  for (const Case& c : cases) {
    g_kindCounters[c.kind] = 8;
    ASSERT_TRUE(Place(c.kind, 200, y));
    EXPECT_EQ(g_document.elements[g_elementCount - 1].width, c.oneDigit) << kKindNames[c.kind];
    EXPECT_EQ(g_document.elements[g_elementCount - 1].height, 30);
    g_kindCounters[c.kind] = 9;
    ASSERT_TRUE(Place(c.kind, 400, y));
    EXPECT_EQ(g_document.elements[g_elementCount - 1].width, c.twoDigits) << kKindNames[c.kind];
    // No third step: three-digit numbers keep the two-digit width.
    g_kindCounters[c.kind] = 150;
    ASSERT_TRUE(Place(c.kind, 600, y));
    EXPECT_EQ(g_document.elements[g_elementCount - 1].width, c.twoDigits);
    EXPECT_EQ(g_document.elements[g_elementCount - 1].number, 3);
    y += 50;
  }
}

TEST_F(Document, TheNinthCIsNarrowTheTenthWide) {
  for (int i = 0; i < 10; ++i) ASSERT_TRUE(Place(kKindC, 100 + 60 * i, 100));
  EXPECT_EQ(Label(8), "C9");
  EXPECT_EQ(g_document.elements[8].width, 30);
  EXPECT_EQ(Label(9), "C10");
  EXPECT_EQ(g_document.elements[9].width, 42);
}

TEST_F(Document, BoxIsCentredOnTheClickPlusTheScrollOffset) {
  g_scrollX = 20;
  g_scrollY = 40;
  ASSERT_TRUE(Place(kKindI, 100, 200));  // width 21, height 30: halves 10 and 15
  const ElementRecord& e = g_document.elements[0];
  EXPECT_EQ(e.box.left, 100 + 20 - 10);
  EXPECT_EQ(e.box.top, 200 + 40 - 15);
  EXPECT_EQ(e.box.right, e.box.left + 21);
  EXPECT_EQ(e.box.bottom, e.box.top + 30);
  // No clamping; coordinates are signed.
  g_scrollX = g_scrollY = 0;
  ASSERT_TRUE(Place(kKindC, -40, 5));
  EXPECT_EQ(g_document.elements[1].box.left, -55);
  EXPECT_EQ(g_document.elements[1].box.top, -10);
}

TEST_F(Document, NumbersFillTheGapsOfTheirKind) {
  ASSERT_TRUE(Place(kKindC, 100, 100));
  ASSERT_TRUE(Place(kKindR, 100, 200));
  ASSERT_TRUE(Place(kKindC, 200, 100));
  ASSERT_TRUE(Place(kKindC, 300, 100));
  EXPECT_EQ(Label(0) + Label(1) + Label(2) + Label(3), "C1R1C2C3");
  Delete(2);  // C2
  ASSERT_TRUE(Place(kKindC, 400, 100));
  EXPECT_EQ(Label(3), "C2");
  ASSERT_TRUE(Place(kKindC, 500, 100));
  EXPECT_EQ(Label(4), "C4");
  EXPECT_EQ(g_kindCounters[kKindC], 4);
  EXPECT_EQ(g_kindCounters[kKindR], 1);
}

TEST_F(Document, JunctionsAreNumberedButNotLabelledWithIt) {
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(Place(kKindZeroJunction, 100 + 100 * i, 100));
  ASSERT_TRUE(Place(kKindOneJunction, 100, 300));
  EXPECT_EQ(g_document.elements[2].number, 3);
  EXPECT_EQ(Label(2), "0");
  EXPECT_EQ(g_document.elements[2].numbered, 0);
  EXPECT_EQ(g_document.elements[3].number, 1);
  EXPECT_EQ(Label(3), "1");
  ASSERT_TRUE(Place(kKindTF, 100, 500));
  EXPECT_EQ(g_document.elements[4].numbered, 1);
}

TEST_F(Document, AfterNewNumbersStartAgainButWidthsFollowTheOldCounter) {
  TempCwd cwd;
  for (int i = 0; i < 12; ++i) ASSERT_TRUE(Place(kKindC, 100 + 60 * i, 100));
  // New: the document initialiser, the slots emptied, the counts 0, the new empty region.
  InitDocumentAndSettings();
  ClearTables();
  g_document.occupiedRegion = g_document.spareRegion;
  ASSERT_TRUE(Place(kKindC, 100, 100));  // where an element was before
  EXPECT_EQ(Label(0), "C1");
  EXPECT_EQ(g_document.elements[0].width, 42);
  EXPECT_EQ(g_kindCounters[kKindC], 12);
}

TEST_F(Document, OverlapByOnePixelIsRefusedTouchingIsNot) {
  ASSERT_TRUE(Place(kKindC, 115, 115));  // box (100,100)-(130,130)
  const int counter = g_kindCounters[kKindC];
  // Refusals first: they must change nothing.
  EXPECT_FALSE(Place(kKindC, 144, 115));  // (129,100)-(159,130): one column
  EXPECT_FALSE(Place(kKindC, 115, 144));  // (100,129)-(130,159): one row
  EXPECT_FALSE(Place(kKindC, 86, 86));    // (71,71)-(101,101): the corner pixel
  EXPECT_EQ(g_elementCount, 1);
  EXPECT_EQ(g_kindCounters[kKindC], counter);
  // Boxes that only share an edge or a corner are placed.
  EXPECT_TRUE(Place(kKindC, 145, 115));  // (130,100)-(160,130)
  EXPECT_TRUE(Place(kKindC, 115, 145));  // (100,130)-(130,160)
  EXPECT_TRUE(Place(kKindC, 85, 85));    // (70,70)-(100,100)
  EXPECT_EQ(g_elementCount, 4);
  EXPECT_EQ(Label(3), "C4");
}

TEST_F(Document, TheFiveHundredAndFirstElementIsRefused) {
  for (int i = 0; i < kMaxElements; ++i)
    ASSERT_TRUE(Place(kKindZeroJunction, 10 + 20 * (i % 50), 40 + 40 * (i / 50))) << i;
  EXPECT_EQ(g_elementCount, kMaxElements);
  EXPECT_EQ(PlaceElement(1500, 1300), 0);
  InitNewElement();  // nothing past the table
  EXPECT_EQ(g_elementCount, kMaxElements);
  EXPECT_EQ(g_kindCounters[kKindZeroJunction], kMaxElements);
  EXPECT_EQ(g_document.elements[kMaxElements - 1].number, kMaxElements);
  ClearElementTexts(kMaxElements);
  ClearElementTexts(-1);
}

TEST_F(Document, PlacementNeedsAPlacingTool) {
  for (int tool : {kToolSelect, kToolBond, kToolFirstElement - 1, kToolLastElement + 10}) {
    g_currentTool = tool;
    EXPECT_EQ(PlaceElement(100, 100), 0) << tool;
  }
}

TEST_F(Document, ANewElementInAReusedSlotCarriesNothingOfTheOldRecord) {
  ElementRecord& e = g_document.elements[0];
  for (int s = 0; s < kPortSides; ++s) {
    e.portInUse[s] = 1;
    e.portPartner[s] = 3;
    e.portBond[s] = 7;
  }
  e.numbered = 0;
  StoreText(e.parameterNames, "m\r\nk");
  StoreText(e.parameterValues, "1\r\n2");
  StoreText(e.parameterUnits, "kg");
  StoreText(e.parameterComments, "\x8e\xbf\x97\xca");  // 質量
  StoreText(e.extraTexts[7], "x");
  StoreText(e.extraText2430, "x");
  StoreText(e.extraText2440, "x");
  StoreText(e.extraText2450, "kept");
  StoreText(e.equation, "E=F/m;");
  e.checkBoxes[3] = 1;
  e.usedCount = 2;
  StoreText(e.used[1].name, "v");
  e.feedbackCount = 20;
  StoreText(e.feedback[19].bond, "12");
  e.staleMark = 1;
  e.hasExpData = 1;
  e.expDataCode = "code";

  ASSERT_TRUE(Place(kKindC, 100, 100));
  for (int s = 0; s < kPortSides; ++s) {
    EXPECT_EQ(e.portInUse[s], 0);
    EXPECT_EQ(e.portPartner[s], -1);
  }
  EXPECT_EQ(e.numbered, 1);
  for (const char* t : {e.parameterNames, e.parameterValues, e.parameterUnits, e.parameterComments, e.extraTexts[7],
                        e.extraText2430, e.extraText2440, e.equation, e.used[1].name, e.feedback[19].bond})
    EXPECT_STREQ(t, "");
  EXPECT_STREQ(e.extraText2450, "kept");
  EXPECT_EQ(e.checkBoxes[3], 0);
  EXPECT_EQ(e.usedCount, 0);
  EXPECT_EQ(e.feedbackCount, 0);
  EXPECT_EQ(e.staleMark, 0);
  EXPECT_EQ(e.hasExpData, 0);
  EXPECT_EQ(e.expDataCode, "code");  // counts only while hasExpData is 1
}

TEST_F(Document, ClearingTextsStaysInsideTheTablesWhateverTheCounts) {
  ElementRecord& e = g_document.elements[5];
  e.usedCount = 1000;
  e.feedbackCount = -3;
  StoreText(e.used[19].comment, "c");
  ClearElementTexts(5);
  EXPECT_STREQ(e.used[19].comment, "");
  EXPECT_EQ(e.usedCount, 0);
  EXPECT_EQ(e.feedbackCount, 0);
}

TEST_F(Document, ANewBondSlotHasTheDefaultInitialValue) {
  g_bondCount = 3;
  BondRecord& b = g_document.bonds[3];
  b.reserved[2] = 9;
  b.hasInitialValue = 1;
  StoreText(b.initialName, "DP12");
  StoreText(b.initialValue, "2.5");
  b.strokeAtHead = 1;
  InitBondSlot();
  EXPECT_EQ(b.reserved[0] + b.reserved[1] + b.reserved[2] + b.reserved[3], 0);
  EXPECT_EQ(b.hasInitialValue, 0);
  EXPECT_STREQ(b.initialName, "");
  EXPECT_STREQ(b.initialValue, "0.0000000E+00");
  EXPECT_EQ(b.strokeAtHead, 1);  // set by bond creation, not here

  // With the table full nothing is written.
  g_bondCount = kMaxBonds;
  StoreText(g_document.bonds[kMaxBonds - 1].initialValue, "7");
  InitBondSlot();
  EXPECT_STREQ(g_document.bonds[kMaxBonds - 1].initialValue, "7");
}

TEST_F(Document, InitialiserResetsConditionsOutputsAndRegions) {
  TempCwd cwd;
  DiagramDocument& d = g_document;
  d.occupiedRegion.Unite(plat::Region::FromRect(0, 0, 100, 100));
  d.selectionActive = 1;
  StoreText(d.numeric.endTime, "5.0");
  d.outputCount = 2;
  StoreText(d.outputs[0].kindName, "Effort");
  StoreText(d.outputFileName, "run1");
  g_kindCounters[kKindC] = 4;
  const int width = g_canvasWidth, height = g_canvasHeight;
  const Rect canvasRect = g_canvasRect;
  g_canvasWidth = 2000;
  g_canvasHeight = 1414;
  InitDocumentAndSettings();
  g_canvasWidth = width;
  g_canvasHeight = height;
  EXPECT_EQ(g_canvasRect.left + g_canvasRect.top, 0);
  EXPECT_EQ(g_canvasRect.right, 2000);
  EXPECT_EQ(g_canvasRect.bottom, 1414);
  g_canvasRect = canvasRect;
  EXPECT_TRUE(d.occupiedRegion.IsEmpty());
  EXPECT_TRUE(d.spareRegion.IsEmpty());
  EXPECT_EQ(d.selectionActive, 0);
  EXPECT_STREQ(d.numeric.startTime, "0.00000E+00");
  EXPECT_STREQ(d.numeric.endTime, "1.00000E+00");
  EXPECT_STREQ(d.numeric.timeStep, "1.00000E-05");
  EXPECT_STREQ(d.numeric.outputPoints, "1000");
  EXPECT_EQ(d.outputCount, 0);
  EXPECT_STREQ(d.outputs[0].kindName, "Effort");  // entries are not erased
  EXPECT_STREQ(d.outputFileName, "run1");
  EXPECT_EQ(g_kindCounters[kKindC], 4);
  EXPECT_EQ(g_startDirectory, cwd.path());

  d.occupiedRegion.Unite(plat::Region::FromRect(0, 0, 10, 10));
  DeleteRegions();
  EXPECT_TRUE(d.occupiedRegion.IsEmpty());
}

TEST(DocumentText, StoreCutsOnACharacterBoundary) {
  struct Case {
    std::string text;
    std::string stored;
  } cases[] = {
      {"abcd", "abcd"},
      {"abcde", "abcd"},
      {"ab\x93\x64", "ab\x93\x64"},        // 電 fits exactly
      {"abc\x93\x64", "abc"},              // 電 would be split: left out
      {"\x8e\xbf\x97\xca\x81", "\x8e\xbf\x97\xca"},
      {"a\xb1\xb2\xb3", "a\xb1\xb2\xb3"},  // half-width katakana are single bytes
      {"ab\x81", "ab\x81"},                // a lone lead byte at the end is one byte
      {"", ""},
  };
  for (const Case& c : cases) {
    char field[5];
    std::memset(field, 'z', sizeof field);
    StoreText(field, c.text);
    EXPECT_EQ(TextOf(field), c.stored);
    EXPECT_EQ(field[4], '\0');
  }
  char full[3] = {'a', 'b', 'c'};  // no terminator: the field's end bounds it
  EXPECT_EQ(TextOf(full), "abc");
}

// ---- the tables -----------------------------------------------------------------------

namespace {

class Tables : public Document {
 protected:
  // An element placed with the kind's tool at the canvas point; its index.
  static int Put(int kind, int x, int y) {
    g_currentTool = ToolOfKind(kind);
    return AppendElementAt(x, y);
  }
  // C1 (0) -> 1-junction (1) -> R1 (2), the junction's side 2 -> 0-junction (3).
  static void Diagram() {
    ASSERT_EQ(Put(kKindC, 100, 100), 0);
    ASSERT_EQ(Put(kKindOneJunction, 200, 100), 1);
    ASSERT_EQ(Put(kKindR, 300, 100), 2);
    ASSERT_EQ(Put(kKindZeroJunction, 200, 0), 3);
    ASSERT_EQ(AppendBond(0, 4, 1, 0), 0);
    ASSERT_EQ(AppendBond(1, 4, 2, 0), 1);
    ASSERT_EQ(AppendBond(1, 2, 3, 6), 2);
  }
  static std::string Why() {
    std::string why;
    return TablesConsistent(&why) ? std::string() : why;
  }
};

}  // namespace

TEST_F(Tables, EveryBrokenPromiseIsNamed) {
  DiagramDocument& d = g_document;
  ElementRecord* e = d.elements;
  struct Case {
    const char* what;
    std::function<void()> damage;
    bool inRange;     // TablesInRange still holds
    const char* why;  // a part of the reason given
  };
  const Case cases[] = {
      {"element count over the table", [] { g_elementCount = kMaxElements + 1; }, false, "element count"},
      {"negative bond count", [] { g_bondCount = -1; }, false, "bond count"},
      {"output count over the list", [&] { d.outputCount = kMaxOutputVariables + 1; }, false, "output count"},
      {"negative counter", [] { g_kindCounters[kKindTF] = -1; }, false, "counter of kind 5"},
      {"kind 9", [&] { e[2].kind = kKindCount; }, false, "element 2: kind"},
      {"21 used variables", [&] { e[0].usedCount = kMaxUsedVariables + 1; }, false, "element 0: used count"},
      {"a side naming a bond beyond the count", [&] { e[0].portBond[4] = 3; }, false, "element 0 side 4: bond not"},
      {"a side naming a partner beyond the count", [&] { e[0].portPartner[4] = 4; }, false, "partner not in use"},
      {"a bond's end beyond the count", [&] { d.bonds[1].headElement = 4; }, false, "bond 1: end not in use"},
      {"a bond's side 8", [&] { d.bonds[1].tailSide = 8; }, false, "bond 1: side out of range"},
      {"an in-use flag of 2", [&] { e[2].portInUse[0] = 2; }, true, "element 2 side 0: in-use flag"},
      {"a head flag of 2", [&] { e[2].portIsHead[0] = 2; }, true, "element 2 side 0: head flag"},
      {"a head flag turned over", [&] { e[2].portIsHead[0] = 0; }, true, "element 2 side 0: its bond's end"},
      {"a side naming another bond", [&] { e[0].portBond[4] = 1; }, true, "element 0 side 4: its bond's end"},
      {"a wrong partner", [&] { e[3].portPartner[6] = 2; }, true, "element 3 side 6: partner"},
      {"a bond's end on a free side", [&] { d.bonds[2].headSide = 5; }, true, "element 3 side 6: its bond's end"},
      {"a bond's tail side freed", [&] { e[1].portInUse[2] = 0; }, true, "bond 2: the tail's side"},
      {"a bond's head side freed", [&] { e[3].portInUse[6] = 0; }, true, "bond 2: the head's side"},
      {"a one-port with two bonds", [] { AppendBond(0, 2, 3, 0); }, true, "element 0: a one-port"},
      {"a bond between numbered elements",
       [] { AppendBond(Put(kKindTF, 500, 500), 4, Put(kKindGY, 600, 500), 0); }, true, "bond 3: no junction"},
      {"a bond with both ends on one element",
       [&] {
         const int j = Put(kKindZeroJunction, 500, 500);
         BondRecord& b = d.bonds[g_bondCount];
         b.tailElement = b.headElement = j;
         b.tailSide = 0;
         b.headSide = 4;
         e[j].portInUse[0] = e[j].portInUse[4] = 1;
         e[j].portBond[0] = e[j].portBond[4] = g_bondCount;
         e[j].portPartner[0] = e[j].portPartner[4] = j;
         e[j].portIsHead[4] = 1;
         ++g_bondCount;
       },
       true, "bond 3: both ends on one element"},
      {"a junction numbered", [&] { e[3].numbered = 1; }, true, "element 3: numbered"},
      {"number 0", [&] { e[2].number = 0; }, true, "element 2: number out of range"},
      {"a number above the counter", [&] { e[2].number = 2; }, true, "element 2: number out of range"},
      {"a number taken",
       [&] {
         const int c = Put(kKindC, 500, 500);
         e[c].number = 1;
       },
       true, "element 4: number taken by element 0"},
      {"a box wider than the element", [&] { e[1].box.right += 1; }, true, "element 1: box"},
      {"a height other than the font's", [&] { e[1].height = 20; e[1].box.bottom = e[1].box.top + 20; }, true,
       "element 1: box"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ResetEditorState();
    Diagram();
    ASSERT_EQ(Why(), "");
    c.damage();
    std::string why;
    EXPECT_EQ(TablesInRange(&why), c.inRange) << why;
    EXPECT_FALSE(TablesConsistent(&why));
    EXPECT_THAT(why, HasSubstr(c.why));
  }
  EXPECT_FALSE(TablesConsistent(nullptr));
}

TEST_F(Tables, WhatDeletionLeavesBehindIsNoFault) {
  Diagram();
  const BondRecord last = g_document.bonds[2];
  RemoveBond(1);  // the junction's side 4 and R1's side 0 freed, their partners kept
  EXPECT_EQ(g_document.elements[2].portPartner[0], 1);
  EXPECT_EQ(g_document.bonds[2].tailSide, last.tailSide);  // the old last slot keeps its record
  EXPECT_EQ(Why(), "");
  EXPECT_EQ(RemoveElement(1), 0);  // with bonds 0 and 1 (once 2)
  EXPECT_EQ(g_elementCount, 3);
  EXPECT_EQ(g_bondCount, 0);
  EXPECT_EQ(g_document.elements[3].kind, kKindZeroJunction);
  EXPECT_EQ(Why(), "");
  EXPECT_EQ(RemoveElement(0), -1);  // no bond went with it
  EXPECT_EQ(Why(), "");
  ClearTables();
  EXPECT_EQ(g_elementCount + g_bondCount, 0);
  EXPECT_EQ(Why(), "");
}

TEST_F(Tables, AppendBondRefusesWhatWouldBreakTheTables) {
  Diagram();
  const int j = Put(kKindZeroJunction, 500, 500);
  struct Case {
    const char* what;
    int tail, tailSide, head, headSide;
  };
  const Case cases[] = {
      {"a tail beyond the count", g_elementCount, 0, j, 4},
      {"a head of -1", j, 0, -1, 4},
      {"one element at both ends", j, 0, j, 4},
      {"side 8", j, 8, 3, 0},
      {"side -1", 3, 0, j, -1},
      {"the tail's side in use", 1, 4, j, 0},
      {"the head's side in use", j, 0, 3, 6},
  };
  const std::vector<ElementRecord> before(g_document.elements, g_document.elements + g_elementCount);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(AppendBond(c.tail, c.tailSide, c.head, c.headSide), -1);
    EXPECT_EQ(g_bondCount, 3);
    for (int i = 0; i < g_elementCount; ++i) {
      const ElementRecord& now = g_document.elements[i];
      const ElementRecord& was = before[static_cast<std::size_t>(i)];
      EXPECT_TRUE(std::equal(now.portInUse, now.portInUse + kPortSides, was.portInUse)) << "element " << i;
      EXPECT_TRUE(std::equal(now.portBond, now.portBond + kPortSides, was.portBond)) << "element " << i;
    }
  }
  EXPECT_EQ(Why(), "");

  // Junction pairs joined on all eight sides fill the table; the 501st bond is refused.
  while (g_bondCount < kMaxBonds) {
    const int a = Put(kKindZeroJunction, 1000, 1000);
    const int b = Put(kKindOneJunction, 1000, 1000);
    ASSERT_GE(b, 0);
    for (int s = 0; s < kPortSides && g_bondCount < kMaxBonds; ++s) {
      const int k = g_bondCount;
      ASSERT_EQ(AppendBond(a, s, b, s), k);
    }
  }
  EXPECT_EQ(Why(), "");
  const int p = Put(kKindZeroJunction, 1500, 100);
  EXPECT_EQ(AppendBond(j, 0, p, 4), -1);
  EXPECT_EQ(g_bondCount, kMaxBonds);
}
