// The BOND section: listing, sysvar.txt, first expressions and input errors.
#include <gtest/gtest.h>

#include "compile_runs.h"
#include "model.h"

using namespace cvork2_test;

namespace {

struct ListingCase {
    const char* name;
    std::string model;     // temp.VRK
    std::string out;       // stdout after "process2\n", up to and including "process3\n"
    std::string scratch;   // SCRATCH, LF shown (the file holds CR LF)
    std::string sysvar;    // sysvar.txt, LF shown
};

const std::string HEAD = std::string(BANNER) + "process1\nprocess2\n";

std::vector<ListingCase> listing_cases() {
    return {
        {"EmptySection", "BOND\r\n/\n",
         "      *** BOND NAME LIST ***\n"
         "       NUMBER OF BONDS : 0\n"
         " *** BOND GRAPH ELEMENT LIST ***\n"
         "process3\n",
         "", ""},
        {"MinimalSeRCI",
         "BOND\r\nSE1    1\nRE1    2\nCI1    3\nII1    4\nOJ     -1    2     3     4\n/\n",
         "SE\nRE\nCI\nII\nOJ\n"
         "      *** BOND NAME LIST ***\n"
         "       NUMBER OF BONDS : 4\n"
         " (  1 ) :   1   (  2 ) :   2   (  3 ) :   3   (  4 ) :   4  \n"
         " *** BOND GRAPH ELEMENT LIST ***\n"
         "     NUMBER OF SE-ELEMENTS: 1\n"
         " (  1) :  1       \n"
         "     NUMBER OF RE-ELEMENTS: 1\n"
         " (  1) :  1       \n"
         "     NUMBER OF CI-ELEMENTS: 1\n"
         " (  1) :  1       \n"
         "     NUMBER OF II-ELEMENTS: 1\n"
         " (  1) :  1       \n"
         "    *** ONE-TO-ONE RELATION ***\n"
         "     NO.  CAUSE  EFFECT  RELATION\n"
         "      1      4       3     RE   1\n"
         "      2      2       4     EQ    \n"
         "      3      4       6     EQ    \n"
         "      4      6       8     EQ    \n"
         "    *** LINEAR EQUATION ***\n"
         "     NO. VAR.  VAR.  VAR.  VAR.  VAR.  VAR.  VAR.  VAR.  VAR.  VAR.  \n"
         "      1    1     3     5     7   \n"
         "          -1     1     1     1   \n"
         "    *** INPUT VARIABLE LIST ***\n"
         "     NO.   1 ** EF(  1) : INPUT VARIABLE OF  SE1    ON BOND    1\n"
         "    *** STATE VARIABLE LIST ***\n"
         "     NO.   1 ** DP(  3) : ENERGY VARIABLE OF CI1    ON BOND    3\n"
         "     NP.   2 ** MN(  4) : ENERGY VARIABLE OF II1    ON BOND    4\n"
         "process3\n",
         "E1()\nC1(X[0])\nL1(X[1])\n", "X[0] f3_C1   \nX[1] e4_L1   \n"},
        // "01" and "1x" name bond 1 ("01" met first); an empty text and "x"
        // both read as 0; a second first expression on effort 1 stays in SCRATCH.
        {"BondsMatchedByDecimalValue",
         "BOND\r\nSE1    01\nRE1    2\nCI1    1x\nOJ     -1    02    x\nRE2     0\n/\n",
         "SE\nRE\nCI\nOJ\nRE\n"
         "      *** BOND NAME LIST ***\n"
         "       NUMBER OF BONDS : 3\n"
         " (  1 ) :  01   (  2 ) :   2   (  3 ) :   x  \n"
         " *** BOND GRAPH ELEMENT LIST ***\n"
         "     NUMBER OF SE-ELEMENTS: 1\n"
         " (  1) :  1       \n"
         "     NUMBER OF RE-ELEMENTS: 2\n"
         " (  1) :  1       \n"
         " (  2) :  2       \n"
         "     NUMBER OF CI-ELEMENTS: 1\n"
         " (  1) :  1       \n"
         "    *** ONE-TO-ONE RELATION ***\n"
         "     NO.  CAUSE  EFFECT  RELATION\n"
         "      1      4       3     RE   1\n"
         "      2      2       4     EQ    \n"
         "      3      4       6     EQ    \n"
         "      4      6       5     RE   2\n"
         "    *** LINEAR EQUATION ***\n"
         "     NO. VAR.  VAR.  VAR.  VAR.  VAR.  VAR.  VAR.  VAR.  VAR.  VAR.  \n"
         "      1    1     3     5   \n"
         "          -1     1     1   \n"
         "    *** INPUT VARIABLE LIST ***\n"
         "     NO.   1 ** EF(  1) : INPUT VARIABLE OF  SE1    ON BOND   01\n"
         "    *** STATE VARIABLE LIST ***\n"
         "     NO.   1 ** DP(  1) : ENERGY VARIABLE OF CI1    ON BOND   01\n"
         "process3\n",
         "E1()\nC1(X[0])\n", "X[0] f01_C1   \n"},
        // Twelve bonds: rows of five; an 11-bond junction: nine variables,
        // then two; ten signs, then one.
        {"ListingBreaks",
         "BOND\r\nZJ     1     2     3     4     5     6     7     8     9     10    11\nSE1    12\n/\n",
         "ZJ\nSE\n"
         "      *** BOND NAME LIST ***\n"
         "       NUMBER OF BONDS : 12\n"
         " (  1 ) :   1   (  2 ) :   2   (  3 ) :   3   (  4 ) :   4   (  5 ) :   5  \n"
         " (  6 ) :   6   (  7 ) :   7   (  8 ) :   8   (  9 ) :   9   ( 10 ) :  10  \n"
         " ( 11 ) :  11   ( 12 ) :  12  \n"
         " *** BOND GRAPH ELEMENT LIST ***\n"
         "     NUMBER OF SE-ELEMENTS: 1\n"
         " (  1) :  1       \n"
         "    *** ONE-TO-ONE RELATION ***\n"
         "     NO.  CAUSE  EFFECT  RELATION\n"
         "      1      1       3     EQ    \n"
         "      2      3       5     EQ    \n"
         "      3      5       7     EQ    \n"
         "      4      7       9     EQ    \n"
         "      5      9      11     EQ    \n"
         "      6     11      13     EQ    \n"
         "      7     13      15     EQ    \n"
         "      8     15      17     EQ    \n"
         "      9     17      19     EQ    \n"
         "     10     19      21     EQ    \n"
         "    *** LINEAR EQUATION ***\n"
         "     NO. VAR.  VAR.  VAR.  VAR.  VAR.  VAR.  VAR.  VAR.  VAR.  VAR.  \n"
         "      1    2     4     6     8    10    12    14    16    18   \n"
         " 20    22   \n"
         "           1     1     1     1     1     1     1     1     1     1   \n"
         "           1   \n"
         "    *** INPUT VARIABLE LIST ***\n"
         "     NO.   1 ** EF( 12) : INPUT VARIABLE OF  SE1    ON BOND   12\n"
         "process3\n",
         "E1()\n", ""},
        // TF fields 4 5: TE 7->9, TF 8->10; GY: GE 7->10, GF 8->9. No junction:
        // an empty line closes the element part.
        {"TransformerAndGyratorRelations",
         "BOND\r\nSE1    1\nSF1    2\nRE1    3\nTF1    4     5\nGY1    4     5\nTF2    2     1\n/\n",
         "SE\nSF\nRE\nTF\nGY\nTF\n"
         "      *** BOND NAME LIST ***\n"
         "       NUMBER OF BONDS : 5\n"
         " (  1 ) :   1   (  2 ) :   2   (  3 ) :   3   (  4 ) :   4   (  5 ) :   5  \n"
         " *** BOND GRAPH ELEMENT LIST ***\n"
         "     NUMBER OF SE-ELEMENTS: 1\n"
         " (  1) :  1       \n"
         "     NUMBER OF SF-ELEMENTS: 1\n"
         " (  1) :  1       \n"
         "     NUMBER OF RE-ELEMENTS: 1\n"
         " (  1) :  1       \n"
         "     NUMBER OF TF-ELEMENTS: 2\n"
         " (  1) :  1       \n"
         " (  2) :  2       \n"
         "     NUMBER OF GY-ELEMENTS: 1\n"
         " (  1) :  1       \n"
         "    *** ONE-TO-ONE RELATION ***\n"
         "     NO.  CAUSE  EFFECT  RELATION\n"
         "      1      6       5     RE   1\n"
         "      2      7       9     TE   1\n"
         "      3      8      10     TF   1\n"
         "      4      7      10     GE   1\n"
         "      5      8       9     GF   1\n"
         "      6      3       1     TE   2\n"
         "      7      4       2     TF   2\n"
         "\n"
         "    *** INPUT VARIABLE LIST ***\n"
         "     NO.   1 ** EF(  1) : INPUT VARIABLE OF  SE1    ON BOND    1\n"
         "     NO.   2 ** FL(  2) : INPUT VARIABLE OF  SF1    ON BOND    2\n"
         "process3\n",
         "E1()\nF1()\n", ""},
        // Component numbers follow the file; names keep their blanks; an SE
        // whose name holds "SF" is listed as a flow input (the listing tests
        // the kind-and-name text).
        {"ComponentNumbersAndNames",
         "BOND\r\nCI5    3\nCI2    4\nSESF   5\nII12   6\n/\n",
         "CI\nCI\nSE\nII\n"
         "      *** BOND NAME LIST ***\n"
         "       NUMBER OF BONDS : 4\n"
         " (  1 ) :   3   (  2 ) :   4   (  3 ) :   5   (  4 ) :   6  \n"
         " *** BOND GRAPH ELEMENT LIST ***\n"
         "     NUMBER OF SE-ELEMENTS: 1\n"
         " (  1) :  SF      \n"
         "     NUMBER OF CI-ELEMENTS: 2\n"
         " (  1) :  5       \n"
         " (  2) :  2       \n"
         "     NUMBER OF II-ELEMENTS: 1\n"
         " (  1) :  12      \n"
         "\n"
         "    *** INPUT VARIABLE LIST ***\n"
         "     NO.   1 ** FL(  3) : INPUT VARIABLE OF  SESF   ON BOND    5\n"
         "    *** STATE VARIABLE LIST ***\n"
         "     NO.   1 ** DP(  1) : ENERGY VARIABLE OF CI5    ON BOND    3\n"
         "     NO.   2 ** DP(  2) : ENERGY VARIABLE OF CI2    ON BOND    4\n"
         "     NP.   3 ** MN(  4) : ENERGY VARIABLE OF II12   ON BOND    6\n"
         "process3\n",
         "C1(X[0])\nC2(X[1])\nE1()\nL1(X[2])\n", "X[0] f3_C5   \nX[1] f4_C2   \nX[2] e6_L12  \n"},
        // A DE and a DF line with one name share dummy 1.
        {"DummiesShareAName", "BOND\r\nDE1    1\nDF1    2\n/\n",
         "DE\nDF\n"
         "      *** BOND NAME LIST ***\n"
         "       NUMBER OF BONDS : 2\n"
         " (  1 ) :   1   (  2 ) :   2  \n"
         " *** BOND GRAPH ELEMENT LIST ***\n"
         "     NUMBER OF D*-ELEMENTS: 1\n"
         " (  1) :  1       \n"
         "\n"
         "    *** DUMMY INPUT VARIABLE LIST ***\n"
         "     NO.   1 **  DUMMY INPUT OF DE1    ON BOND    1\n"
         "     NO.   2 **  DUMMY INPUT OF DF1    ON BOND    2\n"
         "process3\n",
         "DE(1)\nDF(1)\n", ""},
    };
}

class BondReaderListing : public ::testing::TestWithParam<ListingCase> {};

TEST_P(BondReaderListing, PrintsListingAndWritesFiles) {
    const ListingCase& c = GetParam();
    RunResult r = run_model(c.model);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, HEAD + c.out);
    EXPECT_EQ(r.file("SCRATCH"), crlf(c.scratch));
    EXPECT_EQ(r.file("sysvar.txt"), crlf(c.sysvar));
    EXPECT_TRUE(r.has("VRK_ERROR"));
    EXPECT_EQ(r.file("VRK_ERROR"), "");
}

INSTANTIATE_TEST_SUITE_P(Fixtures, BondReaderListing, ::testing::ValuesIn(listing_cases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BondReader, DummyTablesRecordTheOtherVariable) {
    RunResult r = run_model("BOND\r\nDE1    1\nDF1    2\n/\n");
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(cvork2::NDUMMY, 2);
    EXPECT_EQ(cvork2::NCOMP[8], 1);
    EXPECT_EQ(cvork2::IDF[1], 2);  // the flow of the DE line's bond
    EXPECT_EQ(cvork2::IDE[1], 3);  // the effort of the DF line's bond
}

TEST(BondReader, DummyCheckComparesTotalsOnly) {
    // One name on three lines and another on one: four lines, two names.
    RunResult r = run_model("BOND\r\nDE1    1\nDF1    2\nDE1    3\nDE2    4\n/\n");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(cvork2::NDUMMY, 4);
    EXPECT_EQ(cvork2::NCOMP[8], 2);
    EXPECT_EQ(r.file("SCRATCH"), crlf("DE(1)\nDF(1)\nDE(1)\nDE(2)\n"));
}

TEST(BondReader, TablesOfTheSecondPass) {
    // The junction example: ZJ 3 -4 5 gives bonds 1..3, flows 2 4 6 with
    // signs 1 -1 1 and EQ relations on the efforts 1->3, 3->5.
    RunResult r = run_model("BOND\r\nZJ     3     -4    5\nOJ     3     -4    5\n/\n");
    ASSERT_EQ(r.status, 0);
    using namespace cvork2;
    EXPECT_EQ(NBOND, 3);
    EXPECT_EQ(NJUN, 2);
    EXPECT_EQ(JNB[1], 3);
    EXPECT_EQ((std::vector<int>{IVN[1][1], IVN[1][2], IVN[1][3]}), (std::vector<int>{2, 4, 6}));
    EXPECT_EQ((std::vector<int>{ISG[1][1], ISG[1][2], ISG[1][3]}), (std::vector<int>{1, -1, 1}));
    EXPECT_EQ((std::vector<int>{IVN[2][1], IVN[2][2], IVN[2][3]}), (std::vector<int>{1, 3, 5}));
    ASSERT_EQ(NREL, 4);
    EXPECT_EQ((std::vector<int>{IS[1], ID[1], IS[2], ID[2], IS[3], ID[3], IS[4], ID[4]}),
              (std::vector<int>{1, 3, 3, 5, 2, 4, 4, 6}));
    EXPECT_EQ(BNAME[2], "4");
    EXPECT_EQ(NLINE, 3);  // keyword line + two element lines; "/" not counted
}

struct ErrorCase {
    const char* name;
    std::string model;
    std::string out;      // whole stdout
    std::string scratch;  // LF shown
};

std::vector<ErrorCase> error_cases() {
    const std::string p1 = std::string(BANNER) + "process1\n";
    return {
        {"UnknownKindCode", "BOND\r\nSE1    1\nRE1    2\nXX7    3\n/\n",
         p1 + "INPUT LINE NO.3 ***DATA INPUT ERROR XX 7   \n", ""},
        {"DuplicateName", "BOND\r\nSE1    1\nCI1    2\nSE1    3\n/\n",
         p1 + "INPUT LINE NO.3 ***DUPLICATE INPUT ERROR SE 1   \n", ""},
        {"DuplicateNameIsPerKind", "BOND\r\nRE12   1\nRE12   2\n/\n",
         p1 + "INPUT LINE NO.2 ***DUPLICATE INPUT ERROR RE 12  \n", ""},
        {"TwelveBondFields", "BOND\r\nZJ     1     2     3     4     5     6     7     8     9     10    11    12\n/\n",
         p1 + "INPUT LINE NO.1 ***DATA INPUT ERROR ZJ     \n", ""},
        {"SignOutsideJunction", "BOND\r\nSE1    -1\n/\n", p1 + "INPUT LINE NO.1 ***DATA INPUT ERROR SE 1   \n", ""},
        {"TransformerWithOneBond", "BOND\r\nSE1    1\nTF1    1\n/\n",
         p1 + "INPUT LINE NO.2 ***DATA INPUT ERROR TF 1   \n", ""},
        // A repeated name is reported as such, also on a line that is faulty otherwise.
        {"DuplicateNameBeforeSign", "BOND\r\nSE1    1\nSE1    -2\n/\n",
         p1 + "INPUT LINE NO.2 ***DUPLICATE INPUT ERROR SE 1   \n", ""},
        {"DuplicateNameBeforeMissingBond", "BOND\r\nTF1    1     2\nTF1    3\n/\n",
         p1 + "INPUT LINE NO.2 ***DUPLICATE INPUT ERROR TF 1   \n", ""},
        {"GyratorWithOneBond", "BOND\r\nGY3    1   \n/\n", p1 + "INPUT LINE NO.1 ***DATA INPUT ERROR GY 3   \n", ""},
        {"LineWithoutBond", "BOND\r\nSE1\n/\n", p1 + "INPUT LINE NO.1 ***DATA INPUT ERROR SE 1   \n", ""},
        {"EmptyElementLine", "BOND\r\n\n/\n", p1 + "INPUT LINE NO.1 ***DATA INPUT ERROR      \n", ""},
        {"EndOfFileInBondSection", "BOND\r\nSE1    1\n",
         p1 + " *** INPUT DATA ERROR: UNEXPECTED END OF FILE ***\n", ""},
        {"EmptyFile", "", p1 + " *** INPUT DATA ERROR: UNEXPECTED END OF FILE ***\n", ""},
        {"DummyWithoutPartner", "BOND\r\nSE1    1\nDE1    2\n/\n",
         p1 + "process2\nSE\nDE\n*** INPUT ERROR : WRONG : USE OF 1 DUMMY VARIABLES (DE & DF)\n", "E1()\nDE(1)\n"},
    };
}

class BondReaderErrors : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(BondReaderErrors, EndWithStatusOneAndTheBanner) {
    const ErrorCase& c = GetParam();
    RunResult r = run_model(c.model);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, c.out);
    EXPECT_EQ(r.file("SCRATCH"), crlf(c.scratch));
    EXPECT_EQ(r.file("sysvar.txt"), "");
    EXPECT_FALSE(r.has("VRK_ERROR"));
    EXPECT_FALSE(r.has("temp.c"));
}

INSTANTIATE_TEST_SUITE_P(Fixtures, BondReaderErrors, ::testing::ValuesIn(error_cases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BondReader, MoreThan130StatesStopAtTheLineThatExceeds) {
    std::string model = "BOND SYMBOL\r\n";
    std::string echoes;
    for (int i = 1; i <= 131; ++i) {
        std::string n = std::to_string(i);
        model += "CI" + n + std::string(5 - n.size(), ' ') + n + "\n";
        echoes += "CI\n";
    }
    model += "/\n";
    RunResult r = run_model(model);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, std::string(BANNER) + "process1\nprocess2\n" + echoes +
                         " INPUT LINE NO. 132\n"
                         "*** INPUT DATA ERROR: TOO MANY INTEGRAL VARIABLES (AT MOST 130) ***\n");
    EXPECT_FALSE(r.has("VRK_ERROR"));
}

TEST(BondReader, ElementLineColumnsWithinTheLine) {
    // A last field of five characters and blanks after the last field stay
    // within their line; an element number of five digits is cut to four.
    RunResult r = run_model("BOND\r\nSE1234512345\nRE1    2     \n/\n");
    ASSERT_EQ(r.status, 0) << r.out;
    using namespace cvork2;
    EXPECT_EQ(NBOND, 2);
    EXPECT_EQ(BNAME[1], "12345");
    EXPECT_EQ(NCNAME[1][1], "1234    ");
    EXPECT_EQ(NREL, 1);
}

}  // namespace
