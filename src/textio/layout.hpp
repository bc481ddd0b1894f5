// A layout is written as a chain of field items, in the order they stand on
// the line:  lay.x(11).lit("B  =").f(9, 4, b).lit("\"").end();
// The bytes accumulate in one buffer, so the same layout can be handed to
// the console and to the report file and both receive identical bytes.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "textio/fields.hpp"

namespace ferravane::textio {

inline constexpr std::string_view kLineEnd = "\r\n";

class Layout {
public:
    Layout() : buf_(kInitial, ' ') {}

    // nX: blanks that count only when a later item of the line follows.
    Layout& x(int n) {
        pending_blanks_ += n;
        return *this;
    }
    Layout& lit(std::string_view text) {
        const int n = static_cast<int>(text.size());
        return item(n, [&](char* dst) { std::memcpy(dst, text.data(), text.size()); });
    }
    // n(1Hc): the character c, n times.
    Layout& rep(int n, char c) { return item(n, [&](char* dst) { edit_rep(dst, n, c); }); }
    Layout& i(int w, std::int32_t value) { return item(w, [&](char* dst) { edit_i(dst, value, w); }); }
    Layout& f(int w, int d, float value) {
        return item(w, [&](char* dst) { edit_f(dst, value, w, d); });
    }
    Layout& a(int w, std::string_view text) { return item(w, [&](char* dst) { edit_a(dst, text, w); }); }
    // "/" and the end of an advancing write: CR LF on every platform.
    Layout& end() {
        pending_blanks_ = 0;
        return lit(kLineEnd);
    }

    // A table row: one line of blanks and Fw.d fields only, at most kRowMax
    // characters, written in place. Room and blanks for the whole line are
    // made once; the items then only move a cursor, and each field is
    // f<W, D>, the characters of f(W, D, value) with its choices made where
    // the row is written:
    //   lay.row().x(6).f<8, 4>(w).x(1).f<8, 2>(zo).end();
    class Row {
    public:
        Row& x(int n) {
            at_ += n;
            return *this;
        }
        template <int W, int D>
        Row& f(float value) {
            if (at_ < 0 || at_ + W > kRowMax) overflow();
            edit_f<W, D>(start_ + at_, value);
            at_ += W;
            end_ = at_;
            return *this;
        }
        // Blanks after the last field are not written (nX before "/").
        void end() {
            std::memcpy(start_ + end_, kLineEnd.data(), kLineEnd.size());
            lay_.len_ = static_cast<std::size_t>(start_ - lay_.buf_.data() + end_) + kLineEnd.size();
        }

    private:
        friend class Layout;
        Row(Layout& lay, char* start) : lay_(lay), start_(start) {}
        [[noreturn]] static void overflow();

        Layout& lay_;
        char* start_;  // kRowMax blanks, then room for the line end
        int at_ = 0;   // where the next item goes
        int end_ = 0;  // just after the last field
    };
    static constexpr int kRowMax = 96;
    Row row() {
        char* start = room(kRowMax + static_cast<int>(kLineEnd.size()));
        std::memset(start, ' ', kRowMax);
        return Row(*this, start);
    }

    std::string_view bytes() const { return {buf_.data(), len_}; }
    void clear() {
        len_ = 0;
        pending_blanks_ = 0;
    }

private:
    static constexpr std::size_t kInitial = 512;
    static constexpr std::size_t kPad = 16;

    template <typename Edit>
    Layout& item(int w, Edit edit) {
        char* dst = room(w);
        if (w > 0) {
            edit(dst);
            len_ += static_cast<std::size_t>(w);
        }
        return *this;
    }

    // Writes the pending blanks and makes room for n more characters (and
    // kPad beyond them, so that a few blanks are one fixed-size store);
    // returns where they go.
    char* room(int n) {
        const std::size_t blanks = pending_blanks_ > 0 ? static_cast<std::size_t>(pending_blanks_) : 0;
        const std::size_t more = n > 0 ? static_cast<std::size_t>(n) : 0;
        const std::size_t need = len_ + blanks + more + kPad;
        if (need > buf_.size()) grow(need);
        char* dst = buf_.data() + len_;
        if (blanks <= kPad) {
            std::memset(dst, ' ', kPad);
        } else {
            std::memset(dst, ' ', blanks);
        }
        len_ += blanks;
        pending_blanks_ = 0;
        return buf_.data() + len_;
    }
    // Apart, so that the common path of room stays small enough to inline.
    void grow(std::size_t need);

    std::string buf_;  // the first len_ characters are the layout's bytes
    std::size_t len_ = 0;
    int pending_blanks_ = 0;
};

}  // namespace ferravane::textio
