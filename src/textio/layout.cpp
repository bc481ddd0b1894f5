#include "textio/layout.hpp"

#include <cstdio>
#include <cstdlib>

namespace ferravane::textio {

void Layout::grow(std::size_t need) { buf_.resize(2 * need); }

void Layout::Row::overflow() {
    // A row layout longer than kRowMax is a fault of the program itself.
    std::fputs("ferravane: a table row is longer than its room\n", stderr);
    std::abort();
}

}  // namespace ferravane::textio
