// Line-oriented input. Every read takes exactly one line: the field comes
// from the start of the line and the rest of the line is skipped.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/platform.hpp"

namespace ferravane::textio {

// Where bytes come from. read() returns the count (0 at the end) or -1 with
// the error number in *err.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual long read(char* buf, std::size_t n, int* err) = 0;
};

// An open file or standard input.
class HandleSource final : public ByteSource {
public:
    explicit HandleSource(platform::Handle h) : h_(h) {}
    long read(char* buf, std::size_t n, int* err) override { return platform::read(h_, buf, n, err); }

private:
    platform::Handle h_;
};

class StringSource final : public ByteSource {
public:
    explicit StringSource(std::string data) : data_(std::move(data)) {}
    long read(char* buf, std::size_t n, int* err) override;

private:
    std::string data_;
    std::size_t pos_ = 0;
};

enum class ReadStatus {
    ok,     // a line was read
    end,    // no line left where one would begin
    error,  // the operating system failed the read (see os_errno())
};

class InStream {
public:
    explicit InStream(ByteSource& source) : source_(&source) {}
    InStream(const InStream&) = delete;
    InStream& operator=(const InStream&) = delete;

    // Takes up to w characters of the next line into field. A LF, a CR LF
    // or a lone CR met while the field is taken ends the line; with
    // comma_ends a comma ends the field too. The rest of the line, up to
    // and including its LF, is skipped. A last line without its line end
    // is still a line.
    ReadStatus take_field(std::size_t w, bool comma_ends, std::string& field);

    // Consumes one line without looking at it. A last line without its
    // line end counts as the end.
    ReadStatus skip_line();

    int os_errno() const { return errno_; }
    long line_number() const { return lines_; }

private:
    // Next byte, or -1 at the end, or -2 on an error.
    int get() {
        if (pos_ == len_ && !refill()) return failed_ ? -2 : -1;
        return static_cast<unsigned char>(buf_[pos_++]);
    }
    int peek() {
        if (pos_ == len_ && !refill()) return failed_ ? -2 : -1;
        return static_cast<unsigned char>(buf_[pos_]);
    }
    bool refill();
    ReadStatus skip_rest(bool end_without_lf_is_end);

    ByteSource* source_;
    char buf_[1 << 16];
    std::size_t pos_ = 0;
    std::size_t len_ = 0;
    bool failed_ = false;
    int errno_ = 0;
    long lines_ = 0;
};

}  // namespace ferravane::textio
