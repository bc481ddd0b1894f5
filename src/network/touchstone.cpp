#include <charconv>
#include <cmath>

#include "network/touchstone.hpp"

namespace ferravane::network {

namespace {

constexpr int kDigitsAfterPoint = 12;  // 13 significant digits
constexpr double kHzPerGhz = 1e9;

bool is_v2(const TouchstoneLayout& layout) { return layout.version == TouchstoneVersion::v2_0; }

// A number in a field of its own: a space, a minus sign or another space,
// then d.dddddddddddde+xx. Zero is written unsigned.
void put_number(std::string& out, double v) {
    char buf[40];
    const auto res = std::to_chars(buf, buf + sizeof buf, v == 0.0 ? 0.0 : v, std::chars_format::scientific,
                                   kDigitsAfterPoint);
    out += v < 0.0 ? " " : "  ";
    out.append(buf, res.ptr);
}

// The shortest text that reads back as v: "50", "42.5".
void put_shortest(std::string& out, double v) {
    char buf[40];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, res.ptr);
}

void put_line(std::string& out, const TouchstoneLayout& layout, std::string_view text) {
    out += text;
    out += layout.line_end;
}

void put_frequency(std::string& out, double f_hz) {
    char buf[40];
    const auto res = std::to_chars(buf, buf + sizeof buf, f_hz / kHzPerGhz, std::chars_format::scientific,
                                   kDigitsAfterPoint);
    out.append(buf, res.ptr);
}

// Rows of an n-port point, row by row, the frequency first; pairs never
// split across lines.
template <std::size_t N>
void put_rows(std::string& out, const TouchstoneLayout& layout, double f_hz, const Complex (&s)[N][N]) {
    constexpr std::string_view indent = "                  ";  // under the frequency
    put_frequency(out, f_hz);
    for (std::size_t i = 0; i < N; ++i) {
        if (i > 0) {
            out += layout.line_end;
            out += indent;
        }
        for (std::size_t j = 0; j < N; ++j) {
            put_number(out, s[i][j].re);
            put_number(out, s[i][j].im);
        }
    }
    out += layout.line_end;
}

template <std::size_t N>
PointStatus admit(const TouchstoneWriter& w, double f_hz, const Complex (&s)[N][N]) {
    if (static_cast<int>(N) != w.layout.ports) return PointStatus::wrong_ports;
    bool finite = std::isfinite(f_hz) && f_hz >= 0.0;
    for (const auto& row : s) {
        for (const Complex& v : row) {
            finite = finite && std::isfinite(v.re) && std::isfinite(v.im);
        }
    }
    if (!finite) return PointStatus::not_finite;
    if (w.written > 0 && !(f_hz > w.last_f_hz)) return PointStatus::not_ascending;
    if (is_v2(w.layout) && w.written >= w.layout.frequencies) return PointStatus::too_many;
    return PointStatus::written;
}

void count(TouchstoneWriter& w, double f_hz) {
    ++w.written;
    w.last_f_hz = f_hz;
}

}  // namespace

std::string touchstone_extension(const TouchstoneLayout& layout) {
    return layout.ports == 4 ? ".s4p" : ".s2p";
}

std::vector<std::string> port_comments(const TouchstoneLayout& layout) {
    if (layout.ports == 2) {
        return {"Port 1: one end of the strip; port 2: the other end"};
    }
    std::vector<std::string> lines = {
        "Ports 1 -> 2: one strip, end to end; ports 3 -> 4: the other strip; ports 1 and 3 at the same end"};
    if (layout.mixed_mode) {
        std::string z;
        put_shortest(z, 2.0 * layout.z0);
        std::string zc;
        put_shortest(zc, 0.5 * layout.z0);
        lines.push_back("Mixed-mode data: D1,3 and C1,3 the pair at ports 1 and 3, D2,4 and C2,4 at ports 2 "
                        "and 4;");
        lines.push_back("differential ports referenced to " + z + " ohm, common ports to " + zc + " ohm");
    }
    return lines;
}

void touchstone_header(std::string& out, const TouchstoneLayout& layout,
                       const std::vector<std::string>& comments) {
    for (const std::string& c : comments) {
        out += c.empty() ? "!" : "! ";
        for (const char ch : c) {
            out += ch >= ' ' && ch <= '~' ? ch : '?';
        }
        out += layout.line_end;
    }
    if (is_v2(layout)) {
        put_line(out, layout, "[Version] 2.0");
    }
    std::string option = "# GHZ S RI R ";
    put_shortest(option, layout.z0);
    put_line(out, layout, option);
    if (!is_v2(layout)) {
        return;
    }
    put_line(out, layout, layout.ports == 4 ? "[Number of Ports] 4" : "[Number of Ports] 2");
    if (layout.ports == 2) {
        put_line(out, layout, "[Two-Port Data Order] 12_21");
    }
    put_line(out, layout, "[Number of Frequencies] " + std::to_string(layout.frequencies));
    // The values on the next line: a reader that takes them from the
    // keyword's own line alone is rare, one that drops the first of them
    // there is not.
    put_line(out, layout, "[Reference]");
    std::string refs;
    for (int i = 0; i < layout.ports; ++i) {
        if (i > 0) refs += ' ';
        put_shortest(refs, layout.z0);
    }
    put_line(out, layout, refs);
    if (layout.ports == 4 && layout.mixed_mode) {
        put_line(out, layout, "[Mixed-Mode Order] D1,3 D2,4 C1,3 C2,4");
    }
    put_line(out, layout, "[Network Data]");
}

PointStatus touchstone_point(TouchstoneWriter& w, std::string& out, double f_hz, const TwoPort& point) {
    const PointStatus status = admit(w, f_hz, point.s);
    if (status != PointStatus::written) return status;
    if (is_v2(w.layout)) {
        put_rows(out, w.layout, f_hz, point.s);  // 12_21: row by row
    } else {
        // Version 1's 2-port order: S11 S21 S12 S22, on one line.
        put_frequency(out, f_hz);
        for (const Complex& v : {point.s[0][0], point.s[1][0], point.s[0][1], point.s[1][1]}) {
            put_number(out, v.re);
            put_number(out, v.im);
        }
        out += w.layout.line_end;
    }
    count(w, f_hz);
    return status;
}

PointStatus touchstone_point(TouchstoneWriter& w, std::string& out, double f_hz, const FourPort& point) {
    const FourPort data = is_v2(w.layout) && w.layout.mixed_mode ? mixed_mode(point) : point;
    const PointStatus status = admit(w, f_hz, data.s);
    if (status != PointStatus::written) return status;
    put_rows(out, w.layout, f_hz, data.s);
    count(w, f_hz);
    return status;
}

bool touchstone_end(const TouchstoneWriter& w, std::string& out) {
    if (!is_v2(w.layout)) return true;
    put_line(out, w.layout, "[End]");
    return w.written == w.layout.frequencies;
}

}  // namespace ferravane::network
