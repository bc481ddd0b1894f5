#include "golden_grid.hpp"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <sstream>

#include "model/model.hpp"

namespace ferravane::model::golden {

namespace {

std::string hex(float v) {
    if (std::isnan(v)) {
        return "     nan";
    }
    char buf[9];
    std::snprintf(buf, sizeof buf, "%08x", static_cast<unsigned>(std::bit_cast<std::uint32_t>(v)));
    return buf;
}

std::string hex(std::int32_t v) {
    char buf[9];
    std::snprintf(buf, sizeof buf, "%08x", static_cast<unsigned>(v));
    return buf;
}

}  // namespace

std::vector<Inputs> grid() {
    const std::array bs{0.25f, 0.062f, 1.0f};
    const std::array tbs{0.0f, 0.0056f, 0.04f, 0.2f, 0.45f};
    const std::array wbs{0.001f, 0.05f, 0.3f, 0.5611f, 1.0f, 1.5f, 2.0f, 4.0f};
    const std::array ers{1.0f, 2.2f, 10.2f};
    const std::array zos{10.0f, 20.0f, 35.0f, 50.0f, 75.0f, 100.0f, 125.0f, 150.0f, 200.0f, 250.0f, 300.0f};
    const std::array fs{0.0f, 100.0f, 1000.0f, 5000.0f, 18000.0f};
    const std::array ress{0.0f, 6.7874e-7f, 1.1e-6f};
    const std::array srs{0.0f, 0.00005f, 0.0002f};
    const std::array tloss{0.0f, 0.0009f, 0.002f};

    std::vector<Inputs> out;
    std::size_t i = 0;
    for (const float b : bs) {
        for (const float tb : tbs) {
            for (const float wb : wbs) {
                for (const float er : ers) {
                    out.push_back({b, er, tb * b, wb * b, zos[i % zos.size()], fs[i % fs.size()],
                                   ress[i % 3], srs[(i / 3) % 3], tloss[(i / 9) % 3]});
                    ++i;
                }
            }
        }
    }

    // Scattered values, so that a change in the order of any float operation
    // shows up somewhere in the last bits.
    std::uint32_t state = 2463534242u;
    const auto uniform = [&state](float lo, float hi) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        const float u = static_cast<float>(state >> 8) * 0x1.0p-24f;
        return lo + ((hi - lo) * u);
    };
    for (int k = 0; k < 200; ++k) {
        const float b = uniform(0.01f, 1.0f);
        const float t = (k % 4 == 0) ? 0.0f : b * uniform(0.0f, 0.3f);
        out.push_back({b, uniform(1.0f, 12.0f), t, b * uniform(0.0f, 3.0f), uniform(5.0f, 250.0f),
                       uniform(0.0f, 20000.0f), uniform(0.0f, 2.0e-6f), uniform(0.0f, 0.0003f),
                       uniform(0.0f, 0.003f)});
    }

    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const float cu = 6.7874e-7f;
    const std::vector<Inputs> edges{
        // b      er     t        w            zo      f        res  sr       tlos
        {0.25f, 2.2f, 0.0014f, 0.2026f, 50.0f, 1000.0f, cu, 0.0f, 0.0009f},
        {0.25f, 2.2f, 0.0014f, 0.2026f, 50.0f, 1000.0f, cu, 0.00005f, 0.0009f},
        {0.25f, 2.2f, 0.05f, 0.1f, 53.0f, 1000.0f, cu, 0.0f, 0.0f},
        {0.25f, 2.2f, 0.01f, 0.003f, 150.0f, 1000.0f, cu, 0.0f, 0.0f},
        {0.25f, 2.2f, 0.01f, 0.0009f, 158.25f, 1000.0f, cu, 0.0f, 0.0f},
        {0.25f, 2.2f, 0.01f, 0.0f, 165.0f, 1000.0f, cu, 0.0f, 0.0f},
        {0.25f, 2.2f, 0.0f, 0.25f, 265.0f, 1000.0f, cu, 0.0f, 0.0f},
        {0.25f, 2.2f, 0.0f, 0.25f, 270.0f, 1000.0f, cu, 0.0f, 0.0f},
        {0.25f, 2.2f, 0.0f, 1.3238f, 10.0f, 1000.0f, cu, 0.0f, 0.0f},
        {0.25f, 2.2f, 0.0f, 1.3238f, 11.3f, 1000.0f, cu, 0.0f, 0.0f},
        {1.0f, 1.0f, 0.0f, 1.5f, 94.24778f, 1000.0f, cu, 0.0f, 0.0f},
        {1.0f, 1.0f, 0.0f, 1.5000001f, 0.0f, 1000.0f, cu, 0.0f, 0.0f},
        {1.0f, 1.0f, 0.0f, 0.0002f, -5.0f, 1000.0f, cu, 0.0f, 0.0f},
        {1.0f, 1.0f, 0.0f, 0.0f, 1.0e6f, 1000.0f, cu, 0.0f, 0.0f},
        {1.0f, 1.0f, 0.01f, 0.0f, 0.0f, 1000.0f, cu, 0.0f, 0.0f},
        {1.0f, 1.0f, 0.01f, 0.8f, -5.0f, 0.0f, cu, 0.0f, 0.0f},
        {1.0f, 1.0f, 0.01f, 0.8f, 1.0e6f, 0.0f, 0.0f, 0.0f, 0.0f},
        {1.0f, 1.0f, 0.01f, 0.8f, 0.001f, 1000.0f, 0.0f, 0.0f, 0.0f},
        {0.0f, 1.0f, 0.0f, 0.1f, 50.0f, 1000.0f, cu, 0.0f, 0.0009f},
        {0.0f, 1.0f, 0.01f, 0.1f, 50.0f, 1000.0f, cu, 0.0f, 0.0009f},
        {1.0f, 1.0f, 1.0f, 0.5f, 50.0f, 1000.0f, cu, 0.0f, 0.0009f},
        {1.0f, 1.0f, 2.0f, 0.5f, 50.0f, 1000.0f, cu, 0.0f, 0.0009f},
        {1.0f, 1.0f, -0.01f, 0.5f, 50.0f, 1000.0f, cu, 0.0f, 0.0009f},
        {1.0f, 1.0f, 0.0f, -0.5f, 50.0f, 1000.0f, cu, 0.0f, 0.0009f},
        {1.0f, 0.0f, 0.0f, 0.5f, 50.0f, 1000.0f, cu, 0.0f, 0.0009f},
        {1.0f, -1.0f, 0.01f, 0.5f, 50.0f, 1000.0f, cu, 0.0f, 0.0009f},
        {nan, 1.0f, 0.0f, 0.1f, 50.0f, 1000.0f, cu, 0.0f, 0.0009f},
        {1.0f, nan, 0.01f, 0.1f, 50.0f, 1000.0f, cu, 0.0f, 0.0009f},
        {1.0f, 1.0f, nan, 0.1f, nan, 1000.0f, cu, 0.0f, 0.0009f},
        {1.0f, 1.0f, 0.01f, nan, 50.0f, nan, cu, nan, nan},
        {inf, 1.0f, 0.0f, 1.0f, inf, inf, cu, 0.0f, 0.0009f},
        {1.0f, inf, 0.01f, inf, 50.0f, 1000.0f, inf, inf, 0.0009f},
        {0.005f, 1.0f, 0.0f, 0.001f, 50.0f, 1000.0f, -cu, 0.0f, 0.0009f},
        {0.01f, 1.0f, 0.0f, 0.001f, 50.0f, -1000.0f, cu, 0.0f, 0.0009f},
        {1.0e-30f, 1.0f, 1.0e-32f, 1.0e-30f, 50.0f, 1.0e-30f, 1.0e-30f, 1.0e-30f, 1.0e-30f},
        {1.0e30f, 1.0f, 1.0e28f, 1.0e30f, 50.0f, 1.0e30f, 1.0e30f, 1.0e30f, 1.0e30f},
    };
    out.insert(out.end(), edges.begin(), edges.end());
    return out;
}

std::string line(const Inputs& in) {
    std::string s;
    for (const float v : {in.b, in.er, in.t, in.w, in.zo, in.f, in.res, in.sr, in.tlos}) {
        s += hex(v) + ' ';
    }
    s += ':';

    float zo = 0.0f;
    slzo(in.b, in.er, in.t, in.w, zo);
    s += ' ' + hex(zo);

    // Outputs start from values that no routine writes, so that a missing
    // or spurious write shows up.
    std::int32_t isyne = -1;
    float w = -7.0f;
    float target = in.zo;
    slwb(in.b, in.er, isyne, in.t, w, target);
    s += " | " + hex(w) + ' ' + hex(target) + ' ' + hex(isyne);

    float tec = -7.0f;
    float wbyb = -7.0f;
    slmode(in.b, in.er, in.t, tec, in.w, wbyb);
    s += " | " + hex(tec) + ' ' + hex(wbyb);

    Sllos1 los{-7.0f, -7.0f, -7.0f, -7.0f, -7.0f, -7.0f};
    Slsen1 sen{-7.0f, -7.0f, -7.0f, -7.0f};
    sllos(in.b, in.er, in.f, in.res, in.sr, in.t, in.tlos, in.w, in.zo, los, sen);
    s += " |";
    for (const float v : {los.ac, los.ad, los.atot, los.qu, los.wg, los.wl, sen.szob, sen.szoer,
                          sen.szot, sen.szow}) {
        s += ' ' + hex(v);
    }

    sen = Slsen1{-7.0f, -7.0f, -7.0f, -7.0f};
    slsen(in.b, in.er, in.t, in.w, in.zo, sen);
    s += " |";
    for (const float v : {sen.szob, sen.szoer, sen.szot, sen.szow}) {
        s += ' ' + hex(v);
    }
    return s;
}

std::optional<Inputs> parse_inputs(const std::string& text) {
    std::istringstream is(text);
    std::array<float, 9> v{};
    for (float& x : v) {
        std::string tok;
        if (!(is >> tok)) {
            return std::nullopt;
        }
        if (tok == "nan") {
            x = std::numeric_limits<float>::quiet_NaN();
            continue;
        }
        std::uint32_t bits = 0;
        if (std::sscanf(tok.c_str(), "%8x", &bits) != 1) {
            return std::nullopt;
        }
        x = std::bit_cast<float>(bits);
    }
    return Inputs{v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8]};
}

}  // namespace ferravane::model::golden
