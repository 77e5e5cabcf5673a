// Diagrams for the file and command tests: elements placed and bonds joined
// as the editing operations record them, a sample diagram with CP932 texts,
// scripted file dialogs, and the comparison of the saved fields.
#pragma once

#include "canvas_drawing.h"
#include "diagram_file.h"
#include "document.h"
#include "platform/cp932.h"
#include "platform/file_dialog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <string>
#include <utility>
#include <vector>

// CP932 bytes of a UTF-8 literal.
inline std::string Sjis(const char* utf8) { return plat::cp932::FromUtf8(utf8); }

// A left click with the placing tool of kind at canvas point (x, y) (no
// scrolling): the element is laid out, initialised, drawn and counted.
inline int PlaceForTest(int kind, int x, int y) {
  g_currentTool = ToolOfKind(kind);
  EXPECT_EQ(PlaceElement(x, y), 1) << "kind " << kind << " at " << x << "," << y;
  InitNewElement();
  DrawElement(nullptr, g_elementCount);
  return g_elementCount++;
}

// A new bond from tail (side f) to head (side f + 4 mod 8), recorded as bond
// creation records it.
inline int JoinForTest(int tail, int f, int head, int strokeAtHead) {
  const int k = g_bondCount;
  const int g = OppositeSide(f);
  SetBondEnds(f, g, k, tail, head);
  InitBondSlot();
  g_document.bonds[k].strokeAtHead = strokeAtHead;
  ElementRecord& t = g_document.elements[tail];
  t.portInUse[f] = 1;
  t.portPartner[f] = head;
  t.portIsHead[f] = 0;
  t.portBond[f] = k;
  ElementRecord& h = g_document.elements[head];
  h.portInUse[g] = 1;
  h.portPartner[g] = tail;
  h.portIsHead[g] = 1;
  h.portBond[g] = k;
  return ++g_bondCount - 1;
}

// SE1 - 1 - R1, 1 - C1, 1 - I1, with Japanese texts, line breaks, blanks and
// digits in the strings, variable tables, an initial value, numeric
// conditions and outputs.
inline void BuildSampleDiagram() {
  const int se = PlaceForTest(kKindSE, 100, 200);
  const int one = PlaceForTest(kKindOneJunction, 300, 200);
  const int r = PlaceForTest(kKindR, 500, 200);
  const int c = PlaceForTest(kKindC, 300, 50);
  const int i = PlaceForTest(kKindI, 300, 350);
  JoinForTest(se, 4, one, 1);
  JoinForTest(one, 4, r, 1);
  JoinForTest(one, 2, c, 0);
  JoinForTest(one, 6, i, 1);

  ElementRecord& eSe = g_document.elements[se];
  StoreText(eSe.parameterNames, "E0\r\nomega");
  StoreText(eSe.parameterValues, "1.0\r\n 314 ");
  StoreText(eSe.parameterUnits, Sjis("ボルト\r\nrad/s"));
  StoreText(eSe.parameterComments, Sjis("電圧 振幅\r\n角周波数"));
  StoreText(eSe.equation, Sjis("E = E0*sin(omega*T)  /* 電源 12 */\r\n"));
  ElementRecord& eR = g_document.elements[r];
  StoreText(eR.equation, "F = E/R1\r\n\r\n  10 20 30");
  eR.usedCount = 2;
  StoreText(eR.used[0].type, Sjis("実数"));
  StoreText(eR.used[0].name, "x 1");
  StoreText(eR.used[0].comment, Sjis("位置 2"));
  StoreText(eR.used[1].type, Sjis("整数"));
  StoreText(eR.used[1].name, "n");
  eR.feedbackCount = 1;
  StoreText(eR.feedback[0].name, "v4");
  StoreText(eR.feedback[0].kind, "Flow");
  StoreText(eR.feedback[0].bond, "4");
  eR.checkBoxes[3] = 1;
  StoreText(eR.extraTexts[5], Sjis("予備 5"));
  StoreText(eR.extraText2430, "2430");
  StoreText(eR.extraText2440, " ");

  BondRecord& b = g_document.bonds[2];
  b.hasInitialValue = 1;
  StoreText(b.initialValue, "1.5E-03");
  StoreText(b.initialName, "DP3");
  g_document.bonds[3].reserved[2] = 7;

  StoreText(g_document.numeric.endTime, "2.5");
  StoreText(g_document.numeric.outputPoints, "200");
  const char* outputs[][2] = {{"Effort", "1"}, {"Flow", "3"}, {"Energy", "4"}};
  g_document.outputCount = 3;
  for (int n = 0; n < 3; ++n) {
    StoreText(g_document.outputs[n].kindName, outputs[n][0]);
    StoreText(g_document.outputs[n].bondText, outputs[n][1]);
  }
}

// Answers the file dialogs instead of the user: each dialog takes the next
// queued path; with nothing queued it is cancelled.
class FileDialogScript {
 public:
  struct Request {
    bool save = false;
    plat::FileDialogOptions options;
  };

  FileDialogScript() {
    plat::FileDialog::SetHook([this](bool save, const plat::FileDialogOptions& options) {
      requests_.push_back(Request{save, options});
      if (answers_.empty()) return QString();
      QString answer = answers_.front();
      answers_.pop_front();
      return answer;
    });
  }
  ~FileDialogScript() { plat::FileDialog::SetHook({}); }
  FileDialogScript(const FileDialogScript&) = delete;
  FileDialogScript& operator=(const FileDialogScript&) = delete;

  void Answer(const std::string& path) { answers_.push_back(QString::fromStdString(path)); }
  const std::vector<Request>& Requests() const { return requests_; }
  int Pending() const { return static_cast<int>(answers_.size()); }

 private:
  std::deque<QString> answers_;
  std::vector<Request> requests_;
};

// Every field the file holds, as text, in the file's order.
inline std::vector<std::string> SavedFields(const ElementRecord& e) {
  std::vector<std::string> f;
  auto i = [&f](int v) { f.push_back(std::to_string(v)); };
  i(e.kind), i(e.number), i(e.width), i(e.height);
  i(e.box.left), i(e.box.top), i(e.box.right), i(e.box.bottom);
  for (int s = 0; s < kPortSides; ++s) i(e.portBond[s]), i(e.portInUse[s]), i(e.portPartner[s]), i(e.portIsHead[s]);
  i(e.numbered);
  for (const std::string& t : {TextOf(e.parameterNames), TextOf(e.parameterValues), TextOf(e.parameterUnits),
                               TextOf(e.parameterComments)})
    f.push_back(t);
  for (const auto& t : e.extraTexts) f.push_back(TextOf(t));
  f.push_back(TextOf(e.extraText2430));
  f.push_back(TextOf(e.extraText2440));
  f.push_back(TextOf(e.equation));
  for (int c : e.checkBoxes) i(c);
  i(e.usedCount), i(e.feedbackCount);
  for (int k = 0; k < e.usedCount && k < kMaxUsedVariables; ++k)
    f.insert(f.end(), {TextOf(e.used[k].type), TextOf(e.used[k].name), TextOf(e.used[k].comment)});
  for (int k = 0; k < e.feedbackCount && k < kMaxFeedbackVariables; ++k)
    f.insert(f.end(), {TextOf(e.feedback[k].name), TextOf(e.feedback[k].kind), TextOf(e.feedback[k].bond)});
  return f;
}

inline std::vector<std::string> SavedFields(const BondRecord& b) {
  std::vector<std::string> f;
  auto i = [&f](int v) { f.push_back(std::to_string(v)); };
  i(b.headElement), i(b.tailElement), i(b.headSide), i(b.tailSide);
  for (const Point& p : b.hitPolygon) i(p.x), i(p.y);
  for (int r : b.reserved) i(r);
  i(b.strokeAtHead), i(b.hasInitialValue);
  f.push_back(TextOf(b.initialValue));
  f.push_back(TextOf(b.initialName));
  return f;
}

inline void ExpectSameRecords(const DiagramContent& a, const DiagramContent& b) {
  EXPECT_TRUE(std::equal(std::begin(a.kindCounters), std::end(a.kindCounters), std::begin(b.kindCounters)));
  ASSERT_EQ(a.elements.size(), b.elements.size());
  for (std::size_t n = 0; n < a.elements.size(); ++n)
    EXPECT_EQ(SavedFields(a.elements[n]), SavedFields(b.elements[n])) << "element " << n;
  ASSERT_EQ(a.bonds.size(), b.bonds.size());
  for (std::size_t n = 0; n < a.bonds.size(); ++n)
    EXPECT_EQ(SavedFields(a.bonds[n]), SavedFields(b.bonds[n])) << "bond " << n;
  EXPECT_EQ(TextOf(a.numeric.startTime), TextOf(b.numeric.startTime));
  EXPECT_EQ(TextOf(a.numeric.endTime), TextOf(b.numeric.endTime));
  EXPECT_EQ(TextOf(a.numeric.timeStep), TextOf(b.numeric.timeStep));
  EXPECT_EQ(TextOf(a.numeric.outputPoints), TextOf(b.numeric.outputPoints));
  ASSERT_EQ(a.outputs.size(), b.outputs.size());
  for (std::size_t n = 0; n < a.outputs.size(); ++n) {
    EXPECT_EQ(TextOf(a.outputs[n].kindName), TextOf(b.outputs[n].kindName)) << "output " << n;
    EXPECT_EQ(TextOf(a.outputs[n].bondText), TextOf(b.outputs[n].bondText)) << "output " << n;
  }
}
