// temp.PAR: parameter lines, the PARM line and the INIT section.
#include "back_half_fixture.h"

namespace cvork2_test {
namespace {

using namespace cvork2;

class ParameterFile : public BackHalfTest {};

TEST_F(ParameterFile, FirstValueOfANameWinsAndNamesCompareWithTheirBlanks) {
    open_work_files();
    EXPECT_EQ(add_parameter("K     ", 2.0, ""), 1);
    EXPECT_EQ(add_parameter("k     ", 1.23456789, "N/m            spring    "), 2);
    EXPECT_EQ(add_parameter("K     ", 3.0, "other"), 1);  // same name: nothing written
    EXPECT_EQ(add_parameter(" K    ", -2.5, " "), 3);      // blanks count
    EXPECT_EQ(add_parameter("      ", 0.0, "blank name"), 4);
    const std::string long_comment(70, 'c');  // more than 49 characters: written whole
    EXPECT_EQ(add_parameter("L     ", 1e-7, long_comment + "   "), 5);
    EXPECT_EQ(NPRM, 5);
    EXPECT_EQ(file("temp.PAR"), crlf("PA   1   2.000000e+00 K     \n"
                                     "PA   2   1.234568e+00 k     :N/m            spring\n"
                                     "PA   3   -2.500000e+00  K    \n"
                                     "PA   4   0.000000e+00       :blank name\n"
                                     "PA   5   1.000000e-07 L     :" +
                                     long_comment + "\n"));
}

TEST_F(ParameterFile, ParameterNumbersGoUpTo9999) {
    open_work_files();
    NLINE = 41;
    for (int k = 1; k <= MAX_PARAMETERS; ++k) {
        char name[8];
        std::snprintf(name, sizeof name, "P%-5d", k);
        ASSERT_EQ(add_parameter(name, 1.0, ""), k);
    }
    EXPECT_EQ(run([] { add_parameter("Q     ", 1.0, ""); }), 1);
    EXPECT_EQ(console(), " INPUT LINE NO.  41\n"
                         "*** INPUT DATA ERROR: TOO MANY PARAMETERS (AT MOST 9999) ***\n");
}

TEST_F(ParameterFile, ParmLineGivesTheTimeAndCountLines) {
    struct Case {
        const char* line;
        const char* expected;
    } cases[] = {
        // the editor's defaults, as its writer lays them out
        {" 0.00000E+00        1.00000E+00        1.00000E-05     1000\n",
         "PT  1   0.000000e+00    SIMULATION STRAT TIME\n"
         "PT  2   1.000000e+00    SIMULATION END TIME\n"
         "PT  3   1.000000e-05    SIMULATION TIME WIDTH\n"
         "NO         1000               NUMBER OF OUTPUT TIMES\n"
         "OP            3               NUMBER OF OUTPUT VARIABLES\n"},
        // an empty start time reads 0; fields are split by blanks, not columns
        {"                    2.5 0.125 7\n",
         "PT  1   0.000000e+00    SIMULATION STRAT TIME\n"
         "PT  2   2.500000e+00    SIMULATION END TIME\n"
         "PT  3   1.250000e-01    SIMULATION TIME WIDTH\n"
         "NO            7               NUMBER OF OUTPUT TIMES\n"
         "OP            3               NUMBER OF OUTPUT VARIABLES\n"},
        // decimal only: no hexadecimal, inf or nan; the longest leading number
        {" 0x10 inf 1e-3x 12abc\n",
         "PT  1   0.000000e+00    SIMULATION STRAT TIME\n"
         "PT  2   0.000000e+00    SIMULATION END TIME\n"
         "PT  3   1.000000e-03    SIMULATION TIME WIDTH\n"
         "NO           12               NUMBER OF OUTPUT TIMES\n"
         "OP            3               NUMBER OF OUTPUT VARIABLES\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        reset_compiler_state();
        set_console(&console_);
        model(c.line);
        open_work_files();
        NOUT = 3;
        NLINE = 20;
        EXPECT_EQ(run(read_simulation_parameters), 0);
        EXPECT_EQ(NLINE, 21);
        EXPECT_EQ(file("temp.PAR"), crlf(c.expected));
    }
}

TEST_F(ParameterFile, BadParmLinesAreReported) {
    const char* lines[] = {
        " 0.0000000000000000001 1.0 0.01 100",  // a time of 20 characters
        " 0.0 1.0 0.01 1234567890",             // a count of 10 characters
        " 0.0 1.0 0.01",                        // no count
        " 0.000000000000000001.0 0.01 100",     // two times run together
        "",
    };
    for (const char* line : lines) {
        SCOPED_TRACE(line);
        reset_compiler_state();
        console_.str("");
        set_console(&console_);
        model(std::string(line) + "\n");
        open_work_files();
        NLINE = 20;
        EXPECT_EQ(run(read_simulation_parameters), 1);
        EXPECT_EQ(console(), std::string(" INPUT LINE NO.21\n"
                                         "*** INPUT DATA ERROR : ILLEGAL PARM LINE ***\n"
                                         "*** ") +
                                 line + "\n");
        EXPECT_EQ(file("temp.PAR"), "");
    }
}

TEST_F(ParameterFile, MissingParmLineIsAnUnexpectedEnd) {
    model("");
    open_work_files();
    EXPECT_EQ(run(read_simulation_parameters), 1);
    EXPECT_EQ(console(), " *** INPUT DATA ERROR: UNEXPECTED END OF FILE ***\n");
}

// Bonds named 5, 7 and 9 are the compiler's bonds 1, 2 and 3: a C on bond 7
// (DP2), an I on bond 9 (MN3), and an energy output on bond 5 (EN1).
class InitialValues : public ParameterFile {
protected:
    void SetUp() override {
        ParameterFile::SetUp();
        for (const char* name : {"5", "7", "9"}) add_bond(name);
        state('C', 2);
        state('I', 3);
        add_integral_variable("EN1", 1, 2);
        NLINE = 30;
    }
};

TEST_F(InitialValues, StLinesEchoTheLinesOwnKindAndBondText) {
    model("DP7    1.0000000E-01\n"
          "MN09   -2.500000E+00\n"
          "EN5\n"
          "DP7    3.0000000E+00 extra\n"
          "/\n");
    open_work_files();
    EXPECT_EQ(run(read_initial_values), 0);
    EXPECT_EQ(NLINE, 35);
    EXPECT_EQ(file("temp.PAR"), crlf("ST  1   1.000000e-01    DP7   \n"
                                     "ST  2   -2.500000e+00    MN09  \n"
                                     "ST  3   0.000000e+00    EN5   \n"
                                     "ST  1   3.000000e+00    DP7   \n"
                                     "END\n"));
    EXPECT_EQ(console(), "");
}

TEST_F(InitialValues, EveryIntegralVariableOfTheNameGetsALine) {
    add_integral_variable("DP2", 4, 0);  // a second C on the bond named 7
    model("DP7    1.0000000E-01\n/\n");
    open_work_files();
    EXPECT_EQ(run(read_initial_values), 0);
    EXPECT_EQ(file("temp.PAR"), crlf("ST  1   1.000000e-01    DP7   \n"
                                     "ST  4   1.000000e-01    DP7   \n"
                                     "END\n"));
}

TEST_F(InitialValues, ValueRunsFromColumn8ToTheFirstBlank) {
    struct Case {
        const char* line;  // the INIT line, with its line end
        const char* st;    // the ST line it gives
    } cases[] = {
        // 13 characters, the editor's default and a full mantissa
        {"DP7    0.0000000E+00\n", "ST  1   0.000000e+00    DP7   \n"},
        {"DP7    1.2345678E+01\n", "ST  1   1.234568e+01    DP7   \n"},
        {"MN9    -2.500000E-03\n", "ST  2   -2.500000e-03    MN9   \n"},
        // 14 characters: the last digit of the exponent counts
        {"DP7    -3.0000000E-01\n", "ST  1   -3.000000e-01    DP7   \n"},
        {"DP7    1.00000000E-05\n", "ST  1   1.000000e-05    DP7   \n"},
        {"DP7    1.2345678E+015\n", "ST  1   1.234568e+15    DP7   \n"},
        {"DP7    +1.0000000E-05\n", "ST  1   1.000000e-05    DP7   \n"},
        // 19 characters, the longest the editor stores
        {"DP7    -1.23456789012E-07\n", "ST  1   -1.234568e-07    DP7   \n"},
        {"DP7    1.23456789012E-100\n", "ST  1   1.234568e-100    DP7   \n"},
        {"DP7    0.00000000000000005\n", "ST  1   5.000000e-17    DP7   \n"},
        // trailing blanks, and text after a blank, are not part of the value
        {"DP7    -3.0000000E-01     \n", "ST  1   -3.000000e-01    DP7   \n"},
        {"DP7    2.5 9.0E+05\n", "ST  1   2.500000e+00    DP7   \n"},
        {"DP7    2.50000000000000000000000000E-01x\n", "ST  1   2.500000e-01    DP7   \n"},
        // CR LF line ends, with and without trailing blanks
        {"DP7    -3.0000000E-01\r\n", "ST  1   -3.000000e-01    DP7   \n"},
        {"MN09   1.00000000E-05  \r\n", "ST  2   1.000000e-05    MN09  \n"},
        // blanks before the value are skipped, as they always were
        {"DP7      4.0E+00\n", "ST  1   4.000000e+00    DP7   \n"},
        // no number: 0
        {"DP7    E-05\n", "ST  1   0.000000e+00    DP7   \n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        console_.str("");
        model(std::string(c.line) + "/\n");
        open_work_files();
        EXPECT_EQ(run(read_initial_values), 0);
        EXPECT_EQ(file("temp.PAR"), crlf(std::string(c.st) + "END\n"));
        EXPECT_EQ(console(), "");
    }
}

TEST_F(InitialValues, SectionOfOnlyItsEndLineGivesEnd) {
    model("/\n");
    open_work_files();
    EXPECT_EQ(run(read_initial_values), 0);
    EXPECT_EQ(file("temp.PAR"), crlf("END\n"));
}

TEST_F(InitialValues, Errors) {
    struct Case {
        const char* model;
        const char* console;
        const char* par;
    } cases[] = {
        // a bond the BOND section does not have: the line is shown with its LF
        {"DP7    1.0\nDP8    1.0\n/\n",
         " INPUT LINE NO.32\n*** INPUT DATA ERROR : ILLEGAL INPUT ***\n*** DP8    1.0\n\n",
         "ST  1   1.000000e+00    DP7   \n"},
        // a kind that names no integral variable
        {"EF7    1.0\n/\n", " INPUT LINE NO.31\n*** INPUT DATA ERROR : UNDEFINED NAME ***\n...EF    7   \n", ""},
        // a state of another kind on a known bond
        {"MN7    1.0\n/\n", " INPUT LINE NO.31\n*** INPUT DATA ERROR : UNDEFINED NAME ***\n...MN    7   \n", ""},
        // no end line
        {"DP7    1.0\n", " *** INPUT DATA ERROR: UNEXPECTED END OF FILE ***\n", "ST  1   1.000000e+00    DP7   \n"},
        // a long value with CR LF: the line is shown whole, without its CR
        {"DP8    -1.23456789012E-07\r\n/\n",
         " INPUT LINE NO.31\n*** INPUT DATA ERROR : ILLEGAL INPUT ***\n*** DP8    -1.23456789012E-07\n\n", ""},
        {"MN7    -1.23456789012E-07\n/\n", " INPUT LINE NO.31\n*** INPUT DATA ERROR : UNDEFINED NAME ***\n...MN    7   \n",
         ""},
        // the last line without its LF is shown without one
        {"DP4    1.0", " INPUT LINE NO.31\n*** INPUT DATA ERROR : ILLEGAL INPUT ***\n*** DP4    1.0\n", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        console_.str("");
        model(c.model);
        open_work_files();
        NLINE = 30;
        EXPECT_EQ(run(read_initial_values), 1);
        EXPECT_EQ(console(), c.console);
        EXPECT_EQ(file("temp.PAR"), crlf(c.par));  // no END after an error
    }
}

}  // namespace
}  // namespace cvork2_test
