// The compiler's text routines and number conversions.
#include <gtest/gtest.h>

#include "text.h"

using namespace cvork2;

TEST(TextRoutines, IntToTextAnyInteger) {
    EXPECT_EQ(int_to_text(0), "0");
    EXPECT_EQ(int_to_text(-5), "-5");
    EXPECT_EQ(int_to_text(7), "7");
    EXPECT_EQ(int_to_text(99), "99");
    // Past two digits the text simply gets longer.
    EXPECT_EQ(int_to_text(100), "100");
    EXPECT_EQ(int_to_text(-10), "-10");
    EXPECT_EQ(int_to_text(129), "129");
}

TEST(TextRoutines, TextToInt) {
    struct Case { const char* text; int value; } cases[] = {
        {"12  ", 12}, {"-7", -7}, {"", 0}, {"   ", 0}, {"0", 0}, {"99", 99}, {"-0", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(text_to_int(c.text), c.value) << '"' << c.text << '"';
}

TEST(TextRoutines, FindSubstringMissesMatchesInsideFailedPartialMatch) {
    const char* editor_line = "BOND SYMBOL EXPR OUT DEFIN PARM INIT";
    struct Case { const char* text; const char* pattern; int pos; } cases[] = {
        {editor_line, "BOND", 0}, {editor_line, "SYMBOL", 5}, {editor_line, "EXPR", 12},
        {editor_line, "OUT", 17}, {editor_line, "DEFIN", 21}, {editor_line, "PARM", 27},
        {editor_line, "INIT", 32},
        {"AAAB", "AAB", -1},      // the match starting at 1 begins inside a failed one
        {"BBOND", "BOND", -1},
        {"SSYMBOL", "SYMBOL", -1},
        {"XBOND", "BOND", 1},
        {"OUTPUT", "OUT", 0},
        {"DEFINITIONS", "INIT", 3},
        {"ABAB", "AB", 0},
        {"", "BOND", -1},
        {"BOND", "", -1},
        {"bond", "BOND", -1},     // case matters
        {"SESF  ", "SF", 2},
        {"SESSF ", "SF", -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(find_substring(c.text, c.pattern), c.pos) << c.pattern << " in \"" << c.text << '"';
}

TEST(TextRoutines, BlankRoutinesCountOnlyTheSpace) {
    EXPECT_EQ(leading_word_length("ab cd"), 2);
    EXPECT_EQ(leading_word_length("abc"), 3);
    EXPECT_EQ(leading_word_length(""), 0);
    EXPECT_EQ(leading_word_length("a\tb c"), 3);  // a tab is an ordinary character
    EXPECT_EQ(first_nonblank_position("  x"), 3);
    EXPECT_EQ(first_nonblank_position(""), 0);
    EXPECT_EQ(first_nonblank_position("   "), 0);
    EXPECT_EQ(first_nonblank_position("\t"), 1);
    EXPECT_EQ(trimmed_length("   "), 0);
    EXPECT_EQ(trimmed_length(""), 0);
    EXPECT_EQ(trimmed_length("ab  "), 2);
    EXPECT_EQ(trimmed_length(" a\t"), 3);
}

TEST(TextRoutines, DecimalValueMatchesBondNames) {
    struct Case { const char* text; int value; } cases[] = {
        {"1", 1}, {"01", 1}, {"1x", 1}, {"", 0}, {"x", 0}, {"-4", -4}, {"+4", 4},
        {" 12", 12}, {"\t3", 3}, {"99999999999999", 2147483647}, {"-99999999999999", -2147483647 - 1},
    };
    for (const auto& c : cases) EXPECT_EQ(decimal_value(c.text), c.value) << '"' << c.text << '"';
}

TEST(TextRoutines, DecimalToDoubleTakesOnlyDecimalNumbers) {
    struct Case { const char* text; double value; size_t used; } cases[] = {
        {"1.0", 1.0, 3}, {"1.23456789", 1.23456789, 10}, {"", 0.0, 0}, {"abc", 0.0, 0},
        {"  -2.5e3x", -2500.0, 8}, {".5", 0.5, 2}, {"5.", 5.0, 2}, {"1e", 1.0, 1},
        {"1e+", 1.0, 1}, {"1E-2", 0.01, 4}, {"0x1p3", 0.0, 1}, {"inf", 0.0, 0},
        {"nan", 0.0, 0}, {"-", 0.0, 0}, {".", 0.0, 0}, {"1.00000E-05", 1e-5, 11},
    };
    for (const auto& c : cases) {
        size_t used = 99;
        EXPECT_EQ(decimal_to_double(c.text, &used), c.value) << '"' << c.text << '"';
        EXPECT_EQ(used, c.used) << '"' << c.text << '"';
    }
}

TEST(TextRoutines, ColumnsPadPastTheLineEnd) {
    EXPECT_EQ(columns("PA: K", 5, 10), "K     ");
    EXPECT_EQ(columns("DP1", 3, 6), "1   ");
    EXPECT_EQ(columns("abcdef", 2, 3), "bc");
    EXPECT_EQ(columns("", 1, 2), "  ");
}
