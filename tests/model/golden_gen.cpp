// Writes the golden file of the model's bit-identity test. Run it with the
// release g++ build; the test then checks every other build against it.
#include <cstdio>
#include <fstream>

#include "golden_grid.hpp"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: model_golden_gen OUTPUT\n");
        return 2;
    }
    std::ofstream out(argv[1], std::ios::binary);
    out << "# Bit patterns of the stripline model, one input set a line:\n"
           "# b er t w zo f res sr tlos : slzo.zo | slwb.w slwb.zo isyne | slmode.tec wbyb"
           " | sllos ac ad atot qu wg wl szob szoer szot szow | slsen szob szoer szot szow\n";
    for (const auto& in : ferravane::model::golden::grid()) {
        out << ferravane::model::golden::line(in) << '\n';
    }
    return out ? 0 : 1;
}
