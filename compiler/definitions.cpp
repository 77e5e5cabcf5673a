#include "phases.h"
namespace cvork2 {
void translate_component_definitions() {}
}  // namespace cvork2
