#include "engine/engine.hpp"

#include <bit>
#include <cstdint>

#include "model/model.hpp"

namespace ferravane::engine {

const Strip& LineRows::of_width(float w) {
    const Line& l = line_;
    strip_ = Strip{};
    strip_.w = w;
    geometry_ = model::slzo_geometry(l.b, l.t, w);
    strip_.zo = model::slzo_in(geometry_, l.er);
    describe();
    return strip_;
}

const Strip& LineRows::for_impedance(float zo) {
    const Line& l = line_;
    strip_ = Strip{};
    std::int32_t isyne = 0;
    float left = zo;  // slwb leaves another impedance in its argument
    model::WidthImpedance of_w;
    model::slwb_and_zo(l.b, l.er, isyne, l.t, strip_.w, left, of_w);
    if (isyne != 0) {
        strip_.realised = false;
        strip_.zo = left;
        of_strip_.reset();
        return strip_;
    }
    geometry_ = of_w.geometry;
    strip_.zo = of_w.zo;
    describe();
    return strip_;
}

// What the strip's width and impedance give: W/B, the cutoff and, when
// wanted, the sensitivities (from the impedance at hand).
void LineRows::describe() {
    const Line& l = line_;
    of_strip_.reset();
    model::slmode(l.b, l.er, l.t, strip_.tec, strip_.w, strip_.wbyb);
    if (wanted_.sensitivities) model::slsen_from_zo(l.b, l.er, l.t, strip_.w, strip_.zo, strip_.sen);
}

const model::Sllos1& LineRows::loss_at(float f) {
    const Line& l = line_;
    if (!f_ || std::bit_cast<std::uint32_t>(*f_) != std::bit_cast<std::uint32_t>(f)) {
        at_ = model::sllos_frequency(l.er, f, l.res, l.sr, l.tlos);
        f_ = f;
    }
    if (at_.conductor && !of_strip_) {
        // From the air-filled impedance of the geometry at hand.
        of_strip_ = model::sllos_line_from_air_zo(l.b, l.er, l.t, strip_.w, model::slzo_in(geometry_, 1.0f));
    }
    model::Slsen1 air;  // sllos leaves the air line's sensitivities there; no row shows them
    model::sllos_combine(at_, of_strip_ ? *of_strip_ : model::LossOfLine{}, loss_, air);
    return loss_;
}

}  // namespace ferravane::engine
