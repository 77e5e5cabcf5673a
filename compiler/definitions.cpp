// The DEFIN phase: every component definition block becomes one C function in
// proto1 (its prototype in proto2), with the block's symbols substituted.
#include <unordered_map>

#include "model.h"
#include "phases.h"
#include "text.h"

namespace cvork2 {

int IEND;
std::string LINE12;

namespace {

// Function-name prefixes and argument lists by kind number 1..7.
const char* const VNAML[8] = {"", "E", "F", "R", "C", "L", "TF", "GY"};
const char* const VNAMR[8] = {"", "()", "()", "(double J,double Z)", "(double Z)", "(double Z)", "()", "()"};

std::unordered_map<std::string, int> retained_by_name;  // RNMNAM entry -> index
std::vector<int> blocks_of[8];                           // [kind][component]: blocks seen

void reset_definitions() {
    IEND = 0;
    LINE12.clear();
    retained_by_name.clear();
    for (auto& row : blocks_of) row.clear();
}
ResetHook definitions_hook(&reset_definitions);

bool is_left_delimiter_char(char c) {
    switch (c) {
        case '=': case '+': case '-': case '*': case '/': case '(': case ',': case ')':
        case '>': case '<': case 'e':
            return true;
        default:
            return false;
    }
}

bool is_right_delimiter_char(char c) {
    switch (c) {
        case '=': case '+': case '-': case '*': case '/': case ')': case ',': case '(':
        case ';': case '>': case '<':
            return true;
        default:
            return false;
    }
}

struct Symbol {
    std::string name;         // without trailing blanks
    std::string replacement;  // without trailing blanks
};

// The kind text of a header line: its first two characters; a shorter line
// keeps the LF that ended it (a last line without LF has none), so the "/"
// line echoes as "/" and an empty line.
std::string header_kind(const std::string& line) {
    if (line.size() >= 2) return line.substr(0, 2);
    return line_as_read(line);
}

// At the section's end every component of kinds SE..GY must have had exactly
// one block: the first offender, by kind and then component number, ends the run.
void check_definition_blocks() {
    for (int kind = K_SE; kind <= K_GY; ++kind) {
        for (int n = 1; n <= NCOMP[kind]; ++n) {
            int seen = static_cast<size_t>(n) < blocks_of[kind].size() ? blocks_of[kind][n] : 0;
            if (seen == 1) continue;
            say(seen == 0 ? " *** INPUT DATA ERROR: NO DEFINITION BLOCK ***\n"
                          : " *** INPUT DATA ERROR: DUPLICATE DEFINITION BLOCK ***\n");
            const std::string name = static_cast<size_t>(kind) < NCNAME.size() &&
                                             static_cast<size_t>(n) < NCNAME[kind].size()
                                         ? NCNAME[kind][n]
                                         : std::string(8, ' ');
            sayf("*** %2s %s\n", NID[kind].c_str(), name.c_str());
            fail();
        }
    }
}

// Reads the body lines of one block up to and including its "EOD" line.
void translate_block(const std::string& function_name, std::vector<Symbol>& symbols) {
    for (;;) {
        const std::string line = read_model_line();
        ++NLINE;
        if (line.compare(0, 3, "EOD") == 0) {
            FPROTO1.line("  return(" + function_name + ");");
            FPROTO1.line("}");
            FPROTO1.line("");
            return;
        }
        const std::string tag = line.substr(0, 4);  // a shorter line is a statement
        if (tag == "FB: ") {
            const std::string name = columns(line, 5, 10);
            resolve_output_variable(columns(line, 12, 13), columns(line, 14, 21));
            if (IRES[0] != 0) {
                // An effort, flow or power: assigned to the feedback global here.
                std::string text = variable_expression(IRES[0]);
                if (IRES[1] != 0) text += "*" + variable_expression(IRES[1]);
                write_statement(10, "      " + std::string(trim_right(name)) + "=", text);
            } else if (IRES[1] != 0) {
                // An integral variable: the name stands for its element of X.
                symbols.push_back({std::string(trim_right(name)), "X[" + int_to_text(IRES[1] - 1) + "]"});
            }
            // An undefined label (0, 0): reported already; no statement, no symbol.
        } else if (tag == "RV: ") {
            const std::string name = columns(line, 5, 10);
            int k = intern_persistent_variable(name);
            symbols.push_back({std::string(trim_right(name)), "XX[" + int_to_text(k) + "]"});
        } else if (tag == "PA: ") {
            const std::string name = columns(line, 5, 10);
            // The value runs from column 12 to the first blank (at most 19
            // characters); the comment, columns 28 on, only when a blank follows it.
            size_t start = line.size() > 11 ? 11 : line.size();
            size_t end = start;
            while (end < line.size() && line[end] != ' ' && end - start < 19) ++end;
            const std::string value_text = line.substr(start, end - start);
            std::string comment;
            if (end < line.size() && line[end] == ' ')
                comment = line.size() > 27 ? line.substr(27) : std::string();
            else
                comment = " ";
            int k = add_parameter(name, decimal_to_double(value_text), comment);
            symbols.push_back({std::string(trim_right(name)), "PA[" + int_to_text(k) + "]"});
        } else {
            std::string work = line;  // LINE11
            for (const Symbol& s : symbols) {
                substitute_symbol(s.name, s.replacement, work);
                work = LINE12;
            }
            write_body_line(10);
        }
    }
}

}  // namespace

int is_left_delimiter(std::string_view text) {
    int last = trimmed_length(text);
    if (last == 0) return -1;
    return is_left_delimiter_char(text[static_cast<size_t>(last) - 1]) ? last : 0;
}

int is_right_delimiter(std::string_view text) {
    int first = first_nonblank_position(text);
    if (first == 0) return -1;
    return is_right_delimiter_char(text[static_cast<size_t>(first) - 1]) ? first : 0;
}

int find_symbol_token(std::string_view text, std::string_view symbol) {
    IEND = 0;
    const int at = find_substring(text, symbol);  // 0-based, -1 when absent
    if (at < 0) return 0;
    if (at > 0 && is_left_delimiter(text.substr(0, static_cast<size_t>(at))) == 0) return 0;
    const size_t after = static_cast<size_t>(at) + symbol.size();
    if (after >= text.size()) {
        IEND = -1;
        return at + 1;
    }
    const int right = is_right_delimiter(text.substr(after));
    if (right == 0) return 0;
    // Only blanks after the symbol: it ends the text as far as tokens go.
    IEND = right < 0 ? -1 : static_cast<int>(after) + right;
    return at + 1;
}

void substitute_symbol(std::string_view symbol, std::string_view replacement, std::string_view line) {
    const std::string_view text = trim_right(line);
    std::string out;
    size_t scan = 0;
    for (;;) {
        const std::string_view rest = text.substr(scan);
        const int at = find_symbol_token(rest, symbol);
        if (at == 0) {
            out.append(rest);
            break;
        }
        out.append(rest.substr(0, static_cast<size_t>(at) - 1));
        out.append(replacement);
        if (IEND == -1) break;
        // Go on at the delimiter after the symbol: blanks before it are dropped.
        scan += static_cast<size_t>(IEND) - 1;
    }
    LINE12 = out;
}

void write_body_line(int unit) {
    const std::string_view text = trim_right(LINE12);
    if (text.empty()) fail(" *** INPUT DATA ERROR: NULL LINE ***\n");
    OutFile* file = unit_file(unit);
    if (file) file->line(text);
}

int intern_persistent_variable(std::string_view name) {
    std::string key(name);
    auto it = retained_by_name.find(key);
    if (it != retained_by_name.end()) return it->second;
    if (NRNM >= MAX_RETAINED_VARIABLES) fail_too_many("RETAINED VARIABLES", MAX_RETAINED_VARIABLES);
    ++NRNM;
    grow(RNMNAM, NRNM);
    RNMNAM[NRNM] = key;
    retained_by_name.emplace(key, NRNM);
    return NRNM;
}

void translate_component_definitions() {
    NRNM = 0;
    RNMNAM.assign(1, std::string());
    retained_by_name.clear();
    LINE12.clear();
    for (auto& row : blocks_of) row.clear();
    for (;;) {
        const std::string line = read_model_line();
        const std::string kind = header_kind(line);
        sayf("%s\n", kind.c_str());
        if (!kind.empty() && kind[0] == '/') {
            check_definition_blocks();
            return;
        }
        // The name: up to 8 characters from column 3, padded with blanks.
        std::string name = line.size() > 2 ? line.substr(2, 8) : std::string();
        name.resize(8, ' ');
        ++NLINE;
        int n = 0, kind_number = 0;
        for (int k = K_SE; k <= K_GY; ++k) {
            if (static_cast<size_t>(k) < NID.size() && kind == NID[k]) {
                kind_number = k;
                n = find_component(k, name);
                break;
            }
        }
        if (n == 0) {
            sayf(" INPUT LINE NO.%4d\n", NLINE);
            say("*** INPUT DATA ERROR: UNDEFINED COMPONENT ***\n");
            sayf("*** %2s %s\n", kind.c_str(), name.c_str());
            fail();
        }
        grow(blocks_of[kind_number], n);
        ++blocks_of[kind_number][n];
        const std::string function_name = VNAML[kind_number] + int_to_text(n);
        FPROTO1.line("double " + function_name + VNAMR[kind_number] + "{");
        FPROTO2.line("double " + function_name + VNAMR[kind_number] + ";");
        FPROTO1.line("  double " + function_name + ";");
        std::vector<Symbol> symbols{{VNAML[kind_number], function_name}};
        translate_block(function_name, symbols);
    }
}

}  // namespace cvork2
