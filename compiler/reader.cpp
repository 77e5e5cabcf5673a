// The BOND section: first pass, sizing, second pass with listing and sysvar.txt.
#include "model.h"
#include "text.h"

namespace cvork2 {
void prescan_bond_section() {}
void allocate_model_arrays() {}
void read_bond_section() {}
}  // namespace cvork2
