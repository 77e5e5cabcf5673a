#include "bond_creation.h"

#include "document.h"

int g_bondTailElement = 0;
int g_bondAccepted = 0;

namespace {
void ResetBondCreation() {
  g_bondTailElement = 0;
  g_bondAccepted = 0;
}
const EditorResetHook resetHook(&ResetBondCreation);
}  // namespace

void OnBondToolClick(plat::ClientView*, int, int) {}
void TrackBondRubberBand(plat::ClientView*, int, int) {}
int RunStrokeSelectDialog(QWidget*) { return 2; }
