// Normalised impedance sensitivities (dZo/Zo)/(dx/x) by one-sided forward
// differences: each of B, T and W in turn is raised by 0.1 % and slzo is
// run again.
#include "model/model.hpp"
#include "model/parts.hpp"
#include "model/constants.hpp"
#include "model/step.hpp"

namespace ferravane::model {

namespace {

// ((Z1 - Z0) x / Z0) / (x' - x) in one step. The denominator is the
// increment actually stored in the float, not 0.001 x, so that rounding of
// the perturbed value does not bias the result.
float sensitivity(Stored z1, Stored tp, Stored tp1, Stored perturbed) {
    return Stored((z1 - tp) * tp1 / tp / (perturbed - tp1)).value();
}

}  // namespace

// The caller's b, t, w and zo are copies here, so they come back untouched;
// zo is only scratch for the impedances.
void slsen(float b, float er, float t, float w, float zo, Slsen1& slsen1) {
    slzo(b, er, t, w, zo);
    slsen_from_zo(b, er, t, w, zo, slsen1);
}

void slsen_from_zo(float b, float er, float t, float w, float zo0, Slsen1& slsen1) {
    slsen_from_zo(line_parts(b, er, t), zo_medium(er), w, zo0, slsen1);
}

void slsen_from_zo(const LineParts& p, const ZoMedium& medium, float w, float zo0, Slsen1& slsen1) {
    const float tp = zo0;  // unperturbed impedance
    const float b = p.line.b;
    const float t = p.line.t;

    // B raised: the line the parts hold for it.
    float zo = slzo_in(slzo_geometry(p.b_raised, w), medium);
    slsen1.szob = sensitivity(zo, tp, b, p.b_raised.b);

    // Zo ~ 1/sqrt(Er) in a homogeneous dielectric.
    slsen1.szoer = -0.5f;

    if (t == 0.0f) {
        // Zo depends on W/B alone, and any non-zero T would switch slzo to
        // the finite-thickness model, so no thickness derivative is taken.
        slsen1.szot = 0.0f;
        slsen1.szow = -slsen1.szob;
        return;
    }

    zo = slzo_in(slzo_geometry(p.t_raised, w), medium);
    slsen1.szot = sensitivity(zo, tp, t, p.t_raised.t);

    const float w_raised = w * kSensitivityStep;
    zo = slzo_in(slzo_geometry(p.line, w_raised), medium);
    slsen1.szow = sensitivity(zo, tp, w, w_raised);
}

}  // namespace ferravane::model
