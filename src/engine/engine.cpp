#include "engine/engine.hpp"

#include <bit>
#include <cmath>
#include <algorithm>
#include <cstdint>

#include "model/constants.hpp"
#include "model/model.hpp"

namespace ferravane::engine {
namespace {

constexpr double kMetresPerInch = 0.0254;
constexpr double kHzPerMHz = 1e6;

// A value of the field solver in the model's units, rounded once.
float inches(double metres) { return static_cast<float>(metres / kMetresPerInch); }
float db_per_inch(double nepers_per_metre) {
    return static_cast<float>(nepers_per_metre * field::kDbPerNeper * kMetresPerInch);
}

Unrealised why_not(field::SynthesisStatus s) {
    switch (s) {
        case field::SynthesisStatus::ok: return Unrealised::none;
        case field::SynthesisStatus::width_below_minimum: return Unrealised::too_narrow;
        case field::SynthesisStatus::width_above_maximum: return Unrealised::too_wide;
        case field::SynthesisStatus::gap_below_minimum: return Unrealised::gap_too_narrow;
        case field::SynthesisStatus::gap_above_maximum: return Unrealised::gap_too_wide;
        case field::SynthesisStatus::invalid_input:
        case field::SynthesisStatus::invalid_target: return Unrealised::bad_target;
        case field::SynthesisStatus::no_convergence: break;
    }
    return Unrealised::no_convergence;
}

// The closed forms' loss of a mode as a series resistance: R = 2 Z0 alpha_c,
// alpha_c from dB per inch with the model's own 8.686 dB to the neper.
double series_resistance(float zo, float ac_db_per_inch) {
    const double alpha = static_cast<double>(ac_db_per_inch) / static_cast<double>(model::kDbPerNeper.value()) /
                         kMetresPerInch;
    return 2.0 * static_cast<double>(zo) * alpha;
}

}  // namespace

// ---------------------------------------------------------------------------
// Strips.

LineRows::LineRows(const Line& line, Wanted wanted) : line_(line), wanted_(wanted) {
    if (line.solver == Solver::model) parts_ = model::line_parts(line.b, line.er, line.t);
}

field::Status check(const Line& line, float w, float s) {
    return field::check(LineRows(line).cross_section(w, s));
}

const Strip& LineRows::of_width(float w, float s) {
    const Line& l = line_;
    if (l.solver == Solver::field) {
        strip_ = Strip{};
        strip_.w = w;
        strip_.s = s;
        const field::CrossSection cs = cross_section(w, s);
        solved(field::solve(cs, options()), cs);
        return strip_;
    }
    if (wanted_.sensitivities) {
        // The strip and the three that slsen perturbs, side by side.
        strip_ = Strip{};
        strip_.w = w;
        model::slzo_and_slsen(parts_, w, strip_.zo, geometry_, strip_.sen);
        describe(false);
        return strip_;
    }
    strip_ = Strip{};
    strip_.w = w;
    geometry_ = model::slzo_geometry(parts_.line, w);
    strip_.zo = model::slzo_in(geometry_, parts_.medium);
    describe();
    return strip_;
}

const Strip& LineRows::for_impedance(float zo, std::span<const float> next) {
    const Line& l = line_;
    if (l.solver == Solver::field) {
        strip_ = Strip{};
        found(field::synthesize_width(cross_section(0.0f, 0.0f), static_cast<double>(zo), options()));
        return strip_;
    }
    // A strip found with an earlier one, side by side with it.
    if (ahead_is(zo)) {
        take_ahead();
        return strip_;
    }
    ahead_.clear();
    const int n = 1 + static_cast<int>(std::min<std::size_t>(next.size(), model::kTogether - 1));
    std::int32_t isyne[model::kTogether] = {};
    float w[model::kTogether] = {};
    float left[model::kTogether] = {zo};  // slwb leaves another impedance in its argument
    for (int k = 1; k < n; ++k) left[k] = next[static_cast<std::size_t>(k - 1)];
    const float asked[model::kTogether] = {left[0], left[1], left[2], left[3]};
    model::WidthImpedance of_w[model::kTogether];
    model::slwb_and_zo_together(parts_, isyne, w, left, of_w, n);
    Strip strips[model::kTogether];
    for (int k = 0; k < n; ++k) {
        Strip& st = strips[k];
        st.w = w[k];
        if (isyne[k] != 0) {
            st.realised = false;
            const bool narrow = std::isfinite(st.w) && st.w < model::kMinWidth;
            st.why = narrow ? Unrealised::too_narrow : Unrealised::no_width;
            st.zo = left[k];
            continue;
        }
        st.zo = of_w[k].zo;
        model::slmode(l.b, l.er, l.t, st.tec, st.w, st.wbyb);
    }
    // The sensitivities of the strips realised, side by side.
    if (wanted_.sensitivities) {
        float ws[model::kTogether] = {};
        float zs[model::kTogether] = {};
        model::Slsen1 sen[model::kTogether];
        int at[model::kTogether] = {};
        int m = 0;
        for (int k = 0; k < n; ++k) {
            if (!strips[k].realised) continue;
            ws[m] = strips[k].w;
            zs[m] = strips[k].zo;
            at[m++] = k;
        }
        model::slsen_from_zo_together(parts_, parts_.medium, ws, zs, sen, m);
        for (int j = 0; j < m; ++j) strips[at[j]].sen = sen[j];
    }
    strip_ = strips[0];
    geometry_ = of_w[0].geometry;
    of_strip_.reset();
    zo_air_.reset();
    for (int k = 1; k < n; ++k) ahead_.push_back(Ahead{asked[k], strips[k], of_w[k].geometry, std::nullopt, std::nullopt});
    return strip_;
}

const Strip& LineRows::pair_width_for(float z_diff, float s) {
    strip_ = Strip{};
    found(field::synthesize_pair_width(cross_section(0.0f, s), static_cast<double>(z_diff), options()));
    return strip_;
}

const Strip& LineRows::pair_gap_for(float z_diff, float w) {
    strip_ = Strip{};
    found(field::synthesize_pair_gap(cross_section(w, 0.0f), static_cast<double>(z_diff), options()));
    return strip_;
}

const Strip& LineRows::pair_for(float z_odd, float z_even) {
    strip_ = Strip{};
    found(field::synthesize_pair(cross_section(0.0f, 0.0f), static_cast<double>(z_odd), static_cast<double>(z_even), options()));
    return strip_;
}

bool LineRows::ahead_is(float asked) const {
    return !ahead_.empty() && std::bit_cast<std::uint32_t>(ahead_.front().asked) == std::bit_cast<std::uint32_t>(asked);
}

void LineRows::take_ahead() {
    const Ahead& a = ahead_.front();
    strip_ = a.strip;
    geometry_ = a.geometry;
    of_strip_ = a.of_strip;
    zo_air_ = a.zo_air;
    ahead_.erase(ahead_.begin());
}

// Closed forms: what the strip's width and impedance give: W/B, the cutoff
// and, when wanted, the sensitivities (from the impedance at hand).
void LineRows::describe(bool sensitivities) {
    const Line& l = line_;
    of_strip_.reset();
    zo_air_.reset();
    model::slmode(l.b, l.er, l.t, strip_.tec, strip_.w, strip_.wbyb);
    if (sensitivities && wanted_.sensitivities) {
        model::slsen_from_zo(parts_, parts_.medium, strip_.w, strip_.zo, strip_.sen);
    }
}

field::CrossSection LineRows::cross_section(float w, float s) const {
    const Line& l = line_;
    field::CrossSection cs;
    cs.b = static_cast<double>(l.b) * kMetresPerInch;
    cs.t = static_cast<double>(l.t) * kMetresPerInch;
    cs.er = static_cast<double>(l.er);
    cs.w = static_cast<double>(w) * kMetresPerInch;
    if (l.h) cs.h = static_cast<double>(*l.h) * kMetresPerInch;
    if (l.pair) {
        cs.pairing = field::Pairing::edge_coupled;
        cs.s = static_cast<double>(s) * kMetresPerInch;
    }
    return cs;
}

field::Options LineRows::options() const {
    field::Options o;
    o.loss_gradient = wanted_.losses;
    return o;
}

// Field solver: the strip of a solution, its W/B and, for a centred single
// strip, the closed forms' cutoff (and Zo, when wanted).
void LineRows::solved(const field::Solution& solution, const field::CrossSection& cs) {
    const Line& l = line_;
    solution_ = solution;
    cs_ = cs;
    f_.reset();
    if (solution.status != field::Status::ok) {
        strip_.realised = false;
        strip_.why = Unrealised::bad_target;
        return;
    }
    strip_.w = inches(cs.w);
    strip_.s = l.pair ? inches(cs.s) : 0.0f;
    strip_.wbyb = strip_.w / l.b;
    if (l.pair) {
        PairImpedances& p = strip_.pair;
        p.z_odd = static_cast<float>(solution.z_odd);
        p.z_even = static_cast<float>(solution.z_even);
        p.z_diff = static_cast<float>(solution.z_diff);
        p.z_common = static_cast<float>(solution.z_common);
        p.coupling = static_cast<float>(solution.coupling);
        return;
    }
    strip_.zo = static_cast<float>(solution.zo);
    if (!l.h) {
        float wbyb = 0.0f;
        model::slmode(l.b, l.er, l.t, strip_.tec, strip_.w, wbyb);
        if (wanted_.model_zo) {
            float zo = 0.0f;
            model::slzo(l.b, l.er, l.t, strip_.w, zo);
            strip_.zo_model = zo;
        }
    }
}

void LineRows::found(const field::Synthesis& synthesis) {
    if (synthesis.status != field::SynthesisStatus::ok) {
        strip_.realised = false;
        strip_.why = why_not(synthesis.status);
        f_.reset();
        return;
    }
    solved(synthesis.solution, synthesis.cross_section);
}

// ---------------------------------------------------------------------------
// Losses.

const Row& LineRows::loss_at(Row& row, float f) {
    const Line& l = line_;
    row.f = f;
    row.conductor_loss_finite = true;
    if (l.solver == Solver::field) {
        const field::Materials m{static_cast<double>(l.res) * kMetresPerInch,
                                 static_cast<double>(l.sr) * kMetresPerInch, static_cast<double>(l.tlos)};
        const field::Losses ls = field::losses(solution_, cs_, m, static_cast<double>(f) * kHzPerMHz);
        const double sqrt_er = std::sqrt(cs_.er);
        auto mode = [&](const field::ModeLoss& in, double z, model::Sllos1& out, TemMode& tem) {
            out = model::Sllos1{};
            out.wl = inches(ls.wavelength);
            out.wg = inches(ls.guide_wavelength);
            out.ad = db_per_inch(in.dielectric);
            tem.z_air = z * sqrt_er;
            tem.r_per_m = 0.0;
            if (!in.conductor) {
                row.conductor_loss_finite = false;
                return;
            }
            out.ac = db_per_inch(*in.conductor);
            out.atot = db_per_inch(*in.total);
            // A lossless line has the closed forms' nominal Q.
            out.qu = in.q ? static_cast<float>(*in.q) : 99999.9f;
            tem.r_per_m = 2.0 * z * *in.conductor;
        };
        if (l.pair) {
            mode(ls.odd, solution_.z_odd, row.loss, row.tem);
            mode(ls.even, solution_.z_even, row.loss_even, row.tem_even);
        } else {
            mode(ls.single, solution_.zo, row.loss, row.tem);
        }
        return row;
    }

    if (!f_ || std::bit_cast<std::uint32_t>(*f_) != std::bit_cast<std::uint32_t>(f)) {
        at_ = model::sllos_frequency(l.er, f, l.res, l.sr, l.tlos);
        f_ = f;
    }
    // The air-filled impedance of the geometry at hand, once per strip.
    if ((at_.conductor || wanted_.network) && !zo_air_) zo_air_ = model::slzo_in(geometry_, parts_.air);
    if (at_.conductor && !of_strip_) {
        // With the strips found beside this one, their parts too, side by side.
        float w[model::kTogether] = {strip_.w};
        float zo_air[model::kTogether] = {*zo_air_};
        Ahead* with[model::kTogether] = {};
        int n = 1;
        for (Ahead& a : ahead_) {
            if (!a.strip.realised || a.of_strip) continue;
            a.zo_air = model::slzo_in(a.geometry, parts_.air);
            w[n] = a.strip.w;
            zo_air[n] = *a.zo_air;
            with[n++] = &a;
        }
        model::LossOfLine parts[model::kTogether];
        model::sllos_line_from_air_zo_together(parts_, w, zo_air, parts, n);
        of_strip_ = parts[0];
        for (int k = 1; k < n; ++k) with[k]->of_strip = parts[k];
    }
    model::Slsen1 air;  // sllos leaves the air line's sensitivities there; no row shows them
    model::sllos_combine(at_, of_strip_ ? *of_strip_ : model::LossOfLine{}, row.loss, air);
    if (wanted_.network) row.tem = {static_cast<double>(*zo_air_), series_resistance(strip_.zo, row.loss.ac)};
    return row;
}

}  // namespace ferravane::engine
