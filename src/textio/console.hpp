// The console: prompts on standard output and answers from standard input.
// Any condition on a console read stops the run.
#pragma once

#include <string>

#include "textio/in_stream.hpp"
#include "textio/layout.hpp"
#include "textio/out_stream.hpp"
#include "textio/text20.hpp"

namespace ferravane::textio {

class Console {
public:
    Console(InStream& in, OutStream& out) : in_(&in), out_(&out) {}

    // Advancing write: the layout's bytes, line ends included.
    void write(const Layout& layout) { out_->write(layout.bytes()); }
    // Non-advancing prompt: the line stays open, and everything written so
    // far is delivered before the program waits for the answer.
    void prompt(const Layout& layout) {
        out_->write(layout.bytes());
        out_->flush();
    }
    void flush() { out_->flush(); }

    // One line as a 13-character numeric field; a blank line is 0.
    float read_number();
    // One line as a 20-character text field.
    Text20 read_text();

    OutStream& out() { return *out_; }

private:
    void stop_on(ReadStatus status);

    InStream* in_;
    OutStream* out_;
    std::string field_;
};

}  // namespace ferravane::textio
