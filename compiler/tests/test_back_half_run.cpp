// Whole compiles through the phases after the solver: every byte of
// temp.PAR, proto1, proto2 and temp.c for a model with every kind of line,
// and what the runs that end early or select fewer phases leave behind.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "compile_runs.h"

using namespace cvork2_test;

namespace {

using ::testing::HasSubstr;

// SE, R, TF and C; outputs of a state, a power, an energy and an effort; a
// parameter name in two blocks; displacement, flow and retained variables;
// equations with CR LF between their lines.
const std::string MODEL =
        "BOND SYMBOL EXPR OUT DEFIN PARM INIT\r\n"
        "SE1    1\n"
        "OJ     -1    2     3\n"
        "RE1    2\n"
        "TF1    3     4\n"
        "ZJ     -4    5\n"
        "CI1    5\n"
        "/\n"
        "BC: DP5   DP5\n"
        "BC: PW2   PW2\n"
        "BC: EN2   EN2\n"
        "BC: EF4   EF4\n"
        "/\n"
        "SE1\n"
        "PA: V      1.5             V                                  \n"
        "double y;\n"
        "FB: q      DP5\n"
        "FB: f      FL2\n"
        "RV: n\r\n"
        "n=n+1.0;\r\n"
        "E=V+0.0*q*f*n;\n"
        "EOD\n"
        "RE1\n"
        "PA: V      9.9                                                \n"
        "PA: Rr     2.0                                                \n"
        "if(J==0) R=Rr*Z;\r\n"
        "else R=Z/Rr;\n"
        "EOD\n"
        "TF1\n"
        "PA: m      3.0             -              ratio               \n"
        "TF=m;\n"
        "EOD\n"
        "CI1\n"
        "PA: Cc     0.5             F                                  \n"
        "C=Z/Cc;\n"
        "EOD\n"
        "/\n"
        " 0.0                1.0                1.0E-02         10\n"
        "DP5    2.5000000E-01\n"
        "/\n";

const std::string PARAMETER_FILE =
        "LA  1  DP5            DP5\n"
        "LA  2  PW2            PW2\n"
        "LA  3  EN2            EN2\n"
        "LA  4  EF4            EF4\n"
        "PA   1   1.500000e+00 V     :V\n"
        "PA   2   2.000000e+00 Rr    \n"
        "PA   3   3.000000e+00 m     :-              ratio\n"
        "PA   4   5.000000e-01 Cc    :F\n"
        "NS       1               NUMBER OF STATE VARIABLES\n"
        "IN       1               NUMBER OF ADDITIONAL INTEGRAL VARIABLES\n"
        "ND       0               NUMBER OF DUMMY VARIABLES\n"
        "PT  1   0.000000e+00    SIMULATION STRAT TIME\n"
        "PT  2   1.000000e+00    SIMULATION END TIME\n"
        "PT  3   1.000000e-02    SIMULATION TIME WIDTH\n"
        "NO           10               NUMBER OF OUTPUT TIMES\n"
        "OP            4               NUMBER OF OUTPUT VARIABLES\n"
        "ST  1   2.500000e-01    DP5   \n"
        "END\n";

const std::string C_SOURCE =
        "#include<stdio.h>\n"
        "#include<math.h>\n"
        "void DOUT();\n"
        "double E1();\n"
        "double R1(double J,double Z);\n"
        "double TF1();\n"
        "double C1(double Z);\n"
        "void FUNC(double T,double X[],int N);\n"
        "double FU(int I,double T,double X[]);\n"
        "double OP[100];\n"
        "double H,X[130],XX[30],T;\n"
        "double PA[10000];\n"
        "double DX[130];\n"
        "double DSIGN(double a,double b);\n"
        "\n"
        "double q;\n"
        "double f;\n"
        "\n"
        "void DOUT(){\n"
        "  OP[0]=X[0];\n"
        "  OP[1]=(E1()-TF1()*C1(X[0]))*R1(1,(E1()-TF1()*C1(X[0])));\n"
        "  OP[2]=X[1];\n"
        "  OP[3]=C1(X[0]);\n"
        "}\n"
        "\n"
        "double E1(){\n"
        "  double E1;\n"
        "double y;\n"
        "  f=R1(1,(E1()-TF1()*C1(X[0])));\n"
        "XX[1]=XX[1]+1.0;\n"
        "E1=PA[1]+0.0*X[0]*f*XX[1];\n"
        "  return(E1);\n"
        "}\n"
        "\n"
        "double R1(double J,double Z){\n"
        "  double R1;\n"
        "if(J==0) R1=PA[2]*Z;\n"
        "else R1=Z/PA[2];\n"
        "  return(R1);\n"
        "}\n"
        "\n"
        "double TF1(){\n"
        "  double TF1;\n"
        "TF1=PA[3];\n"
        "  return(TF1);\n"
        "}\n"
        "\n"
        "double C1(double Z){\n"
        "  double C1;\n"
        "C1=Z/PA[4];\n"
        "  return(C1);\n"
        "}\n"
        "\n"
        "void FUNC(double T,double X[],int N){\n"
        "  DX[0]=(TF1()*R1(1,(E1()-TF1()*C1(X[0]))));\n"
        "  DX[1]=(E1()-TF1()*C1(X[0]))*R1(1,(E1()-TF1()*C1(X[0])));\n"
        "}\n"
        "\n"
        "double FU(int I,double T,double X[]){\n"
        "  double FU;\n"
        "  FU=0.0e-00;\n"
        "  return(FU);\n"
        "}\n"
        "\n";

const std::string CONSOLE_TAIL =
        "process4\n"
        "process5\n"
        "SE\n"
        "RE\n"
        "TF\n"
        "CI\n"
        "/\n"
        "\n"
        "process6\n"
        "process7\n"
        "process8\n"
        "process9\n";

std::string tail_from(const std::string& out, const std::string& marker) {
    size_t at = out.find(marker);
    return at == std::string::npos ? "<no " + marker + ">" : out.substr(at);
}

TEST(BackHalfRun, EveryFileByteForByte) {
    RunResult r = run_model(MODEL);
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(tail_from(r.out, "process4\n"), CONSOLE_TAIL);
    EXPECT_EQ(r.file("temp.PAR"), crlf(PARAMETER_FILE));
    EXPECT_EQ(r.file("temp.c"), crlf(C_SOURCE));
    const std::string prototypes = C_SOURCE.substr(C_SOURCE.find("void DOUT();"),
                                                   C_SOURCE.find("double OP[100];") - C_SOURCE.find("void DOUT();"));
    EXPECT_EQ(r.file("proto2"), crlf(prototypes));
    EXPECT_EQ(r.file("proto1"), crlf(C_SOURCE.substr(C_SOURCE.find("void DOUT(){"))));
    EXPECT_EQ(r.file("VRK_ERROR"), "");
}

TEST(BackHalfRun, CrLfThroughoutReadsTheSame) {
    std::string model;
    for (char c : MODEL) {
        if (c == '\n' && (model.empty() || model.back() != '\r')) model += '\r';
        model += c;
    }
    RunResult r = run_model(model);
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.file("temp.PAR"), crlf(PARAMETER_FILE));
    EXPECT_EQ(r.file("temp.c"), crlf(C_SOURCE));
}

// The program itself, given an initial value longer than 13 characters as the
// editor stores it: only the value in its ST line differs.
TEST(BackHalfRun, LongInitialValueChangesOnlyItsStLine) {
    std::string model = MODEL;
    model.replace(model.find("DP5    2.5000000E-01\n"), 21, "DP5    -2.50000000E-01\r\n");
    std::string par = PARAMETER_FILE;
    par.replace(par.find("ST  1   2.500000e-01"), 20, "ST  1   -2.500000e-01");
    RunResult base = run_binary({{"temp.VRK", MODEL}});
    RunResult r = run_binary({{"temp.VRK", model}});
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out, base.out);
    EXPECT_EQ(r.file("temp.PAR"), crlf(par));
    EXPECT_EQ(r.file("temp.c"), crlf(C_SOURCE));
}

TEST(BackHalfRun, AnErrorLeavesTheFilesAsWrittenAndNoCSource) {
    std::string model = MODEL;
    model.replace(model.find("DP5    2.5000000E-01"), 20, "DP5    2.5000000E-01\nMN5    1.0");
    RunResult r = run_model(model);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(tail_from(r.out, "process8\n"), "process8\n"
                                                " INPUT LINE NO.38\n"
                                                "*** INPUT DATA ERROR : UNDEFINED NAME ***\n"
                                                "...MN    5   \n");
    EXPECT_EQ(r.file("temp.PAR"), crlf(PARAMETER_FILE.substr(0, PARAMETER_FILE.rfind("END"))));
    EXPECT_FALSE(r.has("temp.c"));
    EXPECT_FALSE(r.has("VRK_ERROR"));
    EXPECT_EQ(r.file("proto1"), crlf(C_SOURCE.substr(C_SOURCE.find("void DOUT(){"))));
}

TEST(BackHalfRun, AnOldCSourceIsNotRemovedByAFailingRun) {
    RunResult r = run_files({{"temp.VRK", "BOND SYMBOL OUT\r\nSE1    1\nRE1    1\n/\nBC:EF1\n"},
                                         {"temp.c", "old"}});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.file("temp.c"), "old");
}

// Names repeat across kinds, and components are numbered in BOND order within
// their kind: a header finds the component of its own kind and name, however
// many components there are before it.
TEST(BackHalfRun, DefinitionHeadersFindTheComponentOfTheirKindAndName) {
    std::string bond = "BOND DEFIN\r\n", blocks;
    for (int n = 300; n >= 1; --n) {  // SE300 is E1, ..., SE1 is E300; RE likewise
        bond += "SE" + std::to_string(n) + std::string(5 - std::to_string(n).size(), ' ') + std::to_string(2 * n) + "\n";
        bond += "RE" + std::to_string(n) + std::string(5 - std::to_string(n).size(), ' ') + std::to_string(2 * n - 1) + "\n";
    }
    for (int n = 1; n <= 300; ++n) {
        blocks += "RE" + std::to_string(n) + "\nR=Z;\nEOD\n";
        blocks += "SE" + std::to_string(n) + "\nE=1.0;\nEOD\n";
    }
    RunResult r = run_model(bond + "/\n" + blocks + "/\n");
    ASSERT_EQ(r.status, 0) << r.out.substr(r.out.size() > 400 ? r.out.size() - 400 : 0);
    const std::string proto2 = r.file("proto2");
    EXPECT_EQ(proto2.find(crlf("double R300(double J,double Z);\ndouble E300();\n")), 0u);
    EXPECT_THAT(proto2, HasSubstr(crlf("double R2(double J,double Z);\ndouble E2();\n"
                                       "double R1(double J,double Z);\ndouble E1();\n")));

    struct Case {
        const char* blocks;  // after the BOND section of CI5, CI2, RE2
        int status;
        const char* tail;    // of the console, from "process3"
    } cases[] = {
        {"CI2\nC=Z;\nEOD\nRE2\nR=Z;\nEOD\nCI5\nC=Z;\nEOD\n/\n", 0, "CI\nRE\nCI\n/\n\nprocess6\n"},
        // a second block of a name is for the same component
        {"CI2\nC=Z;\nEOD\nRE2\nR=Z;\nEOD\nCI5\nC=Z;\nEOD\nCI2\nC=Z;\nEOD\n/\n", 1,
         "CI\nRE\nCI\nCI\n/\n\n *** INPUT DATA ERROR: DUPLICATE DEFINITION BLOCK ***\n*** CI 2       \n"},
        // the name is the 8 columns after the kind: more characters miss it
        {"CI2   x\nC=Z;\nEOD\n/\n", 1,
         "CI\n INPUT LINE NO.   5\n*** INPUT DATA ERROR: UNDEFINED COMPONENT ***\n*** CI 2   x   \n"},
        // a name of another kind
        {"RE5\nR=Z;\nEOD\n/\n", 1,
         "RE\n INPUT LINE NO.   5\n*** INPUT DATA ERROR: UNDEFINED COMPONENT ***\n*** RE 5       \n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.blocks);
        RunResult small = run_model(std::string("BOND DEFIN\r\nCI5    1\nCI2    2\nRE2    3\n/\n") + c.blocks);
        EXPECT_EQ(small.status, c.status);
        EXPECT_EQ(tail_from(small.out, "process3\n"), std::string("process3\n") + c.tail);
    }
    EXPECT_EQ(run_model("BOND DEFIN\r\nCI5    1\nCI2    2\nRE2    3\n/\n" + std::string(cases[0].blocks))
                  .file("proto2"),
              crlf("double C2(double Z);\ndouble R1(double J,double Z);\ndouble C1(double Z);\n"));
}

// A source and a resistor on one bond: no states, no definition blocks needed
// unless DEFIN runs.
const std::string BOND_PART = "SE1    1\nRE1    1\n/\n";

TEST(BackHalfRun, PhasesThatDoNotRunContributeNothing) {
    struct Case {
        const char* keywords;
        std::string sections;
        std::string par;
        std::string c_functions;  // the prototypes in temp.c
    } cases[] = {
        // OUT and the state functions, no DEFIN: DOUT calls functions it does not get
        {"BOND SYMBOL OUT", "BC: FL1   FL1\n/\n", "LA  1  FL1            FL1\nNS       0 ",
         "void DOUT();\nvoid FUNC(double T,double X[],int N);\ndouble FU(int I,double T,double X[]);\n"},
        // OUT and DEFIN both absent: state functions, PARM and INIT, no outputs
        {"BOND SYMBOL PARM INIT", " 0 1 0.1 10\n/\n",
         "NS       0               NUMBER OF STATE VARIABLES\n"
         "IN       0               NUMBER OF ADDITIONAL INTEGRAL VARIABLES\n"
         "ND       0               NUMBER OF DUMMY VARIABLES\n"
         "PT  1   0.000000e+00    SIMULATION STRAT TIME\n"
         "PT  2   1.000000e+00    SIMULATION END TIME\n"
         "PT  3   1.000000e-01    SIMULATION TIME WIDTH\n"
         "NO           10               NUMBER OF OUTPUT TIMES\n"
         "OP            0               NUMBER OF OUTPUT VARIABLES\n"
         "END\n",
         "void FUNC(double T,double X[],int N);\ndouble FU(int I,double T,double X[]);\n"},
        // DEFIN without SYMBOL and OUT: the parameter table is made on demand
        {"BOND DEFIN", "SE1\nPA: V      2.0\nE=V;\nEOD\nRE1\nR=Z;\nEOD\n/\n", "PA   1   2.000000e+00 V     \n",
         "double E1();\ndouble R1(double J,double Z);\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keywords);
        RunResult r = run_model(std::string(c.keywords) + "\r\n" + BOND_PART + c.sections);
        EXPECT_EQ(r.status, 0) << r.out;
        EXPECT_EQ(r.file("temp.PAR").substr(0, crlf(c.par).size()), crlf(c.par));
        const std::string c_file = r.file("temp.c");
        const std::string head = crlf("#include<stdio.h>\n#include<math.h>\n") + crlf(c.c_functions) +
                                 crlf("double OP[100];\n");
        EXPECT_EQ(c_file.substr(0, head.size()), head);
    }
}

TEST(BackHalfRun, IntegralVariablesOfStatesThenOutputsThenFeedback) {
    RunResult r = run_model("BOND SYMBOL OUT DEFIN\r\nSF1    1\nCI1    2\nZJ     -1    2\n/\n"
                            "BC: EN2   EN2\n/\n"
                            "SF1\nFB: m      MN1\nF=1.0+0.0*m;\nEOD\nCI1\nC=Z;\nEOD\n/\n");
    ASSERT_EQ(r.status, 0) << r.out;
    const std::string c_file = r.file("temp.c");
    EXPECT_THAT(c_file, HasSubstr(crlf("F1=1.0+0.0*X[2];\n")));
    EXPECT_THAT(c_file, HasSubstr(crlf("void FUNC(double T,double X[],int N){\n"
                                       "  DX[0]=(F1());\n"
                                       "  DX[1]=C1(X[0])*(F1());\n"
                                       "  DX[2]=C1(X[0]);\n"
                                       "}\n")));
    EXPECT_EQ(r.file("temp.PAR"), crlf("LA  1  EN2            EN2\n"
                                       "NS       1               NUMBER OF STATE VARIABLES\n"
                                       "IN       2               NUMBER OF ADDITIONAL INTEGRAL VARIABLES\n"
                                       "ND       0               NUMBER OF DUMMY VARIABLES\n"));
}

TEST(BackHalfRun, FeedbackEffortWithoutTheSolverHasNoExpression) {
    RunResult r = run_model("BOND DEFIN\r\n" + BOND_PART + "SE1\nFB: a      FL1\nE=a;\nEOD\nRE1\nR=Z;\nEOD\n/\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(tail_from(r.out, "SE\n INPUT"), "SE\n INPUT LINE NO.   5\n"
                                               "*** INPUT DATA ERROR: NO EXPRESSION FOR FEEDBACK VARIABLE ***\n");
}

}  // namespace
