// The DEFIN phase: symbol substitution and the translation of definition blocks.
#include "back_half_fixture.h"

#include <gmock/gmock.h>

namespace cvork2_test {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

using namespace cvork2;

TEST(DefinitionTranslatorSubstitution, ReplacesWholeTokensByTheFirstOccurrenceRule) {
    struct Case {
        const char* symbol;
        const char* replacement;
        const char* line;
        const char* expected;
    } cases[] = {
        {"C", "C1", "C=K*Z;", "C1=K*Z;"},
        {"K", "PA[1]", "C1=K*Z;", "C1=PA[1]*Z;"},
        // blanks between a symbol and its right delimiter go, all others stay
        {"C", "C1", "   C = K  * Z;", "   C1= K  * Z;"},
        {"K", "PA[1]", "   C1= K  * Z;", "   C1= PA[1]* Z;"},
        // the first occurrence is inside KK: nothing on the line is replaced
        {"K", "PA[1]", "KK=K*2;", "KK=K*2;"},
        {"K", "PA[1]", "Y=K+KK;", "Y=PA[1]+KK;"},
        {"x", "X[0]", "xx=x;", "xx=x;"},
        {"x", "X[0]", "x=x+1;", "X[0]=X[0]+1;"},
        // "e" is a left delimiter: after a type name or else
        {"K", "PA[1]", "double K;", "double PA[1];"},
        {"R", "R1", "else R=Z/Rr;", "else R1=Z/Rr;"},
        {"Rr", "PA[1]", "else R1=Z/Rr;", "else R1=Z/PA[1];"},
        {"K", "P", "caseK=1;", "caseP=1;"},
        {"K", "P", "a K=1;", "a K=1;"},
        // a symbol that ends the line; trailing blanks are dropped
        {"x", "X[0]", "y=x", "y=X[0]"},
        {"x", "X[0]", "y=x   ", "y=X[0]"},
        {"A", "PA[2]", "y=A*sin(A)", "y=PA[2]*sin(PA[2])"},
        // no delimiters: braces, brackets, ?, tab
        {"x", "X[0]", "y={x};", "y={x};"},
        {"x", "X[0]", "a[x]=1;", "a[x]=1;"},
        {"x", "X[0]", "x?1:2;", "x?1:2;"},
        {"x", "X[0]", "x\t=1;", "x\t=1;"},
        {"x", "X[0]", "y=\tx;", "y=\tx;"},
        {"x", "X[0]", "if(x>0&&x<1)", "if(X[0]>0&&x<1)"},
        // ; is a right delimiter only
        {"x", "X[0]", "a;x=1;", "a;x=1;"},
        // the search skips a match that begins inside a failed partial match
        {"AB", "Q", "y=AAB+AB;", "y=AAB+Q;"},
        // upper and lower case are distinct; an empty symbol is never found
        {"k", "PA[1]", "K=k;", "K=PA[1];"},
        {"", "PA[1]", "y=1;", "y=1;"},
        {"x", "X[0]", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.symbol) + " in " + c.line);
        substitute_symbol(c.symbol, c.replacement, c.line);
        EXPECT_EQ(LINE12, c.expected);
    }
}

TEST(DefinitionTranslatorSubstitution, TokenSearchAndDelimiterTests) {
    struct Token {
        const char* text;
        const char* symbol;
        int position;
        int iend;
    } tokens[] = {
        {"C=K*Z;", "K", 3, 4}, {"y=x", "x", 3, -1}, {"xx", "x", 0, 0}, {"=  x  ;", "x", 4, 7},
        {"x", "x", 1, -1},     {"ab", "x", 0, 0},   {"x  ", "x", 1, -1}, {"(x )", "x", 2, 4},
    };
    for (const Token& t : tokens) {
        SCOPED_TRACE(std::string(t.symbol) + " in " + t.text);
        IEND = 99;
        EXPECT_EQ(find_symbol_token(t.text, t.symbol), t.position);
        EXPECT_EQ(IEND, t.iend);
    }
    EXPECT_EQ(is_left_delimiter(""), -1);
    EXPECT_EQ(is_left_delimiter("   "), -1);
    EXPECT_EQ(is_left_delimiter("a=  "), 2);
    EXPECT_EQ(is_left_delimiter("double"), 6);
    EXPECT_EQ(is_left_delimiter("abc"), 0);
    EXPECT_EQ(is_left_delimiter("a;"), 0);
    EXPECT_EQ(is_right_delimiter(""), -1);
    EXPECT_EQ(is_right_delimiter("  ;"), 3);
    EXPECT_EQ(is_right_delimiter("(x"), 1);
    EXPECT_EQ(is_right_delimiter("e"), 0);
    EXPECT_EQ(is_right_delimiter(" {"), 0);
    for (char c : std::string("=+-*/(,)><e")) EXPECT_GT(is_left_delimiter(std::string("a") + c), 0) << c;
    for (char c : std::string("=+-*/),(;><")) EXPECT_GT(is_right_delimiter(std::string(1, c)), 0) << c;
}

// Components as the BOND section registers them: CI "1", RE "1" and "2",
// SE "7"; bond 1 has the effort E1() and the flow R1(1,E1()), bond 2 the C's
// state DP2.
class DefinitionTranslator : public BackHalfTest {
protected:
    void SetUp() override {
        BackHalfTest::SetUp();
        bonds(3);
        add_component_name(K_CI, "1   ");
        add_component_name(K_RE, "1   ");
        add_component_name(K_RE, "2   ");
        add_component_name(K_SE, "7   ");
        expression(1, "E1()");
        expression(2, "R1(1,E1())");
        expression(3, "C1(X[0])");
        state('C', 2);
        NLINE = 10;
        // The OUT phase made the parameter table.
        PRMNUM.assign(1, std::string());
        PRMNUM_MADE = true;
    }

    // A complete section for the four components, with the given body for CI1.
    static std::string section(const std::string& capacitor_body) {
        return "CI1\n" + capacitor_body + "EOD\nRE1\nR=Z;\nEOD\nRE2\nR=Z;\nEOD\nSE7\nE=1.0;\nEOD\n/\n";
    }
};

TEST_F(DefinitionTranslator, BlocksBecomeFunctions) {
    model("SE7\n" + pa_line("V", "12.5", "V", "supply") +
          "E=V;\n"
          "EOD\n"
          "CI1\n" +
          pa_line("K", "2.0", "N/m") +
          "double K;\n"
          "C=K*Z;\n"
          "   C = K  * Z;\n"
          "EOD\n"
          "RE2\n" +
          pa_line("K", "3.0") +
          "PA: Rr     0.5\n"
          "if(J==0) R=Rr*Z;\n"
          "else R=Z/Rr;   \n"
          "EOD\n"
          "RE1\n"
          "  R=K*Z;\n"
          "EOD\n"
          "/\n"
          "after\n");
    open_work_files();
    EXPECT_EQ(run(translate_component_definitions), 0);
    EXPECT_EQ(console(), "SE\nCI\nRE\nRE\n/\n\n");
    EXPECT_EQ(read_model_line(), "after");
    EXPECT_EQ(NLINE, 10 + 19);
    EXPECT_EQ(file("proto1"), crlf("double E1(){\n"
                                   "  double E1;\n"
                                   "E1=PA[1];\n"
                                   "  return(E1);\n"
                                   "}\n"
                                   "\n"
                                   "double C1(double Z){\n"
                                   "  double C1;\n"
                                   "double PA[2];\n"
                                   "C1=PA[2]*Z;\n"
                                   "   C1= PA[2]* Z;\n"
                                   "  return(C1);\n"
                                   "}\n"
                                   "\n"
                                   "double R2(double J,double Z){\n"
                                   "  double R2;\n"
                                   "if(J==0) R2=PA[3]*Z;\n"
                                   "else R2=Z/PA[3];\n"
                                   "  return(R2);\n"
                                   "}\n"
                                   "\n"
                                   "double R1(double J,double Z){\n"
                                   "  double R1;\n"
                                   "  R1=K*Z;\n"  // K was declared in other blocks only
                                   "  return(R1);\n"
                                   "}\n"
                                   "\n"));
    EXPECT_EQ(file("proto2"), crlf("double E1();\n"
                                   "double C1(double Z);\n"
                                   "double R2(double J,double Z);\n"
                                   "double R1(double J,double Z);\n"));
    // K of RE2 is the parameter K of CI1: its first value stays. Rr's value ends
    // its line, so it has no comment.
    EXPECT_EQ(file("temp.PAR"), crlf("PA   1   1.250000e+01 V     :V              supply\n"
                                     "PA   2   2.000000e+00 K     :N/m\n"
                                     "PA   3   5.000000e-01 Rr    \n"));
}

TEST_F(DefinitionTranslator, SymbolsApplyOnlyAfterTheirOwnLine) {
    model(section("C=K*Z;\n"
                  "PA: K      2.0\n"
                  "C=K*Z;\n"
                  "PA: Q      1.0            \n"  // a blank after the value, a short line: empty comment
                  "PA:        4.0\n"             // a blank name: a parameter whose symbol is never found
                  "C=Q;\n"));
    open_work_files();
    EXPECT_EQ(run(translate_component_definitions), 0);
    std::string proto1 = file("proto1");
    EXPECT_THAT(proto1, HasSubstr(crlf("  double C1;\nC1=K*Z;\nC1=PA[1]*Z;\nC1=PA[2];\n  return(C1);\n")));
    EXPECT_EQ(file("temp.PAR"), crlf("PA   1   2.000000e+00 K     \n"
                                     "PA   2   1.000000e+00 Q     \n"
                                     "PA   3   4.000000e+00       \n"));
}

TEST_F(DefinitionTranslator, FeedbackAndRetainedVariables) {
    model(section(fb_line("e1", "EF", "1") +   // an effort: assigned where the line stands
                  fb_line("p", "PW", "01") +   // a power: effort times flow
                  fb_line("q", "DP", "2") +    // the C's own state: stands for X[0]
                  fb_line("w", "MN", "3") +    // a new integral variable, X[1]
                  fb_line("z", "XY", "1") +    // an undefined label: reported, nothing else
                  "RV: m1\n"
                  "RV: m2     EF1\n"
                  "RV: m1\n"
                  "C=q+w+m1+m2+e1*p+z;\n"));
    open_work_files();
    EXPECT_EQ(run(translate_component_definitions), 0);
    std::string proto1 = file("proto1");
    EXPECT_THAT(proto1, HasSubstr(crlf("double C1(double Z){\n"
                                       "  double C1;\n"
                                       "  e1=E1();\n"
                                       "  p=E1()*R1(1,E1());\n"
                                       "C1=X[0]+X[1]+XX[1]+XX[2]+e1*p+z;\n"
                                       "  return(C1);\n")));
    EXPECT_EQ(NINTEG, 2);
    EXPECT_EQ(NIN[2], "MN3");
    EXPECT_EQ(NRNM, 2);
    EXPECT_EQ(console(), "CI\n"
                         " INPUT LINE NO.  16\n"
                         "*** INPUT DATA ERROR: UNDEFINED LABEL ***\n"
                         "...XY,1        IN OUTPUT SPECIFICATION\n"
                         "RE\nRE\nSE\n/\n\n");
}

TEST_F(DefinitionTranslator, RetainedVariablesAreSharedAcrossBlocksUpTo29) {
    std::string body;
    for (int k = 1; k <= 30; ++k) body += "RV: v" + std::to_string(k) + "\n";
    model(section(body));
    open_work_files();
    NLINE = 10;
    EXPECT_EQ(run(translate_component_definitions), 1);
    EXPECT_EQ(NRNM, 29);
    EXPECT_EQ(console(), "CI\n"
                         " INPUT LINE NO.  41\n"
                         "*** INPUT DATA ERROR: TOO MANY RETAINED VARIABLES (AT MOST 29) ***\n");
}

TEST_F(DefinitionTranslator, NameAndValueFieldsByColumn) {
    // A 7-character name is cut to 6 and no longer matches its uses; an empty
    // value reads 0 and the unit still arrives as the comment.
    model(section(pa_line("Kvalue1", "2.0") + pa_line("K", "", "N/m") + "C=K+Kvalue1*Z;\n"));
    open_work_files();
    EXPECT_EQ(run(translate_component_definitions), 0);
    EXPECT_THAT(file("proto1"), HasSubstr(crlf("\nC1=PA[2]+Kvalue1*Z;\n")));
    EXPECT_EQ(file("temp.PAR"), crlf("PA   1   2.000000e+00 Kvalue\n"
                                     "PA   2   0.000000e+00 K     :N/m\n"));
}

TEST_F(DefinitionTranslator, TaggedLinesAreNeverStatements) {
    model("CI1\n"
          "PA: K      2.0\n"
          "C=K;\n"
          "PA:\n"            // no column 4: a statement line
          "EODX and more\n"  // ends the block like EOD
          "RE1\nR=Z;\nEOD\nRE2\nR=Z;\nEOD\nSE7\nE=1.0;\nEOD\n/\n");
    open_work_files();
    EXPECT_EQ(run(translate_component_definitions), 0);
    EXPECT_THAT(file("proto1"), HasSubstr(crlf("C1=PA[1];\nPA:\n  return(C1);\n}\n\ndouble R1")));
}

TEST_F(DefinitionTranslator, TranslatedLinesHaveNoLengthBound) {
    // A symbol ending the line, translated longer than the line before it, and
    // lines longer than 79 and 199 characters are all written whole.
    const std::string wide = "C=" + std::string(250, 'a') + ";";
    model(section("PA: Kvalue 2.0\nC=1;\nC=Z*Kvalue\n" + wide + "\n"));
    open_work_files();
    EXPECT_EQ(run(translate_component_definitions), 0);
    std::string proto1 = file("proto1");
    EXPECT_THAT(proto1, HasSubstr(crlf("C1=1;\nC1=Z*PA[1]\nC1=" + std::string(250, 'a') + ";\n")));
    EXPECT_THAT(console(), Not(HasSubstr("TRANSFORMATION")));
}

TEST_F(DefinitionTranslator, Errors) {
    struct Case {
        std::string model;
        std::string console;
    } cases[] = {
        // the header matches the 8 padded name characters of the BOND section
        {"CI01\nC=Z;\nEOD\n/\n", "CI\n INPUT LINE NO.  11\n*** INPUT DATA ERROR: UNDEFINED COMPONENT ***\n*** CI 01      \n"},
        {"ZJ1\n/\n", "ZJ\n INPUT LINE NO.  11\n*** INPUT DATA ERROR: UNDEFINED COMPONENT ***\n*** ZJ 1       \n"},
        {"CI123456789\nEOD\n/\n",
         "CI\n INPUT LINE NO.  11\n*** INPUT DATA ERROR: UNDEFINED COMPONENT ***\n*** CI 12345678\n"},
        {"C\n/\n", "C\n\n INPUT LINE NO.  11\n*** INPUT DATA ERROR: UNDEFINED COMPONENT ***\n*** C\n         \n"},
        // an empty or blank statement line
        {"CI1\nC=Z;\n\nEOD\n/\n", "CI\n *** INPUT DATA ERROR: NULL LINE ***\n"},
        {"CI1\n   \nEOD\n/\n", "CI\n *** INPUT DATA ERROR: NULL LINE ***\n"},
        // the end of the file inside a block or before the section's end
        {"CI1\nC=Z;\n", "CI\n *** INPUT DATA ERROR: UNEXPECTED END OF FILE ***\n"},
        {"CI1\nC=Z;\nEOD\n", "CI\n *** INPUT DATA ERROR: UNEXPECTED END OF FILE ***\n"},
        // a feedback line on a bond that is not in the model
        {"CI1\nFB: a      EF9\nEOD\n/\n", "CI\n INPUT LINE NO.  12\n*** INPUT ERROR : UNDEFINED BOND : 9       \n"},
        // a feedback effort that has no expression (the solver did not run)
        {"CI1\nFB: a      EF3\nEOD\n/\n",
         "CI\n INPUT LINE NO.  12\n*** INPUT DATA ERROR: NO EXPRESSION FOR FEEDBACK VARIABLE ***\n"},
        // a component without a block, and one with two: checked at the end
        {"CI1\nC=Z;\nEOD\nRE1\nR=Z;\nEOD\nSE7\nE=1;\nEOD\n/\n",
         "CI\nRE\nSE\n/\n\n *** INPUT DATA ERROR: NO DEFINITION BLOCK ***\n*** RE 2       \n"},
        {"RE2\nR=Z;\nEOD\nCI1\nC=Z;\nEOD\nRE1\nR=Z;\nEOD\nSE7\nE=1;\nEOD\nRE2\nR=Z;\nEOD\n/\n",
         "RE\nCI\nRE\nSE\nRE\n/\n\n *** INPUT DATA ERROR: DUPLICATE DEFINITION BLOCK ***\n*** RE 2       \n"},
        {"/\n", "/\n\n *** INPUT DATA ERROR: NO DEFINITION BLOCK ***\n*** SE 7       \n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        console_.str("");
        NLINE = 10;
        model(c.model);
        open_work_files();
        EXPECT_EQ(run(translate_component_definitions), 1);
        EXPECT_EQ(console(), c.console);
    }
}

TEST_F(DefinitionTranslator, EmptySectionWritesNothing) {
    reset_compiler_state();
    set_console(&console_);
    NID = {"  ", "SE", "SF", "RE", "CI", "II", "TF", "GY", "D*"};
    model("/\n");
    open_work_files();
    EXPECT_EQ(run(translate_component_definitions), 0);
    EXPECT_EQ(console(), "/\n\n");
    EXPECT_EQ(file("proto1"), "");
    EXPECT_EQ(file("proto2"), "");
}

TEST_F(DefinitionTranslator, ParameterTableIsMadeWithoutTheOutPhase) {
    PRMNUM.clear();
    PRMNUM_MADE = false;
    model(section("PA: K      2.0\nC=K*Z;\n"));
    open_work_files();
    EXPECT_EQ(run(translate_component_definitions), 0);
    EXPECT_EQ(NPRM, 1);
    EXPECT_EQ(file("temp.PAR"), crlf("PA   1   2.000000e+00 K     \n"));
}

}  // namespace
}  // namespace cvork2_test
