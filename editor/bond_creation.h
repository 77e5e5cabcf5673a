// Bond creation with the bond tool: the two clicks and what each refuses, the
// rubber band, the choice of the port sides, the automatic causal stroke, the
// causal-stroke dialog STROKE_SELECT_DIALOG, snapping of a not yet bonded
// element beside its partner, and the new bond's record.
#pragma once

#include "platform/dialog.h"

class QPainter;
class QWidget;
namespace plat {
class ClientView;
}

extern int g_bondTailElement;  // the tail element at the second click
extern int g_bondAccepted;     // 1 while a new bond is being made; the dialog's Cancel clears it

// A left press with the bond tool (client point): the first or the second click.
// Every refusal is silent.
void OnBondToolClick(plat::ClientView* window, int x, int y);
// A pointer move while a bond is being drawn: the dotted band from the start
// point to the pointer, the previous band restored from the clean canvas.
void TrackBondRubberBand(plat::ClientView* window, int x, int y);
// Restores the area spanning the tail and head boxes (5 pixels round) from the
// clean canvas and invalidates it.
void EraseRubberBand(plat::ClientView* window);

// 1 when the element is a one-port (C, I, R, SE, SF) with a side in use.
int IsOnePortBonded(int element);
// 1 when element g_currentIndex has a side in use whose partner is g_bondTailElement.
int IsAlreadyBonded();
// 1 when at least one of the two elements is a junction.
int IsBondAllowed(int tail, int head);
// The side (0 to 7) of the tail facing the client point, seen from the start point.
int GetSideFromDirection(int x, int y);
// The first side d, searched from `preferred` in the direction fixed by the
// boxes' relative position, with side d of the tail and the opposite side of
// the head both free; 8 when there is none.
int ChooseFreeSide(int tail, int head, int preferred);
// Sets strokeAtHead of bond slot g_bondCount from the kinds of the head
// (g_currentIndex) and the tail (g_bondTailElement); 0 when no rule applies.
int PresetCausality();
// The head when it has no side in use, else the tail when it has none, else -1.
int PickUnbondedElement(int head, int tail);
// Moves element `moved` beside `anchor` at the anchor's side, clamps it into
// the drawable area and draws its label there.
void SnapElementBeside(int anchor, int moved, int anchorSide);
// The new bond g_bondCount from side tailSide of the tail (g_bondTailElement)
// to side headSide of the head (g_currentIndex), made by AppendBond: the port
// entries of both sides, the ends and hit region, the slot's initial values and
// the count.
void ConnectBondPorts(int tailSide, int headSide);

// STROKE_SELECT_DIALOG for bond g_strokeBond (picture: strokeHeadElement and
// strokeTailElement); the end code (IDOK or IDCANCEL).
int RunStrokeSelectDialog(QWidget* owner);

// The causal-stroke dialog: radio kStrokeAtTailRadio puts the stroke at the tail
// end, kStrokeAtHeadRadio at the head end; OK stores the choice into bond
// g_strokeBond, Cancel clears g_bondAccepted.
class CausalityDialog : public plat::Dialog {
 public:
  CausalityDialog();

  // Selects the radio of bond g_strokeBond's stroke end; the tail end's for a
  // new bond (g_strokeBond beyond the last bond).
  void InitCausalityDialog();
  // Writes the chosen end into bond g_strokeBond.
  void StoreCausalStroke();
  // The two pictures of strokeTailElement and strokeHeadElement.
  void PaintCausalityChoices(QPainter& painter);

 protected:
  void OnInit() override;
  void OnCommand(int id) override;
  void OnPaint(QPainter& painter) override;
};

// The dialog's two pictures on any painter, in client pixels: white bars at
// (45, 20) and (45, 80), each with the tail's label, the bond and its half
// arrow, the head's label; the upper with the stroke at the tail end, the
// lower at the head end.
void DrawCausalityChoices(QPainter& painter, int head, int tail);
