// The model checks: causal strokes at junctions (with the red circles on the
// window), equations present, every element connected and parameter names shared
// with different values, each with its exact message and title.
#include "model_checks.h"
#include "test_diagram_records.h"
#include "test_fs_temp_dir.h"

#include "platform/client_view.h"
#include "platform/cp932.h"
#include "platform/message_box.h"

#include <QApplication>
#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace testdoc;

class ModelChecks : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetEditorState();
    plat::msgscript::Begin();
  }
  void TearDown() override {
    plat::msgscript::End();
    ResetEditorState();
  }

  // The only message shown: its text and title.
  static void ExpectOneMessage(const char* text, const char* title) {
    const auto& records = plat::msgscript::Records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].text, QString::fromUtf8(text));
    EXPECT_EQ(records[0].title, QString::fromUtf8(title));
    EXPECT_EQ(records[0].flags, plat::MB_OK);
  }

  TempCwd cwd_;
};

// ---- causal strokes at junctions ------------------------------------------------

// A junction of the given kind with one bond per entry; each entry says whether the
// junction is the bond's head and whether the stroke lies at the junction's end.
struct StrokeCase {
  int kind;
  std::vector<std::pair<bool, bool>> bonds;  // (junction is head, stroke at junction)
  bool faulty;
};

TEST_F(ModelChecks, JunctionStrokeRules) {
  const bool H = true, T = false, at = true, away = false;
  const std::vector<StrokeCase> cases = {
      {kKindZeroJunction, {{H, away}, {T, away}, {T, away}}, true},
      {kKindZeroJunction, {{H, at}, {T, away}, {T, away}}, false},
      {kKindZeroJunction, {{H, away}, {T, at}, {H, away}}, false},
      {kKindZeroJunction, {{H, at}, {T, at}, {T, away}}, true},
      {kKindOneJunction, {{H, at}, {T, at}, {T, away}}, false},
      {kKindOneJunction, {{H, away}, {T, at}, {H, at}}, false},
      {kKindOneJunction, {{H, at}, {T, away}, {T, away}}, true},
      {kKindOneJunction, {{H, at}, {T, at}, {H, at}}, true},
      {kKindZeroJunction, {}, true},
      {kKindOneJunction, {}, true},
  };
  for (std::size_t n = 0; n < cases.size(); ++n) {
    ResetEditorState();
    const StrokeCase& c = cases[n];
    const int j = AddElement(c.kind, 1);
    int side = 0;
    for (const auto& [head, atJunction] : c.bonds) {
      const int other = AddElement(kKindOneJunction, 9, 400 + 60 * side, 400);
      // The stroke lies at the head end when strokeAtHead is 1.
      if (head) {
        AddBond(other, OppositeSide(side), j, atJunction ? 1 : 0);
      } else {
        AddBond(j, side, other, atJunction ? 0 : 1);
      }
      side += 2;
    }
    const std::vector<int> faulty = FindFaultyJunctions();
    const bool jFaulty = !faulty.empty() && faulty.front() == j;
    EXPECT_EQ(jFaulty, c.faulty) << "case " << n;
  }
}

TEST_F(ModelChecks, DiagramWithoutJunctionsPassesTheStrokeCheck) {
  AddElement(kKindC, 1);
  AddElement(kKindTF, 1);
  EXPECT_EQ(CheckJunctionStrokes(nullptr), 1);
  BuildSeriesRlc();
  EXPECT_EQ(CheckJunctionStrokes(nullptr), 1);
  EXPECT_TRUE(plat::msgscript::Records().empty());
}

// A window that shows nothing but white, to look at the circles.
struct WhiteWindow : plat::WindowEvents {};

bool RedNear(const QImage& image, int x, int y) {
  for (int dy = -2; dy <= 2; ++dy)
    for (int dx = -1; dx <= 1; ++dx)
      if (image.pixel(x + dx, y + dy) == qRgb(255, 0, 0)) return true;
  return false;
}

// Faulty junctions are circled (radius 20 round the box centre, scroll allowed for)
// on the window only, with no message; the circles go at the window's next update.
TEST_F(ModelChecks, StrokeCheckCirclesFaultyJunctionsOnTheWindow) {
  WhiteWindow events;
  plat::ClientView view(&events);
  view.resize(600, 400);
  view.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  const int good = AddElement(kKindZeroJunction, 1, 100, 100);
  const int bad = AddElement(kKindOneJunction, 1, 300, 200);  // box centre (320, 215)
  const int c = AddElement(kKindC, 1, 100, 300);
  AddBond(c, 2, good, 1);
  g_scrollX = 40;
  g_scrollY = 10;

  EXPECT_EQ(CheckJunctionStrokes(&view), 0);
  EXPECT_TRUE(plat::msgscript::Records().empty());
  ASSERT_TRUE(view.HasOverlay());
  const QImage shown = view.grab().toImage();
  EXPECT_TRUE(RedNear(shown, 320 - 40 - 20, 215 - 10));
  EXPECT_TRUE(RedNear(shown, 320 - 40 + 19, 215 - 10));
  EXPECT_TRUE(RedNear(shown, 320 - 40, 215 - 10 - 20));
  EXPECT_EQ(shown.pixel(320 - 40, 215 - 10), qRgb(255, 255, 255));
  EXPECT_FALSE(RedNear(shown, 120 - 40 - 20, 115 - 10));  // the sound junction

  // Updates of the same command keep the circles; the next one after it removes them.
  view.Invalidate(0, 0, 10, 10);
  EXPECT_TRUE(view.HasOverlay());
  QApplication::processEvents();
  view.Invalidate(0, 0, 10, 10);
  EXPECT_FALSE(view.HasOverlay());
  EXPECT_FALSE(RedNear(view.grab().toImage(), 320 - 40 - 20, 215 - 10));
  (void)bad;
}

// ---- equations present ------------------------------------------------------------

TEST_F(ModelChecks, MissingEquationsAreNamedInOneMessage) {
  const int z = AddElement(kKindZeroJunction, 1);
  AddElement(kKindC, 1);
  AddElement(kKindSE, 12);
  const int r = AddElement(kKindR, 2);
  const int i = AddElement(kKindI, 1);
  const int gy = AddElement(kKindGY, 3);
  StoreText(g_document.elements[i].equation, "\r\n");  // only a line break: present
  StoreText(g_document.elements[gy].equation, "  ");   // only blanks: present
  (void)z;
  (void)r;
  EXPECT_EQ(CheckEquationsPresent(nullptr), 0);
  ExpectOneMessage("C1 SE12 R2 の特性式を入力してください.", "特性式エラー");
  EXPECT_EQ(plat::cp932::FromQString(plat::msgscript::Records()[0].text),
            "C1 SE12 R2 \x82\xcc\x93\xc1\x90\xab\x8e\xae\x82\xf0\x93\xfc\x97\xcd\x82\xb5\x82\xc4\x82\xad\x82\xbe\x82"
            "\xb3\x82\xa2.");
}

TEST_F(ModelChecks, AllEquationsPresentShowsNothing) {
  BuildSeriesRlc();
  EXPECT_EQ(CheckEquationsPresent(nullptr), 1);
  EXPECT_TRUE(plat::msgscript::Records().empty());
}

// ---- every element connected -------------------------------------------------------

TEST_F(ModelChecks, FirstUnconnectedElementIsReportedByItsKind) {
  const char* const messages[kKindCount] = {
      "C4 に何もボンドがつながっていません",  "I4 に何もボンドがつながっていません",
      "R4 に何もボンドがつながっていません",  "SE4 に何もボンドがつながっていません",
      "SF4 に何もボンドがつながっていません", "TF4 に何もボンドがつながっていません",
      "GY4 に何もボンドがつながっていません", "0接点に何もボンドがつながっていません",
      "1接点に何もボンドがつながっていません"};
  for (int kind = 0; kind < kKindCount; ++kind) {
    ResetEditorState();
    plat::msgscript::Begin();
    BuildSeriesRlc();
    AddElement(kind, 4);
    AddElement(kKindC, 5);  // unconnected too, but not the first
    EXPECT_EQ(CheckAllConnected(nullptr), 0) << kind;
    ExpectOneMessage(messages[kind], "素子エラー");
  }
  ResetEditorState();
  plat::msgscript::Begin();
  BuildSeriesRlc();
  EXPECT_EQ(CheckAllConnected(nullptr), 1);
  EXPECT_TRUE(plat::msgscript::Records().empty());
}

// ---- shared variable names ------------------------------------------------------------

constexpr char kDone[] = "変数チェック終了";
constexpr char kTitle[] = "変数チェック";

TEST_F(ModelChecks, SharedNamesAgreeingByValuePass) {
  const int c = AddElement(kKindC, 1);
  const int r = AddElement(kKindR, 1);
  const int z = AddElement(kKindZeroJunction, 1);
  SetTexts(c, "K\r\nM", "1\r\n3", "", "", "");
  SetTexts(r, "K\r\nM \r\nM", "1.0\r\n4\r\n3e0", "", "", "");  // "M " is another name
  StoreText(g_document.elements[z].parameterNames, "K");     // junctions take no part
  StoreText(g_document.elements[z].parameterValues, "7");
  CheckSharedVariables(nullptr);
  ExpectOneMessage(kDone, kTitle);
}

TEST_F(ModelChecks, FirstConflictIsReportedWithBothLabelsAndTheName) {
  const int tf = AddElement(kKindTF, 1);
  const int r = AddElement(kKindR, 1);
  const int c = AddElement(kKindC, 2);
  SetTexts(tf, "K\r\nM", "1\r\n5", "", "", "");
  SetTexts(r, "M\r\nK", "5\r\n2", "", "", "");
  SetTexts(c, "M", "6", "", "", "");
  CheckSharedVariables(nullptr);
  ExpectOneMessage("TF1 素子とR1 素子の\n変数名｢K｣の値が違います.", kTitle);
  // Half-width corner brackets, a line feed, an ASCII full stop.
  EXPECT_EQ(plat::cp932::FromQString(plat::msgscript::Records()[0].text),
            "TF1 \x91\x66\x8e\x71\x82\xc6R1 \x91\x66\x8e\x71\x82\xcc\n\x95\xcf\x90\x94\x96\xbc\xa2K\xa3\x82\xcc\x92\x6c"
            "\x82\xaa\x88\xe1\x82\xa2\x82\xdc\x82\xb7.");
}

TEST_F(ModelChecks, SharedVariableEdgeCases) {
  struct Case {
    const char* names1;
    const char* values1;
    const char* names2;
    const char* values2;
    const char* message;
  };
  const std::string longNames = [] {
    std::string s;
    for (int k = 0; k < 30; ++k) s += "p" + std::to_string(k) + "\r\n";
    return s + "last";
  }();
  const std::string longValues = [] {
    std::string s;
    for (int k = 0; k < 30; ++k) s += "1\r\n";
    return s + "2";
  }();
  const std::vector<Case> cases = {
      // An empty name line (after a final line break) is a name like any other.
      {"K\r\n", "1\r\n5", "\r\nK", "6\r\n1", "C1 素子とR1 素子の\n変数名｢｣の値が違います."},
      // The lines of one element are not compared with each other.
      {"K\r\nK", "1\r\n2", "J", "1", kDone},
      // A value missing on its line reads as 0.
      {"K\r\nJ", "1", "J", "0.0", kDone},
      {"K\r\nJ", "1", "J", "0.5", "C1 素子とR1 素子の\n変数名｢J｣の値が違います."},
      // Beyond 24 lines and 9 characters nothing is cut.
      {longNames.c_str(), longValues.c_str(), "last", "3", "C1 素子とR1 素子の\n変数名｢last｣の値が違います."},
      {"averylongname", "1", "averylongname2\r\naverylongname", "1\r\n2",
       "C1 素子とR1 素子の\n変数名｢averylongname｣の値が違います."},
  };
  for (std::size_t n = 0; n < cases.size(); ++n) {
    ResetEditorState();
    plat::msgscript::Begin();
    const int c = AddElement(kKindC, 1);
    const int r = AddElement(kKindR, 1);
    SetTexts(c, cases[n].names1, cases[n].values1, "", "", "");
    SetTexts(r, cases[n].names2, cases[n].values2, "", "", "");
    CheckSharedVariables(nullptr);
    SCOPED_TRACE(n);
    ExpectOneMessage(cases[n].message, kTitle);
  }
}

TEST_F(ModelChecks, KanjiNamesAndTinyDiagrams) {
  CheckSharedVariables(nullptr);  // no elements
  ExpectOneMessage(kDone, kTitle);
  plat::msgscript::Begin();
  const int c = AddElement(kKindC, 1);
  SetTexts(c, J("電圧") + "\r\n" + J("電圧"), "1\r\n2", "", "", "");
  CheckSharedVariables(nullptr);  // one element
  ExpectOneMessage(kDone, kTitle);
  plat::msgscript::Begin();
  const int se = AddElement(kKindSE, 2);
  SetTexts(se, J("電圧"), "3", "", "", "");
  CheckSharedVariables(nullptr);
  ExpectOneMessage("C1 素子とSE2 素子の\n変数名｢電圧｣の値が違います.", kTitle);
}

}  // namespace
