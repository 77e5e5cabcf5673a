// Bond creation with the bond tool: the two clicks and what each refuses, the
// rubber band, the choice of the port sides, the automatic causal stroke, the
// causal-stroke dialog STROKE_SELECT_DIALOG, snapping of a not yet bonded
// element beside its partner, and the new bond's record.
#pragma once

class QWidget;
namespace plat {
class ClientView;
}

extern int g_bondTailElement;  // the tail element at the second click
extern int g_bondAccepted;     // 1 while a new bond is being made; the dialog's Cancel clears it

// A left press with the bond tool (client point): the first or the second click.
void OnBondToolClick(plat::ClientView* window, int x, int y);
// A pointer move while a bond is being drawn: the dotted band to the pointer.
void TrackBondRubberBand(plat::ClientView* window, int x, int y);
// STROKE_SELECT_DIALOG for bond g_strokeBond (picture: strokeHeadElement and
// strokeTailElement); the end code (1 OK, 2 Cancel).
int RunStrokeSelectDialog(QWidget* owner);
