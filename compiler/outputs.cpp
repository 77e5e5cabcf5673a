// Output variables: the OUT phase (DOUT and the LA lines), the state functions
// (FUNC, FU and the NS/IN/ND lines) and the statement writer they share.
#include "model.h"
#include "phases.h"
#include "text.h"

namespace cvork2 {

int IRES[2];

std::string variable_expression(int v) {
    int line = (v >= 1 && static_cast<size_t>(v) < IAD.size()) ? IAD[v] : 0;
    if (!has_expression(line)) {
        sayf(" INPUT LINE NO.%4d\n", NLINE);
        say("*** INPUT DATA ERROR: NO EXPRESSION FOR FEEDBACK VARIABLE ***\n");
        fail();
    }
    return expression(line);
}

void resolve_output_variable(std::string_view kind, std::string_view bond) {
    IRES[0] = IRES[1] = 0;
    const int b = find_bond(bond);
    if (b == 0) {
        sayf(" INPUT LINE NO.%4d\n", NLINE);
        sayf("*** INPUT ERROR : UNDEFINED BOND : %8s\n", std::string(bond).c_str());
        fail();
    }
    if (kind == "EF") {
        IRES[0] = 2 * b - 1;
        return;
    }
    if (kind == "FL") {
        IRES[0] = 2 * b;
        return;
    }
    if (kind == "PW") {
        IRES[0] = 2 * b - 1;
        IRES[1] = 2 * b;
        return;
    }
    const std::string name = std::string(kind) + int_to_text(b);
    for (int k = 1; k <= NINTEG && static_cast<size_t>(k) < NIN.size(); ++k) {
        if (NIN[k] == name) {
            IRES[1] = k;
            return;
        }
    }
    if (kind == "MN") {
        IRES[1] = add_integral_variable(name, 2 * b - 1, 0);
    } else if (kind == "DP") {
        IRES[1] = add_integral_variable(name, 2 * b, 0);
    } else if (kind == "EN") {
        IRES[1] = add_integral_variable(name, 2 * b - 1, 2 * b);
    } else {
        sayf(" INPUT LINE NO.%4d\n", NLINE);
        say("*** INPUT DATA ERROR: UNDEFINED LABEL ***\n");
        sayf("...%2s,%s IN OUTPUT SPECIFICATION\n", std::string(kind).c_str(), std::string(bond).c_str());
    }
}

void write_statement(int unit, std::string_view prefix, std::string_view text) {
    std::string joined(trim_right(prefix));
    joined += leading_word(text);
    joined += ';';
    OutFile* file = unit_file(unit);
    if (file) file->line(joined.size() > 4 ? std::string_view(joined).substr(4) : std::string_view());
}

void write_output_function() {
    NOUT = 0;
    NPRM = 0;
    PRMNUM.assign(1, std::string());
    PRMNUM_MADE = true;
    FPROTO1.line("void DOUT(){");
    FPROTO2.line("void DOUT();");
    for (;;) {
        const std::string line = read_model_line();
        ++NLINE;
        if (columns(line, 1, 4).find('/') != std::string::npos) {
            FPROTO1.line("}");
            FPROTO1.line("");
            return;
        }
        if (line.compare(0, 4, "BC: ") != 0) {  // a shorter line has no column 4
            sayf(" INPUT LINE NO.%4d\n", NLINE);
            say("*** INPUT ERROR: ILLEGAL INPUT DATA :***\n");
            sayf("*** %s\n", line.c_str());
            fail();
        }
        if (NOUT >= MAX_OUTPUT_VARIABLES) fail_too_many("OUTPUT VARIABLES", MAX_OUTPUT_VARIABLES);
        ++NOUT;
        const std::string text = line.size() > 10 ? line.substr(10) : std::string();
        FPAR.printf("LA%3d  %5s          %s\n", NOUT, columns(line, 5, 9).c_str(), text.c_str());
        resolve_output_variable(columns(line, 11, 12), columns(line, 13, 20));
        const std::string prefix = "      OP[" + int_to_text(NOUT - 1) + "]=";
        std::string value;
        if (IRES[0] == 0) {
            // An undefined label has no variable: the output reads as zero.
            value = IRES[1] == 0 ? std::string("0.0") : "X[" + int_to_text(IRES[1] - 1) + "]";
        } else {
            value = variable_expression(IRES[0]);
            if (IRES[1] != 0) value += "*" + variable_expression(IRES[1]);
        }
        write_statement(10, prefix, value);
    }
}

void write_state_functions() {
    FPROTO1.line("void FUNC(double T,double X[],int N){");
    FPROTO2.line("void FUNC(double T,double X[],int N);");
    for (int k = 1; k <= NINTEG; ++k) {
        std::string text = variable_expression(NIG[0][k]);
        if (NIG[1][k] != 0) text += "*" + variable_expression(NIG[1][k]);
        write_statement(10, "      DX[" + int_to_text(k - 1) + "]=", text);
    }
    FPROTO1.line("}");
    FPROTO1.line("");
    FPROTO1.line("double FU(int I,double T,double X[]){");
    FPROTO2.line("double FU(int I,double T,double X[]);");
    FPROTO1.line("  double FU;");
    FPROTO1.line("  FU=0.0e-00;");
    // Dummy output I: for odd I the effort on the DF bond of dummy (I+1)/2,
    // for even I the flow on the DE bond of dummy I/2.
    for (int i = 1; i <= NDUMMY; ++i) {
        const std::vector<int>& table = (i % 2 == 1) ? IDE : IDF;
        const int n = (i % 2 == 1) ? (i + 1) / 2 : i / 2;
        const int v = static_cast<size_t>(n) < table.size() ? table[n] : 0;
        const int line = (v >= 1 && static_cast<size_t>(v) < IAD.size()) ? IAD[v] : 0;
        const std::string text = has_expression(line) ? expression(line) : std::string("0.0");
        write_statement(10, "      if(I==" + int_to_text(i) + ") FU=", text);
    }
    FPROTO1.line("  return(FU);");
    FPROTO1.line("}");
    FPROTO1.line("");
    FPAR.printf("NS   %5d               NUMBER OF STATE VARIABLES\n", NSTATE);
    FPAR.printf("IN   %5d               NUMBER OF ADDITIONAL INTEGRAL VARIABLES\n", NINTEG - NSTATE);
    FPAR.printf("ND   %5d               NUMBER OF DUMMY VARIABLES\n", NDUMMY);
}

}  // namespace cvork2
