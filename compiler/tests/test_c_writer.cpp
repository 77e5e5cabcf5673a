// temp.c: includes, prototypes, fixed globals, feedback globals, bodies.
#include "back_half_fixture.h"

#include <gmock/gmock.h>

namespace cvork2_test {
namespace {

using ::testing::HasSubstr;

using namespace cvork2;

class CSourceWriter : public BackHalfTest {
protected:
    void SetUp() override {
        BackHalfTest::SetUp();
        DYCP = "temp";
    }
};

TEST_F(CSourceWriter, JoinsTheWorkFilesWithTheGlobals) {
    // Work files as the phases leave them on disk (CR LF; a CR of the text kept).
    write_file("proto2", "void DOUT();\r\ndouble C1(double Z);\r\n");
    write_file("proto1", "void DOUT(){\r\n  OP[0]=X[0];\r\n}\r\n\r\ndouble C1(double Z){\r\n  x=1;\r\r\n}\r\n\r\n");
    model("BOND SYMBOL EXPR OUT DEFIN PARM INIT\n"
          "CI1    1\n/\n/\n"
          "CI1\n" +
          fb_line("q", "DP", "1") + fb_line("speed", "FL", "1") +
          "FB: q      EF1\n"      // a name already declared
          "FB: toolong1 EF1\n"    // cut to 6 characters
          "FBx=1;\n"              // a statement line beginning FB counts too
          "FB: tab\tx EF1\n"      // a tab is no blank
          "C=q/2;\nEOD\n/\n"
          " 0 1 0.1 10\n"
          "FB: init\n"            // any section
          "/\n");
    EXPECT_EQ(run(assemble_c_source), 0);
    EXPECT_EQ(read_file("temp.c"), crlf("#include<stdio.h>\n"
                                        "#include<math.h>\n"
                                        "void DOUT();\n"
                                        "double C1(double Z);\n"
                                        "double OP[100];\n"
                                        "double H,X[130],XX[30],T;\n"
                                        "double PA[10000];\n"
                                        "double DX[130];\n"
                                        "double DSIGN(double a,double b);\n"
                                        "\n"
                                        "double q;\n"
                                        "double speed;\n"
                                        "double toolon;\n"
                                        "double 1;;\n"
                                        "double tab\tx;\n"
                                        "double init;\n"
                                        "\n"
                                        "void DOUT(){\n"
                                        "  OP[0]=X[0];\n"
                                        "}\n"
                                        "\n"
                                        "double C1(double Z){\n") +
                                   "  x=1;\r\r\n" + crlf("}\n\n"));
    EXPECT_EQ(console(), "");
}

TEST_F(CSourceWriter, WithoutFunctionsOrFeedback) {
    write_file("proto1", "");
    write_file("proto2", "");
    model("BOND\n/\n");
    EXPECT_EQ(run(assemble_c_source), 0);
    EXPECT_EQ(read_file("temp.c"), crlf("#include<stdio.h>\n"
                                        "#include<math.h>\n"
                                        "double OP[100];\n"
                                        "double H,X[130],XX[30],T;\n"
                                        "double PA[10000];\n"
                                        "double DX[130];\n"
                                        "double DSIGN(double a,double b);\n"
                                        "\n"
                                        "\n"));
}

TEST_F(CSourceWriter, DummiesDeclareDeAndDf) {
    write_file("proto1", "");
    write_file("proto2", "");
    model("BOND\n/\n");
    NDUMMY = 2;
    EXPECT_EQ(run(assemble_c_source), 0);
    EXPECT_THAT(read_file("temp.c"), HasSubstr(crlf("double DSIGN(double a,double b);\n"
                                                    "double DE(int N);\n"
                                                    "double DF(int N);\n"
                                                    "\n")));
}

TEST_F(CSourceWriter, MissingWorkFiles) {
    model("BOND\n/\n");
    EXPECT_EQ(run(assemble_c_source), 1);
    EXPECT_EQ(console(), "FILE NOT OPEN(1)\n");
    write_file("proto1", "");
    console_.str("");
    EXPECT_EQ(run(assemble_c_source), 1);
    EXPECT_EQ(console(), "FILE NOT OPEN(2)\n");
    EXPECT_FALSE(fs::exists("temp.c"));
}

}  // namespace
}  // namespace cvork2_test
