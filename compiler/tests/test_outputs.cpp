// The OUT phase (DOUT and the LA lines), the state functions (FUNC, FU and the
// NS/IN/ND lines) and the statement writer.
#include "back_half_fixture.h"

#include <gmock/gmock.h>

namespace cvork2_test {
namespace {

using ::testing::HasSubstr;

using namespace cvork2;

// Bond 1 carries a source and a resistor flow, bond 2 a C (state DP2, X[0]),
// bond 3 an I (state MN3, X[1]).
class OutputPhase : public BackHalfTest {
protected:
    void SetUp() override {
        BackHalfTest::SetUp();
        bonds(3);
        expression(1, "E1()");
        expression(2, "R1(1,E1())");
        expression(3, "C1(X[0])");
        expression(4, "L1(X[1])");
        expression(5, "(E1()-C1(X[0]))");
        expression(6, "L1(X[1])");
        state('C', 2);
        state('I', 3);
        NLINE = 6;
    }
};

TEST_F(OutputPhase, EveryOutputKind) {
    model("BC: EF1   EF1\n"
          "BC: PW1   PW1\n"
          "BC: DP2   DP2\n"   // the C's own state: no new integral variable
          "BC: MN3   MN3\n"   // the I's own state
          "BC: EN1   EN1\n"   // a new integral variable, X[2]
          "BC: EN01  EN01\n"  // the same bond by value: the same variable
          "BC: MN2   MN2\n"   // another new one, X[3]
          "BC: FL3   FL3 text after\n"
          "/\n"
          "next section\n");
    open_work_files();
    EXPECT_EQ(run(write_output_function), 0);
    EXPECT_EQ(read_model_line(), "next section");
    EXPECT_EQ(NOUT, 8);
    EXPECT_EQ(NLINE, 15);
    EXPECT_EQ(NINTEG, 4);
    EXPECT_EQ(NIN[3], "EN1");
    EXPECT_EQ(NIG[0][3], 1);
    EXPECT_EQ(NIG[1][3], 2);
    EXPECT_EQ(NIN[4], "MN2");
    EXPECT_EQ(NIG[0][4], 3);
    EXPECT_EQ(NIG[1][4], 0);
    EXPECT_EQ(file("proto1"), crlf("void DOUT(){\n"
                                   "  OP[0]=E1();\n"
                                   "  OP[1]=E1()*R1(1,E1());\n"
                                   "  OP[2]=X[0];\n"
                                   "  OP[3]=X[1];\n"
                                   "  OP[4]=X[2];\n"
                                   "  OP[5]=X[2];\n"
                                   "  OP[6]=X[3];\n"
                                   "  OP[7]=L1(X[1]);\n"
                                   "}\n"
                                   "\n"));
    EXPECT_EQ(file("proto2"), crlf("void DOUT();\n"));
    EXPECT_EQ(file("temp.PAR"), crlf("LA  1  EF1            EF1\n"
                                     "LA  2  PW1            PW1\n"
                                     "LA  3  DP2            DP2\n"
                                     "LA  4  MN3            MN3\n"
                                     "LA  5  EN1            EN1\n"
                                     "LA  6  EN01           EN01\n"
                                     "LA  7  MN2            MN2\n"
                                     "LA  8  FL3            FL3 text after\n"));
    EXPECT_EQ(console(), "");
}

TEST_F(OutputPhase, EmptySectionGivesAnEmptyDout) {
    model("   /\n");  // a "/" anywhere in columns 1-4 ends the section
    open_work_files();
    EXPECT_EQ(run(write_output_function), 0);
    EXPECT_EQ(file("proto1"), crlf("void DOUT(){\n}\n\n"));
    EXPECT_EQ(file("temp.PAR"), "");
    EXPECT_EQ(NOUT, 0);
}

TEST_F(OutputPhase, UndefinedLabelIsReportedAndTheRunGoesOn) {
    model("BC: XY1   XY1\nBC: EF1   EF1\n/\n");
    open_work_files();
    EXPECT_EQ(run(write_output_function), 0);
    EXPECT_EQ(console(), " INPUT LINE NO.   7\n"
                         "*** INPUT DATA ERROR: UNDEFINED LABEL ***\n"
                         "...XY,1        IN OUTPUT SPECIFICATION\n");
    EXPECT_EQ(file("proto1"), crlf("void DOUT(){\n  OP[0]=0.0;\n  OP[1]=E1();\n}\n\n"));
    EXPECT_EQ(file("temp.PAR"), crlf("LA  1  XY1            XY1\nLA  2  EF1            EF1\n"));
}

TEST_F(OutputPhase, Errors) {
    struct Case {
        const char* model;
        const char* console;
    } cases[] = {
        // an undefined bond wins over an unknown kind
        {"BC: XY9   XY9\n/\n", " INPUT LINE NO.   7\n*** INPUT ERROR : UNDEFINED BOND : 9       \n"},
        {"BC: EF4   EF4\n/\n", " INPUT LINE NO.   7\n*** INPUT ERROR : UNDEFINED BOND : 4       \n"},
        {"BC:EF1    EF1\n/\n", " INPUT LINE NO.   7\n*** INPUT ERROR: ILLEGAL INPUT DATA :***\n*** BC:EF1    EF1\n"},
        {"BC:\n/\n", " INPUT LINE NO.   7\n*** INPUT ERROR: ILLEGAL INPUT DATA :***\n*** BC:\n"},
        {"BC: EF1   EF1\n\n/\n", " INPUT LINE NO.   8\n*** INPUT ERROR: ILLEGAL INPUT DATA :***\n*** \n"},
        {"BC: EF1   EF1\n", " *** INPUT DATA ERROR: UNEXPECTED END OF FILE ***\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        console_.str("");
        NLINE = 6;
        model(c.model);
        open_work_files();
        EXPECT_EQ(run(write_output_function), 1);
        EXPECT_EQ(console(), c.console);
    }
}

TEST_F(OutputPhase, ShortLineReadsBlanksPastItsEnd) {
    model("BC: EF1   EF1\nBC: \n/\n");  // the second line's kind and bond are blanks
    open_work_files();
    EXPECT_EQ(run(write_output_function), 1);
    EXPECT_EQ(console(), " INPUT LINE NO.   8\n*** INPUT ERROR : UNDEFINED BOND :         \n");
}

TEST_F(OutputPhase, AtMost100Outputs) {
    std::string text;
    for (int i = 0; i < 101; ++i) text += "BC: EF1   EF1\n";
    model(text + "/\n");
    open_work_files();
    EXPECT_EQ(run(write_output_function), 1);
    EXPECT_EQ(console(), " INPUT LINE NO. 107\n"
                         "*** INPUT DATA ERROR: TOO MANY OUTPUT VARIABLES (AT MOST 100) ***\n");
    EXPECT_EQ(NOUT, 100);
    // The hundredth output is still written, with a three-character index.
    std::string proto1 = file("proto1");
    EXPECT_THAT(proto1, HasSubstr("  OP[99]=E1();\r\n"));
}

TEST_F(OutputPhase, AtMost130IntegralVariables) {
    reset_compiler_state();
    set_console(&console_);
    bonds(140);
    NLINE = 12;
    for (int b = 1; b <= 130; ++b) {
        resolve_output_variable("DP", std::to_string(b));
        ASSERT_EQ(IRES[1], b);
    }
    EXPECT_EQ(run([] { resolve_output_variable("DP", "131"); }), 1);
    EXPECT_EQ(NINTEG, 130);
    EXPECT_EQ(console(), " INPUT LINE NO.  12\n"
                         "*** INPUT DATA ERROR: TOO MANY INTEGRAL VARIABLES (AT MOST 130) ***\n");
}

TEST_F(OutputPhase, StateFunctionsWithoutDummies) {
    add_integral_variable("EN1", 1, 2);
    open_work_files();
    EXPECT_EQ(run(write_state_functions), 0);
    EXPECT_EQ(file("proto1"), crlf("void FUNC(double T,double X[],int N){\n"
                                   "  DX[0]=L1(X[1]);\n"
                                   "  DX[1]=(E1()-C1(X[0]));\n"
                                   "  DX[2]=E1()*R1(1,E1());\n"
                                   "}\n"
                                   "\n"
                                   "double FU(int I,double T,double X[]){\n"
                                   "  double FU;\n"
                                   "  FU=0.0e-00;\n"
                                   "  return(FU);\n"
                                   "}\n"
                                   "\n"));
    EXPECT_EQ(file("proto2"), crlf("void FUNC(double T,double X[],int N);\n"
                                   "double FU(int I,double T,double X[]);\n"));
    EXPECT_EQ(file("temp.PAR"), crlf("NS       2               NUMBER OF STATE VARIABLES\n"
                                     "IN       1               NUMBER OF ADDITIONAL INTEGRAL VARIABLES\n"
                                     "ND       0               NUMBER OF DUMMY VARIABLES\n"));
}

TEST_F(OutputPhase, StateFunctionsWithoutIntegralVariables) {
    reset_compiler_state();
    set_console(&console_);
    bonds(1);
    open_work_files();
    EXPECT_EQ(run(write_state_functions), 0);
    EXPECT_EQ(file("proto1"), crlf("void FUNC(double T,double X[],int N){\n"
                                   "}\n"
                                   "\n"
                                   "double FU(int I,double T,double X[]){\n"
                                   "  double FU;\n"
                                   "  FU=0.0e-00;\n"
                                   "  return(FU);\n"
                                   "}\n"
                                   "\n"));
    EXPECT_EQ(file("temp.PAR"), crlf("NS       0               NUMBER OF STATE VARIABLES\n"
                                     "IN       0               NUMBER OF ADDITIONAL INTEGRAL VARIABLES\n"
                                     "ND       0               NUMBER OF DUMMY VARIABLES\n"));
}

TEST_F(OutputPhase, FuGivesEachDummyOutput) {
    // Dummy 1: its DF line on bond 1 (effort 1), its DE line on bond 3 (flow 6).
    NDUMMY = 2;
    IDE[1] = 1;
    IDF[1] = 6;
    open_work_files();
    EXPECT_EQ(run(write_state_functions), 0);
    std::string proto1 = file("proto1");
    EXPECT_THAT(proto1, HasSubstr(crlf("double FU(int I,double T,double X[]){\n"
                                       "  double FU;\n"
                                       "  FU=0.0e-00;\n"
                                       "  if(I==1) FU=E1();\n"
                                       "  if(I==2) FU=L1(X[1]);\n"
                                       "  return(FU);\n"
                                       "}\n"
                                       "\n")));
    EXPECT_THAT(file("temp.PAR"), HasSubstr("ND       2 "));
}

TEST(OutputStatement, WriterDropsFourCharactersAndCutsAtTheFirstBlank) {
    struct Case {
        int unit;
        const char* prefix;
        const char* text;
        const char* proto1;
        const char* par;
    } cases[] = {
        {10, "      OP[0]=", "X[0]", "  OP[0]=X[0];\n", ""},
        {10, "      OP[0]=   ", "a+b c+d", "  OP[0]=a+b;\n", ""},
        {15, "      DX[3]=", "E1()", "", "  DX[3]=E1();\n"},
        {7, "      DX[3]=", "E1()", "", ""},
        {10, "ab", "", "\n", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.prefix);
        ScratchDir dir;
        ASSERT_TRUE(FPROTO1.open("proto1"));
        ASSERT_TRUE(FPAR.open("temp.PAR"));
        write_statement(c.unit, c.prefix, c.text);
        close_all_files();
        EXPECT_EQ(read_file("proto1"), crlf(c.proto1));
        EXPECT_EQ(read_file("temp.PAR"), crlf(c.par));
    }
}

TEST_F(OutputPhase, LongExpressionsAreWrittenWhole) {
    std::string longer(500, 'x');
    IAD[1] = append_expression(longer, NSCR);
    model("BC: EF1   EF1\n/\n");
    open_work_files();
    EXPECT_EQ(run(write_output_function), 0);
    EXPECT_THAT(file("proto1"), HasSubstr("  OP[0]=" + longer + ";\r\n"));
}

}  // namespace
}  // namespace cvork2_test
