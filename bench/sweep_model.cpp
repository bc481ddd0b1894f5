// The sweep of one table without the program's output, for bench/throughput:
// reads the same answers from standard input and the defaults file from the
// working folder through the real dialog, then runs the program's row loop.
//   sweep_model model    model calls only
//   sweep_model format   model calls, rows formatted into an OutStream over
//                        a sink that discards the bytes
// Prints "rows=<n> check=<x>" so the caller can compare the row count with
// the lines the program printed for the same answers.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <string_view>

#include "input/dialog.hpp"
#include "platform/platform.hpp"
#include "model/sweep.hpp"
#include "engine/engine.hpp"
#include "state/design_state.hpp"
#include "run/layouts.hpp"
#include "state/session.hpp"
#include "run/sweeps.hpp"
#include "run/table_rows.hpp"
#include "textio/console.hpp"
#include "textio/in_stream.hpp"
#include "textio/layout.hpp"
#include "textio/out_stream.hpp"

namespace {

using namespace ferravane;
using state::DesignState;
using textio::Layout;

class NullSink final : public textio::ByteSink {
public:
    void write(std::string_view bytes) override { count += bytes.size(); }
    std::size_t count = 0;
};

// Folds every result into one value so that no call can be dropped.
struct Check {
    std::uint32_t h = 0;
    void add(float v) {
        std::uint32_t u;
        std::memcpy(&u, &v, sizeof u);
        h = (h ^ u) * 16777619u;
    }
    void add(const model::Sllos1& r) {
        add(r.ac);
        add(r.ad);
        add(r.atot);
        add(r.qu);
        add(r.wg);
        add(r.wl);
    }
    void add(const model::Slsen1& r) {
        add(r.szob);
        add(r.szoer);
        add(r.szot);
        add(r.szow);
    }
};

// Model only: the values of each row feed check.
struct ModelRows {
    Check& check;
    std::int64_t count = 0;

    void strip(const engine::Row& r) {
        check.add(r.strip.w);
        check.add(r.strip.wbyb);
        check.add(r.zo);
        check.add(r.strip.tec);
    }
    void frequency(const engine::Row& r) {
        check.add(*r.f);
        check.add(r.loss);
        ++count;
    }
    void synthesis_loss(const engine::Row& r) {
        strip(r);
        check.add(r.loss);
        ++count;
    }
    void sensitivity(const engine::Row& r) {
        strip(r);
        check.add(r.strip.sen);
        ++count;
    }
    void unrealisable(const engine::Row& r) { check.add(r.strip.zo); }
};

// Formatted: the program's row layouts into an OutStream, as the console
// gets them, over a sink that discards the bytes.
struct FormatOut {
    textio::OutStream& out;
    std::int64_t count = 0;

    void row(const Layout& lay) {
        out.write(lay.bytes());
        ++count;
    }
    void warning(const Layout&) {}
};

// The program's own row loops; only what precedes them is repeated here.
template <typename Rows>
void sweep(DesignState& s, Rows& rows, Check& check) {
    state::Blk2& b2 = s.blk2;
    if (b2.iop == 2) {
        run::sweeps::sensitivity_rows(s, rows);
    } else if (s.blk1.ifunc == 2) {
        run::sweeps::synthesis_loss_rows(s, rows);
    } else {
        const engine::Strip strip = engine::LineRows(run::sweeps::line_of(b2)).of_width(b2.wdef);
        check.add(strip.zo);
        check.add(strip.tec);
        run::sweeps::frequency_rows(s, b2.wdef, rows);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode != "model" && mode != "format") {
        std::fprintf(stderr, "usage: sweep_model model|format < answers\n");
        return 64;
    }

    // The dialog talks to a console whose output is discarded.
    textio::HandleSource in_source(platform::standard_input());
    textio::InStream in(in_source);
    NullSink dialog_sink;
    textio::OutStream dialog_out(dialog_sink);
    textio::Console console(in, dialog_out);
    state::Session io{console, platform::Folder(), platform::local_time, nullptr};

    DesignState s;
    s.blk2.isel = 0;
    s.blk1.ifunc = 2;
    try {
        input::slinput(s, io);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "sweep_model: the dialog stopped: %s\n", e.what());
        return 2;
    }
    if (s.blk2.isel == -1) {
        std::fprintf(stderr, "sweep_model: faulty defaults file\n");
        return 2;
    }

    NullSink row_sink;
    textio::OutStream row_out(row_sink);
    Check check;
    std::int64_t count = 0;
    if (mode == "format") {
        FormatOut format{row_out};
        run::TableRows<FormatOut> rows(format);
        sweep(s, rows, check);
        count = format.count;
    } else {
        ModelRows rows{check};
        sweep(s, rows, check);
        count = rows.count;
    }
    row_out.flush();
    std::printf("rows=%lld check=%08x bytes=%zu\n", static_cast<long long>(count), check.h,
                row_sink.count);
    return 0;
}
