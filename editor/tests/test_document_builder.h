// Documents built directly in the records, as placement and bond creation leave
// them: elements with their boxes and numbers, bonds with both ends' side entries.
#pragma once

#include "document.h"
#include "platform/cp932.h"

#include <string>

namespace testdoc {

// A text in the source's UTF-8 as the document's CP932 bytes.
inline std::string J(const char* utf8) { return plat::cp932::FromUtf8(utf8); }

// Places an element of kind with number at (left, top); returns its index.
inline int AddElement(int kind, int number, int left = 100, int top = 100) {
  const int i = g_elementCount++;
  ElementRecord& e = g_document.elements[i];
  e = ElementRecord{};
  e.kind = kind;
  e.number = number;
  e.numbered = kind < g_numberedKinds ? 1 : 0;
  e.width = 40;
  e.height = g_fontHeight;
  e.box = Rect{left, top, left + e.width, top + e.height};
  for (int s = 0; s < kPortSides; ++s) e.portPartner[s] = -1;
  if (g_kindCounters[kind] < number) g_kindCounters[kind] = number;
  return i;
}

// A bond from tail (side tailSide) to head (the side opposite); returns its index.
inline int AddBond(int tail, int tailSide, int head, int strokeAtHead = 0, int headSide = -1) {
  if (headSide < 0) headSide = OppositeSide(tailSide);
  const int k = g_bondCount++;
  BondRecord& b = g_document.bonds[k];
  b = BondRecord{};
  b.tailElement = tail;
  b.headElement = head;
  b.tailSide = tailSide;
  b.headSide = headSide;
  b.strokeAtHead = strokeAtHead;
  StoreText(b.initialValue, "0.0000000E+00");
  ElementRecord& t = g_document.elements[tail];
  t.portInUse[tailSide] = 1;
  t.portBond[tailSide] = k;
  t.portPartner[tailSide] = head;
  t.portIsHead[tailSide] = 0;
  ElementRecord& h = g_document.elements[head];
  h.portInUse[headSide] = 1;
  h.portBond[headSide] = k;
  h.portPartner[headSide] = tail;
  h.portIsHead[headSide] = 1;
  return k;
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

}  // namespace testdoc
