#include "phases.h"
namespace cvork2 {
void read_simulation_parameters() {}
void read_initial_values() {}
}  // namespace cvork2
