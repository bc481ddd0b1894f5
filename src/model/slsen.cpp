// Normalised impedance sensitivities (dZo/Zo)/(dx/x) by one-sided forward
// differences: each of B, T and W in turn is raised by 0.1 % and slzo is
// run again.
#include "model/constants.hpp"
#include "model/model.hpp"
#include "model/parts.hpp"
#include "model/step.hpp"

namespace ferravane::model {

namespace {

// ((Z1 - Z0) x / Z0) / (x' - x) in one step. The denominator is the
// increment actually stored in the float, not 0.001 x, so that rounding of
// the perturbed value does not bias the result.
float sensitivity(Stored z1, Stored tp, Stored tp1, Stored perturbed) {
    return Stored((z1 - tp) * tp1 / tp / (perturbed - tp1)).value();
}


// The sensitivities from the impedances of the strip (tp) and of the
// three perturbed strips (b_raised, t_raised, w_raised).
void sensitivities(const LineParts& p, float w, float tp, const float raised[3], Slsen1& slsen1) {
    const float t = p.line.t;
    slsen1.szob = sensitivity(raised[0], tp, p.line.b, p.b_raised.b);
    // Zo ~ 1/sqrt(Er) in a homogeneous dielectric.
    slsen1.szoer = -0.5f;
    if (t == 0.0f) {
        // Zo depends on W/B alone, and any non-zero T would switch slzo to
        // the finite-thickness model, so no thickness derivative is taken.
        slsen1.szot = 0.0f;
        slsen1.szow = -slsen1.szob;
        return;
    }
    slsen1.szot = sensitivity(raised[1], tp, t, p.t_raised.t);
    slsen1.szow = sensitivity(raised[2], tp, w, w * kSensitivityStep);
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

void slsen_from_zo_together(const LineParts& p, const ZoMedium& medium, const float w[], const float zo0[],
                            Slsen1 slsen1[], int n) {
    // Zero thickness needs B raised only.
    const int per = p.line.t == 0.0f ? 1 : 3;
    const ZoLine* lines[3 * kTogether] = {};
    float widths[3 * kTogether] = {};
    for (int k = 0; k < n; ++k) {
        const ZoLine* const mine[] = {&p.b_raised, &p.t_raised, &p.line};
        const float raised_w[] = {w[k], w[k], w[k] * kSensitivityStep};
        for (int i = 0; i < per; ++i) {
            lines[k * per + i] = mine[i];
            widths[k * per + i] = raised_w[i];
        }
    }
    float raised[3 * kTogether] = {};
    slzo_together(lines, widths, medium, raised, n * per);
    for (int k = 0; k < n; ++k) sensitivities(p, w[k], zo0[k], raised + k * per, slsen1[k]);
}

void slsen_from_zo(const LineParts& p, const ZoMedium& medium, float w, float zo0, Slsen1& slsen1) {
    slsen_from_zo_together(p, medium, &w, &zo0, &slsen1, 1);
}

void slzo_and_slsen(const LineParts& p, float w, float& zo, ZoGeometry& geometry, Slsen1& slsen1) {
    if (p.line.t == 0.0f) {
        geometry = slzo_geometry(p.line, w);
        zo = slzo_in(geometry, p.medium);
        slsen_from_zo(p, p.medium, w, zo, slsen1);
        return;
    }
    const ZoLine* const lines[] = {&p.line, &p.b_raised, &p.t_raised, &p.line};
    const float widths[] = {w, w, w, w * kSensitivityStep};
    float z[4] = {};
    ZoGeometry g[4];
    slzo_together(lines, widths, p.medium, z, 4, g);
    zo = z[0];
    geometry = g[0];
    sensitivities(p, w, zo, z + 1, slsen1);
}

}  // namespace ferravane::model
