// What every fault test checks of a run stop, and the answers they share.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "program.hpp"
#include "scratch.hpp"
#include "texts.hpp"

namespace ferravane::testing {

// A run stop: status 2 and two lines on stderr, each ended by LF alone,
// the second one the message.
inline void expect_stop(const ProgramRun& r, const std::string& message) {
    EXPECT_EQ(r.status, 2) << r.err;
    const auto first = r.err.find('\n');
    ASSERT_NE(first, std::string::npos) << r.err;
    EXPECT_GT(first, 0u) << "the place line is empty";
    EXPECT_EQ(r.err.substr(first + 1), message + "\n");
    EXPECT_EQ(r.err.find('\r'), std::string::npos) << "stderr lines end with LF alone";
}

inline bool starts_with(const std::string& s, const std::string& p) { return s.compare(0, p.size(), p) == 0; }
inline bool ends_with(const std::string& s, const std::string& p) {
    return s.size() >= p.size() && s.compare(s.size() - p.size(), p.size(), p) == 0;
}

inline std::map<std::string, std::string> undated(std::map<std::string, std::string> files) {
    for (auto& [name, bytes] : files) bytes = texts::undated(bytes);
    return files;
}

// A scratch folder holding the shipped defaults file.
struct ShippedDir : ScratchDir {
    ShippedDir() { put("Ferravane.DEF", shipped_defaults()); }
};

// Blank answers up to the storage question: a synthesis with loss on the
// shipped line, 25 to 100 ohms in steps of 5.
inline const std::string kToStorage(12, '\n');
inline const std::string kRunHeaderLast = "    for Single-Strip Stripline Transmission Lines.\r\n";

}  // namespace ferravane::testing
