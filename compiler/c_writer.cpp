#include "phases.h"
namespace cvork2 {
void assemble_c_source() {}
}  // namespace cvork2
