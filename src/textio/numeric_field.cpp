#include "textio/numeric_field.hpp"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace ferravane::textio {
namespace {

constexpr int kMaxExponent = 10000;  // magnitudes from here on are bad values

bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_alnum(char c) {
    return is_digit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// "inf", "infinity" or "nan" (with an optional tag of letters and digits in
// parentheses after nan); the rest of the field may hold letters, digits and
// blanks only.
std::optional<float> parse_word(std::string_view s, bool negative) {
    std::string word;
    bool word_done = false;
    int parens = 0;  // 0 none, 1 inside the tag, 2 after it
    for (char c : s) {
        if (c == ' ') {
            if (parens == 1) return std::nullopt;
            word_done = true;
        } else if (c == '(') {
            if (parens != 0) return std::nullopt;
            parens = 1;
            word_done = true;
        } else if (c == ')') {
            if (parens != 1) return std::nullopt;
            parens = 2;
        } else if (!is_alnum(c)) {
            return std::nullopt;
        } else if (!word_done) {
            word.push_back(lower(c));
        }
    }
    if (parens == 1) return std::nullopt;
    if (word == "inf" || word == "infinity") {
        if (parens != 0) return std::nullopt;
        const float inf = std::numeric_limits<float>::infinity();
        return negative ? -inf : inf;
    }
    if (word == "nan") return std::numeric_limits<float>::quiet_NaN();
    return std::nullopt;
}

}  // namespace

std::optional<float> parse_numeric(std::string_view field) {
    std::size_t i = 0;
    const std::size_t n = field.size();
    auto skip_blanks = [&] {
        while (i < n && field[i] == ' ') ++i;
    };

    skip_blanks();
    if (i == n) return 0.0f;
    bool negative = false;
    if (field[i] == '+' || field[i] == '-') {
        negative = field[i] == '-';
        ++i;
        skip_blanks();
        if (i == n) return 0.0f;
    }

    const char first = field[i];
    if (n - i >= 3 && (first == 'i' || first == 'I' || first == 'n' || first == 'N')) {
        return parse_word(field.substr(i), negative);
    }

    // Mantissa: digits and at most one point, blanks anywhere.
    std::string digits;
    int point_shift = 0;  // digits typed after the point
    bool seen_point = false;
    for (; i < n; ++i) {
        const char c = field[i];
        if (c == ' ') continue;
        if (is_digit(c)) {
            digits.push_back(c);
            if (seen_point) ++point_shift;
        } else if (c == '.') {
            if (seen_point) return std::nullopt;
            seen_point = true;
        } else {
            break;
        }
    }

    // Exponent: E, e, D or d with an optional sign, or a bare sign.
    long exponent = 0;
    if (i < n) {
        const char c = field[i];
        if (c == 'E' || c == 'e' || c == 'D' || c == 'd') {
            ++i;
            skip_blanks();
        } else if (c != '+' && c != '-') {
            return std::nullopt;
        }
        bool exp_negative = false;
        if (i < n && (field[i] == '+' || field[i] == '-')) {
            exp_negative = field[i] == '-';
            ++i;
        }
        bool exp_digits = false;
        for (; i < n; ++i) {
            const char e = field[i];
            if (e == ' ') continue;
            if (!is_digit(e)) return std::nullopt;
            exp_digits = true;
            if (exponent < kMaxExponent) exponent = exponent * 10 + (e - '0');
        }
        if (!exp_digits || exponent >= kMaxExponent) return std::nullopt;
        if (exp_negative) exponent = -exponent;
    }

    if (digits.find_first_not_of('0') == std::string::npos) return negative ? -0.0f : 0.0f;

    // The decimal number digits * 10^(exponent - point_shift), correctly
    // rounded by the C library in the "C" locale the program never leaves.
    std::string text = negative ? "-" : "";
    text += digits;
    text += 'e';
    text += std::to_string(exponent - point_shift);
    return std::strtof(text.c_str(), nullptr);
}

std::int32_t nearest_int(float value) {
    const float r = std::round(value);  // halves away from zero
    if (!(r >= -2147483648.0f && r < 2147483648.0f)) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(r);
}

}  // namespace ferravane::textio
