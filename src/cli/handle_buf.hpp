// A stream buffer over an operating-system handle (standard output or
// error): bytes leave in blocks, unchanged, and the first write that fails
// fails the stream for good, so the command stops there.
#pragma once

#include <streambuf>
#include <vector>

#include "platform/platform.hpp"

namespace ferravane::cli {

class HandleBuf final : public std::streambuf {
public:
    HandleBuf(platform::Handle h, std::size_t block);
    ~HandleBuf() override;
    HandleBuf(const HandleBuf&) = delete;
    HandleBuf& operator=(const HandleBuf&) = delete;

protected:
    int_type overflow(int_type c) override;
    int sync() override;

private:
    bool drain();

    platform::Handle h_;
    std::vector<char> buf_;
    bool failed_ = false;
};

}  // namespace ferravane::cli
