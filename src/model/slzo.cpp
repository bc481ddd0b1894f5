// Characteristic impedance of a centred strip between two ground planes.
//
// Zero thickness: Cohn's conformal map with Hilberg's logarithmic forms
// for the elliptic ratio, and a simpler wide-strip form above W/B = 1.5.
// Finite thickness: Wheeler's closed form with the effective-width
// correction for the strip thickness.
//
// One statement per step of the formulas: Stored values are floats, the
// arithmetic inside a statement is double (model/step.hpp).
#include "model/model.hpp"
#include "model/parts.hpp"
#include "model/line.hpp"
#include "model/constants.hpp"
#include "model/step.hpp"

namespace ferravane::model {

namespace {

using wide::cosh;
using wide::sqrt;
using wide::store_log;
using wide::store_logs;
using wide::store_pow;
using wide::store_pows;

// The steps of Wheeler's form that take a function's value.
constexpr auto kItself = [](double v) { return v; };
constexpr auto kHalfLogFromOne = [](double lv) { return 1.0 - 0.5 * lv; };
constexpr auto kInMedium = [](double lv, const ZoMedium& m) { return lv * m.thirty_over_root_er; };

// The two elliptic forms meet at k = 1/sqrt(2); the same constant decides
// which modulus enters the logarithm and whether the ratio is inverted.
constexpr Stored kMeet = 0.70710677f;
constexpr Stored kLn4 = 1.3862944f;

// Wheeler's form from what its line gives (line.cpp) and the strip's width.
inline ZoGeometry wheeler(const ZoLine& l, Stored w) {
    const Stored b = l.b;
    Stored deltaw = store_pow(l.correction / (w / b + l.correction_w), Stored(l.am), kItself);
    deltaw = store_log(l.r_squared + deltaw, kHalfLogFromOne);
    deltaw = l.temp_over_pi * deltaw;                                  // dW/(B - T)
    const Stored wprime = w / l.b_minus_t + deltaw;                    // W'/(B - T)
    const Stored temp = 8.0 / (kPi * wprime);
    const Stored z = 1.0 + 0.5 * temp * (temp + sqrt(temp * temp + kRootTerm));
    return {ZoGeometry::Form::thick, z.value()};
}

inline ZoGeometry cohn(const ZoLine& l, Stored w) {
    const Stored b = l.b;
    const Stored webyb = w * l.inverse_b;
    if (webyb > 1.5) {
        const Stored cf = (1.0 / kPi) * kLn4;
        const Stored z = webyb + cf;
        return {ZoGeometry::Form::wide, z.value()};
    }
    // Also reached when W/B is not a number: the NaN then runs through.
    const Stored dtemp = kPi * (w / b) / 2.0;
    const Stored dk = 1.0 / cosh(dtemp);                               // the modulus k
    const Stored dkp = sqrt(1.0 - dk * dk);                            // k'
    const Stored darg = dk > kMeet ? dk : dkp;
    // s and q are not stored: they stay wide until the ratio is.
    const double s = sqrt(darg);
    const double q = (1.0 + s) / (1.0 - s);
    Stored dkbykp = store_log(2.0 * q, [](double lv) { return lv / kPi; });  // K(k)/K(k')
    if (dk <= kMeet) {
        dkbykp = 1.0 / dkbykp;
    }
    return {ZoGeometry::Form::narrow, dkbykp.value()};
}

// The last step of each form, the only one that reads Er.
inline float in_dielectric(const ZoGeometry& g, const ZoMedium& m) {
    const Stored v = g.value;
    switch (g.form) {
        case ZoGeometry::Form::thick:
            return store_log(v, [&m](double lv) { return kInMedium(lv, m); });
        case ZoGeometry::Form::wide:
            return Stored(30.0 * kPi / (m.root_er * v)).value();
        case ZoGeometry::Form::narrow:
            break;
    }
    return Stored(kPi * 30.0 * v / m.root_er).value();
}

}  // namespace

ZoGeometry slzo_geometry(const ZoLine& line, float w) {
    // The model switches on T being exactly zero, not on T being small.
    return line.thick ? wheeler(line, w) : cohn(line, w);
}

ZoGeometry slzo_geometry(float b, float t, float w) { return slzo_geometry(zo_line(b, t), w); }

float slzo_in(const ZoGeometry& g, const ZoMedium& medium) { return in_dielectric(g, medium); }

float slzo_in(const ZoGeometry& g, float er) { return in_dielectric(g, zo_medium(er)); }

void slzo_together(const ZoLine* const lines[], const float w[], const ZoMedium& medium, float zo[], int n,
                   ZoGeometry geometry[]) {
    // Wheeler's form step by step across the strips: each step's calls are
    // independent of one another, so the processor overlaps them instead of
    // waiting on one chain at a time. The steps are those of wheeler().
    constexpr int kMost = 3 * kTogether;
    bool thick = n <= kMost;
    for (int k = 0; k < n; ++k) thick = thick && lines[k]->thick;
    if (!thick) {
        for (int k = 0; k < n; ++k) {
            const ZoGeometry g = slzo_geometry(*lines[k], w[k]);
            if (geometry) geometry[k] = g;
            zo[k] = in_dielectric(g, medium);
        }
        return;
    }
    // Each call's argument first, then the calls two at a time.
    double arg[kMost];
    double am[kMost];
    for (int k = 0; k < n; ++k) {
        const ZoLine& l = *lines[k];
        arg[k] = l.correction / (Stored(w[k]) / Stored(l.b) + l.correction_w);
        am[k] = Stored(l.am);
    }
    float deltaw[kMost];
    store_pows(arg, am, n, [](int, double p) { return kItself(p); }, deltaw);
    for (int k = 0; k < n; ++k) arg[k] = lines[k]->r_squared + Stored(deltaw[k]);
    store_logs(arg, n, [](int, double lv) { return kHalfLogFromOne(lv); }, deltaw);
    float z[kMost];
    for (int k = 0; k < n; ++k) {
        const ZoLine& l = *lines[k];
        const Stored d = l.temp_over_pi * Stored(deltaw[k]);
        const Stored wprime = Stored(w[k]) / l.b_minus_t + d;
        const Stored temp = 8.0 / (kPi * wprime);
        z[k] = Stored(1.0 + 0.5 * temp * (temp + sqrt(temp * temp + kRootTerm))).value();
    }
    // in_dielectric's thick form.
    for (int k = 0; k < n; ++k) {
        if (geometry) geometry[k] = ZoGeometry{ZoGeometry::Form::thick, z[k]};
        arg[k] = Stored(z[k]);
    }
    store_logs(arg, n, [&medium](int, double lv) { return kInMedium(lv, medium); }, zo);
}

// Each form straight into its last step.
void slzo(float b, float er, float t, float w, float& zo) {
    zo = in_dielectric(slzo_geometry(zo_line(b, t), w), zo_medium(er));
}

}  // namespace ferravane::model
