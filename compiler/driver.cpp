// The run: work files, the phase selection by the keyword line, the end.
#include <ostream>

#include "compile.h"
#include "model.h"
#include "phases.h"
#include "text.h"

namespace cvork2 {

namespace {

void open_work_files() {
    NAFILE = "temp.VRK";
    say("** INPUT FILE NAME SUCH AS: B:TEST1.VRK **\n");
    int k = find_substring(NAFILE, ".VRK") - 1;
    if (!load_model_file(NAFILE))
        fail(format("** INPUT DATA FILE: %s **DOES NOT EXIST.CHECK FILE NAME! **\n", NAFILE.c_str()));
    if (!FSYSVAR.open("sysvar.txt")) fail("'CON' NOT OPEN\n");
    DYCP = NAFILE.substr(0, static_cast<size_t>(k + 1));
    if (!FPROTO1.open("proto1")) fail("FILE NOT OPEN\n");
    if (!FPAR.open(DYCP + ".PAR")) fail("FILE NOT OPEN\n");
    if (!FSCRATCH.open("SCRATCH")) fail("FILE NOT OPEN\n");
    if (!FPROTO2.open("proto2")) fail("FILE NOT OPEN\n");
}

// The model text is in memory; the reopen only moves the cursor back.
void reopen_model_file() { rewind_model_file(); }

// The first file that cannot be written out ends the run.
void close_work_files() {
    for (OutFile* f : work_files())
        if (!f->close()) fail_not_written(f->name());
}

void run_phases() {
    open_work_files();
    say("process1\n");
    read_model_line();  // the keyword line; the BOND section follows
    prescan_bond_section();
    allocate_model_arrays();
    reopen_model_file();
    const std::string line = read_model_line();
    NLINE = 1;
    int at_bond = find_substring(line, "BOND");
    say("process2\n");
    // Positions are not bounded by a line length, so their product is taken
    // in 64 bits.
    long long at_out = 0, at_defin = 0;
    if (at_bond >= 0) {
        read_bond_section();
        say("process3\n");
        int at_symbol = find_substring(line, "SYMBOL");
        if (at_symbol >= 0) {
            solve_variables();
            say("process4\n");
            at_out = find_substring(line, "OUT");
            if (at_out >= 0) {
                write_output_function();
                say("process5\n");
            }
        }
        at_defin = find_substring(line, "DEFIN");
        if (at_defin >= 0) {
            translate_component_definitions();
            say("process6\n");
        }
        if (at_out * at_defin != 0) {
            write_state_functions();
            say("process7\n");
        }
    }
    if (at_out * at_defin > 0) {
        if (find_substring(line, "PARM") >= 0) {
            read_simulation_parameters();
            say("process8\n");
        }
        if (find_substring(line, "INIT") >= 0) {
            read_initial_values();
            say("process9\n");
        }
    }
    close_work_files();
    assemble_c_source();
    // The empty marker of a normal end: a marker that cannot be made is a failure.
    OutFile marker;
    if (!marker.open("VRK_ERROR") || !marker.close()) fail_not_written("VRK_ERROR");
}

}  // namespace

int run_compiler(std::ostream& out) {
    reset_compiler_state();
    set_console(&out);
    int status = 0;
    try {
        run_phases();
    } catch (const CompileExit& e) {
        status = e.status;
    }
    if (!flush_all_outputs()) status = 1;
    close_all_files();
    set_console(nullptr);
    return status;
}

}  // namespace cvork2
