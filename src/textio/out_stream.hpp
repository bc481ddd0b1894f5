// Buffered output. Rows are appended to a buffer that leaves in large
// blocks; the console is flushed only before a read and at the end.
#pragma once

#include <string>
#include <string_view>

#include "platform/platform.hpp"

namespace ferravane::textio {

// Where bytes finally go. write() either delivers everything or throws
// RunStop with the operating system's description of the failure.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual void write(std::string_view bytes) = 0;
};

// An open file (standard output, a report file).
class HandleSink final : public ByteSink {
public:
    HandleSink(platform::Handle h, std::string place) : h_(h), place_(std::move(place)) {}
    void write(std::string_view bytes) override;

private:
    platform::Handle h_;
    std::string place_;
};

// Collects the bytes in memory (tests, fuzzing).
class StringSink final : public ByteSink {
public:
    void write(std::string_view bytes) override { data_.append(bytes); }
    const std::string& data() const { return data_; }

private:
    std::string data_;
};

class OutStream {
public:
    static constexpr std::size_t kBlock = 1 << 16;

    explicit OutStream(ByteSink& sink) : sink_(&sink) { buf_.reserve(kBlock * 2); }
    OutStream(const OutStream&) = delete;
    OutStream& operator=(const OutStream&) = delete;

    void write(std::string_view bytes) {
        buf_.append(bytes);
        if (buf_.size() >= kBlock) flush();
    }
    // Delivers everything buffered so far. The buffer is emptied whether or
    // not the sink succeeds, so a failed write is not retried on the way out.
    void flush();

private:
    ByteSink* sink_;
    std::string buf_;
};

}  // namespace ferravane::textio
