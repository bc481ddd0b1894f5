// The sweep of one table without the program's output, for bench/throughput:
// reads the same answers from standard input and the defaults file from the
// working folder through the real dialog, then runs the driver's row loop.
//   sweep_model model    model calls only
//   sweep_model format   model calls, rows formatted into an OutStream over
//                        a sink that discards the bytes
// Prints "rows=<n> check=<x>" so the caller can compare the row count with
// the lines the program printed for the same answers.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>
#include <fcntl.h>
#include <string>
#include <string_view>
#include <unistd.h>

#include "input/dialog.hpp"
#include "model/model.hpp"
#include "run/design_state.hpp"
#include "run/layouts.hpp"
#include "run/session.hpp"
#include "textio/console.hpp"
#include "textio/in_stream.hpp"
#include "textio/layout.hpp"
#include "textio/out_stream.hpp"

namespace {

using namespace ferravane;
using run::DesignState;
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

// With format set, each row goes through its layout into out, as the
// driver prints it to the console; otherwise the values only feed check.
struct Rows {
    bool format;
    textio::OutStream* out;
    Check check;
    std::int64_t count = 0;
    Layout lay;

    void emit() {
        ++count;
        if (format) out->write(lay.bytes());
    }
};

float sweep_point(std::int64_t il, float step, float start) {
    return std::fma(static_cast<float>(il), step, start);
}

// The loops below follow src/run/driver.cpp row for row.
void frequency_analysis(DesignState& s, Rows& rows) {
    run::Blk2& b2 = s.blk2;
    float f = s.blk1.fdef;
    float w = b2.wdef;
    float zo = 0.0f;
    model::slzo(b2.b, b2.er, b2.t, w, zo);
    float tec = 0.0f;
    float wbyb = 0.0f;
    model::slmode(b2.b, b2.er, b2.t, tec, w, wbyb);
    rows.check.add(tec);

    const std::int64_t l = s.blk1.l;
    for (std::int64_t il = 0; il <= l; ++il) {
        f = sweep_point(il, b2.fstep, b2.fmin);
        model::sllos(b2.b, b2.er, f, b2.res, b2.sr, b2.t, b2.tlos, w, zo, s.sllos1, s.slsen1);
        if (rows.format) {
            rows.lay.clear();
            run::layouts::frequency_row(rows.lay, f, s.sllos1);
        } else {
            rows.check.add(f);
            rows.check.add(s.sllos1);
        }
        rows.emit();
    }
}

void synthesis_with_loss(DesignState& s, Rows& rows) {
    const run::Blk1& b1 = s.blk1;
    run::Blk2& b2 = s.blk2;
    const float f = b1.fdef;
    float w = b2.wdef;
    float zo = b1.zmin - b1.zstep;
    const std::int64_t istep =
        static_cast<std::int64_t>(input::truncate_to_int((b1.zmax - b1.zmin) / b1.zstep + 0.1f)) + 1;
    for (std::int64_t izo = 1; izo <= istep; ++izo) {
        zo = zo + b1.zstep;
        const float zod = zo;
        if (zo > b1.zmax) zo = b1.zmax;
        std::int32_t isyne = 0;
        model::slwb(b2.b, b2.er, isyne, b2.t, w, zo);
        if (isyne != 0) return;
        zo = zod;
        model::sllos(b2.b, b2.er, f, b2.res, b2.sr, b2.t, b2.tlos, w, zo, s.sllos1, s.slsen1);
        float tec = 0.0f;
        float wbyb = 0.0f;
        model::slmode(b2.b, b2.er, b2.t, tec, w, wbyb);
        zo = zod;
        if (rows.format) {
            rows.lay.clear();
            run::layouts::synthesis_loss_row(rows.lay, w, wbyb, zod, tec, s.sllos1);
        } else {
            rows.check.add(w);
            rows.check.add(wbyb);
            rows.check.add(tec);
            rows.check.add(s.sllos1);
        }
        rows.emit();
    }
}

void sensitivity_table(DesignState& s, Rows& rows) {
    const run::Blk1& b1 = s.blk1;
    run::Blk2& b2 = s.blk2;
    const bool synthesis = b1.ifunc == 2;
    float w = b2.wdef;
    float zo = 0.0f;
    const std::int64_t l = b1.l;
    for (std::int64_t il = 0; il <= l; ++il) {
        if (!synthesis) {
            w = sweep_point(il, b1.wstep, b1.wmin);
            model::slzo(b2.b, b2.er, b2.t, w, zo);
        } else {
            zo = sweep_point(il, b1.zstep, b1.zmin);
            const float zod = zo;
            std::int32_t isyne = 0;
            model::slwb(b2.b, b2.er, isyne, b2.t, w, zo);
            if (isyne != 0) return;
            zo = zod;
        }
        model::slsen(b2.b, b2.er, b2.t, w, zo, s.slsen1);
        float tec = 0.0f;
        float wbyb = 0.0f;
        model::slmode(b2.b, b2.er, b2.t, tec, w, wbyb);
        if (rows.format) {
            rows.lay.clear();
            run::layouts::sensitivity_row(rows.lay, w, wbyb, zo, tec, s.slsen1);
        } else {
            rows.check.add(w);
            rows.check.add(wbyb);
            rows.check.add(zo);
            rows.check.add(tec);
            rows.check.add(s.slsen1);
        }
        rows.emit();
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
    textio::FdSource in_source(STDIN_FILENO);
    textio::InStream in(in_source);
    NullSink dialog_sink;
    textio::OutStream dialog_out(dialog_sink);
    textio::Console console(in, dialog_out);
    run::Session io{console, AT_FDCWD, run::local_clock, nullptr};

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
    Rows rows{mode == "format", &row_out, {}, 0, {}};
    if (s.blk2.iop == 2) {
        sensitivity_table(s, rows);
    } else if (s.blk1.ifunc == 2) {
        synthesis_with_loss(s, rows);
    } else {
        frequency_analysis(s, rows);
    }
    row_out.flush();
    std::printf("rows=%lld check=%08x bytes=%zu\n", static_cast<long long>(rows.count),
                rows.check.h, row_sink.count);
    return 0;
}
