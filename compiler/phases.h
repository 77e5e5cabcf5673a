// The phases the driver runs after the BOND section, in the driver's order.
#pragma once

namespace cvork2 {

void write_output_function();            // OUT: DOUT, LA lines, parameter-name table
void translate_component_definitions();  // DEFIN: one function per component
void write_state_functions();            // FUNC, FU, NS/IN/ND lines
void read_simulation_parameters();       // PARM: PT/NO lines
void read_initial_values();              // INIT: ST lines, END
void assemble_c_source();                // temp.c from proto2, globals and proto1

}  // namespace cvork2
