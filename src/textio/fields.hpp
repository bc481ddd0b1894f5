// Fixed-field editing: each function appends exactly w characters to out.
// This is the one place where numbers become text.
#pragma once

#include <cstdint>
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

}  // namespace ferravane::textio
