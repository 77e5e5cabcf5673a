// The phases the driver runs after the BOND section, in the driver's order,
// and the routines they share.
#pragma once

#include <string>
#include <string_view>

namespace cvork2 {

void write_output_function();            // OUT: DOUT, LA lines, parameter-name table
void translate_component_definitions();  // DEFIN: one function per component
void write_state_functions();            // FUNC, FU, NS/IN/ND lines
void read_simulation_parameters();       // PARM: PT/NO lines
void read_initial_values();              // INIT: ST lines, END
void assemble_c_source();                // temp.c from proto2, globals and proto1

// ------------------------------------------------------------ outputs.cpp

// Result of resolve_output_variable():
//   effort/flow (EF, FL)   -> (variable, 0)
//   power (PW)             -> (effort variable, flow variable)
//   MN, DP, EN             -> (0, integral variable k from 1)
//   undefined label        -> (0, 0)
extern int IRES[2];

// Maps a kind code (2 characters) and a bond text to its variables in IRES,
// adding an integral variable on first use of an MN/DP/EN name. An unknown
// bond ends the run; an unknown kind prints UNDEFINED LABEL and leaves (0, 0).
void resolve_output_variable(std::string_view kind, std::string_view bond);

// prefix (trailing blanks dropped) + text (up to its first blank) + ";", less
// its first four characters, as a line of unit 10 (proto1) or 15 (temp.PAR);
// any other unit writes nothing.
void write_statement(int unit, std::string_view prefix, std::string_view text);

// The expression of variable v (its store line). When it has none: the
// " INPUT LINE NO." and NO EXPRESSION FOR FEEDBACK VARIABLE lines, status 1.
std::string variable_expression(int v);

// -------------------------------------------------------- definitions.cpp

// Set by find_symbol_token(): 1-based position of the right delimiter after
// the symbol, -1 when the symbol ends the text, 0 when nothing was found.
extern int IEND;

// The translated line: the output of substitute_symbol().
extern std::string LINE12;

// LINE12 := line with the whole-token occurrences of symbol replaced (first
// occurrence rule: a rejected occurrence ends the replacement for the line).
void substitute_symbol(std::string_view symbol, std::string_view replacement, std::string_view line);
// 1-based position of the first occurrence of symbol in text when it is a
// whole token, else 0; sets IEND.
int find_symbol_token(std::string_view text, std::string_view symbol);
// Position of the last non-blank character of text when it is one of
// = + - * / ( , ) > < e; -1 for an empty or blank text; 0 otherwise.
int is_left_delimiter(std::string_view text);
// Position of the first non-blank character of text when it is one of
// = + - * / ) , ( ; > <; -1 for an empty or blank text; 0 otherwise.
int is_right_delimiter(std::string_view text);
// Writes LINE12 without trailing blanks to unit 10 or 15; an empty result is
// the NULL LINE error.
void write_body_line(int unit);
// 1-based index of a 6-character retained-variable name, appended when new.
int intern_persistent_variable(std::string_view name);

// ----------------------------------------------------- parameter_file.cpp

// Parameter number of a 6-character name; a new name gets the next number and
// its PA line in temp.PAR (the first value of a name is the one kept).
int add_parameter(std::string_view name, double value, std::string_view comment);

// Largest sizes of the generated source's arrays.
constexpr int MAX_OUTPUT_VARIABLES = 100;    // OP[100]
constexpr int MAX_RETAINED_VARIABLES = 29;   // XX[1..29]
constexpr int MAX_PARAMETERS = 9999;         // PA[1..9999]

}  // namespace cvork2
