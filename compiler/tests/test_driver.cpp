// The driver: phase selection by the keyword line, the work files, the model
// file's name and line ends, the status and the end marker; the expression
// store; and the real binary end to end.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "compile_runs.h"
#include "model.h"

using namespace cvork2_test;

namespace {

using ::testing::HasSubstr;
using ::testing::Not;

// A solvable model without components that need a definition block.
const std::string DUMMY_BOND = "DE1    1\nDF1    2\nZJ     1     2\n/\n";
const std::string PARM_LINE = " 0.00000E+00        1.00000E+00        1.00000E-05     1000\n";

struct KeywordCase {
    const char* name;
    std::string keywords;
    std::string processes;  // the processN lines printed
};

// The model file holds exactly the sections of the phases that run.
std::string model_for(const KeywordCase& c) {
    std::string m = c.keywords + "\r\n" + DUMMY_BOND;
    auto runs = [&](char n) { return c.processes.find(n) != std::string::npos; };
    if (runs('5')) m += "/\n";        // OUT
    if (runs('6')) m += "/\n";        // DEFIN
    if (runs('8')) m += PARM_LINE;    // PARM
    if (runs('9')) m += "/\n";        // INIT
    return m;
}

std::vector<KeywordCase> keyword_cases() {
    return {
        {"EditorLine", "BOND SYMBOL EXPR OUT DEFIN PARM INIT", "1 2 3 4 5 6 7 8 9"},
        {"WithoutParmInit", "BOND SYMBOL OUT DEFIN", "1 2 3 4 5 6 7"},
        {"BondOnly", "BOND", "1 2 3"},
        {"BondSymbol", "BOND SYMBOL", "1 2 3 4 7"},
        {"BondSymbolParmInit", "BOND SYMBOL PARM INIT", "1 2 3 4 7 8 9"},
        {"BondSymbolOut", "BOND SYMBOL OUT", "1 2 3 4 5 7"},
        {"BondSymbolDefin", "BOND SYMBOL DEFIN", "1 2 3 4 6 7"},
        {"BondDefin", "BOND DEFIN", "1 2 3 6"},
        {"BondDefinParmInit", "BOND DEFIN PARM INIT", "1 2 3 6"},
        {"NoBond", "SYMBOL OUT DEFIN PARM INIT", "1 2"},
        // OUT at position 0: OUT and DEFIN run, the product is 0.
        {"OutAtStart", "OUT BOND SYMBOL DEFIN PARM INIT", "1 2 3 4 5 6"},
        // The search misses keywords that begin inside a failed partial match.
        {"DoubledFirstLetterOfBond", "BBOND SYMBOL OUT DEFIN", "1 2"},
        {"DoubledFirstLetterOfSymbol", "BOND SSYMBOL OUT DEFIN", "1 2 3 6"},
        // Keywords count inside longer words: OUTPUT, and INIT in DEFINITIONS.
        {"InsideWords", "BOND SYMBOL OUTPUT DEFINITIONS", "1 2 3 4 5 6 7 9"},
        {"LowerCase", "bond symbol", "1 2"},
        // OUT at 46341 and DEFIN at 46345: their product exceeds 32 bits.
        {"FarPositions", "BOND SYMBOL" + std::string(46330, ' ') + "OUT DEFIN PARM INIT", "1 2 3 4 5 6 7 8 9"},
    };
}

class DriverKeywords : public ::testing::TestWithParam<KeywordCase> {};

TEST_P(DriverKeywords, RunThePhasesOfTheTable) {
    const KeywordCase& c = GetParam();
    RunResult r = run_model(model_for(c));
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(process_lines(r.out), c.processes);
    EXPECT_EQ(r.out.rfind(std::string(BANNER) + "process1\n", 0), 0u);
    EXPECT_TRUE(r.has("VRK_ERROR"));
    const bool bond_runs = c.processes.find('3') != std::string::npos;
    const bool symbol_runs = c.processes.find('4') != std::string::npos;
    // SCRATCH: the first expressions when BOND runs, the junction sum with SYMBOL.
    EXPECT_EQ(r.file("SCRATCH"), bond_runs ? crlf(symbol_runs ? "DE(1)\nDF(1)\n(-DF(1))\n" : "DE(1)\nDF(1)\n") : "");
    EXPECT_EQ(r.file("sysvar.txt"), "");
    for (const char* f : {"proto1", "proto2", "temp.PAR"}) EXPECT_TRUE(r.has(f)) << f;
}

INSTANTIATE_TEST_SUITE_P(Fixtures, DriverKeywords, ::testing::ValuesIn(keyword_cases()),
                         [](const auto& info) { return std::string(info.param.name); });

const std::string RC_MODEL = "BOND SYMBOL\r\nSE1    1\nRE1    2\nCI1    3\nOJ     -1    2     3\n/\n";
const std::string RC_OUT = std::string(BANNER) +
                           "process1\nprocess2\nSE\nRE\nCI\nOJ\n"
                           "      *** BOND NAME LIST ***\n"
                           "       NUMBER OF BONDS : 3\n"
                           " (  1 ) :   1   (  2 ) :   2   (  3 ) :   3  \n"
                           " *** BOND GRAPH ELEMENT LIST ***\n"
                           "     NUMBER OF SE-ELEMENTS: 1\n"
                           " (  1) :  1       \n"
                           "     NUMBER OF RE-ELEMENTS: 1\n"
                           " (  1) :  1       \n"
                           "     NUMBER OF CI-ELEMENTS: 1\n"
                           " (  1) :  1       \n"
                           "    *** ONE-TO-ONE RELATION ***\n"
                           "     NO.  CAUSE  EFFECT  RELATION\n"
                           "      1      4       3     RE   1\n"
                           "      2      2       4     EQ    \n"
                           "      3      4       6     EQ    \n"
                           "    *** LINEAR EQUATION ***\n"
                           "     NO. VAR.  VAR.  VAR.  VAR.  VAR.  VAR.  VAR.  VAR.  VAR.  VAR.  \n"
                           "      1    1     3     5   \n"
                           "          -1     1     1   \n"
                           "    *** INPUT VARIABLE LIST ***\n"
                           "     NO.   1 ** EF(  1) : INPUT VARIABLE OF  SE1    ON BOND    1\n"
                           "    *** STATE VARIABLE LIST ***\n"
                           "     NO.   1 ** DP(  3) : ENERGY VARIABLE OF CI1    ON BOND    3\n"
                           "process3\n"
                           " *** SOLUTIONS OF VARIABLES ***\n"
                           "   EFFORT (  1) = E1()\n"
                           "   FLOW   (  1) = R1(1,(E1()-C1(X[0])))\n"
                           "   EFFORT (  2) = (E1()-C1(X[0]))\n"
                           "   FLOW   (  2) = R1(1,(E1()-C1(X[0])))\n"
                           "   EFFORT (  3) = C1(X[0])\n"
                           "   FLOW   (  3) = R1(1,(E1()-C1(X[0])))\n"
                           "process4\nprocess7\n";
const std::string RC_SCRATCH = "E1()\r\nC1(X[0])\r\n(E1()-C1(X[0]))\r\nR1(1,(E1()-C1(X[0])))\r\n";
const std::string RC_SYSVAR = "X[0] f3_C1   \r\n";

TEST(Driver, CompilesTheRcModel) {
    RunResult r = run_model(RC_MODEL);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, RC_OUT);
    EXPECT_EQ(r.file("SCRATCH"), RC_SCRATCH);
    EXPECT_EQ(r.file("sysvar.txt"), RC_SYSVAR);
    EXPECT_EQ(r.file("VRK_ERROR"), "");
}

TEST(Driver, CrLfLineEndsReadAsLf) {
    RunResult r = run_model(crlf("BOND SYMBOL\nSE1    1\nRE1    2\nCI1    3\nOJ     -1    2     3\n/\n"));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, RC_OUT);
    EXPECT_EQ(r.file("SCRATCH"), RC_SCRATCH);
    EXPECT_EQ(r.file("sysvar.txt"), RC_SYSVAR);
}

TEST(Driver, LoneCarriageReturnStaysInTheLine) {
    // Only a CR directly before the LF is dropped: "1\r" is a name of its own
    // (its decimal value is still 1).
    RunResult r = run_model("BOND\r\nSE1    1\r\r\n/\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_THAT(r.out, HasSubstr(" (  1 ) :  1\r  \n")) << r.out;
}

TEST(Driver, LastLineWithoutLineFeedIsALine) {
    RunResult r = run_model("BOND\r\nSE1    1\n/");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.file("SCRATCH"), "E1()\r\n");
}

TEST(Driver, MissingModelFile) {
    RunResult r = run_files({});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, std::string(BANNER) + "** INPUT DATA FILE: temp.VRK **DOES NOT EXIST.CHECK FILE NAME! **\n");
    EXPECT_TRUE(r.files.empty());
}

TEST(Driver, ModelFileFoundWithoutRegardToCase) {
    RunResult r = run_files({{"temp.vrk", RC_MODEL}});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, RC_OUT);
    // Several matches: the first in byte order.
    RunResult two = run_files({{"temp.vrk", "BOND\r\nSE1    1\n/\n"}, {"TEMP.VRK", "BOND\r\nSF1    1\n/\n"}});
    EXPECT_EQ(two.status, 0);
    EXPECT_EQ(two.file("SCRATCH"), "F1()\r\n");
    // The exact name wins over other spellings.
    RunResult exact = run_files({{"TEMP.VRK", "BOND\r\nSF1    1\n/\n"}, {"temp.VRK", "BOND\r\nSE1    1\n/\n"}});
    EXPECT_EQ(exact.file("SCRATCH"), "E1()\r\n");
}

// The exact name decides when it is there: a temp.VRK that cannot be read (a
// directory, a dangling link) is a missing model file even beside a readable
// temp.vrk; without it the first other spelling in byte order is the one read.
TEST(Driver, ModelFileThatCannotBeReadDoesNotExist) {
    const std::string missing =
        std::string(BANNER) + "** INPUT DATA FILE: temp.VRK **DOES NOT EXIST.CHECK FILE NAME! **\n";
    struct Case {
        const char* directory;  // made as a directory
        const char* link;       // made as a link to a missing file
    } cases[] = {
        {"temp.VRK", nullptr},
        {nullptr, "temp.VRK"},
        {"TEMP.VRK", nullptr},  // the first match in byte order
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.directory ? c.directory : c.link);
        RunResult r = run_files({{"temp.vrk", RC_MODEL}}, [&] {
            if (c.directory) fs::create_directory(c.directory);
            if (c.link) fs::create_symlink("absent.VRK", c.link);
        });
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, missing);
        EXPECT_FALSE(r.has("sysvar.txt"));
    }
}

TEST(Driver, ErrorEndLeavesFilesAsWritten) {
    // The unsolved error: SCRATCH keeps the first expression, sysvar.txt its
    // state line, and no end marker is made.
    RunResult r = run_model("BOND SYMBOL\r\nSE1    1\nCI1    2\n/\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.file("SCRATCH"), "E1()\r\nC1(X[0])\r\n");
    EXPECT_EQ(r.file("sysvar.txt"), "X[0] f2_C1   \r\n");
    EXPECT_FALSE(r.has("VRK_ERROR"));
    EXPECT_FALSE(r.has("temp.c"));
    for (const char* f : {"proto1", "proto2", "temp.PAR"}) EXPECT_TRUE(r.has(f)) << f;
}

// A run in a scratch directory where `name` is a link to /dev/full, so every
// write to it fails (with small files, at its close), or a directory.
RunResult run_with_lost_file(const std::string& model, const std::string& name, bool as_directory = false) {
    return run_files({{"temp.VRK", model}}, [&] {
        if (as_directory) fs::create_directory(name);
        else fs::create_symlink("/dev/full", name);
    });
}

std::string not_written(const std::string& name) { return " *** FILE NOT WRITTEN: " + name + " ***\n"; }

// Each output file in turn cannot be written: the run ends with status 1 and
// the message naming it, makes no VRK_ERROR, and the other files hold all
// that was written to them; temp.c is made only after every work file was.
TEST(Driver, OutputFileThatCannotBeWrittenEndsTheRun) {
    const RunResult normal = run_model(RC_MODEL);
    ASSERT_EQ(normal.status, 0);
    for (const std::string name : {"sysvar.txt", "proto1", "temp.PAR", "proto2", "SCRATCH", "temp.c"}) {
        SCOPED_TRACE(name);
        ASSERT_FALSE(normal.file(name).empty());
        RunResult r = run_with_lost_file(RC_MODEL, name);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, RC_OUT + not_written(name));
        EXPECT_FALSE(r.has("VRK_ERROR"));
        for (const auto& [file, bytes] : normal.files) {
            if (file == "VRK_ERROR" || file == name || (file == "temp.c" && name != "temp.c")) continue;
            EXPECT_EQ(r.file(file), bytes) << file;
        }
        if (name != "temp.c") {
            EXPECT_FALSE(r.has("temp.c"));
        }
    }
}

TEST(Driver, LostFileIsReportedWhereTheWriteFails) {
    // More than a buffer of SCRATCH during the BOND section: the run ends there.
    std::string model = "BOND SYMBOL\r\n";
    for (int n = 1; n <= 9000; ++n) {
        const std::string number = std::to_string(n);
        model += "SE" + number + std::string(5 - number.size(), ' ') + number + "\n";
    }
    RunResult r = run_with_lost_file(model + "/\n", "SCRATCH");
    EXPECT_EQ(r.status, 1);
    ASSERT_GE(r.out.size(), not_written("SCRATCH").size());
    EXPECT_EQ(r.out.substr(r.out.size() - not_written("SCRATCH").size()), not_written("SCRATCH"));
    EXPECT_THAT(r.out, Not(HasSubstr("process3")));
    EXPECT_FALSE(r.has("VRK_ERROR"));

    // An input error first: the lost file is reported after its message.
    RunResult error = run_with_lost_file("BOND SYMBOL\r\nSE1    1\nCI1    2\n/\n", "sysvar.txt");
    const RunResult plain = run_model("BOND SYMBOL\r\nSE1    1\nCI1    2\n/\n");
    EXPECT_EQ(error.status, 1);
    EXPECT_EQ(error.out, plain.out + not_written("sysvar.txt"));
    EXPECT_EQ(error.file("SCRATCH"), plain.file("SCRATCH"));

    // The end marker cannot be made: a failure, after a complete temp.c.
    RunResult marker = run_with_lost_file(RC_MODEL, "VRK_ERROR", true);
    EXPECT_EQ(marker.status, 1);
    EXPECT_EQ(marker.out, RC_OUT + not_written("VRK_ERROR"));
    EXPECT_EQ(marker.file("temp.c"), run_model(RC_MODEL).file("temp.c"));
}

TEST(Driver, RunsAgainInTheSameProcessFromAFreshState) {
    RunResult first = run_model(RC_MODEL);
    RunResult error = run_model("BOND\r\nXX1    1\n/\n");
    RunResult again = run_model(RC_MODEL);
    EXPECT_EQ(error.status, 1);
    EXPECT_EQ(again.status, 0);
    EXPECT_EQ(again.out, first.out);
    EXPECT_EQ(again.file("SCRATCH"), first.file("SCRATCH"));
    EXPECT_EQ(again.file("sysvar.txt"), first.file("sysvar.txt"));
}

TEST(Driver, NlineCountsTheKeywordLineAndTheElementLines) {
    RunResult r = run_model("BOND\r\nSE1    1\nRE1    1\n/\n");
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(cvork2::NLINE, 3);  // one less than the "/" line's number
}

TEST(ExpressionStore, AppendsNumberLinesAndReadsByNumber) {
    ScratchDir dir;
    using namespace cvork2;
    reset_compiler_state();
    ASSERT_TRUE(FSCRATCH.open("SCRATCH"));
    EXPECT_EQ(append_expression("E1()", NSCR), 1);
    EXPECT_EQ(append_expression("F1()", NSCR), 2);
    EXPECT_EQ(NSCR, 2);
    for (int i = 3; i <= 10; ++i) EXPECT_EQ(append_expression("X" + std::to_string(i), NSCR), i);
    read_expression(2);
    EXPECT_EQ(EX0, "F1()");
    read_expression(10);
    EXPECT_EQ(EX0, "X10");
    EXPECT_FALSE(has_expression(0));
    EXPECT_FALSE(has_expression(11));
    // An expression of any length is kept whole.
    std::string long_text(500, 'A');
    EXPECT_EQ(append_expression(long_text, NSCR), 11);
    read_expression(11);
    EXPECT_EQ(EX0, long_text);
    FSCRATCH.close();
    EXPECT_EQ(dir.files()["SCRATCH"], "E1()\r\nF1()\r\nX3\r\nX4\r\nX5\r\nX6\r\nX7\r\nX8\r\nX9\r\nX10\r\n" + long_text + "\r\n");
    reset_compiler_state();
}

TEST(WorkFiles, TextModeWritesCrLfAndKeepsOtherBytes) {
    ScratchDir dir;
    cvork2::OutFile f;
    ASSERT_TRUE(f.open("proto1"));
    f.put("a\nb\r\n");
    f.line("x\r");
    f.printf("%d-%s\n", 7, "\x82\xa0");
    f.close();
    EXPECT_EQ(dir.files()["proto1"], "a\r\nb\r\r\nx\r\r\n7-\x82\xa0\r\n");
    EXPECT_EQ(cvork2::unit_file(10), &cvork2::FPROTO1);
    EXPECT_EQ(cvork2::unit_file(15), &cvork2::FPAR);
    EXPECT_EQ(cvork2::unit_file(11), nullptr);
}

#ifdef CVORK2_BINARY
TEST(CompilerEndToEnd, BinaryCompilesTheRcModel) {
    RunResult r = run_binary({{"temp.VRK", RC_MODEL}});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, RC_OUT);
    EXPECT_EQ(r.file("SCRATCH"), RC_SCRATCH);
    EXPECT_EQ(r.file("sysvar.txt"), RC_SYSVAR);
    EXPECT_EQ(r.file("VRK_ERROR"), "");
    for (const char* f : {"proto1", "proto2", "temp.PAR"}) EXPECT_TRUE(r.has(f)) << f;
}

TEST(CompilerEndToEnd, BinaryReportsAMissingModelFile) {
    RunResult r = run_binary({});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, std::string(BANNER) + "** INPUT DATA FILE: temp.VRK **DOES NOT EXIST.CHECK FILE NAME! **\n");
    EXPECT_TRUE(r.files.empty());
}

TEST(CompilerEndToEnd, BinaryFlushesOutputAndFilesOnAnInputError) {
    RunResult r = run_binary({{"temp.VRK", "BOND\r\nSE1    1\nDE1    2\n/\n"}});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, std::string(BANNER) +
                         "process1\nprocess2\nSE\nDE\n*** INPUT ERROR : WRONG : USE OF 1 DUMMY VARIABLES (DE & DF)\n");
    EXPECT_EQ(r.file("SCRATCH"), "E1()\r\nDE(1)\r\n");
    EXPECT_FALSE(r.has("VRK_ERROR"));
}

TEST(CompilerEndToEnd, BinaryEndsWithStatusOneWhenTheCSourceIsLost) {
    ScratchDir dir;
    dir.write("temp.VRK", RC_MODEL);
    fs::create_symlink("/dev/full", "temp.c");
    std::string out;
    EXPECT_EQ(run_program({CVORK2_BINARY}, &out), 1);
    EXPECT_EQ(out, RC_OUT + " *** FILE NOT WRITTEN: temp.c ***\n");
    EXPECT_FALSE(fs::exists("VRK_ERROR"));
}

TEST(CompilerEndToEnd, ExampleModelsCompileWithTheirKeywords) {
    for (const char* name : {"rc.VRK"}) {
        std::ifstream f(std::string(VORK_SOURCE_DIR) + "/examples/" + name, std::ios::binary);
        ASSERT_TRUE(f) << name;
        std::ostringstream s;
        s << f.rdbuf();
        RunResult r = run_binary({{"temp.VRK", s.str()}});
        EXPECT_EQ(r.status, 0) << name << "\n" << r.out;
        EXPECT_THAT(r.out, HasSubstr(" *** SOLUTIONS OF VARIABLES ***\n")) << name;
    }
}
#endif

}  // namespace
