#include "model/line.hpp"

#include "model/constants.hpp"
#include "model/step.hpp"

namespace ferravane::model {

ZoLine zo_line(float b, float t) {
    ZoLine l;
    l.b = b;
    l.t = t;
    l.thick = t != 0.0f;
    const Stored sb = b;
    l.inverse_b = 1.0 / sb;
    l.inverse_t = 1.0 / Stored(t);
    // The steps of Wheeler's form that read B and T alone.
    const Stored x = Stored(t) * (1.0 / sb);  // T/B
    const Stored temp = x / (1.0 - x);
    const Stored am = 2.0 / (1.0 + kTwoThirds * temp);
    const double r = x / (2.0 - x);
    l.x = x.value();
    l.temp = temp.value();
    l.am = am.value();
    l.r_squared = r * r;
    l.correction = kWidthCorrection * x;
    l.correction_w = kWidthCorrectionW * x;
    l.temp_over_pi = temp / kPi;
    l.b_minus_t = sb - Stored(t);
    l.correction_inverse = kWidthCorrectionInverse * x;
    l.x_over_pi = x / kPi;
    l.width_factor = 8.0 * (1.0 - x) / kPi;
    return l;
}

ZoMedium zo_medium(float er) {
    ZoMedium m;
    m.er = er;
    m.root_er = wide::sqrt(Stored(er));
    m.thirty_over_root_er = 30.0 / m.root_er;
    return m;
}

LineParts line_parts(float b, float er, float t) {
    LineParts p;
    p.line = zo_line(b, t);
    p.b_raised = zo_line(b * kSensitivityStep, t);
    p.t_raised = zo_line(b, t * kSensitivityStep);
    p.medium = zo_medium(er);
    p.air = zo_medium(1.0f);
    return p;
}

}  // namespace ferravane::model
