#include "textio/out_stream.hpp"

#include "platform/platform.hpp"
#include "textio/run_stop.hpp"

namespace ferravane::textio {

void HandleSink::write(std::string_view bytes) {
    const int err = platform::write_all(h_, bytes.data(), bytes.size());
    if (err != 0) throw RunStop(place_, platform::error_text(err));
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
