#include "run/driver.hpp"

#include <cmath>
#include <cstdint>

#include "input/dialog.hpp"
#include "model/model.hpp"
#include "run/layouts.hpp"
#include "textio/numeric_field.hpp"
#include "textio/run_stop.hpp"

namespace ferravane::run {
namespace {

using textio::Layout;

// Where a table goes: always the console, the report file when stored.
class Printer {
public:
    Printer(Session& io, bool stored) : io_(io), stored_(stored) {}

    // Console only.
    void console(const Layout& lay) { io_.console.write(lay); }
    // Console, then the report file when the table is stored.
    void both(const Layout& lay) {
        io_.console.write(lay);
        if (stored_) io_.report.write(lay.bytes());
    }

private:
    Session& io_;
    bool stored_;
};

// A sweep point computed from its index, rounded once: il * step + start.
float sweep_point(std::int64_t il, float step, float start) {
    return std::fma(static_cast<float>(il), step, start);
}

// The width for the impedance in zo (which the synthesis may overwrite).
// A width that cannot be realised ends the table with the warning, on the
// console only, showing zo as the synthesis left it.
bool synthesise_width(const Blk2& b2, float& w, float& zo, Printer& out) {
    std::int32_t isyne = 0;
    model::slwb(b2.b, b2.er, isyne, b2.t, w, zo);
    if (isyne == 0) return true;
    Layout lay;
    layouts::width_warning(lay, zo);
    out.console(lay);
    return false;
}

void frequency_analysis(DesignState& s, Printer& out) {
    Blk2& b2 = s.blk2;
    float f = s.blk1.fdef;
    float w = b2.wdef;
    float zo = 0.0f;
    model::slzo(b2.b, b2.er, b2.t, w, zo);

    Layout lay;
    layouts::analysis_header(lay, s);
    const float wbtemp = w / b2.b;
    const float tbtemp = (1.0f / b2.b) * b2.t;
    layouts::width_line(lay, w, wbtemp, tbtemp, zo);
    layouts::frequency_table_header(lay);
    out.both(lay);

    float tec = 0.0f;
    float wbyb = 0.0f;
    model::slmode(b2.b, b2.er, b2.t, tec, w, wbyb);

    const std::int64_t l = s.blk1.l;
    for (std::int64_t il = 0; il <= l; ++il) {
        f = sweep_point(il, b2.fstep, b2.fmin);
        model::sllos(b2.b, b2.er, f, b2.res, b2.sr, b2.t, b2.tlos, w, zo, s.sllos1, s.slsen1);
        lay.clear();
        layouts::frequency_row(lay, f, s.sllos1);
        out.both(lay);
    }
    lay.clear();
    layouts::cutoff_line(lay, tec);
    out.both(lay);
}

void synthesis_with_loss(DesignState& s, Printer& out) {
    const Blk1& b1 = s.blk1;
    Blk2& b2 = s.blk2;
    const float f = b1.fdef;
    float w = b2.wdef;

    Layout lay;
    layouts::synthesis_header(lay, s);
    layouts::loss_table_header(lay, f);
    out.both(lay);

    float zo = b1.zmin - b1.zstep;
    // Rows: the whole steps in the range with a tolerance of a tenth of a
    // step, counting the start.
    const std::int64_t istep =
        static_cast<std::int64_t>(input::truncate_to_int((b1.zmax - b1.zmin) / b1.zstep + 0.1f)) + 1;
    for (std::int64_t izo = 1; izo <= istep; ++izo) {
        zo = zo + b1.zstep;  // accumulated, with the rounding of each addition
        const float zod = zo;
        if (zo > b1.zmax) zo = b1.zmax;
        if (!synthesise_width(b2, w, zo, out)) return;
        zo = zod;
        model::sllos(b2.b, b2.er, f, b2.res, b2.sr, b2.t, b2.tlos, w, zo, s.sllos1, s.slsen1);
        float tec = 0.0f;
        float wbyb = 0.0f;
        model::slmode(b2.b, b2.er, b2.t, tec, w, wbyb);
        zo = zod;
        lay.clear();
        layouts::synthesis_loss_row(lay, w, wbyb, zod, tec, s.sllos1);
        out.both(lay);
    }
}

void sensitivity_table(DesignState& s, Printer& out) {
    const Blk1& b1 = s.blk1;
    Blk2& b2 = s.blk2;
    const bool synthesis = b1.ifunc == 2;
    float w = b2.wdef;
    float zo = 0.0f;

    Layout lay;
    if (synthesis) {
        layouts::synthesis_header(lay, s);
    } else {
        layouts::analysis_header(lay, s);
    }
    layouts::sensitivity_table_header(lay);
    out.both(lay);

    const std::int64_t l = b1.l;
    for (std::int64_t il = 0; il <= l; ++il) {
        if (!synthesis) {
            w = sweep_point(il, b1.wstep, b1.wmin);
            model::slzo(b2.b, b2.er, b2.t, w, zo);
        } else {
            zo = sweep_point(il, b1.zstep, b1.zmin);
            const float zod = zo;
            if (!synthesise_width(b2, w, zo, out)) return;
            zo = zod;
        }
        model::slsen(b2.b, b2.er, b2.t, w, zo, s.slsen1);
        float tec = 0.0f;
        float wbyb = 0.0f;
        model::slmode(b2.b, b2.er, b2.t, tec, w, wbyb);
        lay.clear();
        layouts::sensitivity_row(lay, w, wbyb, zo, tec, s.slsen1);
        out.both(lay);
    }
}

}  // namespace

void run_table(DesignState& s, Session& io) {
    Blk2& b2 = s.blk2;
    const bool stored = s.blk1.istore == 1;
    Layout lay;
    layouts::run_header(lay, s.blk3);
    io.console.write(lay);
    if (stored) {
        io.report.open(b2.fn, io.defaults_id());
        io.report.write(lay.bytes());
    }
    Printer out(io, stored);

    if (b2.iop == 2) {
        sensitivity_table(s, out);
    } else if (s.blk1.ifunc == 2) {
        synthesis_with_loss(s, out);
    } else {
        frequency_analysis(s, out);
    }

    lay.clear();
    layouts::closing_rule(lay);
    out.both(lay);
    if (stored) {
        lay.clear();
        layouts::storage_line(lay, b2.fn);
        out.both(lay);
        io.report.flush();
    }
}

std::int32_t operation_choice(float sel) {
    std::int32_t isel = textio::nearest_int(sel);
    if (isel <= 0) isel = 3;
    return isel;
}

void run_driver(DesignState& s, Session& io) {
    Blk2& b2 = s.blk2;
    b2.isel = 0;
    s.blk1.ifunc = 2;
    for (;;) {
        input::slinput(s, io);
        if (b2.isel == -1) break;
        run_table(s, io);

        Layout lay;
        layouts::operation_menu(lay);
        layouts::operation_prompt(lay);
        io.console.prompt(lay);
        b2.isel = operation_choice(io.console.read_number());
        if (b2.isel > 2) break;
    }
    io.report.close();
    io.console.flush();
}

int run_program(Session& io, std::string& err) {
    DesignState s;
    try {
        run_driver(s, io);
        return 0;
    } catch (const textio::RunStop& stop) {
        io.report.close_after_stop();
        try {
            io.console.flush();
        } catch (const textio::RunStop&) {
            // The console itself failed; what it took is all there is.
        }
        err += stop.place();
        err += '\n';
        err += stop.message();
        err += '\n';
        return textio::kRunStopStatus;
    }
}

}  // namespace ferravane::run
