// temp.PAR: the parameter lines of the definition phase, the PARM phase (the
// simulation times) and the INIT phase (initial values and END).
#include <unordered_map>

#include "model.h"
#include "phases.h"
#include "text.h"

namespace cvork2 {

namespace {

std::unordered_map<std::string, int> parameter_by_name;  // PRMNUM entry -> number

void reset_parameters() { parameter_by_name.clear(); }
ResetHook parameter_hook(&reset_parameters);

}  // namespace

int add_parameter(std::string_view name, double value, std::string_view comment) {
    if (!PRMNUM_MADE) {  // the definition phase without the OUT phase
        PRMNUM.assign(1, std::string());
        NPRM = 0;
        PRMNUM_MADE = true;
        parameter_by_name.clear();
    }
    std::string key(name);
    auto it = parameter_by_name.find(key);
    if (it != parameter_by_name.end()) return it->second;
    if (NPRM >= MAX_PARAMETERS) fail_too_many("PARAMETERS", MAX_PARAMETERS);
    ++NPRM;
    grow(PRMNUM, NPRM);
    PRMNUM[NPRM] = key;
    parameter_by_name.emplace(key, NPRM);
    std::string_view note = trim_right(comment);
    if (!note.empty())
        FPAR.printf("PA%4d   %e %6s:%s\n", NPRM, value, key.c_str(), std::string(note).c_str());
    else
        FPAR.printf("PA%4d   %e %6s\n", NPRM, value, key.c_str());
    return NPRM;
}

void read_simulation_parameters() {
    const std::string line = read_model_line();
    ++NLINE;
    auto illegal = [&line]() {
        sayf(" INPUT LINE NO.%d\n", NLINE);
        say("*** INPUT DATA ERROR : ILLEGAL PARM LINE ***\n");
        sayf("*** %s\n", line.c_str());
        fail();
    };
    // Column 1 is skipped; fields 1 to 3 end at a blank, the blanks after each
    // are skipped, field 4 is the rest of the line.
    std::string field[4];
    size_t pos = 1;
    for (int i = 0; i < 3; ++i) {
        size_t start = pos;
        while (pos < line.size() && line[pos] != ' ') ++pos;
        field[i] = line.substr(start < line.size() ? start : line.size(), pos - start);
        if (field[i].size() > 19) illegal();
        while (pos < line.size() && line[pos] == ' ') ++pos;
    }
    if (pos >= line.size()) illegal();  // no field 4: fields ran together or are missing
    field[3] = line.substr(pos);
    if (field[3].size() > 9) illegal();
    FPAR.printf("PT  1   %e    SIMULATION STRAT TIME\n", decimal_to_double(field[0]));
    FPAR.printf("PT  2   %e    SIMULATION END TIME\n", decimal_to_double(field[1]));
    FPAR.printf("PT  3   %e    SIMULATION TIME WIDTH\n", decimal_to_double(field[2]));
    FPAR.printf("NO   %10d               NUMBER OF OUTPUT TIMES\n", decimal_value(field[3]));
    FPAR.printf("OP   %10d               NUMBER OF OUTPUT VARIABLES\n", NOUT);
}

void read_initial_values() {
    for (;;) {
        const std::string line = read_model_line();
        ++NLINE;
        const std::string kind = columns(line, 1, 2);
        const std::string bond = columns(line, 3, 6);
        if (kind[0] == '/') {
            FPAR.line("END");
            return;
        }
        int b = find_bond(bond);
        if (b == 0) {
            sayf(" INPUT LINE NO.%d\n", NLINE);
            say("*** INPUT DATA ERROR : ILLEGAL INPUT ***\n");
            sayf("*** %s\n", line_as_read(line).c_str());  // with the line's own LF
            fail();
        }
        const std::string name = kind + int_to_text(b);
        // The value runs from column 8 to the first blank or the line end, of
        // any length. The conversion skips white space before it and stops at
        // the first character that is not part of the number, a blank included.
        const double value = decimal_to_double(std::string_view(line).substr(line.size() < 7 ? line.size() : 7));
        // Every integral variable of that name gets the value: two states of one
        // kind on one bond share their name.
        bool found = false;
        for (int k = 1; k <= NINTEG && static_cast<size_t>(k) < NIN.size(); ++k) {
            if (NIN[k] == name) {
                FPAR.printf("ST%3d   %e    %s%s\n", k, value, kind.c_str(), bond.c_str());
                found = true;
            }
        }
        if (!found) {
            sayf(" INPUT LINE NO.%d\n", NLINE);
            say("*** INPUT DATA ERROR : UNDEFINED NAME ***\n");
            sayf("...%2s%8s\n", kind.c_str(), bond.c_str());
            fail();
        }
    }
}

}  // namespace cvork2
