// Prints the closed form's error against the solver for centred single
// strips, for the README's accuracy table:  field_model_table
#include <cstdio>

#include "field/constants.hpp"
#include "field/field.hpp"
#include "model/model.hpp"

int main() {
    using namespace ferravane;
    const double b = 0.25;  // inches
    const float er = 2.2f;
    // The closed forms use 30 pi where the solver uses eta0 / 4.
    const double convention = field::kEta0 / 4.0 / (30.0 * 3.141592653589793);
    std::printf("%8s %8s %12s %12s %10s %10s\n", "T/B", "W/B", "model", "field", "raw %", "same eta %");
    const double ts[] = {0.0, 0.0056, 0.01, 0.02, 0.05, 0.1, 0.2, 0.3, 0.5};
    const double ws[] = {0.1, 0.3, 0.8104, 2.0};
    for (double tb : ts) {
        for (double wb : ws) {
            float zm = 0.0f;
            model::slzo(static_cast<float>(b), er, static_cast<float>(tb * b), static_cast<float>(wb * b), zm);
            field::CrossSection cs;
            cs.b = b * 0.0254;
            cs.er = static_cast<double>(er);
            cs.w = wb * cs.b;
            cs.t = tb * cs.b;
            field::Options o;
            o.loss_gradient = false;
            const double zf = field::solve(cs, o).zo;
            const double raw = static_cast<double>(zm) / zf - 1.0;
            const double same = static_cast<double>(zm) * convention / zf - 1.0;
            std::printf("%8.4f %8.4f %12.5f %12.5f %10.3f %10.3f\n", tb, wb, static_cast<double>(zm), zf, 100 * raw,
                        100 * same);
        }
    }
    return 0;
}
