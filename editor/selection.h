// The select tool: picking an element or a bond with its dotted mark, dragging
// an element with its bonds, deleting the selection with every renumbering,
// the red marks of stale feedback references, and the occupied region around
// a drag.
#pragma once

namespace plat {
class ClientView;
}

inline constexpr int HIT_ELEMENT = 2560;
inline constexpr int HIT_BOND = 2561;

extern int g_dragOffsetX;        // press point minus the dragged element's left
extern int g_dragOffsetY;        // press point minus its top
extern int g_lowestRemovedBond;  // lowest bond index removed since the last marking; 1000 at start

void OnSelectToolClick(plat::ClientView* window, int x, int y);
void DragElement(plat::ClientView* window, int x, int y);
void AddCurrentElementToRegion();
void DeleteSelection(plat::ClientView* window, int index);
void MarkStaleFeedbackRefs();
// HIT_ELEMENT, HIT_BOND or 0.
int ClassifySelection();
void ClearSelection(plat::ClientView* window);
