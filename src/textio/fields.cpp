#include "textio/fields.hpp"

#include <bit>
#include <cmath>
#include <cstring>

namespace ferravane::textio {
namespace {

constexpr std::uint64_t kPow10[] = {1ULL,          10ULL,          100ULL,
                                    1000ULL,       10000ULL,       100000ULL,
                                    1000000ULL,    10000000ULL,    100000000ULL,
                                    1000000000ULL, 10000000000ULL};

void put_right(std::string& out, std::string_view text, int w) {
    put_rep(out, w - static_cast<int>(text.size()), ' ');
    out.append(text);
}

void put_stars(std::string& out, int w) { put_rep(out, w, '*'); }

// Writes the digits of v (no sign) into the end of buf; returns the count.
int digits_of(std::uint64_t v, char* end) {
    int n = 0;
    do {
        *--end = static_cast<char>('0' + v % 10);
        v /= 10;
        ++n;
    } while (v != 0);
    return n;
}

}  // namespace

void put_i(std::string& out, std::int32_t value, int w) {
    char buf[16];
    char* end = buf + sizeof buf;
    const bool neg = value < 0;
    // Magnitude in 64 bits so that INT32_MIN needs no special case.
    const std::uint64_t mag = neg ? static_cast<std::uint64_t>(-static_cast<std::int64_t>(value))
                                  : static_cast<std::uint64_t>(value);
    int n = digits_of(mag, end);
    if (neg) {
        *(end - n - 1) = '-';
        ++n;
    }
    if (n > w) {
        put_stars(out, w);
        return;
    }
    put_right(out, std::string_view(end - n, static_cast<std::size_t>(n)), w);
}

void put_f(std::string& out, float value, int w, int d) {
    const std::uint32_t bits = std::bit_cast<std::uint32_t>(value);
    const bool neg = (bits >> 31) != 0;
    const std::uint32_t exp_field = (bits >> 23) & 0xFFu;
    const std::uint32_t frac = bits & 0x7FFFFFu;

    if (exp_field == 0xFFu) {
        if (w < 3) {
            put_stars(out, w);
        } else if (frac != 0) {
            put_right(out, "NaN", w);
        } else if (!neg) {
            put_right(out, w >= 8 ? "Infinity" : "Inf", w);
        } else if (w >= 9) {
            put_right(out, "-Infinity", w);
        } else if (w >= 4) {
            put_right(out, "-Inf", w);
        } else {
            put_stars(out, w);
        }
        return;
    }

    // The magnitude is exactly m * 2^e.
    std::uint64_t m = exp_field == 0 ? frac : (frac | 0x800000u);
    int e = exp_field == 0 ? -149 : static_cast<int>(exp_field) - 150;

    // 2^34 and above has 11 integer digits: wider than any field (w <= 12).
    std::uint64_t scaled;  // value * 10^d rounded half away from zero
    const std::uint64_t p = kPow10[d];
    if (e >= 0) {
        if (e > 10 || m == 0) {
            if (m != 0) {  // at least 2^33: never fits a field of the system
                put_stars(out, w);
                return;
            }
            scaled = 0;
        } else {
            scaled = (m << e) * p;  // < 2^34 * 10^9 < 2^64
        }
    } else {
        const int k = -e;
        const std::uint64_t num = m * p;  // < 2^24 * 10^9 < 2^54
        if (k >= 60) {
            scaled = 0;  // num / 2^k < 2^54 / 2^60 < 1/2
        } else {
            const std::uint64_t q = num >> k;
            const std::uint64_t r = num & ((std::uint64_t{1} << k) - 1);
            scaled = q + (r >= (std::uint64_t{1} << (k - 1)) ? 1 : 0);
        }
    }

    const std::uint64_t ipart = scaled / p;
    const std::uint64_t fpart = scaled % p;

    char buf[48];
    char* end = buf + sizeof buf;
    char* pos = end;
    // Decimals, exactly d of them.
    std::uint64_t f = fpart;
    for (int i = 0; i < d; ++i) {
        *--pos = static_cast<char>('0' + f % 10);
        f /= 10;
    }
    *--pos = '.';
    const int int_digits = ipart == 0 ? 0 : digits_of(ipart, pos);
    pos -= int_digits;
    const int needed = int_digits + 1 + d + (neg ? 1 : 0);
    if (needed > w) {
        put_stars(out, w);
        return;
    }
    if (int_digits == 0 && needed < w) *--pos = '0';
    if (neg) *--pos = '-';
    put_right(out, std::string_view(pos, static_cast<std::size_t>(end - pos)), w);
}

void put_a(std::string& out, std::string_view text, int w) {
    const auto width = static_cast<std::size_t>(w < 0 ? 0 : w);
    if (width < text.size()) {
        out.append(text.substr(0, width));
    } else {
        put_right(out, text, w);
    }
}

}  // namespace ferravane::textio
