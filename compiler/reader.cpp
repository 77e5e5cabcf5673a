// The BOND section: the first pass (counts and checks), the sizing of the
// model tables, and the second pass (tables, first expressions, the model
// listing and sysvar.txt).
#include <algorithm>
#include <string>
#include <vector>

#include "model.h"
#include "text.h"

namespace cvork2 {

namespace {

constexpr int MAX_FIELDS = 11;

// One element line, split by its columns within the line.
struct ElementLine {
    bool end = false;          // the section's "/" line
    std::string kind;          // columns 1-2
    std::string ename;         // columns 3-6, blanks kept
    std::vector<std::string> fields;  // texts of the fields read, up to their first blank
};

ElementLine read_element_line() {
    ElementLine e;
    std::string line = read_model_line();
    if (!line.empty() && line[0] == '/') {
        e.end = true;
        return e;
    }
    e.kind = line.substr(0, 2);
    e.ename = columns(line, 3, 6);
    // Field i has its separator in column 6i + 1 and its text in columns
    // 6i + 2 .. 6i + 6; it exists while its separator lies within the line
    // (trailing blanks ignored).
    std::string_view content = trim_right(line);
    for (size_t sep = 6; sep < content.size(); sep += 6) {
        std::string_view text = content.substr(sep + 1, 5);
        e.fields.emplace_back(leading_word(text));
    }
    return e;
}

// The kind number of a code: 1..8, 0 for the junctions ZJ/OJ, -1 for any other.
int kind_number(const std::string& code) {
    static const char* const codes[] = {"SE", "SF", "RE", "CI", "II", "TF", "GY"};
    for (int k = 0; k < 7; ++k)
        if (code == codes[k]) return k + 1;
    if (code == "DE" || code == "DF") return K_DUMMY;
    if (code == "ZJ" || code == "OJ") return 0;
    return -1;
}

bool has_minus(const std::string& field) { return field.find('-') != std::string::npos; }

// The signed bond of a field, registering a new bond name when none matches.
int signed_bond(const std::string& field) {
    size_t minus = field.find('-');
    int sign = minus == std::string::npos ? 1 : -1;
    std::string name = minus == std::string::npos ? field : field.substr(minus + 1);
    int b = find_bond(name);
    if (b == 0) b = add_bond(name);
    return sign * b;
}

[[noreturn]] void data_input_error(const ElementLine& e) {
    sayf("INPUT LINE NO.%d ***DATA INPUT ERROR %s %s\n", NLINE, e.kind.c_str(), e.ename.c_str());
    fail();
}

// What the second pass keeps for the listing.
struct SourceEntry {
    std::string iname;  // kind code + 4 name characters
    int bond;
};
struct StateEntry {
    std::string sname;     // kind code + 4 name characters
    std::string snamenum;  // the 4 name characters
};
struct DummyEntry {
    std::string dname;
    int bond;
};
std::vector<SourceEntry> sources;
std::vector<StateEntry> states;
std::vector<DummyEntry> dummies;

void reset_reader() {
    sources.clear();
    states.clear();
    dummies.clear();
}
ResetHook reader_reset(&reset_reader);

void record_first_expression(int variable, const std::string& text) {
    int line = append_expression(text, NSCR);  // counts NSCR up itself
    grow(IAD, variable);
    grow(IA, variable);
    IAD[variable] = line;
    IA[variable] = 1;
}

void add_relation(int cause, int effect, const char* kind, const std::string& number) {
    ++NREL;
    grow(IS, NREL);
    grow(ID, NREL);
    grow(REL, NREL, std::string("  "));
    grow(NUM, NREL, std::string("   "));
    IS[NREL] = cause;
    ID[NREL] = effect;
    REL[NREL] = kind;
    NUM[NREL] = number;
}

void print_bond_names() {
    say("      *** BOND NAME LIST ***\n");
    sayf("       NUMBER OF BONDS : %d", NBOND);
    for (int k = 1; k <= NBOND; ++k) {
        if ((k - 1) % 5 == 0) say("\n");
        sayf(" %s %2d %s : %3s  ", "(", k, ")", BNAME[k].c_str());
    }
    say("\n");
}

void print_elements() {
    say(" *** BOND GRAPH ELEMENT LIST ***\n");
    for (int kind = 1; kind <= 8; ++kind) {
        if (NCOMP[kind] <= 0) continue;
        sayf("     NUMBER OF %s-ELEMENTS: %d\n", NID[kind].c_str(), NCOMP[kind]);
        for (int n = 1; n <= NCOMP[kind]; ++n)
            sayf(" %s%3d%s %2s %4s\n", "(", n, ")", ": ", NCNAME[kind][n].c_str());
    }
}

void print_relations() {
    if (NREL <= 0) return;
    say("    *** ONE-TO-ONE RELATION ***\n");
    say("     NO.  CAUSE  EFFECT  RELATION\n");
    for (int r = 1; r <= NREL; ++r)
        sayf("    %3d    %3d     %3d     %2s %3s\n", r, IS[r], ID[r], REL[r].c_str(), NUM[r].c_str());
}

// Each junction's variables, then its signs below them; the rows end with the
// LF that the caller prints after the list, with or without junctions.
void print_linear_equations() {
    if (NJUN <= 0) return;
    say("    *** LINEAR EQUATION ***\n");
    say("     NO. ");
    for (int i = 0; i < 10; ++i) say("VAR.  ");
    for (int j = 1; j <= NJUN; ++j) {
        say("\n");
        sayf("    %3d  ", j);
        for (int i = 1; i <= JNB[j]; ++i) {
            if (i == 10) say("\n");
            sayf("%3d   ", IVN[j][i]);
        }
        for (int i = 1; i <= JNB[j]; ++i) {
            if (i == 1 || i == 11) say("\n         ");
            sayf("%3d   ", ISG[j][i]);
        }
    }
}

void print_input_variables() {
    if (sources.empty()) return;
    say("    *** INPUT VARIABLE LIST ***\n");
    int i = 0;
    for (const SourceEntry& s : sources) {
        ++i;
        const char* form = find_substring(s.iname, "SF") >= 0
                               ? "     NO. %3d ** FL(%3d) : INPUT VARIABLE OF %7s ON BOND %4s\n"
                               : "     NO. %3d ** EF(%3d) : INPUT VARIABLE OF %7s ON BOND %4s\n";
        sayf(form, i, s.bond, s.iname.c_str(), BNAME[s.bond].c_str());
    }
}

// The list, and each state's line of sysvar.txt.
void print_state_variables() {
    if (NSTATE <= 0) return;
    say("    *** STATE VARIABLE LIST ***\n");
    for (int i = 1; i <= NSTATE; ++i) {
        const StateEntry& s = states[static_cast<size_t>(i) - 1];
        int b = (NIG[0][i] + 1) / 2;
        if (find_substring(s.sname, "CI") >= 0) {
            sayf("     NO. %3d ** DP(%3d) : ENERGY VARIABLE OF %6s ON BOND %4s\n", i, b, s.sname.c_str(),
                 BNAME[b].c_str());
            FSYSVAR.printf("X[%d] f%s_C%s\n", i - 1, BNAME[b].c_str(), s.snamenum.c_str());
        } else {
            sayf("     NP. %3d ** MN(%3d) : ENERGY VARIABLE OF %6s ON BOND %4s\n", i, b, s.sname.c_str(),
                 BNAME[b].c_str());
            FSYSVAR.printf("X[%d] e%s_L%s\n", i - 1, BNAME[b].c_str(), s.snamenum.c_str());
        }
    }
}

void print_dummy_inputs() {
    if (NDUMMY <= 0) return;
    say("    *** DUMMY INPUT VARIABLE LIST ***\n");
    int i = 0;
    for (const DummyEntry& d : dummies) {
        ++i;
        sayf("     NO. %3d **  DUMMY INPUT OF %6s ON BOND %4s\n", i, d.dname.c_str(), BNAME[d.bond].c_str());
    }
}

// The bonds and the elements always; the rest only when there are bonds.
void print_listing() {
    print_bond_names();
    print_elements();
    if (NBOND <= 0) return;
    print_relations();
    print_linear_equations();
    say("\n");
    print_input_variables();
    print_state_variables();
    print_dummy_inputs();
}

// The second pass's work for each kind of element line: b1 and b2 are the
// bonds of the first two fields, iv the signed bonds of every field (1-based).

void read_source(const ElementLine& e, int kind, int b1) {
    int n = add_component_name(kind, e.ename);
    if (kind == K_SE) record_first_expression(2 * b1 - 1, "E" + int_to_text(n) + "()");
    else record_first_expression(2 * b1, "F" + int_to_text(n) + "()");
    sources.push_back({e.kind + e.ename, b1});
}

void read_resistor(const ElementLine& e, int b1) {
    int n = add_component_name(K_RE, e.ename);
    add_relation(2 * b1, 2 * b1 - 1, "RE", int_to_text(n));
}

// CI and II: a state variable, its first expression and its integral variable.
void read_storage(const ElementLine& e, int kind, int b1) {
    if (NINTEG >= MAX_INTEGRAL_VARIABLES) fail_too_many("INTEGRAL VARIABLES", MAX_INTEGRAL_VARIABLES);
    int n = add_component_name(kind, e.ename);
    int s = NSTATE++;
    if (kind == K_CI) {
        record_first_expression(2 * b1 - 1, "C" + int_to_text(n) + "(X[" + int_to_text(s) + "])");
        states.push_back({e.kind + e.ename, e.ename});
        add_integral_variable("DP" + int_to_text(b1), 2 * b1, 0);
    } else {
        record_first_expression(2 * b1, "L" + int_to_text(n) + "(X[" + int_to_text(s) + "])");
        states.push_back({e.kind + e.ename, e.ename});
        add_integral_variable("MN" + int_to_text(b1), 2 * b1 - 1, 0);
    }
}

void read_transformer(const ElementLine& e, int b1, int b2) {
    std::string n = int_to_text(add_component_name(K_TF, e.ename));
    add_relation(2 * b1 - 1, 2 * b2 - 1, "TE", n);
    add_relation(2 * b1, 2 * b2, "TF", n);
}

void read_gyrator(const ElementLine& e, int b1, int b2) {
    std::string n = int_to_text(add_component_name(K_GY, e.ename));
    add_relation(2 * b1 - 1, 2 * b2, "GE", n);
    add_relation(2 * b1, 2 * b2 - 1, "GF", n);
}

// ZJ: the flows sum to zero, the efforts are equal; OJ the other way round.
void read_junction(const ElementLine& e, const std::vector<int>& iv) {
    const bool zero = e.kind == "ZJ";
    const int m = static_cast<int>(e.fields.size());
    const int j = ++NJUN;
    grow(JNB, j);
    grow(IVN, j, std::vector<int>(MAX_FIELDS + 1, 0));
    grow(ISG, j, std::vector<int>(MAX_FIELDS + 1, 0));
    for (int i = 1; i <= m; ++i) {
        int c = iv[i] < 0 ? -iv[i] : iv[i];
        IVN[j][i] = zero ? 2 * c : 2 * c - 1;
        ISG[j][i] = iv[i] < 0 ? -1 : 1;
    }
    JNB[j] = m;
    for (int i = 1; i < m; ++i) {
        int c1 = iv[i] < 0 ? -iv[i] : iv[i];
        int c2 = iv[i + 1] < 0 ? -iv[i + 1] : iv[i + 1];
        if (zero) add_relation(2 * c1 - 1, 2 * c2 - 1, "EQ", "   ");
        else add_relation(2 * c1, 2 * c2, "EQ", "   ");
    }
}

// DE and DF: the dummy input on this bond and the other variable of its pair.
void read_dummy(const ElementLine& e, int b1) {
    int n = add_component_name(K_DUMMY, e.ename);
    if (n < 0) n = -n;
    ++NDUMMY;
    grow(IDE, n);
    grow(IDF, n);
    if (e.kind == "DE") {
        record_first_expression(2 * b1 - 1, "DE(" + int_to_text(n) + ")");
        IDF[n] = 2 * b1;
    } else {
        record_first_expression(2 * b1, "DF(" + int_to_text(n) + ")");
        IDE[n] = 2 * b1 - 1;
    }
    dummies.push_back({e.kind + e.ename, b1});
}

}  // namespace

void prescan_bond_section() {
    NID = {"  ", "SE", "SF", "RE", "CI", "II", "TF", "GY", "D*"};
    for (;;) {
        ElementLine e = read_element_line();
        if (e.end) break;
        ++NLINE;
        int kind = kind_number(e.kind);
        if (kind < 0) data_input_error(e);
        // Lines the tables cannot represent: no field, more than 11 fields;
        // below, after the name check, a sign outside a junction and a
        // transformer or gyrator with one bond.
        if (e.fields.empty() || e.fields.size() > static_cast<size_t>(MAX_FIELDS)) data_input_error(e);
        for (const std::string& f : e.fields) signed_bond(f);
        if (kind == 0) {
            int m = static_cast<int>(e.fields.size());
            ++NJUN;
            grow(JNB, NJUN);
            JNB[NJUN] = m;
            NREL += m - 1;
            continue;
        }
        int n = add_component_name(kind, e.ename);
        if (kind == K_RE) NREL += 1;
        if (kind == K_TF || kind == K_GY) NREL += 2;
        if (kind != K_DUMMY && n < 0) {
            sayf("INPUT LINE NO.%d ***DUPLICATE INPUT ERROR %s %s\n", NLINE, e.kind.c_str(), e.ename.c_str());
            fail();
        }
        for (const std::string& f : e.fields)
            if (has_minus(f)) data_input_error(e);
        if ((kind == K_TF || kind == K_GY) && e.fields.size() < 2) data_input_error(e);
    }
    // The first pass's bond and name registrations are dropped; NID stays.
    BNAME.clear();
    NCNAME.assign(9, {});
    clear_lookup_indexes();
}

void allocate_model_arrays() {
    int maxc = 0;
    for (int k = 1; k <= 8; ++k) maxc = std::max(maxc, NCOMP[k]);
    MAXCOMP = 1 + maxc;
    NBOND += 1;
    NREL += 1;
    NJUN += 1;
    const size_t variables = 2 * static_cast<size_t>(NBOND) + 3;
    IAD.assign(variables, 0);
    NIG[0].assign(static_cast<size_t>(NBOND) + 1, 0);
    NIG[1].assign(static_cast<size_t>(NBOND) + 1, 0);
    IA.assign(variables, 0);
    IB.assign(variables, 0);
    IS.assign(static_cast<size_t>(NREL) + 1, 0);
    ID.assign(static_cast<size_t>(NREL) + 1, 0);
    IVN.assign(static_cast<size_t>(NJUN) + 1, std::vector<int>(MAX_FIELDS + 1, 0));
    ISG.assign(static_cast<size_t>(NJUN) + 1, std::vector<int>(MAX_FIELDS + 1, 0));
    IDE.assign(static_cast<size_t>(MAXCOMP) + 1, 0);
    IDF.assign(static_cast<size_t>(MAXCOMP) + 1, 0);
    NIN.assign(static_cast<size_t>(NBOND) + 1, std::string(5, ' '));
    REL.assign(static_cast<size_t>(NREL) + 1, std::string(2, ' '));
    NUM.assign(static_cast<size_t>(NREL) + 1, std::string(3, ' '));
    BNAME.assign(static_cast<size_t>(NBOND) + 1, std::string(7, ' '));
    NCNAME.assign(9, std::vector<std::string>(static_cast<size_t>(MAXCOMP) + 1, std::string(8, ' ')));
    BNAME.resize(1);  // names are appended as the second pass meets the bonds
    NBOND = NREL = NJUN = NLINE = 0;
    JNB.assign(81, 0);
    for (int k = 1; k <= 8; ++k) NCOMP[k] = 0;
}

void read_bond_section() {
    for (;;) {
        ElementLine e = read_element_line();
        if (e.end) break;
        say(e.kind + "\n");
        ++NLINE;
        std::vector<int> iv(static_cast<size_t>(MAX_FIELDS) + 1, 0);
        for (size_t i = 0; i < e.fields.size() && i < static_cast<size_t>(MAX_FIELDS); ++i)
            iv[i + 1] = signed_bond(e.fields[i]);
        const int b1 = iv[1], b2 = iv[2];
        const int kind = kind_number(e.kind);
        switch (kind) {
        case K_SE:
        case K_SF: read_source(e, kind, b1); break;
        case K_RE: read_resistor(e, b1); break;
        case K_CI:
        case K_II: read_storage(e, kind, b1); break;
        case K_TF: read_transformer(e, b1, b2); break;
        case K_GY: read_gyrator(e, b1, b2); break;
        case 0: read_junction(e, iv); break;
        case K_DUMMY: read_dummy(e, b1); break;
        default: break;  // the first pass has rejected every other code
        }
    }
    if (NDUMMY != 2 * NCOMP[K_DUMMY]) {
        sayf("*** INPUT ERROR : WRONG : USE OF %d DUMMY VARIABLES (DE & DF)\n", NCOMP[K_DUMMY]);
        fail();
    }
    print_listing();
}

}  // namespace cvork2
