#include "phases.h"
namespace cvork2 {
void write_output_function() {}
void write_state_functions() {}
}  // namespace cvork2
