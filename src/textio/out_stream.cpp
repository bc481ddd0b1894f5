#include "textio/out_stream.hpp"

#include <cerrno>
#include <cstring>
#include <unistd.h>

#include "textio/run_stop.hpp"

namespace ferravane::textio {

std::string os_error_text(int errnum) { return std::strerror(errnum); }

void FdSink::write(std::string_view bytes) {
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd_, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw RunStop(place_, os_error_text(errno));
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
}

void OutStream::flush() {
    if (buf_.empty()) return;
    try {
        sink_->write(buf_);
    } catch (...) {
        buf_.clear();
        throw;
    }
    buf_.clear();
}

}  // namespace ferravane::textio
