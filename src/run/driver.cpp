#include "run/driver.hpp"

#include <cstdint>

#include "input/dialog.hpp"
#include "model/step.hpp"
#include "run/layouts.hpp"
#include "run/sweeps.hpp"
#include "run/table_rows.hpp"
#include "textio/numeric_field.hpp"
#include "textio/run_stop.hpp"

namespace ferravane::run {
namespace {

using textio::Layout;

// Where a table goes: always the console, the report file when stored.
class Printer {
public:
    Printer(state::Session& io, bool stored) : io_(io), stored_(stored) {}

    // Console only.
    void console(const Layout& lay) { io_.console.write(lay); }
    // Console, then the report file when the table is stored.
    void both(const Layout& lay) {
        io_.console.write(lay);
        if (stored_) io_.report.write(lay.bytes());
    }
    // A table row goes where the table goes; the width warning that ends a
    // synthesis table is for the console only.
    void row(const Layout& lay) { both(lay); }
    void warning(const Layout& lay) { console(lay); }

private:
    state::Session& io_;
    bool stored_;
};

void frequency_analysis(state::DesignState& s, Printer& out) {
    const state::Blk2& b2 = s.blk2;
    const float w = b2.wdef;
    const engine::Strip strip = engine::LineRows(sweeps::line_of(b2)).of_width(w);

    Layout lay;
    layouts::analysis_header(lay, s);
    const float wbtemp = w / b2.b;
    // (1/B)·T as one step of the model's arithmetic.
    using model::Stored;
    const float tbtemp = Stored(1.0 / Stored(b2.b) * Stored(b2.t)).value();
    layouts::width_line(lay, w, wbtemp, tbtemp, strip.zo);
    layouts::frequency_table_header(lay);
    out.both(lay);

    TableRows<Printer> rows(out);
    sweeps::frequency_rows(s, w, rows);
    lay.clear();
    layouts::cutoff_line(lay, strip.tec);
    out.both(lay);
}

void synthesis_with_loss(state::DesignState& s, Printer& out) {
    Layout lay;
    layouts::synthesis_header(lay, s);
    layouts::loss_table_header(lay, s.blk1.fdef);
    out.both(lay);

    TableRows<Printer> rows(out);
    sweeps::synthesis_loss_rows(s, rows);
}

void sensitivity_table(state::DesignState& s, Printer& out) {
    Layout lay;
    if (s.blk1.ifunc == 2) {
        layouts::synthesis_header(lay, s);
    } else {
        layouts::analysis_header(lay, s);
    }
    layouts::sensitivity_table_header(lay);
    out.both(lay);

    TableRows<Printer> rows(out);
    sweeps::sensitivity_rows(s, rows);
}

}  // namespace

void run_table(state::DesignState& s, state::Session& io) {
    state::Blk2& b2 = s.blk2;
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
        // The line says the table is stored: the console shows it only
        // once the file has taken every byte.
        lay.clear();
        layouts::storage_line(lay, b2.fn);
        io.report.write(lay.bytes());
        io.report.flush();
        io.console.write(lay);
    }
}

std::int32_t operation_choice(float sel) {
    std::int32_t isel = textio::nearest_int(sel);
    if (isel <= 0) isel = 3;
    return isel;
}

void run_driver(state::DesignState& s, state::Session& io) {
    state::Blk2& b2 = s.blk2;
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

int run_program(state::Session& io, std::string& err) {
    state::DesignState s;
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
