#include "textio/layout.hpp"

namespace ferravane::textio {

void Layout::grow(std::size_t need) { buf_.resize(2 * need); }

}  // namespace ferravane::textio
