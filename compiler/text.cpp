// The compiler's text routines.
#include "text.h"

#include <climits>
#include <cstdlib>

namespace cvork2 {

namespace {
bool is_c_space(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool is_digit(char c) { return c >= '0' && c <= '9'; }
int clamp_int(long long v) {
    if (v > INT_MAX) return INT_MAX;
    if (v < INT_MIN) return INT_MIN;
    return static_cast<int>(v);
}
}  // namespace

std::string int_to_text(long long n) { return std::to_string(n); }

int text_to_int(std::string_view text) {
    text = trim_right(text);
    size_t i = 0;
    bool negative = false;
    if (!text.empty() && text[0] == '-') {
        negative = true;
        i = 1;
    }
    long long value = 0;
    for (; i < text.size() && is_digit(text[i]); ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > INT_MAX) value = static_cast<long long>(INT_MAX) + 1;
    }
    return clamp_int(negative ? -value : value);
}

int find_substring(std::string_view text, std::string_view pattern) {
    if (text.empty() || pattern.empty()) return -1;
    size_t j = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == pattern[j]) {
            ++j;
            if (j == pattern.size()) return static_cast<int>(i + 1 - j);
        } else {
            j = 0;
        }
    }
    return -1;
}

int leading_word_length(std::string_view text) {
    size_t p = text.find(' ');
    return static_cast<int>(p == std::string_view::npos ? text.size() : p);
}

int first_nonblank_position(std::string_view text) {
    size_t p = text.find_first_not_of(' ');
    return p == std::string_view::npos ? 0 : static_cast<int>(p + 1);
}

int trimmed_length(std::string_view text) {
    size_t p = text.find_last_not_of(' ');
    return p == std::string_view::npos ? 0 : static_cast<int>(p + 1);
}

std::string_view trim_right(std::string_view text) {
    return text.substr(0, static_cast<size_t>(trimmed_length(text)));
}

std::string_view leading_word(std::string_view text) {
    return text.substr(0, static_cast<size_t>(leading_word_length(text)));
}

int decimal_value(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && is_c_space(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && is_digit(text[i]); ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > INT_MAX) value = static_cast<long long>(INT_MAX) + 1;
    }
    return clamp_int(negative ? -value : value);
}

double decimal_to_double(std::string_view text, size_t* used) {
    size_t i = 0;
    while (i < text.size() && is_c_space(text[i])) ++i;
    size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    size_t int_digits = 0, frac_digits = 0;
    while (i < text.size() && is_digit(text[i])) { ++i; ++int_digits; }
    size_t end_mantissa = i;
    if (i < text.size() && text[i] == '.') {
        size_t k = i + 1;
        while (k < text.size() && is_digit(text[k])) { ++k; ++frac_digits; }
        if (int_digits > 0 || frac_digits > 0) end_mantissa = k;
    }
    if (int_digits == 0 && frac_digits == 0) {
        if (used) *used = 0;
        return 0.0;
    }
    size_t end = end_mantissa;
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        size_t k = end + 1;
        if (k < text.size() && (text[k] == '+' || text[k] == '-')) ++k;
        size_t exp_digits = 0;
        while (k < text.size() && is_digit(text[k])) { ++k; ++exp_digits; }
        if (exp_digits > 0) end = k;
    }
    // Only decimal characters remain, so strtod (C locale) reads exactly them.
    std::string number(text.substr(start, end - start));
    if (used) *used = end;
    return std::strtod(number.c_str(), nullptr);
}

std::string columns(std::string_view line, size_t first, size_t last) {
    std::string out;
    if (last < first || first == 0) return out;
    out.reserve(last - first + 1);
    for (size_t c = first; c <= last; ++c) out.push_back(c <= line.size() ? line[c - 1] : ' ');
    return out;
}

}  // namespace cvork2
