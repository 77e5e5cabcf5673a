// The model checks before a run: junction strokes, equations present, every
// element connected, shared variable names.
#pragma once

#include <vector>

class QWidget;
namespace plat {
class ClientView;
}

// The junctions whose causal strokes are wrong, in index order: a 0-junction needs
// exactly one stroke at its end, a 1-junction all strokes but one.
std::vector<int> FindFaultyJunctions();
// Circles each faulty junction in red on the window (an overlay that follows the
// scroll position until the window's next update); no message. 1 when none is faulty.
int CheckJunctionStrokes(plat::ClientView* window);
// 1 when every element of kinds C to GY has a characteristic equation; else one
// message naming them all ("特性式エラー") and 0.
int CheckEquationsPresent(QWidget* owner);
// 1 when every element has a bond; else a message naming the first one without
// ("素子エラー") and 0.
int CheckAllConnected(QWidget* owner);
// Reports the first parameter name that two elements give different values, or
// "変数チェック終了" ("変数チェック").
void CheckSharedVariables(QWidget* owner);
