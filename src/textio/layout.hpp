// A layout is written as a chain of field items, in the order they stand on
// the line:  lay.x(11).lit("B  =").f(9, 4, b).lit("\"").end();
// The bytes accumulate in one buffer, so the same layout can be handed to
// the console and to the report file and both receive identical bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "textio/fields.hpp"

namespace ferravane::textio {

inline constexpr std::string_view kLineEnd = "\r\n";

class Layout {
public:
    // nX: blanks that count only when a later item of the line follows.
    Layout& x(int n) {
        pending_blanks_ += n;
        return *this;
    }
    Layout& lit(std::string_view text) {
        flush_blanks();
        buf_.append(text);
        return *this;
    }
    // n(1Hc): the character c, n times.
    Layout& rep(int n, char c) {
        flush_blanks();
        put_rep(buf_, n, c);
        return *this;
    }
    Layout& i(int w, std::int32_t value) {
        flush_blanks();
        put_i(buf_, value, w);
        return *this;
    }
    Layout& f(int w, int d, float value) {
        flush_blanks();
        put_f(buf_, value, w, d);
        return *this;
    }
    Layout& a(int w, std::string_view text) {
        flush_blanks();
        put_a(buf_, text, w);
        return *this;
    }
    // "/" and the end of an advancing write: CR LF on every platform.
    Layout& end() {
        pending_blanks_ = 0;
        buf_.append(kLineEnd);
        return *this;
    }

    std::string_view bytes() const { return buf_; }
    void clear() {
        buf_.clear();
        pending_blanks_ = 0;
    }

private:
    void flush_blanks() {
        if (pending_blanks_ > 0) put_rep(buf_, pending_blanks_, ' ');
        pending_blanks_ = 0;
    }

    std::string buf_;
    int pending_blanks_ = 0;
};

}  // namespace ferravane::textio
