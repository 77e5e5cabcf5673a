#include "selection.h"

#include "document.h"

int g_dragOffsetX = 0;
int g_dragOffsetY = 0;
int g_lowestRemovedBond = 1000;

namespace {
void ResetSelection() {
  g_dragOffsetX = 0;
  g_dragOffsetY = 0;
  g_lowestRemovedBond = 1000;
}
const EditorResetHook resetHook(&ResetSelection);
}  // namespace

void OnSelectToolClick(plat::ClientView*, int, int) {}
void DragElement(plat::ClientView*, int, int) {}
void AddCurrentElementToRegion() {}
void DeleteSelection(plat::ClientView*, int) {}
void MarkStaleFeedbackRefs() {}
int ClassifySelection() { return 0; }
void ClearSelection(plat::ClientView*) {}
