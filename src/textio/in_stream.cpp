#include "textio/in_stream.hpp"

#include <algorithm>
#include <cstring>

namespace ferravane::textio {

long StringSource::read(char* buf, std::size_t n, int*) {
    const std::size_t take = std::min(n, data_.size() - pos_);
    std::memcpy(buf, data_.data() + pos_, take);
    pos_ += take;
    return static_cast<long>(take);
}

bool InStream::refill() {
    if (failed_) return false;
    pos_ = 0;
    len_ = 0;
    int err = 0;
    const long got = source_->read(buf_, sizeof buf_, &err);
    if (got < 0) {
        failed_ = true;
        errno_ = err;
        return false;
    }
    len_ = static_cast<std::size_t>(got);
    return got > 0;
}

ReadStatus InStream::skip_rest(bool end_without_lf_is_end) {
    for (;;) {
        // Scan the buffer for the line end in one go.
        const char* start = buf_ + pos_;
        const void* lf = std::memchr(start, '\n', len_ - pos_);
        if (lf != nullptr) {
            pos_ = static_cast<std::size_t>(static_cast<const char*>(lf) - buf_) + 1;
            return ReadStatus::ok;
        }
        pos_ = len_;
        if (!refill()) {
            if (failed_) return ReadStatus::error;
            return end_without_lf_is_end ? ReadStatus::end : ReadStatus::ok;
        }
    }
}

ReadStatus InStream::take_field(std::size_t w, bool comma_ends, std::string& field) {
    field.clear();
    int c = peek();
    if (c == -2) return ReadStatus::error;
    if (c == -1) return ReadStatus::end;
    ++lines_;
    while (field.size() < w) {
        c = get();
        if (c == -2) return ReadStatus::error;
        if (c == -1 || c == '\n') return ReadStatus::ok;
        if (c == '\r') {
            const int next = peek();
            if (next == -2) return ReadStatus::error;
            if (next == '\n') get();
            return ReadStatus::ok;
        }
        if (comma_ends && c == ',') break;
        field.push_back(static_cast<char>(c));
    }
    return skip_rest(false);
}

ReadStatus InStream::skip_line() {
    const int c = peek();
    if (c == -2) return ReadStatus::error;
    if (c == -1) return ReadStatus::end;
    ++lines_;
    return skip_rest(true);
}

}  // namespace ferravane::textio
