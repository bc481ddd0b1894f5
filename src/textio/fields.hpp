// Fixed-field editing into a caller's buffer: each editor writes exactly
// its field's width (nothing when that is 0 or less) and returns the end of
// what it wrote. This is the one place where numbers become text; Layout
// (layout.hpp) strings the fields into lines.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <type_traits>

namespace ferravane::textio {

// The widest Fw.d field: its digits, sign and point aside, fit in 32 bits.
inline constexpr int kWidestF = 10;

// Iw: decimal integer right-justified in w columns; w asterisks if too wide.
char* edit_i(char* dst, std::int32_t value, int w);

// Fw.d: the exact decimal value of the float rounded to d decimals, ties away
// from zero; minus sign kept for negative values that round to zero; a
// leading "0" only when a spare column allows it; Infinity/Inf/NaN by width;
// w asterisks when the value does not fit. Fields outside 1 <= d <= 9 and
// w <= kWidestF are all asterisks.
char* edit_f(char* dst, float value, int w, int d);

// The same field with its width and decimals fixed where the layout is
// written (the table rows): the characters of edit_f(dst, value, W, D)
// from the same code, with no choices left to run time.
template <int W, int D>
char* edit_f(char* dst, float value);

// Aw: the first w characters of text, or text right-justified in w columns.
char* edit_a(char* dst, std::string_view text, int w);

// n copies of c (nX is edit_rep(dst, n, ' '), 72(1H-) is edit_rep(dst, 72, '-')).
char* edit_rep(char* dst, int n, char c);

namespace detail {

// "00" to "99", two characters each.
inline constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

inline constexpr std::uint32_t kPow10[] = {1,      10,      100,      1000,      10000,
                                           100000, 1000000, 10000000, 100000000, 1000000000};

// The n low decimal digits of v, ending just before end.
inline void digits_back(char* end, std::uint32_t v, int n) {
    for (; n >= 2; n -= 2) {
        end -= 2;
        std::memcpy(end, kDigitPairs + 2 * (v % 100), 2);
        v /= 100;
    }
    if (n == 1) end[-1] = static_cast<char>('0' + v % 10);
}

// The digits of v >= 1 without leading zeros, ending just before end;
// returns where they start.
inline char* significant_digits_back(char* end, std::uint32_t v) {
    for (; v >= 100; v /= 100) {
        end -= 2;
        std::memcpy(end, kDigitPairs + 2 * (v % 100), 2);
    }
    if (v >= 10) {
        end -= 2;
        std::memcpy(end, kDigitPairs + 2 * v, 2);
        return end;
    }
    end[-1] = static_cast<char>('0' + v);
    return end - 1;
}

// Fw.d of a NaN or an infinity.
char* edit_f_special(char* dst, float value, int w);

// Fw.D of a finite value of the sign Neg whose magnitude times 10^D plus
// one half is scaled.
template <int D, bool Neg, typename Width>
char* edit_f_finite(char* dst, double scaled, Width width_in) {
    const int w = width_in;
    const auto width = static_cast<std::size_t>(w);
    // Widest integer part: w less the point, the decimals and the sign.
    // Fewer than room + D digits exactly when the integer part fits.
    const int room = w - 1 - D - (Neg ? 1 : 0);
    if (room < 0 || !(scaled < static_cast<double>(kPow10[room + D]))) {
        std::memset(dst, '*', width);
        return dst + w;
    }
    const auto n = static_cast<std::uint32_t>(scaled);
    const std::uint32_t ipart = n / kPow10[D];
    std::memset(dst, ' ', width);
    digits_back(dst + w, n % kPow10[D], D);
    char* pos = dst + w - D - 1;
    *pos = '.';
    if (ipart != 0) {
        pos = significant_digits_back(pos, ipart);
    } else if (room > 0) {
        *--pos = '0';  // a leading zero only in a spare column
    }
    if (Neg) pos[-1] = '-';
    return dst + w;
}

// Fw.D, 1 <= w <= kWidestF. Both editors are this one body: edit_f picks D
// and passes w as an int; edit_f<W, D> passes std::integral_constant<int, W>,
// so that its instance has every choice that depends on the width made.
template <int D, typename Width>
char* edit_f_in(char* dst, float value, Width width) {
    static_assert(D >= 1 && D <= 9);
    const std::uint32_t bits = std::bit_cast<std::uint32_t>(value);
    if ((bits & 0x7F800000u) == 0x7F800000u) return edit_f_special(dst, value, width);
    // |value| 10^D is exact in a double (24 + 21 bits at most), and
    // truncating its sum with one half rounds half away from zero: the sum
    // is exact below 2^52, and larger ones are too wide for any field.
    const double scaled = std::fabs(static_cast<double>(value)) * static_cast<double>(kPow10[D]) + 0.5;
    return (bits >> 31) != 0 ? edit_f_finite<D, true>(dst, scaled, width)
                             : edit_f_finite<D, false>(dst, scaled, width);
}

}  // namespace detail

template <int W, int D>
char* edit_f(char* dst, float value) {
    static_assert(W >= 1 && W <= kWidestF && D >= 1 && D <= 9, "as the run-time edit_f allows");
    return detail::edit_f_in<D>(dst, value, std::integral_constant<int, W>{});
}

}  // namespace ferravane::textio
