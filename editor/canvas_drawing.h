// The two off-screen canvases (the drawing and its clean copy), the pictures
// of elements and bonds, port points, bond hit areas, red marks and the
// repaint routines. All geometry is in canvas pixels; halves and products are
// truncated toward zero.
#pragma once

#include "document.h"
#include "platform/canvas.h"

#include <string>

namespace plat {
class ClientView;
class WindowPaint;
}  // namespace plat

// ---- canvas globals -------------------------------------------------------------
extern int g_canvasWidth;   // 2000 once the canvases exist, 0 before
extern int g_canvasHeight;  // 1414 once the canvases exist, 0 before
extern Rect g_canvasRect;   // (0, 0, g_canvasWidth, g_canvasHeight), set by InitDocumentAndSettings
extern plat::Canvas* g_drawDC;   // the drawing canvas
extern plat::Canvas* g_cleanDC;  // the clean canvas

inline constexpr int kCanvasWidth = 2000;
inline constexpr int kCanvasHeight = 1414;
// Rows of the window covered by the toolbar band.
inline constexpr int kToolbarBand = 30;

// Bond line and causal stroke: solid, width 2, RGB(7, 0, 0); half arrow RGB(4, 0, 0);
// red marks: solid, width 1, RGB(255, 0, 0).
inline constexpr plat::Rgb kBondColor = plat::MakeRgb(7, 0, 0);
inline constexpr plat::Rgb kArrowColor = plat::MakeRgb(4, 0, 0);
inline constexpr plat::Rgb kMarkColor = plat::MakeRgb(255, 0, 0);

// ---- canvases and the window ------------------------------------------------------
// Makes both canvases, white (window creation).
void CreateCanvasBuffers(plat::ClientView* window);
// Releases both canvases (window destruction).
void DeleteCanvasBuffers();
// Copies the visible part of the drawing: from canvas point (g_scrollX,
// g_scrollY + 30), 2000 x 1384 pixels, to window point (0, 30).
void PaintMainWindow(plat::WindowPaint& paint);
// Invalidates (0, 0, 2000, 1414) of the window without erasing; nothing for a null window.
void InvalidateCanvas(plat::ClientView* window);

// ---- labels ---------------------------------------------------------------------------
// The label font of the given face and cell height (the context is not used).
const plat::Font& CreateLabelFont(plat::Canvas* context, const char* face, int height);
// "C3", "SE12" for the numbered kinds, "0" and "1" for the junctions; drawn whole
// however many digits the number has.
std::string ElementLabel(int element);
// The element's label with its top left corner at (x, y), into the drawing canvas.
void DrawLabelAt(int x, int y, int element);
// The label at the box's top left into the drawing, the box invalidated, the
// box added to the occupied region.
void DrawElement(plat::ClientView* window, int element);

// ---- bonds ----------------------------------------------------------------------------
int GetPortX(int side, int element);
int GetPortY(int side, int element);
// Number, line, half arrow and causal stroke of bond `bond` into context.
void DrawBond(int tailSide, int headSide, int tail, int head, plat::Canvas& context, int bond);
// Stores bond k's hit polygon and returns the region made from it (winding rule).
plat::Region MakeBondRegion(int bond, int tailSide, int headSide, int head, int tail);
// Hit polygon and region of bond k, then its ends and sides.
void SetBondEnds(int tailSide, int headSide, int bond, int tail, int head);
// Remakes the hit polygons and regions of every bond of g_currentIndex.
void RebuildCurrentElementBondRegions();

// ---- repaints -------------------------------------------------------------------------
// White drawing, every label, every bond (no invalidation, occupied region untouched).
void RedrawDiagram();
// Every bond of element g_currentIndex again into the drawing (nothing when
// g_currentIndex is not an element in use; bonds beyond the count skipped).
void RedrawCurrentElementBonds(plat::ClientView* window);
// White context, every label, every bond but k.
void RepaintAllButBond(plat::Canvas& context, int bond);
// Takes i's box out of the occupied region; white context; every label but
// i's; every bond from its tail except those whose tail is i or whose head is
// g_currentIndex.
void RepaintAllButElement(plat::Canvas& context, int element);
// Circles of radius 20 round every element with staleMark 1, into the drawing.
void DrawMarks(plat::ClientView* window);
// Ends a bond drawing: g_bondDrawing 0, the drawing restored from the clean
// canvas, the whole canvas invalidated.
void CancelBondDrawing(plat::ClientView* window);
// Whole-canvas copies between the drawing and the clean canvas; nothing while
// either canvas is missing.
void CopyDrawingToClean();
void RestoreDrawingFromClean();
