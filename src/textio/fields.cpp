#include "textio/fields.hpp"

#include <cmath>
#include <cstring>

namespace ferravane::textio {
namespace {

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

int digit_count(std::uint32_t v) {
    int n = 1;
    for (; v >= 10; v /= 10) ++n;
    return n;
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
    // The magnitude through 64 bits, so that INT32_MIN needs no special case.
    const auto mag = static_cast<std::uint32_t>(neg ? -static_cast<std::int64_t>(value) : value);
    const int n = digit_count(mag);
    const int needed = n + (neg ? 1 : 0);
    if (needed > w) return fill(dst, w, '*');
    char* end = dst + w;
    detail::digits_back(end, mag, n);
    if (neg) *(end - n - 1) = '-';
    fill(dst, w - needed, ' ');
    return end;
}

char* edit_f(char* dst, float value, int w, int d) {
    if (w <= 0) return dst;
    if (w > kWidestF) return fill(dst, w, '*');
    switch (d) {
        case 1: return detail::edit_f_in<1>(dst, value, w);
        case 2: return detail::edit_f_in<2>(dst, value, w);
        case 3: return detail::edit_f_in<3>(dst, value, w);
        case 4: return detail::edit_f_in<4>(dst, value, w);
        case 5: return detail::edit_f_in<5>(dst, value, w);
        case 6: return detail::edit_f_in<6>(dst, value, w);
        case 7: return detail::edit_f_in<7>(dst, value, w);
        case 8: return detail::edit_f_in<8>(dst, value, w);
        case 9: return detail::edit_f_in<9>(dst, value, w);
        default: return fill(dst, w, '*');
    }
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

}  // namespace ferravane::textio
