// The Touchstone writer: the exact bytes of a small version 1.1 file, then
// every layout read back by a small reader of the test's own (keywords in
// their order, the parameters in the version's order, every number within
// 5e-13), and the points the writer refuses.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "network/touchstone.hpp"

namespace {

namespace nw = ferravane::network;
using nw::Complex;
using nw::PointStatus;
using nw::TouchstoneLayout;
using nw::TouchstoneVersion;

// Distinct values that show where each parameter lands: S(i+1)(j+1) of
// point k is (k + 0.1 i + 0.01 j) - j (0.001 + k / 7), some negative.
template <std::size_t N>
void fill(Complex (&s)[N][N], int k) {
    for (std::size_t i = 0; i < N; ++i) {
        for (std::size_t j = 0; j < N; ++j) {
            s[i][j] = {k + 0.1 * static_cast<double>(i) + 0.01 * static_cast<double>(j) - 0.5,
                       -(0.001 + k / 7.0) * static_cast<double>(j + 1)};
        }
    }
}

TEST(Touchstone, ExactBytesOfASmallFile) {
    TouchstoneLayout layout;
    std::string out;
    nw::touchstone_header(out, layout, {"made by a test", "", "Er 4.3\tline\n2"});
    nw::TouchstoneWriter w{layout};
    const nw::TwoPort point{{{{0.5, -0.25}, {0.125, 0.0}}, {{-1e-20, 3.0}, {-0.0, -0.0}}}};
    ASSERT_EQ(nw::touchstone_point(w, out, 1.5e9, point), PointStatus::written);
    EXPECT_TRUE(nw::touchstone_end(w, out));
    EXPECT_EQ(out,
              "! made by a test\r\n"
              "!\r\n"
              "! Er 4.3?line?2\r\n"
              "# GHZ S RI R 50\r\n"
              "1.500000000000e+00  5.000000000000e-01 -2.500000000000e-01"
              " -1.000000000000e-20  3.000000000000e+00  1.250000000000e-01  0.000000000000e+00"
              "  0.000000000000e+00  0.000000000000e+00\r\n");
}

// What a reader finds in a file: keyword and option lines in order, the
// numbers of the data lines, and whether a complex pair was ever split.
struct Parsed {
    std::vector<std::string> keywords;
    std::vector<double> numbers;
    std::vector<std::size_t> numbers_per_line;
};

Parsed parse(const std::string& text) {
    Parsed p;
    std::istringstream in(text);
    std::string line;
    bool reference_values = false;
    while (std::getline(in, line)) {
        EXPECT_TRUE(!line.empty() && line.back() == '\r') << "line end: " << line;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '!') continue;
        if (line[0] == '[' || line[0] == '#' || reference_values) {
            reference_values = line == "[Reference]";
            p.keywords.push_back(line);
            continue;
        }
        std::istringstream fields(line);
        std::string field;
        std::size_t count = 0;
        while (fields >> field) {
            double v = 0.0;
            const auto res = std::from_chars(field.data(), field.data() + field.size(), v);
            EXPECT_TRUE(res.ec == std::errc{} && res.ptr == field.data() + field.size()) << field;
            p.numbers.push_back(v);
            ++count;
        }
        p.numbers_per_line.push_back(count);
    }
    return p;
}

struct Layout {
    const char* name;
    TouchstoneLayout layout;
    std::vector<std::string> keywords;
};

template <typename Point>
void write_and_read_back(const Layout& c) {
    constexpr std::size_t n = sizeof(Point{}.s) / sizeof(Point{}.s[0]);
    const std::vector<double> freqs = {0.0, 1e6, 2.5e9, 1.23456789012e11};
    std::string out;
    nw::touchstone_header(out, c.layout, nw::port_comments(c.layout));
    nw::TouchstoneWriter w{c.layout};
    std::vector<Point> points(freqs.size());
    for (std::size_t k = 0; k < freqs.size(); ++k) {
        fill(points[k].s, static_cast<int>(k));
        ASSERT_EQ(nw::touchstone_point(w, out, freqs[k], points[k]), PointStatus::written) << c.name;
    }
    EXPECT_TRUE(nw::touchstone_end(w, out)) << c.name;

    const Parsed p = parse(out);
    EXPECT_EQ(p.keywords, c.keywords) << c.name;
    ASSERT_EQ(p.numbers.size(), freqs.size() * (1 + 2 * n * n)) << c.name;
    for (std::size_t count : p.numbers_per_line) {
        EXPECT_TRUE(count % 2 == 1 || count == 2 * n) << c.name << ": " << count << " numbers on a line";
        EXPECT_LE(count, 9u) << c.name;  // four pairs at most, as version 1 requires
    }
    const bool v2 = c.layout.version == TouchstoneVersion::v2_0;
    std::size_t at = 0;
    for (std::size_t k = 0; k < freqs.size(); ++k) {
        EXPECT_NEAR(p.numbers[at++] * 1e9, freqs[k], 5e-13 * freqs[k]) << c.name;
        Point want = points[k];
        if constexpr (n == 4) {
            if (c.layout.mixed_mode) want = nw::mixed_mode(points[k]);
        }
        for (std::size_t i = 0; i < n; ++i) {
            for (std::size_t j = 0; j < n; ++j) {
                // Version 1's 2-port goes column by column.
                const Complex v = (n == 2 && !v2) ? want.s[j][i] : want.s[i][j];
                EXPECT_NEAR(p.numbers[at], v.re, 5e-13 * std::fabs(v.re)) << c.name << " point " << k;
                EXPECT_NEAR(p.numbers[at + 1], v.im, 5e-13 * std::fabs(v.im)) << c.name << " point " << k;
                at += 2;
            }
        }
    }
}

TEST(Touchstone, EveryLayoutReadsBack) {
    using V = TouchstoneVersion;
    const std::vector<Layout> two = {
        {"v1_2port", {V::v1_1, 2, false, 50.0, 0}, {"# GHZ S RI R 50"}},
        {"v2_2port_42.5", {V::v2_0, 2, false, 42.5, 4},
         {"[Version] 2.0", "# GHZ S RI R 42.5", "[Number of Ports] 2", "[Two-Port Data Order] 12_21",
          "[Number of Frequencies] 4", "[Reference]", "42.5 42.5", "[Network Data]", "[End]"}},
    };
    const std::vector<Layout> four = {
        {"v1_4port", {V::v1_1, 4, false, 50.0, 0}, {"# GHZ S RI R 50"}},
        {"v2_4port", {V::v2_0, 4, false, 50.0, 4},
         {"[Version] 2.0", "# GHZ S RI R 50", "[Number of Ports] 4", "[Number of Frequencies] 4",
          "[Reference]", "50 50 50 50", "[Network Data]", "[End]"}},
        {"v2_4port_mixed", {V::v2_0, 4, true, 50.0, 4},
         {"[Version] 2.0", "# GHZ S RI R 50", "[Number of Ports] 4", "[Number of Frequencies] 4",
          "[Reference]", "50 50 50 50", "[Mixed-Mode Order] D1,3 D2,4 C1,3 C2,4", "[Network Data]", "[End]"}},
    };
    for (const Layout& c : two) write_and_read_back<nw::TwoPort>(c);
    for (const Layout& c : four) write_and_read_back<nw::FourPort>(c);
}

// A refused point leaves the file as it was.
TEST(Touchstone, RefusedPoints) {
    using V = TouchstoneVersion;
    nw::TwoPort good;
    fill(good.s, 1);
    nw::TwoPort bad_value = good;
    bad_value.s[1][0].im = std::nan("");
    nw::TwoPort infinite = good;
    infinite.s[0][1].re = -HUGE_VAL;
    nw::FourPort four;
    fill(four.s, 1);
    struct Case {
        const char* name;
        TouchstoneLayout layout;
        double first_f;  // written first when not negative
        double f;
        const nw::TwoPort* two;
        PointStatus want;
    };
    const std::vector<Case> cases = {
        {"nan_parameter", {V::v1_1, 2}, -1.0, 1e9, &bad_value, PointStatus::not_finite},
        {"infinite_parameter", {V::v2_0, 2, false, 50.0, 3}, -1.0, 1e9, &infinite, PointStatus::not_finite},
        {"nan_frequency", {V::v1_1, 2}, -1.0, std::nan(""), &good, PointStatus::not_finite},
        {"negative_frequency", {V::v1_1, 2}, -1.0, -1e9, &good, PointStatus::not_finite},
        {"falling_frequency", {V::v1_1, 2}, 2e9, 1e9, &good, PointStatus::not_ascending},
        {"repeated_frequency", {V::v1_1, 2}, 2e9, 2e9, &good, PointStatus::not_ascending},
        {"beyond_declared", {V::v2_0, 2, false, 50.0, 1}, 1e9, 2e9, &good, PointStatus::too_many},
        {"two_port_in_four_port_file", {V::v1_1, 4}, -1.0, 1e9, &good, PointStatus::wrong_ports},
    };
    for (const Case& c : cases) {
        nw::TouchstoneWriter w{c.layout};
        std::string out;
        if (c.first_f >= 0.0) {
            ASSERT_EQ(nw::touchstone_point(w, out, c.first_f, good), PointStatus::written) << c.name;
        }
        const std::string before = out;
        EXPECT_EQ(nw::touchstone_point(w, out, c.f, *c.two), c.want) << c.name;
        EXPECT_EQ(out, before) << c.name;
    }
    nw::TouchstoneWriter w{{V::v1_1, 2}};
    std::string out;
    EXPECT_EQ(nw::touchstone_point(w, out, 1e9, four), PointStatus::wrong_ports);
    EXPECT_EQ(out, "");
}

TEST(Touchstone, EndChecksTheDeclaredCount) {
    nw::TwoPort s;
    fill(s.s, 0);
    nw::TouchstoneWriter w{{TouchstoneVersion::v2_0, 2, false, 50.0, 3}};
    std::string out;
    ASSERT_EQ(nw::touchstone_point(w, out, 1e9, s), PointStatus::written);
    ASSERT_EQ(nw::touchstone_point(w, out, 2e9, s), PointStatus::written);
    EXPECT_FALSE(nw::touchstone_end(w, out));
    ASSERT_EQ(nw::touchstone_point(w, out, 3e9, s), PointStatus::written);
    std::string end;
    EXPECT_TRUE(nw::touchstone_end(w, end));
    EXPECT_EQ(end, "[End]\r\n");
}

}  // namespace
