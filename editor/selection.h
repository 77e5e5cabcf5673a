// The select tool: picking an element or a bond with its dotted mark, dragging
// an element with its bonds, deleting the selection with every renumbering,
// the red marks of stale feedback references, and the occupied region around
// a drag.
//
// Points named "client" are window points; the canvas point is the client
// point plus the scroll position.
#pragma once

#include "document.h"

namespace plat {
class ClientView;
}

inline constexpr int HIT_ELEMENT = 2560;
inline constexpr int HIT_BOND = 2561;

extern int g_dragOffsetX;        // press point minus the dragged element's left
extern int g_dragOffsetY;        // press point minus its top
extern int g_lowestRemovedBond;  // lowest bond index removed since the last marking
// g_lowestRemovedBond while no bond has been removed: at start, and after a marking.
inline constexpr int kNoBondRemovedAtStart = 1000;
inline constexpr int kNoBondRemovedSinceMarking = 10000;

// ---- selecting ------------------------------------------------------------------
// A left press with the select tool: ends any selection, then selects the
// first element hit (and starts its drag) or else the first bond hit.
void OnSelectToolClick(plat::ClientView* window, int x, int y);
// 1 when the element's box holds the canvas point of the client point.
int HitTestElement(int element, int x, int y);
// 1 when the bond's hit region holds the canvas point of the client point.
int HitTestBond(int bond, int x, int y);
// Element selection with its dotted rectangle, 5 px wider and 2 px taller on each side.
void SelectElement(plat::ClientView* window, int element);
// Bond selection with its hit polygon drawn dotted.
void SelectBond(plat::ClientView* window, int bond);
// Removes the mark and the selection: the drawing restored from the clean
// canvas, the selected item drawn again (a selected element without its bonds).
void ClearSelection(plat::ClientView* window);
// HIT_ELEMENT when an element of kind 0 to 6 is selected, HIT_BOND when a bond
// is selected, else 0.
int ClassifySelection();

// ---- dragging ---------------------------------------------------------------------
// The press on the element: the offsets of the press point from the box's top
// left; the press point becomes the last drag point.
void BeginDrag(int element, int x, int y);
// One pointer move of a drag (client point).
void DragElement(plat::ClientView* window, int x, int y);
// Canvas area restored from the clean canvas at a drag step: the previous
// drag point's surroundings, the partners and the element's previous box, with
// a margin that holds the ports, the bond previews and the selection mark.
Rect ComputeDragInvalidRect();
// Moves element g_currentIndex's box to the last drag point (no clamping).
void MoveCurrentElementToDrag();
// Dotted lines from the dragged element's ports to its partners' ports.
void DrawDragBondPreview(plat::ClientView* window);
// 1 when element g_currentIndex stands elsewhere than at the press that began its drag.
int DragMovedCurrentElement();

// ---- occupied region ---------------------------------------------------------------
void AddCurrentElementToRegion();
void RemoveFromOccupiedRegion(int element);

// ---- deleting -----------------------------------------------------------------------
// Deletes the selected element with all its bonds, or the selected bond, and
// renumbers every later index; the output list is emptied.
void DeleteSelection(plat::ClientView* window, int index);
// Marks and circles every element with a feedback bond number above
// g_lowestRemovedBond, copies the drawing into the clean canvas, and resets
// g_lowestRemovedBond to kNoBondRemovedSinceMarking.
void MarkStaleFeedbackRefs();
