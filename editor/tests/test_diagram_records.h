// Elements and bonds written straight into the document's records, as
// placement and bond creation leave them, for tests that need a diagram.
#pragma once

#include "canvas_drawing.h"
#include "document.h"

#include <algorithm>

namespace testdoc {

// An element in slot i with a 30-pixel high box at (left, top); the count grows to hold it.
inline void Element(int i, int kind, int number, int left, int top, int width) {
  ElementRecord& e = g_document.elements[i];
  e.kind = kind;
  e.number = number;
  e.width = width;
  e.height = 30;
  e.box = Rect{left, top, left + width, top + 30};
  e.numbered = kind < 7 ? 1 : 0;
  for (int s = 0; s < 8; ++s) {
    e.portInUse[s] = 0;
    e.portPartner[s] = -1;
    e.portBond[s] = 0;
    e.portIsHead[s] = 0;
  }
  g_elementCount = std::max(g_elementCount, i + 1);
}

// Bond k from side f of tail t to side g of head h: both ports, the stroke, the
// ends and the hit region; the count grows to hold it.
inline void Bond(int k, int t, int f, int h, int g, int strokeAtHead = 0) {
  ElementRecord& te = g_document.elements[t];
  te.portInUse[f] = 1;
  te.portBond[f] = k;
  te.portPartner[f] = h;
  te.portIsHead[f] = 0;
  ElementRecord& he = g_document.elements[h];
  he.portInUse[g] = 1;
  he.portBond[g] = k;
  he.portPartner[g] = t;
  he.portIsHead[g] = 1;
  g_document.bonds[k].strokeAtHead = strokeAtHead;
  SetBondEnds(f, g, k, t, h);
  g_bondCount = std::max(g_bondCount, k + 1);
}

}  // namespace testdoc
