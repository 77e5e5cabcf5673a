// The SYMBOL phase: every effort and flow gets an expression.
#include "model.h"
#include "text.h"

namespace cvork2 {
void solve_variables() {}
}  // namespace cvork2
