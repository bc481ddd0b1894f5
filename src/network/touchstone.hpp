// Touchstone files of a section's S-parameters, written as a stream: the
// header once, then one frequency at a time, then the end, so that a long
// sweep needs no more memory than one point. Real and imaginary parts in
// scientific notation with 13 significant digits (std::to_chars, exact and
// the same on every platform): each number reads back within 5e-13 of its
// value.
//
// Version 1.1 (the default): "# GHZ S RI R <z0>"; a 2-port's point on one
// line in the order S11 S21 S12 S22; a 4-port's matrix over four lines, a
// row a line, the frequency on the first. Version 2.0 adds [Version],
// [Number of Ports], [Two-Port Data Order] 12_21 (a 2-port, then row by
// row like the 4-port), [Number of Frequencies], [Reference], for a pair's
// mixed-mode data [Mixed-Mode Order] D1,3 D2,4 C1,3 C2,4, [Network Data]
// and [End].
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "network/network.hpp"

namespace ferravane::network {

enum class TouchstoneVersion { v1_1, v2_0 };

struct TouchstoneLayout {
    TouchstoneVersion version = TouchstoneVersion::v1_1;
    int ports = 2;                 // 2 (one strip) or 4 (a pair)
    bool mixed_mode = false;       // 4 ports, version 2.0: write mixed_mode() of each point
    double z0 = 50.0;              // reference impedance of every port, ohms
    std::size_t frequencies = 0;   // version 2.0: the points that will follow
    std::string_view line_end = "\r\n";
};

// ".s2p" or ".s4p".
std::string touchstone_extension(const TouchstoneLayout& layout);

// Comment lines that say which port is which, for the header.
std::vector<std::string> port_comments(const TouchstoneLayout& layout);

// The comment lines (each given without its '!'; bytes outside printable
// ASCII become '?', so a line cannot break the file) and the option and
// keyword lines.
void touchstone_header(std::string& out, const TouchstoneLayout& layout,
                       const std::vector<std::string>& comments);

// Points written so far and the last frequency: frequencies must rise, and
// a version 2.0 file must hold the number it declared.
struct TouchstoneWriter {
    TouchstoneLayout layout;
    std::size_t written = 0;
    double last_f_hz = 0.0;
};

enum class PointStatus {
    written,
    not_finite,     // a frequency or S-parameter is infinite or NaN: nothing written
    not_ascending,  // the frequency does not rise above the last one: nothing written
    too_many,       // version 2.0: more points than declared: nothing written
    wrong_ports,    // the point's port count is not the layout's: nothing written
};

PointStatus touchstone_point(TouchstoneWriter& writer, std::string& out, double f_hz, const TwoPort& point);
PointStatus touchstone_point(TouchstoneWriter& writer, std::string& out, double f_hz, const FourPort& point);

// [End] for version 2.0. False when fewer points were written than declared
// (the file would be invalid).
bool touchstone_end(const TouchstoneWriter& writer, std::string& out);

}  // namespace ferravane::network
