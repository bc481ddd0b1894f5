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


char* fill(char* dst, int n, char c) {
    if (n <= 0) return dst;
    std::memset(dst, c, static_cast<std::size_t>(n));
    return dst + n;
}

// text right-justified in w columns (text no longer than w).
char* right(char* dst, std::string_view text, int w) {
    dst = fill(dst, w - static_cast<int>(text.size()), ' ');
    std::memcpy(dst, text.data(), text.size());
    return dst + text.size();
}

// scaled / 10^d and scaled % 10^d with a divisor the compiler can see.
template <std::uint64_t P>
void split(std::uint64_t scaled, std::uint64_t& ipart, std::uint64_t& fpart) {
    ipart = scaled / P;
    fpart = scaled % P;
}

void split_by_pow10(std::uint64_t scaled, int d, std::uint64_t& ipart, std::uint64_t& fpart) {
    switch (d) {
        case 1: return split<10ULL>(scaled, ipart, fpart);
        case 2: return split<100ULL>(scaled, ipart, fpart);
        case 3: return split<1000ULL>(scaled, ipart, fpart);
        case 4: return split<10000ULL>(scaled, ipart, fpart);
        case 5: return split<100000ULL>(scaled, ipart, fpart);
        case 6: return split<1000000ULL>(scaled, ipart, fpart);
        case 7: return split<10000000ULL>(scaled, ipart, fpart);
        case 8: return split<100000000ULL>(scaled, ipart, fpart);
        default: return split<1000000000ULL>(scaled, ipart, fpart);
    }
}

int digit_count(std::uint64_t v) {
    int n = 1;
    while (v >= 10) {
        v /= 10;
        ++n;
    }
    return n;
}

// Writes the n low digits of v backwards, ending just before end, two at a
// time and in 32 bits once the value fits (fields hold at most 12 digits).
void digits_back(std::uint64_t v, int n, char* end) {
    for (; n > 0 && v > 0xFFFFFFFFu; --n) {
        *--end = static_cast<char>('0' + v % 10);
        v /= 10;
    }
    auto u = static_cast<std::uint32_t>(v);
    for (; n >= 2; n -= 2) {
        end -= 2;
        std::memcpy(end, detail::kDigitPairs + 2 * (u % 100), 2);
        u /= 100;
    }
    if (n > 0) *--end = static_cast<char>('0' + u % 10);
}

// Magnitude of m * 2^e times 10^d, rounded half away from zero; false when
// it is too large for any field (w <= 12).
bool scale(std::uint64_t m, int e, int d, std::uint64_t& scaled) {
    const std::uint64_t p = kPow10[d];
    if (m == 0) {
        scaled = 0;
    } else if (e >= 0) {
        if (e > 10) return false;  // at least 2^34: 11 integer digits
        scaled = (m << e) * p;     // < 2^34 * 10^9 < 2^64
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
    return true;
}

}  // namespace

char* detail::edit_f_special(char* dst, float value, int w) {
    if (w < 3) return fill(dst, w, '*');
    if (std::isnan(value)) return right(dst, "NaN", w);
    if (value > 0.0f) return right(dst, w >= 8 ? "Infinity" : "Inf", w);
    if (w >= 9) return right(dst, "-Infinity", w);
    if (w >= 4) return right(dst, "-Inf", w);
    return fill(dst, w, '*');
}

char* edit_i(char* dst, std::int32_t value, int w) {
    if (w <= 0) return dst;
    const bool neg = value < 0;
    // Magnitude in 64 bits so that INT32_MIN needs no special case.
    const std::uint64_t mag = neg ? static_cast<std::uint64_t>(-static_cast<std::int64_t>(value))
                                  : static_cast<std::uint64_t>(value);
    const int n = digit_count(mag);
    const int needed = n + (neg ? 1 : 0);
    if (needed > w) return fill(dst, w, '*');
    char* end = dst + w;
    digits_back(mag, n, end);
    if (neg) *(end - n - 1) = '-';
    fill(dst, w - needed, ' ');
    return end;
}

char* edit_f(char* dst, float value, int w, int d) {
    if (w <= 0) return dst;
    const std::uint32_t bits = std::bit_cast<std::uint32_t>(value);
    const bool neg = (bits >> 31) != 0;
    const std::uint32_t exp_field = (bits >> 23) & 0xFFu;
    const std::uint32_t frac = bits & 0x7FFFFFu;

    if (exp_field == 0xFFu) return detail::edit_f_special(dst, value, w);

    // The magnitude is exactly m * 2^e.
    const std::uint64_t m = exp_field == 0 ? frac : (frac | 0x800000u);
    const int e = exp_field == 0 ? -149 : static_cast<int>(exp_field) - 150;
    std::uint64_t scaled = 0;
    if (!scale(m, e, d, scaled)) return fill(dst, w, '*');

    std::uint64_t ipart = 0;
    std::uint64_t fpart = 0;
    split_by_pow10(scaled, d, ipart, fpart);
    const int int_digits = ipart == 0 ? 0 : digit_count(ipart);
    const int needed = int_digits + 1 + d + (neg ? 1 : 0);
    if (needed > w) return fill(dst, w, '*');

    char* end = dst + w;
    digits_back(fpart, d, end);
    char* pos = end - d;
    *--pos = '.';
    digits_back(ipart, int_digits, pos);
    pos -= int_digits;
    if (int_digits == 0 && needed < w) *--pos = '0';
    if (neg) *--pos = '-';
    fill(dst, static_cast<int>(pos - dst), ' ');
    return end;
}

char* edit_a(char* dst, std::string_view text, int w) {
    if (w <= 0) return dst;
    const auto width = static_cast<std::size_t>(w);
    if (width < text.size()) {
        std::memcpy(dst, text.data(), width);
        return dst + width;
    }
    return right(dst, text, w);
}

char* edit_rep(char* dst, int n, char c) { return fill(dst, n, c); }

namespace {

template <typename Edit>
void append_field(std::string& out, int w, Edit edit) {
    if (w <= 0) return;
    const std::size_t at = out.size();
    out.resize(at + static_cast<std::size_t>(w));
    edit(out.data() + at);
}

}  // namespace

void put_i(std::string& out, std::int32_t value, int w) {
    append_field(out, w, [&](char* dst) { edit_i(dst, value, w); });
}

void put_f(std::string& out, float value, int w, int d) {
    append_field(out, w, [&](char* dst) { edit_f(dst, value, w, d); });
}

void put_a(std::string& out, std::string_view text, int w) {
    append_field(out, w, [&](char* dst) { edit_a(dst, text, w); });
}

}  // namespace ferravane::textio
