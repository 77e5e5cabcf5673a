// Diagrams built through the document's table API, as placement and bond
// creation build them: elements with their boxes and numbers, bonds with both
// ends' side entries, the stroke and the hit region; the check of the tables;
// texts, outputs and numeric conditions; two whole diagrams.
#pragma once

#include "canvas_drawing.h"
#include "document.h"
#include "test_cp932_text.h"
#include "test_plat_values.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace testdoc {

// Element i (the next slot) of kind with number, its box width x height at
// (left, top): appended as placement appends it, with the kind's tool at the
// box's centre (the new record and the count), then given the number and the
// box as a diagram file may hold them; the kind's counter grows to hold the
// number. Returns i.
inline int Element(int i, int kind, int number, int left = 100, int top = 100, int width = 40,
                   int height = g_fontHeight) {
  EXPECT_EQ(i, g_elementCount) << "elements are appended";
  const int tool = g_currentTool;
  const int counter = g_kindCounters[kind];
  g_currentTool = ToolOfKind(kind);
  const int placed = AppendElementAt(left + width / 2 - g_scrollX * g_scrollUnit,
                                     top + height / 2 - g_scrollY * g_scrollUnit);
  g_currentTool = tool;
  EXPECT_GE(placed, 0) << "kind " << kind << " at " << left << "," << top;
  if (placed < 0) return placed;
  g_kindCounters[kind] = std::max(counter, number);
  ElementRecord& e = g_document.elements[placed];
  e.number = number;
  e.width = width;
  e.height = height;
  e.box = Rect{left, top, left + width, top + height};
  return placed;
}

// The next element; returns its index.
inline int AddElement(int kind, int number, int left = 100, int top = 100, int width = 40) {
  return Element(g_elementCount, kind, number, left, top, width);
}

// Bond k (the next slot) from side f of tail t to side g of head h, appended
// as bond creation appends it (both elements' sides, the ends and hit region,
// the initial value, the count), with the stroke. Returns k.
inline int Bond(int k, int t, int f, int h, int g, int strokeAtHead = 0) {
  EXPECT_EQ(k, g_bondCount) << "bonds are appended";
  const int made = AppendBond(t, f, h, g);
  EXPECT_GE(made, 0) << "bond from element " << t << " side " << f << " to element " << h << " side " << g;
  if (made >= 0) g_document.bonds[made].strokeAtHead = strokeAtHead;
  return made;
}

// The next bond, from tail (side tailSide) to head (the side opposite unless
// headSide is given); returns its index.
inline int AddBond(int tail, int tailSide, int head, int strokeAtHead = 0, int headSide = -1) {
  return Bond(g_bondCount, tail, tailSide, head, headSide < 0 ? OppositeSide(tailSide) : headSide, strokeAtHead);
}

// The centre of element i's box.
inline Point Centre(int i) {
  const Rect& b = g_document.elements[i].box;
  return Point{(b.left + b.right) / 2, (b.top + b.bottom) / 2};
}

inline void ExpectBox(int i, const Rect& want) {
  EXPECT_EQ(g_document.elements[i].box, want) << "element " << i;
}

// A left click with the placing tool of kind at canvas point (x, y) (no
// scrolling): the element is laid out, initialised, drawn and counted.
inline int PlaceForTest(int kind, int x, int y) {
  g_currentTool = ToolOfKind(kind);
  const int i = AppendElementAt(x, y);
  EXPECT_GE(i, 0) << "kind " << kind << " at " << x << "," << y;
  DrawElement(nullptr, i);
  return i;
}

// The tables keep what the records promise.
inline void ExpectTablesConsistent() {
  std::string why;
  EXPECT_TRUE(TablesConsistent(&why)) << why;
}

// One parameter (or several, CR LF separated) and the equation of element i.
inline void SetTexts(int i, const std::string& names, const std::string& values, const std::string& units,
                     const std::string& comments, const std::string& equation) {
  ElementRecord& e = g_document.elements[i];
  StoreText(e.parameterNames, names);
  StoreText(e.parameterValues, values);
  StoreText(e.parameterUnits, units);
  StoreText(e.parameterComments, comments);
  StoreText(e.equation, equation);
}

// A row of element e's variable table and of its feedback table.
inline void AddUsed(ElementRecord& e, const std::string& type, const std::string& name,
                    const std::string& comment = "") {
  UsedVariable& v = e.used[e.usedCount++];
  StoreText(v.type, type);
  StoreText(v.name, name);
  StoreText(v.comment, comment);
}
inline void AddFeedback(ElementRecord& e, const char* name, const char* kind, const char* bond) {
  FeedbackVariable& v = e.feedback[e.feedbackCount++];
  StoreText(v.name, name);
  StoreText(v.kind, kind);
  StoreText(v.bond, bond);
}

inline void AddOutput(const char* kind, const char* bond) {
  OutputVariable& v = g_document.outputs[g_document.outputCount++];
  StoreText(v.kindName, kind);
  StoreText(v.bondText, bond);
}

inline void SetNumeric(const char* start, const char* end, const char* step, const char* points) {
  NumericConditions& n = g_document.numeric;
  StoreText(n.startTime, start);
  StoreText(n.endTime, end);
  StoreText(n.timeStep, step);
  StoreText(n.outputPoints, points);
}

// The series RLC circuit: SE1 drives a 1-junction (bond 1) that feeds I1 (bond 2),
// C1 (bond 3) and R1 (bond 4); strokes for integral causality. Outputs
// the inductor's momentum and the capacitor's displacement.
inline void BuildSeriesRlc(const char* e = "1.0", const char* l = "1.0", const char* c = "0.25",
                           const char* r = "1.0") {
  const int se = AddElement(kKindSE, 1, 40, 200);
  const int j = AddElement(kKindOneJunction, 1, 200, 200);
  const int in = AddElement(kKindI, 1, 200, 60);
  const int ca = AddElement(kKindC, 1, 360, 200);
  const int re = AddElement(kKindR, 1, 200, 340);
  // Strokes at the junction but on the inertia's bond, which sets the common flow.
  AddBond(se, 4, j, 1);
  AddBond(j, 2, in, 1);
  AddBond(j, 4, ca, 0);
  AddBond(j, 6, re, 0);
  SetTexts(se, "Ev", e, "V", "step effort", "E=Ev;");
  SetTexts(in, "Lv", l, "H", "inductance", "L=Z/Lv;");
  SetTexts(ca, "Cv", c, "F", "capacitance", "C=Z/Cv;");
  SetTexts(re, "Rv", r, "Ohm", "resistance", "if(J==0) R=Rv*Z;\r\nelse R=Z/Rv;");
  AddOutput("Momentum", "2");
  AddOutput("Displacement", "3");
}

// SE1 - 1 - R1, 1 - C1, 1 - I1 placed by the placing tool, with Japanese texts,
// line breaks, blanks and digits in the strings, variable tables, an initial
// value, numeric conditions and outputs.
inline void BuildSampleDiagram() {
  const int se = PlaceForTest(kKindSE, 100, 200);
  const int one = PlaceForTest(kKindOneJunction, 300, 200);
  const int r = PlaceForTest(kKindR, 500, 200);
  const int c = PlaceForTest(kKindC, 300, 50);
  const int i = PlaceForTest(kKindI, 300, 350);
  AddBond(se, 4, one, 1);
  AddBond(one, 4, r, 1);
  AddBond(one, 2, c, 0);
  AddBond(one, 6, i, 1);

  ElementRecord& eSe = g_document.elements[se];
  StoreText(eSe.parameterNames, "E0\r\nomega");
  StoreText(eSe.parameterValues, "1.0\r\n 314 ");
  StoreText(eSe.parameterUnits, J("ボルト\r\nrad/s"));
  StoreText(eSe.parameterComments, J("電圧 振幅\r\n角周波数"));
  StoreText(eSe.equation, J("E = E0*sin(omega*T)  /* 電源 12 */\r\n"));
  ElementRecord& eR = g_document.elements[r];
  StoreText(eR.equation, "F = E/R1\r\n\r\n  10 20 30");
  AddUsed(eR, J("実数"), "x 1", J("位置 2"));
  AddUsed(eR, J("整数"), "n");
  AddFeedback(eR, "v4", "Flow", "4");
  eR.checkBoxes[3] = 1;
  StoreText(eR.extraTexts[5], J("予備 5"));
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
  for (const auto& o : outputs) AddOutput(o[0], o[1]);
}

}  // namespace testdoc
