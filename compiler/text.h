// The compiler's small text routines. Only the space character (0x20) counts
// as a blank; a tab is an ordinary character. Texts are byte strings.
#pragma once

#include <string>
#include <string_view>

namespace cvork2 {

// Decimal text of n ("-" and the digits for n < 0); any integer.
std::string int_to_text(long long n);

// Value of a decimal integer text: optional "-" in its first character,
// digits, any number of trailing blanks; empty or all-blank gives 0. Other
// characters end the digits. Clamped to the int range.
int text_to_int(std::string_view text);

// 0-based position of the first match of `pattern` in `text`, -1 when none
// (or either is empty). One left-to-right scan with a match counter that goes
// back to 0 on a mismatch without re-testing the mismatching character, so a
// match that begins inside a failed partial match is missed ("AAB" is not
// found in "AAAB"). The compiler relies on exactly this.
int find_substring(std::string_view text, std::string_view pattern);

// Characters before the first blank (the whole length when there is none).
int leading_word_length(std::string_view text);
// 1-based position of the first non-blank character, 0 when none.
int first_nonblank_position(std::string_view text);
// Length without trailing blanks.
int trimmed_length(std::string_view text);
// The text without trailing blanks.
std::string_view trim_right(std::string_view text);
// The text before its first blank.
std::string_view leading_word(std::string_view text);

// The decimal value of a text as C's atoi reads it: leading white space
// (space, \t, \n, \v, \f, \r) skipped, an optional sign, the digits up to the
// first other character; no digits give 0. Clamped to the int range. Used to
// match bond names ("1", "01", "1x" are one bond).
int decimal_value(std::string_view text);

// A decimal floating-point number: leading white space skipped, then the
// longest leading part of the form [sign] (digits [. [digits]] | . digits)
// [(e|E) [sign] digits]; no such part gives 0. No hexadecimal, inf or nan.
// `used`, when given, receives the number of characters consumed (0 when none).
double decimal_to_double(std::string_view text, size_t* used = nullptr);

// Columns of a line, 1-based and inclusive, padded with blanks past its end:
// columns(line, 5, 10) is always 6 characters.
std::string columns(std::string_view line, size_t first, size_t last);

}  // namespace cvork2
