// Touchstone files of random lines and pairs, both dielectric models and
// both versions, read back by scikit-rf (Debian's python3-scikit-rf) and
// compared with scikit-rf's own line model built from the same gamma and
// Zc: tests/network/skrf_check.py does the reading and comparing.
#include <gtest/gtest.h>

#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

#include "network/touchstone.hpp"
#include "scratch.hpp"

namespace {

namespace nw = ferravane::network;
using ferravane::testing::ScratchDir;

constexpr const char* kPython = "/usr/bin/python3";

struct Pair {
    std::string name;
    nw::Medium medium;
    nw::Mode even;
    nw::Mode odd;
    double r_even_1ghz;  // ohms per metre at 1 GHz, growing as sqrt(f)
    double r_odd_1ghz;
    double length;
    double z0;
};

Pair random_pair(std::mt19937_64& gen, int index) {
    auto uniform = [&gen](double a, double b) { return std::uniform_real_distribution<double>(a, b)(gen); };
    Pair p;
    const bool debye = index % 2 == 1;
    p.name = "line";
    p.name += std::to_string(index);
    p.name += debye ? "_debye" : "_constant";
    // Braced lists are evaluated left to right: the draws keep their order.
    p.medium = {uniform(2.0, 10.0), uniform(0.0, 0.025),
                debye ? nw::Dielectric::djordjevic : nw::Dielectric::constant, uniform(1e8, 2e10)};
    p.even = {uniform(60.0, 250.0)};
    p.odd = {p.even.z_air * uniform(0.55, 0.95)};
    p.r_even_1ghz = uniform(0.5, 20.0);
    p.r_odd_1ghz = p.r_even_1ghz * uniform(1.0, 1.6);
    p.length = uniform(0.005, 0.5);
    p.z0 = index % 3 == 0 ? 50.0 : uniform(25.0, 100.0);
    return p;
}

double resistance(double r_1ghz, double f_hz) { return r_1ghz * std::sqrt(f_hz / 1e9); }

std::string shortest(double v) {
    char buf[40];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, res.ptr);
}

// gamma and Zc of both modes at every frequency, exact to the last bit.
std::string model_text(const Pair& p, const std::vector<double>& freqs) {
    std::string out = shortest(p.length);
    out += ' ';
    out += shortest(p.z0);
    out += '\n';
    for (double f : freqs) {
        out += shortest(f);
        for (const auto& [mode, r] : {std::pair{p.even, p.r_even_1ghz}, std::pair{p.odd, p.r_odd_1ghz}}) {
            const nw::Propagation pr = nw::propagation(mode, resistance(r, f), p.medium, f);
            for (double v : {pr.gamma.re, pr.gamma.im, pr.zc.re, pr.zc.im}) {
                out += ' ';
                out += shortest(v);
            }
        }
        out += "\n";
    }
    return out;
}

template <typename Section>
std::string touchstone_text(const nw::TouchstoneLayout& layout, const std::vector<double>& freqs,
                            Section section) {
    std::string out;
    std::vector<std::string> comments = {"network_skrf_tests"};
    for (std::string& c : nw::port_comments(layout)) comments.push_back(std::move(c));
    nw::touchstone_header(out, layout, comments);
    nw::TouchstoneWriter w{layout};
    for (double f : freqs) {
        EXPECT_EQ(nw::touchstone_point(w, out, f, section(f)), nw::PointStatus::written);
    }
    EXPECT_TRUE(nw::touchstone_end(w, out));
    return out;
}

TEST(TouchstoneSkrf, ReadBackAndAgreeWithItsLineModel) {
    if (access(kPython, X_OK) != 0) {
        GTEST_SKIP() << kPython << " is missing: the scikit-rf check needs it (Debian python3-scikit-rf)";
    }
    ScratchDir dir;
    std::mt19937_64 gen(20);
    std::vector<double> freqs;
    for (int k = 0; k < 60; ++k) {
        freqs.push_back(1e7 * std::pow(4000.0, k / 59.0));  // 10 MHz to 40 GHz
    }
    constexpr int kCases = 6;
    using V = nw::TouchstoneVersion;
    for (int i = 0; i < kCases; ++i) {
        const Pair p = random_pair(gen, i);
        for (double f : {freqs.front(), freqs.back()}) {
            const double r = resistance(p.r_odd_1ghz, f);
            ASSERT_EQ(nw::section_input_error(p.odd, r, p.medium, f, p.length, p.z0), "") << p.name;
        }
        const auto strip = [&p](double f) {
            return nw::single_section(p.even, resistance(p.r_even_1ghz, f), p.medium, f, p.length, p.z0);
        };
        const auto pair = [&p](double f) {
            return nw::pair_section(p.even, resistance(p.r_even_1ghz, f), p.odd, resistance(p.r_odd_1ghz, f),
                                    p.medium, f, p.length, p.z0);
        };
        dir.put(p.name + ".model", model_text(p, freqs));
        dir.put(p.name + "_v1.s2p", touchstone_text({V::v1_1, 2, false, p.z0}, freqs, strip));
        dir.put(p.name + "_v2.s2p", touchstone_text({V::v2_0, 2, false, p.z0, freqs.size()}, freqs, strip));
        dir.put(p.name + "_v1.s4p", touchstone_text({V::v1_1, 4, false, p.z0}, freqs, pair));
        dir.put(p.name + "_v2.s4p", touchstone_text({V::v2_0, 4, false, p.z0, freqs.size()}, freqs, pair));
        dir.put(p.name + "_v2mm.s4p", touchstone_text({V::v2_0, 4, true, p.z0, freqs.size()}, freqs, pair));
    }

    const std::string report = dir.path("report.txt");
    std::string command = kPython;
    command += ' ';
    command += FERRAVANE_SKRF_CHECK;
    command += ' ';
    command += dir.path();
    command += " > ";
    command += report;
    command += " 2>&1";
    const int raw = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(raw)) << command;
    const int status = WEXITSTATUS(raw);
    const std::string text = ferravane::testing::read_file(report);
    if (status == 77) {
        GTEST_SKIP() << text;
    }
    std::printf("%s", text.c_str());
    EXPECT_EQ(status, 0) << text;
    std::istringstream lines(text);
    std::string line;
    int ok = 0;
    while (std::getline(lines, line)) {
        ok += line.rfind("ok ", 0) == 0 ? 1 : 0;
    }
    EXPECT_EQ(ok, 5 * kCases) << text;
}

}  // namespace
