// The texts the program must print, written out once for every test and
// fuzz target, independently of the program's own copies.
#pragma once

#include <string>
#include <string_view>

namespace ferravane::testing::texts {

// Second lines of run stops.
inline constexpr std::string_view kEndOfFile = "End of file";
inline constexpr std::string_view kBadValue = "Bad value during floating point read";
inline constexpr std::string_view kAlreadyOpened = "File already opened in another unit";
inline constexpr std::string_view kNoSpace = "No space left on device";
inline constexpr std::string_view kBrokenPipe = "Broken pipe";
inline constexpr std::string_view kInvalidArgument = "Invalid argument";
// "<before><name><after>", built by appending (g++ 12 warns falsely on
// a literal plus a temporary string).
inline std::string around(std::string_view before, std::string_view name, std::string_view after) {
    std::string s(before);
    s.append(name).append(after);
    return s;
}
inline std::string does_not_exist(std::string_view name) { return around("File '", name, "' does not exist"); }
inline std::string permission_denied(std::string_view name) {
    return around("Permission denied trying to open file '", name, "'");
}
inline std::string is_a_directory(std::string_view name) { return around("'", name, "' is a directory"); }

// The two defaults-file messages: first line, and the second line up to
// the record's label (which follows as an 11-column text field).
inline constexpr std::string_view kDefaultsEndFirst = "      End of file in FERRAVANE default data file\r\n";
inline constexpr std::string_view kDefaultsEndSecond = "      (Ferravane.DEF). Entry missing for variable ";
inline constexpr std::string_view kDefaultsErrorFirst = "      Error exists in FERRAVANE default data file\r\n";
inline constexpr std::string_view kDefaultsErrorSecond = "      (Ferravane.DEF). Fix entry for variable ";
inline constexpr std::size_t kLabelWidth = 11;

// The whole message for the record with this label ("F.", "1st line.").
inline std::string defaults_message(bool end_of_file, std::string_view label) {
    std::string l(label);
    l.resize(kLabelWidth, ' ');
    return std::string(end_of_file ? kDefaultsEndFirst : kDefaultsErrorFirst) +
           std::string(end_of_file ? kDefaultsEndSecond : kDefaultsErrorSecond) + l + "\r\n";
}

// The banner and the run header carry the clock: runs compared with each
// other, or with a transcript made with a fixed clock, have the digits and
// blanks of every "Date:" line masked (the I2 fields print 9 as " 9" and
// 10 as "10", so runs either side of a ten-second mark compare equal).
inline std::string undated(std::string s) {
    for (std::size_t at = s.find("Date:"); at != std::string::npos; at = s.find("Date:", at + 1)) {
        for (std::size_t i = at; i < s.size() && s[i] != '\r' && s[i] != '\n'; ++i) {
            if ((s[i] >= '0' && s[i] <= '9') || s[i] == ' ') s[i] = '#';
        }
    }
    return s;
}

}  // namespace ferravane::testing::texts
