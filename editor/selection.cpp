#include "selection.h"

#include "canvas_drawing.h"
#include "platform/client_view.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

int g_dragOffsetX = 0;
int g_dragOffsetY = 0;
int g_lowestRemovedBond = kNoBondRemovedAtStart;

namespace {

// The box of the dragged element when its press began the drag.
Rect g_dragStartBox;

void ResetSelection() {
  g_dragOffsetX = 0;
  g_dragOffsetY = 0;
  g_lowestRemovedBond = kNoBondRemovedAtStart;
  g_dragStartBox = Rect();
}
const EditorResetHook kResetHook(&ResetSelection);

// Dotted outline of the selection marks and the drag previews.
plat::Pen MarkPen() { return plat::Pen::Dot(1, kBondColor); }

// The extra margin of a drag step's restore rectangle: the port points lie up
// to 5 px outside the boxes and the selection mark 5 px, so the margin clears
// the previous step's previews and mark with room to spare.
constexpr int kDragRestoreMargin = 30;

int CanvasX(int clientX) { return clientX + g_scrollX * g_scrollUnit; }
int CanvasY(int clientY) { return clientY + g_scrollY * g_scrollUnit; }

void Widen(Rect& r, const Rect& box) {
  r.left = std::min(r.left, box.left);
  r.top = std::min(r.top, box.top);
  r.right = std::max(r.right, box.right);
  r.bottom = std::max(r.bottom, box.bottom);
}

void CopyRect(plat::Canvas& to, const plat::Canvas& from, const Rect& r) {
  to.CopyFrom(from, r.left, r.top, r.right - r.left, r.bottom - r.top, r.left, r.top);
}

void Invalidate(plat::ClientView* window, const Rect& r) {
  if (window) window->Invalidate(r.left, r.top, r.right, r.bottom);
}

void SetSelection(int isElement, int index) {
  g_document.selectionActive = 1;
  g_document.selectionIsElement = isElement;
  g_document.selectedIndex = index;
}

// Every deletion leaves the output list empty, its texts zeroed.
void EmptyOutputList() {
  DiagramDocument& d = g_document;
  const int count = std::clamp(d.outputCount, 0, kMaxOutputVariables);
  for (int i = 0; i < count; ++i) {
    ZeroBytes(d.outputs[i].kindName, sizeof d.outputs[i].kindName);
    ZeroBytes(d.outputs[i].bondText, sizeof d.outputs[i].bondText);
  }
  d.outputCount = 0;
}

// Element x out of its region and the tables with every bond it carries; the
// lowest of those bonds' indices counts for the red marks.
void DeleteElement(int x) {
  RemoveFromOccupiedRegion(x);
  g_document.selectionIsElement = 0;
  const int lowest = RemoveElement(x);
  if (lowest >= 0) g_lowestRemovedBond = std::min(g_lowestRemovedBond, lowest);
  EmptyOutputList();
}

}  // namespace

// ---- selecting ------------------------------------------------------------------

void OnSelectToolClick(plat::ClientView* window, int x, int y) {
  ClearSelection(window);
  RedrawCurrentElementBonds(window);
  InvalidateCanvas(window);
  // A further press while the button still holds an element only redraws.
  if (g_elementDragging == 1) return;

  // Elements before bonds, the lowest index first.
  for (int i = 0; i < g_elementCount; ++i) {
    if (HitTestElement(i, x, y) != 1) continue;
    g_elementDragging = 1;
    g_currentIndex = i;
    BeginDrag(i, x, y);
    SelectElement(window, i);
    if (g_cleanDC) RepaintAllButElement(*g_cleanDC, i);
    return;
  }
  for (int k = 0; k < g_bondCount; ++k) {
    if (HitTestBond(k, x, y) != 1) continue;
    g_currentIndex = k;
    SelectBond(window, k);
    if (g_cleanDC) RepaintAllButBond(*g_cleanDC, k);
    return;
  }
}

int HitTestElement(int element, int x, int y) {
  if (!InElementTable(element)) return 0;
  const Rect& box = g_document.elements[element].box;
  const int cx = CanvasX(x);
  const int cy = CanvasY(y);
  return box.left <= cx && cx < box.right && box.top <= cy && cy < box.bottom ? 1 : 0;
}

int HitTestBond(int bond, int x, int y) {
  if (!InBondTable(bond)) return 0;
  return g_document.bonds[bond].hitRegion.Contains(CanvasX(x), CanvasY(y)) ? 1 : 0;
}

void SelectElement(plat::ClientView* window, int element) {
  if (!InElementTable(element)) return;
  DiagramDocument& d = g_document;
  SetSelection(1, element);
  const Rect& box = d.elements[element].box;
  d.selectionRect = Rect{box.left - 5, box.top - 2, box.right + 5, box.bottom + 2};
  const Rect& r = d.selectionRect;
  if (g_drawDC) g_drawDC->Rectangle(r.left, r.top, r.right, r.bottom, MarkPen(), plat::Brush::Null());
  Invalidate(window, r);
}

void SelectBond(plat::ClientView* window, int bond) {
  if (!InBondTable(bond)) return;
  DiagramDocument& d = g_document;
  SetSelection(0, bond);
  const BondRecord& b = d.bonds[bond];
  Rect r{};
  if (ElementInUse(b.tailElement) && ElementInUse(b.headElement)) {
    r = d.elements[b.tailElement].box;
    Widen(r, d.elements[b.headElement].box);
  }
  if (g_drawDC && g_cleanDC) {
    CopyRect(*g_cleanDC, *g_drawDC, r);
    g_drawDC->Polygon(std::vector<plat::Point>(b.hitPolygon, b.hitPolygon + 4), MarkPen(), plat::Brush::Null());
  }
  d.selectionRect = r;
  Invalidate(window, r);
}

void ClearSelection(plat::ClientView* window) {
  DiagramDocument& d = g_document;
  if (d.selectionActive != 1) return;
  d.selectionActive = 0;
  RestoreDrawingFromClean();
  if (g_drawDC) {
    if (d.selectionIsElement == 1) {
      if (ElementInUse(g_currentIndex)) {
        const Rect& box = d.elements[g_currentIndex].box;
        DrawLabelAt(box.left, box.top, g_currentIndex);
      }
    } else if (BondInUse(g_currentIndex)) {
      const BondRecord& b = d.bonds[g_currentIndex];
      DrawBond(b.tailSide, b.headSide, b.tailElement, b.headElement, *g_drawDC, g_currentIndex);
    }
  }
  InvalidateCanvas(window);
}

int ClassifySelection() {
  const DiagramDocument& d = g_document;
  if (d.selectionActive != 1) return 0;
  if (d.selectionIsElement != 1) return HIT_BOND;
  if (ElementInUse(g_currentIndex) && d.elements[g_currentIndex].kind < g_numberedKinds) return HIT_ELEMENT;
  return 0;
}

// ---- dragging ---------------------------------------------------------------------

void BeginDrag(int element, int x, int y) {
  if (!InElementTable(element)) return;
  const Rect& box = g_document.elements[element].box;
  g_startX = CanvasX(x);
  g_startY = CanvasY(y);
  g_dragOffsetX = g_startX - box.left;
  g_dragOffsetY = g_startY - box.top;
  g_dragStartBox = box;
}

void DragElement(plat::ClientView* window, int x, int y) {
  if (!ElementInUse(g_currentIndex)) return;
  // A moved element is no longer selected: its mark goes with the restored area.
  g_document.selectionActive = 0;
  const Rect r = ComputeDragInvalidRect();
  if (g_drawDC && g_cleanDC) CopyRect(*g_drawDC, *g_cleanDC, r);
  g_startX = CanvasX(x);
  g_startY = CanvasY(y);
  DrawLabelAt(g_startX - g_dragOffsetX, g_startY - g_dragOffsetY, g_currentIndex);
  MoveCurrentElementToDrag();
  DrawDragBondPreview(window);
  // The window shows the restored area and the element with its previews at
  // the new point, which a fast pointer carries beyond the restored area.
  const int sx = g_scrollX * g_scrollUnit;
  const int sy = g_scrollY * g_scrollUnit;
  for (const Rect& c : {r, ComputeDragInvalidRect()})
    Invalidate(window, Rect{c.left - sx, c.top - sy, c.right - sx, c.bottom - sy});
}

Rect ComputeDragInvalidRect() {
  Rect r{g_startX - 50, g_startY - 30, g_startX + 50, g_startY + 30};
  if (!ElementInUse(g_currentIndex)) return r;
  const ElementRecord& e = g_document.elements[g_currentIndex];
  for (int s = 0; s < kPortSides; ++s) {
    if (e.portInUse[s] == 1 && ElementInUse(e.portPartner[s])) Widen(r, g_document.elements[e.portPartner[s]].box);
  }
  const int left = g_startX - g_dragOffsetX;
  const int top = g_startY - g_dragOffsetY;
  Widen(r, Rect{left, top, left + e.width, top + e.height});
  return Rect{r.left - kDragRestoreMargin, r.top - kDragRestoreMargin, r.right + kDragRestoreMargin,
              r.bottom + kDragRestoreMargin};
}

void MoveCurrentElementToDrag() {
  if (!ElementInUse(g_currentIndex)) return;
  ElementRecord& e = g_document.elements[g_currentIndex];
  e.box.left = g_startX - g_dragOffsetX;
  e.box.right = e.box.left + e.width;
  e.box.top = g_startY - g_dragOffsetY;
  e.box.bottom = e.box.top + e.height;
}

void DrawDragBondPreview(plat::ClientView* /*window*/) {
  if (!g_drawDC || !ElementInUse(g_currentIndex)) return;
  const int i = g_currentIndex;
  const ElementRecord& e = g_document.elements[i];
  for (int s = 0; s < kPortSides; ++s) {
    if (e.portInUse[s] != 1 || !BondInUse(e.portBond[s])) continue;
    const BondRecord& b = g_document.bonds[e.portBond[s]];
    const int partnerSide = e.portIsHead[s] == 1 ? b.tailSide : b.headSide;
    const int p = e.portPartner[s];
    g_drawDC->Line(GetPortX(s, i), GetPortY(s, i), GetPortX(partnerSide, p), GetPortY(partnerSide, p), MarkPen());
  }
}

int DragMovedCurrentElement() {
  if (!ElementInUse(g_currentIndex)) return 0;
  const Rect& box = g_document.elements[g_currentIndex].box;
  return box.left != g_dragStartBox.left || box.top != g_dragStartBox.top ? 1 : 0;
}

// ---- occupied region ---------------------------------------------------------------

void AddCurrentElementToRegion() {
  if (!ElementInUse(g_currentIndex)) return;
  g_document.occupiedRegion.Unite(plat::Region::FromRect(g_document.elements[g_currentIndex].box));
}

void RemoveFromOccupiedRegion(int element) {
  if (!InElementTable(element)) return;
  g_document.occupiedRegion.Subtract(plat::Region::FromRect(g_document.elements[element].box));
}

// ---- deleting -----------------------------------------------------------------------

void DeleteSelection(plat::ClientView* /*window*/, int index) {
  if (g_document.selectionActive != 1) return;
  RestoreDrawingFromClean();
  if (g_document.selectionIsElement == 1) {
    if (ElementInUse(index)) DeleteElement(index);
  } else if (BondInUse(index)) {
    // A bond deleted by itself renumbers the later bonds too: they count for the red marks.
    g_lowestRemovedBond = std::min(g_lowestRemovedBond, index);
    RemoveBond(index);
    EmptyOutputList();
  }
}

void MarkStaleFeedbackRefs() {
  for (int i = 0; i < g_elementCount; ++i) {
    ElementRecord& e = g_document.elements[i];
    // All twenty slots are read, whatever the count says.
    for (const FeedbackVariable& f : e.feedback) {
      if (std::atoi(TextOf(f.bond).c_str()) > g_lowestRemovedBond) e.staleMark = 1;
    }
  }
  DrawMarks(nullptr);
  CopyDrawingToClean();
  g_lowestRemovedBond = kNoBondRemovedSinceMarking;
}
