#include "cli/handle_buf.hpp"

namespace ferravane::cli {

HandleBuf::HandleBuf(platform::Handle h, std::size_t block) : h_(h), buf_(block) {
    setp(buf_.data(), buf_.data() + buf_.size());
}

HandleBuf::~HandleBuf() { drain(); }

bool HandleBuf::drain() {
    const auto n = static_cast<std::size_t>(pptr() - pbase());
    setp(buf_.data(), buf_.data() + buf_.size());
    if (failed_) return false;
    if (n > 0 && platform::write_all(h_, buf_.data(), n) != 0) failed_ = true;
    return !failed_;
}

HandleBuf::int_type HandleBuf::overflow(int_type c) {
    if (!drain()) return traits_type::eof();
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
    return c;
}

int HandleBuf::sync() { return drain() ? 0 : -1; }

}  // namespace ferravane::cli
