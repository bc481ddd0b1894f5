#include <cstdio>
#include <cstdlib>
#include <chrono>
#include "field/field.hpp"
#include "reference.hpp"
using namespace ferravane::field;
int main(int argc, char** argv) {
    double ref = argc > 1 ? std::atof(argv[1]) : 1.0;
    int p = argc > 2 ? std::atoi(argv[2]) : 10;
    Options o; o.refinement = ref; o.nodes_per_panel = p; o.loss_gradient = false;
    for (double w : {0.02, 0.05, 0.2, 0.5, 1.0, 2.0, 5.0, 10.0}) {
        CrossSection cs; cs.b = 1; cs.w = w; cs.t = 0;
        auto t0 = std::chrono::steady_clock::now();
        Solution s = solve(cs, o);
        auto t1 = std::chrono::steady_clock::now();
        double exact = (double)reference::single_strip(w);
        std::printf("single w=%5.2f n=%4d z=%.10f exact=%.10f rel=%.2e  %.3f ms\n", w, s.unknowns, s.zo, exact, s.zo / exact - 1,
                    std::chrono::duration<double, std::milli>(t1 - t0).count());
    }
    for (double w : {0.05, 0.5, 5.0}) for (double sg : {0.01, 0.02, 0.2, 2.0}) {
        CrossSection cs; cs.b = 1; cs.w = w; cs.t = 0; cs.pairing = Pairing::edge_coupled; cs.s = sg;
        auto t0 = std::chrono::steady_clock::now();
        Solution s = solve(cs, o);
        auto t1 = std::chrono::steady_clock::now();
        auto ex = reference::centred_pair(w, sg);
        std::printf("pair w=%4.2f s=%4.2f n=%4d e=%.2e o=%.2e %.3f ms\n", w, sg, s.unknowns, s.z_even / (double)ex.even - 1, s.z_odd / (double)ex.odd - 1,
                    std::chrono::duration<double, std::milli>(t1 - t0).count());
    }
    return 0;
}
