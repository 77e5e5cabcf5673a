#include "canvas_drawing.h"

#include "platform/client_view.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <utility>

int g_canvasWidth = 0;
int g_canvasHeight = 0;
Rect g_canvasRect;
plat::Canvas* g_drawDC = nullptr;
plat::Canvas* g_cleanDC = nullptr;

namespace {

plat::Pen BondPen() { return plat::Pen::Solid(2, kBondColor); }

// The label font every routine uses.
const plat::Font& LabelFont() { return CreateLabelFont(nullptr, "Times New Roman", g_fontHeight); }

void DrawLabelInto(plat::Canvas& context, int x, int y, int element, const plat::Font& font) {
  context.TextOut(x, y, ElementLabel(element), font);
}

}  // namespace

// ---- canvases and the window ------------------------------------------------------

void CreateCanvasBuffers(plat::ClientView* /*window*/) {
  g_canvasWidth = kCanvasWidth;
  g_canvasHeight = kCanvasHeight;
  DeleteCanvasBuffers();
  g_drawDC = new plat::Canvas(g_canvasWidth, g_canvasHeight);
  g_cleanDC = new plat::Canvas(g_canvasWidth, g_canvasHeight);
}

void DeleteCanvasBuffers() {
  delete g_drawDC;
  delete g_cleanDC;
  g_drawDC = nullptr;
  g_cleanDC = nullptr;
}

void PaintMainWindow(plat::WindowPaint& paint) {
  if (!g_drawDC) return;
  paint.CopyFrom(*g_drawDC, g_scrollX * g_scrollUnit, g_scrollY * g_scrollUnit + kToolbarBand, g_canvasWidth,
                 g_canvasHeight - kToolbarBand, 0, kToolbarBand);
}

void InvalidateCanvas(plat::ClientView* window) {
  if (window) window->Invalidate(0, 0, kCanvasWidth, kCanvasHeight);
}

// ---- labels ---------------------------------------------------------------------------

const plat::Font& CreateLabelFont(plat::Canvas* /*context*/, const char* face, int height) {
  // Fonts are kept once made: the label routines ask for the same one all the time.
  static std::map<std::pair<std::string, int>, std::unique_ptr<plat::Font>> fonts;
  auto key = std::make_pair(std::string(face ? face : ""), height);
  auto it = fonts.find(key);
  if (it == fonts.end()) {
    it = fonts.emplace(key, std::make_unique<plat::Font>(QString::fromUtf8(key.first.c_str()), height)).first;
  }
  return *it->second;
}

std::string ElementLabel(int element) {
  if (!InElementTable(element)) return std::string();
  const ElementRecord& e = g_document.elements[element];
  if (e.kind < 0 || e.kind >= kKindCount) return std::string();
  char buf[32];
  if (e.kind < g_numberedKinds) {
    std::snprintf(buf, sizeof buf, "%s%d", kKindNames[e.kind], e.number);
  } else {
    std::snprintf(buf, sizeof buf, "%s", kKindNames[e.kind]);
  }
  return buf;
}

void DrawLabelAt(int x, int y, int element) {
  if (!g_drawDC) return;
  DrawLabelInto(*g_drawDC, x, y, element, LabelFont());
}

void DrawElement(plat::ClientView* window, int element) {
  if (!InElementTable(element)) return;
  const Rect& box = g_document.elements[element].box;
  DrawLabelAt(box.left, box.top, element);
  if (window) window->Invalidate(box.left, box.top, box.right, box.bottom);
  g_document.occupiedRegion.Unite(plat::Region::FromRect(box));
}

// ---- bonds ----------------------------------------------------------------------------

int GetPortX(int side, int element) {
  if (!InElementTable(element)) return 0;
  const ElementRecord& e = g_document.elements[element];
  switch (side) {
    case 0:
    case 1:
    case 7: return e.box.left - 5;
    case 2:
    case 6: return e.box.left + e.width / 2;
    case 3:
    case 4:
    case 5: return e.box.right + 5;
    default: return 0;
  }
}

int GetPortY(int side, int element) {
  if (!InElementTable(element)) return 0;
  const ElementRecord& e = g_document.elements[element];
  switch (side) {
    case 1:
    case 2:
    case 3: return e.box.top - 2;
    case 0:
    case 4: return e.box.top + e.height / 2;
    case 5:
    case 6:
    case 7: return e.box.bottom + 2;
    default: return 0;
  }
}

void DrawBond(int tailSide, int headSide, int tail, int head, plat::Canvas& context, int bond) {
  if (!InElementTable(tail) || !InElementTable(head) || !InBondTable(bond)) return;
  const int x1 = GetPortX(tailSide, tail);
  const int y1 = GetPortY(tailSide, tail);
  const int x2 = GetPortX(headSide, head);
  const int y2 = GetPortY(headSide, head);

  // The number beside the middle: above a bond that runs more across than
  // down, to the left of any other.
  int mx = (x1 + x2) / 2;
  int my = (y1 + y2) / 2;
  if (std::abs(x1 - x2) > std::abs(y1 - y2)) {
    my -= 25;
  } else {
    mx -= 25;
  }
  char number[16];
  std::snprintf(number, sizeof number, "%d", bond + 1);
  context.TextOut(mx, my, number, plat::Font::System());

  const plat::Pen pen = BondPen();
  context.Line(x1, y1, x2, y2, pen);

  const double theta = std::atan2(static_cast<double>(y2 - y1), static_cast<double>(x2 - x1));
  const double c = std::cos(theta);
  const double s = std::sin(theta);

  // Half arrow on the left of the bond seen from the tail.
  const std::vector<plat::Point> arrow = {
      {static_cast<int>(x2 + c), static_cast<int>(y2 + s)},
      {static_cast<int>(x2 - 12 * c + 6 * s), static_cast<int>(y2 - 12 * s - 6 * c)},
      {static_cast<int>(x2 - 12 * c), static_cast<int>(y2 - 12 * s)},
  };
  context.FillPolygon(arrow, kArrowColor);

  // Causal stroke across the bond at the end that carries it.
  const bool atHead = g_document.bonds[bond].strokeAtHead == 1;
  const int x = atHead ? x2 : x1;
  const int y = atHead ? y2 : y1;
  context.Line(static_cast<int>(x + 5 * s), static_cast<int>(y - 5 * c), static_cast<int>(x - 5 * s),
               static_cast<int>(y + 5 * c), pen);
}

plat::Region MakeBondRegion(int bond, int tailSide, int headSide, int head, int tail) {
  if (!InBondTable(bond) || !InElementTable(head) || !InElementTable(tail)) return plat::Region();
  const int tx = GetPortX(tailSide, tail);
  const int ty = GetPortY(tailSide, tail);
  const int hx = GetPortX(headSide, head);
  const int hy = GetPortY(headSide, head);
  const double theta = std::atan2(static_cast<double>(hy - ty), static_cast<double>(hx - tx));
  const double c = std::cos(theta);
  const double s = std::sin(theta);
  // Along the bond (u = (c, s)) and across it (n = (-s, c)).
  static const int xCorrection[4] = {4, 4, -4, -4};
  static const int yCorrection[4] = {8, -8, -8, 8};
  Point* poly = g_document.bonds[bond].hitPolygon;
  for (int i = 0; i < 4; ++i) {
    const int px = i < 2 ? hx : tx;
    const int py = i < 2 ? hy : ty;
    poly[i].x = static_cast<int>(px + xCorrection[i] * c - yCorrection[i] * s);
    poly[i].y = static_cast<int>(py + xCorrection[i] * s + yCorrection[i] * c);
  }
  return plat::Region::Polygon(poly, 4);
}

void SetBondEnds(int tailSide, int headSide, int bond, int tail, int head) {
  if (!InBondTable(bond)) return;
  BondRecord& b = g_document.bonds[bond];
  b.hitRegion = MakeBondRegion(bond, tailSide, headSide, head, tail);
  b.headElement = head;
  b.tailElement = tail;
  b.headSide = headSide;
  b.tailSide = tailSide;
}

void RebuildCurrentElementBondRegions() {
  if (!InElementTable(g_currentIndex)) return;
  const ElementRecord& e = g_document.elements[g_currentIndex];
  for (int s = 0; s < kPortSides; ++s) {
    if (e.portInUse[s] != 1) continue;
    const int k = e.portBond[s];
    if (!BondInUse(k)) continue;
    BondRecord& b = g_document.bonds[k];
    b.hitRegion = MakeBondRegion(k, b.tailSide, b.headSide, b.headElement, b.tailElement);
  }
}

// ---- repaints -------------------------------------------------------------------------

void RedrawDiagram() {
  if (!g_drawDC) return;
  plat::Canvas& d = *g_drawDC;
  d.FillWhite();
  const plat::Font& font = LabelFont();
  for (int i = 0; i < g_elementCount; ++i) {
    const Rect& box = g_document.elements[i].box;
    DrawLabelInto(d, box.left, box.top, i, font);
  }
  for (int k = 0; k < g_bondCount; ++k) {
    const BondRecord& b = g_document.bonds[k];
    DrawBond(b.tailSide, b.headSide, b.tailElement, b.headElement, d, k);
  }
}

void RedrawCurrentElementBonds(plat::ClientView* /*window*/) {
  if (!g_drawDC) return;
  const int e = g_currentIndex;
  if (!ElementInUse(e)) return;
  const ElementRecord& el = g_document.elements[e];
  for (int s = 0; s < kPortSides; ++s) {
    if (el.portInUse[s] != 1) continue;
    const int k = el.portBond[s];
    if (!BondInUse(k)) continue;
    const BondRecord& b = g_document.bonds[k];
    if (el.portIsHead[s] == 1) {
      DrawBond(b.tailSide, s, el.portPartner[s], e, *g_drawDC, k);
    } else {
      DrawBond(s, b.headSide, e, el.portPartner[s], *g_drawDC, k);
    }
  }
}

void RepaintAllButBond(plat::Canvas& context, int bond) {
  context.FillWhite();
  const plat::Font& font = LabelFont();
  for (int i = 0; i < g_elementCount; ++i) {
    const Rect& box = g_document.elements[i].box;
    DrawLabelInto(context, box.left, box.top, i, font);
  }
  for (int k = 0; k < g_bondCount; ++k) {
    if (k == bond) continue;
    const BondRecord& b = g_document.bonds[k];
    DrawBond(b.tailSide, b.headSide, b.tailElement, b.headElement, context, k);
  }
}

void RepaintAllButElement(plat::Canvas& context, int element) {
  if (InElementTable(element)) {
    g_document.occupiedRegion.Subtract(plat::Region::FromRect(g_document.elements[element].box));
  }
  context.FillWhite();
  for (int j = 0; j < g_elementCount; ++j) {
    if (j == element) continue;
    const ElementRecord& e = g_document.elements[j];
    DrawLabelInto(context, e.box.left, e.box.top, j, LabelFont());
    for (int s = 0; s < kPortSides; ++s) {
      if (e.portInUse[s] != 1 || e.portIsHead[s] != 0 || e.portPartner[s] == g_currentIndex) continue;
      const int k = e.portBond[s];
      if (!BondInUse(k)) continue;
      DrawBond(s, g_document.bonds[k].headSide, j, e.portPartner[s], context, k);
    }
  }
}

void DrawMarks(plat::ClientView* /*window*/) {
  if (!g_drawDC) return;
  const plat::Pen pen = plat::Pen::Solid(1, kMarkColor);
  const plat::Brush brush = plat::Brush::Null();
  for (int i = 0; i < g_elementCount; ++i) {
    const ElementRecord& e = g_document.elements[i];
    if (e.staleMark != 1) continue;
    const int cx = (e.box.left + e.box.right) / 2;
    const int cy = (e.box.top + e.box.bottom) / 2;
    g_drawDC->Ellipse(cx - 20, cy - 20, cx + 20, cy + 20, pen, brush);
  }
}

void CancelBondDrawing(plat::ClientView* window) {
  g_bondDrawing = 0;
  RestoreDrawingFromClean();
  InvalidateCanvas(window);
}

void CopyDrawingToClean() {
  if (g_drawDC && g_cleanDC) g_cleanDC->CopyFrom(*g_drawDC, 0, 0, g_canvasWidth, g_canvasHeight, 0, 0);
}

void RestoreDrawingFromClean() {
  if (g_drawDC && g_cleanDC) g_drawDC->CopyFrom(*g_cleanDC, 0, 0, g_canvasWidth, g_canvasHeight, 0, 0);
}
