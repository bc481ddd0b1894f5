// Fixed-field editing: each function appends exactly w characters to out.
// This is the one place where numbers become text.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace ferravane::textio {

// Iw: decimal integer right-justified in w columns; w asterisks if too wide.
void put_i(std::string& out, std::int32_t value, int w);

// Fw.d: the exact decimal value of the float rounded to d decimals, ties away
// from zero; minus sign kept for negative values that round to zero; a
// leading "0" only when a spare column allows it; Infinity/Inf/NaN by width;
// w asterisks when the value does not fit. Requires 1 <= d <= 9 and w <= 12.
void put_f(std::string& out, float value, int w, int d);

// Aw: the first w characters of text, or text right-justified in w columns.
void put_a(std::string& out, std::string_view text, int w);

// n copies of c (nX is put_rep(out, n, ' '), 72(1H-) is put_rep(out, 72, '-')).
inline void put_rep(std::string& out, int n, char c) {
    if (n > 0) out.append(static_cast<std::size_t>(n), c);
}

// The same editing into a caller's buffer with room for w characters (n for
// edit_rep): each writes exactly that many (none when it is 0 or less) and
// returns the end of what it wrote.
char* edit_i(char* dst, std::int32_t value, int w);
char* edit_f(char* dst, float value, int w, int d);
char* edit_a(char* dst, std::string_view text, int w);
char* edit_rep(char* dst, int n, char c);

namespace detail {

// "00" to "99", two characters each.
inline constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

inline constexpr double kPow10[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};

// Fw.d of a NaN or an infinity.
char* edit_f_special(char* dst, float value, int w);

// The N low decimal digits of v, ending just before end.
template <int N>
void digits_back(char* end, std::uint32_t v) {
    if constexpr (N >= 2) {
        std::memcpy(end - 2, kDigitPairs + 2 * (v % 100), 2);
        digits_back<N - 2>(end - 2, v / 100);
    } else if constexpr (N == 1) {
        end[-1] = static_cast<char>('0' + v % 10);
    }
}

// The digits of v, 1 <= v < 10^N, without leading zeros, ending just
// before end; returns where they start.
template <int N>
char* significant_digits_back(char* end, std::uint32_t v) {
    if constexpr (N >= 2) {
        if (v >= 100) {
            std::memcpy(end - 2, kDigitPairs + 2 * (v % 100), 2);
            return significant_digits_back<N - 2>(end - 2, v / 100);
        }
        if (v >= 10) {
            std::memcpy(end - 2, kDigitPairs + 2 * v, 2);
            return end - 2;
        }
    }
    if constexpr (N >= 1) {
        end[-1] = static_cast<char>('0' + v);
        return end - 1;
    }
    return end;
}

// Fw.d of a finite value of the sign Neg whose magnitude times 10^D plus
// one half is scaled.
template <int W, int D, bool Neg>
char* edit_f_finite(char* dst, double scaled) {
    // Widest integer part: W less the point, the decimals and the sign.
    constexpr int kRoom = W - 1 - D - (Neg ? 1 : 0);
    if constexpr (kRoom < 0) {
        std::memset(dst, '*', W);
    } else {
        // Fewer than kRoom + D digits exactly when the integer part fits.
        if (!(scaled < kPow10[kRoom + D])) {
            std::memset(dst, '*', W);
            return dst + W;
        }
        const auto n = static_cast<std::uint32_t>(scaled);
        constexpr auto kScale = static_cast<std::uint32_t>(kPow10[D]);
        const std::uint32_t ipart = n / kScale;
        std::memset(dst, ' ', W);
        digits_back<D>(dst + W, n % kScale);
        char* pos = dst + W - D - 1;
        *pos = '.';
        if constexpr (kRoom > 0) {
            // A leading zero only in a spare column.
            pos = ipart == 0 ? pos - 1 : significant_digits_back<kRoom>(pos, ipart);
            if (ipart == 0) *pos = '0';
        }
        if constexpr (Neg) pos[-1] = '-';
    }
    return dst + W;
}

}  // namespace detail

// Fw.d with the width and the decimals fixed where the layout is written:
// the characters of edit_f(dst, value, W, D), without its choices at run
// time. Writes exactly W characters.
template <int W, int D>
char* edit_f(char* dst, float value) {
    static_assert(W >= 1 && W <= 10 && D >= 1 && D <= 9, "as the run-time edit_f allows");
    const std::uint32_t bits = std::bit_cast<std::uint32_t>(value);
    if ((bits & 0x7F800000u) == 0x7F800000u) return detail::edit_f_special(dst, value, W);
    // |value| 10^D is exact in a double (24 + 21 bits at most), and so is
    // the sum with one half below 2^51: truncating it rounds half away from
    // zero, and larger sums are too wide for any field anyway.
    const double scaled = std::fabs(static_cast<double>(value)) * detail::kPow10[D] + 0.5;
    return (bits >> 31) != 0 ? detail::edit_f_finite<W, D, true>(dst, scaled)
                             : detail::edit_f_finite<W, D, false>(dst, scaled);
}

}  // namespace ferravane::textio
