#include "bond_creation.h"

#include "canvas_drawing.h"
#include "document.h"
#include "platform/client_view.h"
#include "resources/bond_templates.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

int g_bondTailElement = 0;
int g_bondAccepted = 0;

namespace {

void ResetBondCreation() {
  g_bondTailElement = 0;
  g_bondAccepted = 0;
}
const EditorResetHook kResetHook(&ResetBondCreation);

// The angles of the side choice use this value of pi, not the precise one.
constexpr double kPi = 3.1415926;

// The drawable area a snapped element is kept in.
constexpr int kSnapTop = 30;
constexpr int kSnapBottom = 1030;
constexpr int kSnapLeft = 0;
constexpr int kSnapRight = 1500;
// Horizontal gap between a snapped element and its anchor at a corner side.
constexpr int kSnapGap = 6;

// The rubber band: dotted, width 1, RGB(7, 0, 0).
const plat::Pen kBandPen = plat::Pen::Dot(1, plat::MakeRgb(7, 0, 0));

bool IsOnePortKind(int kind) { return kind >= kKindC && kind <= kKindSF; }

bool HasSideInUse(int element) {
  const ElementRecord& e = g_document.elements[element];
  return std::any_of(e.portInUse, e.portInUse + kPortSides, [](int used) { return used == 1; });
}

// The first element whose box holds the canvas point (left and top edges in,
// right and bottom edges out), or -1.
int ElementAt(int x, int y) {
  for (int i = 0; i < g_elementCount && i < kMaxElements; ++i) {
    const Rect& b = g_document.elements[i].box;
    if (x >= b.left && x < b.right && y >= b.top && y < b.bottom) return i;
  }
  return -1;
}

QWidget* OwnerOf(plat::ClientView* window) { return window ? window->window() : nullptr; }

// Copies a rectangle of the clean canvas into the drawing at the same place.
void RestoreFromClean(int left, int top, int width, int height) {
  if (g_drawDC && g_cleanDC) g_drawDC->CopyFrom(*g_cleanDC, left, top, width, height, left, top);
}

// Restores the rectangle with the start point and (x, y) as corners, both
// included: it holds every pixel of a band line between them.
void RestoreBandArea(int x, int y) {
  RestoreFromClean(std::min(g_startX, x), std::min(g_startY, y), std::abs(x - g_startX) + 1,
                   std::abs(y - g_startY) + 1);
}

// The second click, with `hit` the element under it (or -1).
void FinishBond(plat::ClientView* window, int x, int y, int hit) {
  if (hit < 0 || hit == g_currentIndex) {
    CancelBondDrawing(window);
    return;
  }
  g_bondTailElement = g_currentIndex;
  g_currentIndex = hit;
  const int tail = g_bondTailElement;
  const int head = g_currentIndex;
  if (IsAlreadyBonded() == 1 || IsOnePortBonded(head) == 1) {
    CancelBondDrawing(window);
    return;
  }
  EraseRubberBand(window);
  if (IsBondAllowed(tail, head) == 0) {
    g_bondDrawing = 0;
    return;
  }
  const int f = ChooseFreeSide(tail, head, GetSideFromDirection(x, y));
  // A full bond table refuses the bond like a full junction does.
  if (f == kPortSides || !InBondTable(g_bondCount)) {
    CancelBondDrawing(window);
    return;
  }
  const int g = OppositeSide(f);
  const int k = g_bondCount;

  g_bondAccepted = 1;
  if (PresetCausality() == 0) {
    g_strokeBond = k;
    g_document.strokeHeadElement = head;
    g_document.strokeTailElement = tail;
    if (RunStrokeSelectDialog(OwnerOf(window)) != 1) g_bondAccepted = 0;
  }
  if (g_bondAccepted == 0) {
    g_bondDrawing = 0;
    return;
  }

  const int l = PickUnbondedElement(head, tail);
  if (l != -1) {
    const int anchor = l == head ? tail : head;
    const int anchorSide = l == head ? f : g;
    if (g_drawDC) RepaintAllButElement(*g_drawDC, l);
    g_document.selectionIsElement = 1;
    SnapElementBeside(anchor, l, anchorSide);
    g_document.occupiedRegion.Unite(plat::Region::FromRect(g_document.elements[l].box));
  }

  // The picture first, from the ports as they were; then the records.
  if (g_drawDC) DrawBond(f, g, tail, head, *g_drawDC, k);
  RedrawCurrentElementBonds(window);
  InvalidateCanvas(window);
  RebuildCurrentElementBondRegions();

  ConnectBondPorts(f, g);
  g_bondDrawing = 0;
}

}  // namespace

// ---- the two clicks and the rubber band ------------------------------------------------

void OnBondToolClick(plat::ClientView* window, int x, int y) {
  const int cx = x + g_scrollX * g_scrollUnit;
  const int cy = y + g_scrollY * g_scrollUnit;
  const int hit = ElementAt(cx, cy);
  if (g_bondDrawing != 0) {
    FinishBond(window, x, y, hit);
    return;
  }
  if (hit < 0) return;
  g_currentIndex = hit;
  g_bondDrawing = 1;
  CopyDrawingToClean();
  g_startX = cx;
  g_startY = cy;
  if (g_drawDC) g_drawDC->MoveTo(cx, cy);
  // A one-port element that has its bond cannot start another.
  if (IsOnePortBonded(hit) == 1) CancelBondDrawing(window);
}

void TrackBondRubberBand(plat::ClientView* window, int x, int y) {
  if (!g_drawDC || !g_cleanDC) return;
  const int px = x + g_scrollX * g_scrollUnit;
  const int py = y + g_scrollY * g_scrollUnit;
  // The previous band ends at the drawing's current position: both bands'
  // areas come back from the clean canvas before the new band is drawn.
  const plat::Point previous = g_drawDC->CurrentPosition();
  RestoreBandArea(previous.x, previous.y);
  RestoreBandArea(px, py);
  g_drawDC->Line(g_startX, g_startY, px, py, kBandPen);
  if (window) window->Invalidate(0, kToolbarBand, g_canvasWidth, g_canvasHeight);
}

void EraseRubberBand(plat::ClientView* window) {
  if (!ElementInUse(g_bondTailElement) || !ElementInUse(g_currentIndex)) return;
  const Rect& t = g_document.elements[g_bondTailElement].box;
  const Rect& h = g_document.elements[g_currentIndex].box;
  const Rect& upper = t.top < h.top ? t : h;
  const Rect& lower = t.top < h.top ? h : t;
  const int left = std::min(t.left, h.left) - 5;
  const int right = std::max(t.right, h.right) + 5;
  const int top = upper.top - 5;
  const int height = std::abs(upper.top - lower.bottom) + 10;
  RestoreFromClean(left, top, right - left, height);
  if (window) window->Invalidate(left, top, right, top + height);
}

// ---- tests on the two elements ----------------------------------------------------------

int IsOnePortBonded(int element) {
  if (!ElementInUse(element)) return 0;
  return IsOnePortKind(g_document.elements[element].kind) && HasSideInUse(element) ? 1 : 0;
}

int IsAlreadyBonded() {
  if (!ElementInUse(g_currentIndex)) return 0;
  const ElementRecord& e = g_document.elements[g_currentIndex];
  for (int s = 0; s < kPortSides; ++s)
    if (e.portInUse[s] == 1 && e.portPartner[s] == g_bondTailElement) return 1;
  return 0;
}

int IsBondAllowed(int tail, int head) {
  if (!ElementInUse(tail) || !ElementInUse(head)) return 0;
  return g_document.elements[tail].numbered == 0 || g_document.elements[head].numbered == 0 ? 1 : 0;
}

int PickUnbondedElement(int head, int tail) {
  if (ElementInUse(head) && !HasSideInUse(head)) return head;
  if (ElementInUse(tail) && !HasSideInUse(tail)) return tail;
  return -1;
}

// ---- the port sides ---------------------------------------------------------------------

int GetSideFromDirection(int x, int y) {
  const int dx = x + g_scrollX * g_scrollUnit - g_startX;
  const int dy = y + g_scrollY * g_scrollUnit - g_startY;
  const double theta = std::atan2(static_cast<double>(dy), static_cast<double>(dx));
  const double limit = kPi * 7 / 8;
  if (theta < -limit || theta > limit) return 0;
  double t = theta + limit;
  int side = 0;
  while (t > 0) {
    side += 1;
    t -= kPi / 4;
  }
  return side;
}

int ChooseFreeSide(int tail, int head, int preferred) {
  if (!ElementInUse(tail) || !ElementInUse(head)) return kPortSides;
  const ElementRecord& t = g_document.elements[tail];
  const ElementRecord& h = g_document.elements[head];
  // One direction for the whole search, from the boxes' relative position;
  // every tie of the tops or of the lefts counts upwards.
  int step = 1;
  if (h.box.top < t.box.top && h.box.left > t.box.left) {
    step = -1;
  } else if (h.box.top < t.box.top && h.box.left < t.box.left) {
    step = 1;
  } else if (h.box.top > t.box.top && h.box.left < t.box.left) {
    step = -1;
  }
  for (int k = 0; k < kPortSides; ++k) {
    int d = preferred + step * k;
    if (d > 7) d -= 8;
    if (d < 0) d += 8;
    if (d < 0 || d > 7) continue;  // a preferred side out of range finds nothing there
    if (t.portInUse[d] == 0 && h.portInUse[OppositeSide(d)] == 0) return d;
  }
  return kPortSides;
}

// ---- the causal stroke ------------------------------------------------------------------

int PresetCausality() {
  if (!ElementInUse(g_currentIndex) || !ElementInUse(g_bondTailElement)) return 0;
  if (!InBondTable(g_bondCount)) return 0;
  const int head = g_document.elements[g_currentIndex].kind;
  const int tail = g_document.elements[g_bondTailElement].kind;
  int& strokeAtHead = g_document.bonds[g_bondCount].strokeAtHead;
  if (head == kKindC || head == kKindSE || tail == kKindI || tail == kKindSF) {
    strokeAtHead = 0;
    return 1;
  }
  if (head == kKindI || head == kKindSF || tail == kKindC || tail == kKindSE) {
    strokeAtHead = 1;
    return 1;
  }
  return 0;
}

// ---- snapping ---------------------------------------------------------------------------

void SnapElementBeside(int anchor, int moved, int anchorSide) {
  if (!ElementInUse(anchor) || !ElementInUse(moved)) return;
  const ElementRecord& a = g_document.elements[anchor];
  ElementRecord& m = g_document.elements[moved];
  Rect& box = m.box;
  switch (anchorSide) {
    case 0:
    case 4:
      box.top = a.box.top;
      box.bottom = a.box.bottom;
      break;
    case 2:
    case 6:
      box.left = a.box.left + a.width / 2 - m.width / 2;
      box.right = box.left + m.width;
      break;
    case 1:
      box.right = a.box.left - (a.box.top - box.bottom) - kSnapGap;
      box.left = box.right - m.width;
      break;
    case 7:
      box.right = a.box.left - (box.top - a.box.bottom) - kSnapGap;
      box.left = box.right - m.width;
      break;
    case 5:
      box.left = a.box.right + kSnapGap + (box.top - a.box.bottom);
      box.right = box.left + m.width;
      break;
    case 3:
      box.left = a.box.right + kSnapGap + (a.box.top - box.bottom);
      box.right = box.left + m.width;
      break;
    default:
      break;
  }
  if (box.top < kSnapTop) {
    box.top = kSnapTop;
    box.bottom = m.height + kSnapTop;
  }
  if (box.bottom > kSnapBottom) {
    box.bottom = kSnapBottom;
    box.top = kSnapBottom - m.height;
  }
  if (box.left < kSnapLeft) {
    box.left = kSnapLeft;
    box.right = m.width;
  }
  if (box.right > kSnapRight) {
    box.right = kSnapRight;
    box.left = kSnapRight - m.width;
  }
  DrawLabelAt(box.left, box.top, moved);
}

// ---- the new bond's record and ports ------------------------------------------------------

void ConnectBondPorts(int tailSide, int headSide) { AppendBond(g_bondTailElement, tailSide, g_currentIndex, headSide); }

// ---- STROKE_SELECT_DIALOG ---------------------------------------------------------------

CausalityDialog::CausalityDialog() : plat::Dialog(dlgres::StrokeSelectTemplate()) {}

void CausalityDialog::OnInit() { InitCausalityDialog(); }

void CausalityDialog::OnCommand(int id) {
  if (id == plat::IDOK) {
    StoreCausalStroke();
    End(plat::IDOK);
  } else if (id == plat::IDCANCEL) {
    g_bondAccepted = 0;
    End(plat::IDCANCEL);
  }
}

void CausalityDialog::OnPaint(QPainter& painter) { PaintCausalityChoices(painter); }

void CausalityDialog::InitCausalityDialog() {
  // A new bond (the slot beyond the last one) starts with the stroke at the
  // tail end, whatever an earlier bond left in that slot.
  const int k = g_strokeBond;
  const bool existing = BondInUse(k);
  const bool atHead = existing && g_document.bonds[k].strokeAtHead != 0;
  Check(atHead ? dlgres::kStrokeAtHeadRadio : dlgres::kStrokeAtTailRadio, true);
}

void CausalityDialog::StoreCausalStroke() {
  if (!InBondTable(g_strokeBond)) return;
  g_document.bonds[g_strokeBond].strokeAtHead = IsChecked(dlgres::kStrokeAtTailRadio) ? 0 : 1;
}

void CausalityDialog::PaintCausalityChoices(QPainter& painter) {
  DrawCausalityChoices(painter, g_document.strokeHeadElement, g_document.strokeTailElement);
}

void DrawCausalityChoices(QPainter& painter, int head, int tail) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setRenderHint(QPainter::TextAntialiasing, false);
  const plat::Font& font = CreateLabelFont(nullptr, "Times New Roman", g_fontHeight);
  const QPen pen(QColor(7, 0, 0), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  const QColor arrow(4, 0, 0);
  const int w = ElementInUse(tail) ? g_document.elements[tail].width : 0;
  const std::string tailLabel = ElementInUse(tail) ? ElementLabel(tail) : std::string();
  const std::string headLabel = ElementInUse(head) ? ElementLabel(head) : std::string();

  const int bars[2] = {20, 80};
  for (int y : bars) painter.fillRect(QRect(45, y, 220, 50), Qt::white);
  for (int y : bars) {
    plat::PaintText(painter, 50, y + 10, tailLabel, font);
    painter.setPen(pen);
    painter.drawLine(55 + w, y + 25, 185, y + 25);
    const plat::Region half = plat::Region::Polygon({{188, y + 25}, {173, y + 19}, {173, y + 25}});
    for (const QRect& r : half.qregion()) painter.fillRect(r, arrow);
    plat::PaintText(painter, 195, y + 10, headLabel, font);
  }
  // The stroke: at the tail end in the upper picture, at the head end in the lower.
  painter.setPen(pen);
  painter.drawLine(55 + w, 40, 55 + w, 50);
  painter.drawLine(185, 100, 185, 110);
  painter.restore();
}

int RunStrokeSelectDialog(QWidget* owner) { return plat::RunDialog<CausalityDialog>(owner); }
