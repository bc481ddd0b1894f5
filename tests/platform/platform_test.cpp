// The platform layer on whatever system runs the tests: the same errors,
// texts, identities and bytes everywhere.
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <string>

#include "platform/platform.hpp"
#include "scratch.hpp"

namespace ferravane::testing {
namespace {

namespace fs = std::filesystem;
using platform::Folder;

struct OpenCase {
    const char* name;
    const char* file;
    bool for_writing;
    int error;
};

void PrintTo(const OpenCase& c, std::ostream* os) { *os << c.name; }

class OpenFailure : public ::testing::TestWithParam<OpenCase> {};

// The errors that the run-stop messages are chosen by.
TEST_P(OpenFailure, GivesTheErrorNumberLinuxGives) {
    const OpenCase& c = GetParam();
    ScratchDir s;
    fs::create_directory(s.path("sub"));
    const platform::Opened f = c.for_writing ? platform::create_for_writing(s.folder(), c.file)
                                             : platform::open_for_reading(s.folder(), c.file);
    EXPECT_EQ(f.handle, platform::kNoHandle);
    EXPECT_EQ(f.error, c.error) << platform::error_text(f.error);
    EXPECT_EQ(s.files().size(), 0u) << "nothing is created";
}

const OpenCase kOpenCases[] = {
    {"read_missing", "none.txt", false, ENOENT},
    {"read_in_missing_folder", "none/x.txt", false, ENOENT},
    {"read_folder", "sub", false, EISDIR},
    {"write_in_missing_folder", "none/x.txt", true, ENOENT},
    {"write_folder", "sub", true, EISDIR},
};

INSTANTIATE_TEST_SUITE_P(Files, OpenFailure, ::testing::ValuesIn(kOpenCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ErrorText, IsLinuxsText) {
    const std::pair<int, const char*> kTexts[] = {
        {ENOENT, "No such file or directory"}, {EACCES, "Permission denied"},
        {EISDIR, "Is a directory"},            {EINVAL, "Invalid argument"},
        {ENOSPC, "No space left on device"},   {EPIPE, "Broken pipe"},
        {EBADF, "Bad file descriptor"},
    };
    for (const auto& [errnum, text] : kTexts) EXPECT_EQ(platform::error_text(errnum), text) << errnum;
}

// Every byte value, line ends and Ctrl-Z included, goes out and comes back
// unchanged, in blocks larger than one read.
TEST(Handles, CarryBytesUnchanged) {
    std::string bytes = "a\r\nb\nc\rd\x1a" "e\r\r\n";
    for (int i = 0; i < 256 * 300; ++i) bytes.push_back(static_cast<char>(i));
    ScratchDir s;
    const platform::Opened out = platform::create_for_writing(s.folder(), "bytes");
    ASSERT_NE(out.handle, platform::kNoHandle) << platform::error_text(out.error);
    EXPECT_EQ(platform::write_all(out.handle, bytes.data(), bytes.size()), 0);
    EXPECT_EQ(platform::close(out.handle), 0);
    EXPECT_TRUE(read_file(s.path("bytes")) == bytes);

    const platform::Opened in = platform::open_for_reading(s.folder(), "bytes");
    ASSERT_NE(in.handle, platform::kNoHandle) << platform::error_text(in.error);
    std::string back;
    char buf[4096];
    int err = 0;
    for (long n; (n = platform::read(in.handle, buf, sizeof buf, &err)) > 0;) back.append(buf, static_cast<std::size_t>(n));
    EXPECT_EQ(err, 0);
    EXPECT_EQ(platform::close(in.handle), 0);
    EXPECT_TRUE(back == bytes);
}

// One file reached by several names has one identity; another file has
// another; creating an existing file empties it and keeps its identity.
TEST(FileIdentity, FollowsTheFileNotTheName) {
    ScratchDir s;
    s.put("a.txt", "first");
    s.put("b.txt", "second");
    const auto a = platform::identify(s.folder(), "a.txt");
    ASSERT_TRUE(a.has_value());
    EXPECT_EQ(platform::identify(s.folder(), "./a.txt"), a);
    EXPECT_EQ(platform::identify(Folder(), s.path("a.txt")), a) << "absolute names ignore the folder";
    EXPECT_NE(platform::identify(s.folder(), "b.txt"), a);
    EXPECT_FALSE(platform::identify(s.folder(), "c.txt").has_value());

    const platform::Opened in = platform::open_for_reading(s.folder(), "a.txt");
    ASSERT_NE(in.handle, platform::kNoHandle);
    EXPECT_EQ(in.id, *a);
    // Open for reading, as the defaults file is, while named again.
    const platform::Opened out = platform::create_for_writing(s.folder(), "./a.txt");
    ASSERT_NE(out.handle, platform::kNoHandle) << platform::error_text(out.error);
    EXPECT_EQ(out.id, *a);
    EXPECT_EQ(platform::close(out.handle), 0);
    EXPECT_EQ(platform::close(in.handle), 0);
    EXPECT_EQ(read_file(s.path("a.txt")), "");
}

// Days from 1970-01-01 of a civil date (proleptic Gregorian).
long days_from_civil(long y, long m, long d) {
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

// The local time less its offset from UTC is now.
TEST(LocalTime, LessItsOffsetIsNow) {
    const platform::LocalTime t = platform::local_time();
    const auto now = std::chrono::duration_cast<std::chrono::seconds>(
                         std::chrono::system_clock::now().time_since_epoch())
                         .count();
    EXPECT_GE(t.month, 1);
    EXPECT_LE(t.month, 12);
    EXPECT_GE(t.millisecond, 0);
    EXPECT_LT(t.millisecond, 1000);
    EXPECT_LE(std::abs(t.utc_offset_minutes), 14 * 60);
    const long long local = days_from_civil(t.year, t.month, t.day) * 86400LL + t.hour * 3600LL +
                            t.minute * 60LL + t.second;
    EXPECT_LE(std::abs(local - t.utc_offset_minutes * 60LL - static_cast<long long>(now)), 5);
}

}  // namespace
}  // namespace ferravane::testing
