// Exhaustive and large random checks of the two exact conversions, against
// slow references that share nothing with the code under test. They take
// minutes, so they carry the CTest label "exhaustive" and stay out of the
// normal test run.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <optional>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "textio/fields.hpp"
#include "textio/numeric_field.hpp"

namespace {

using namespace ferravane::textio;

// ---------------------------------------------------------------- Fw.d

struct Format {
    int w;
    int d;
};

// Every Fw.d edit descriptor the program's layouts use.
constexpr std::array<Format, 11> kFormats{{{7, 1}, {7, 2}, {7, 3}, {7, 4}, {8, 1}, {8, 2},
                                           {8, 3}, {8, 4}, {9, 1}, {9, 4}, {9, 5}}};

// The same descriptors through the editor with compile-time width and
// decimals (the table rows' Layout::Row::f<W, D>), one instance each.
using FixedEdit = char* (*)(char*, float);
template <std::size_t... I>
constexpr std::array<FixedEdit, sizeof...(I)> fixed_editors(std::index_sequence<I...>) {
    return {&edit_f<kFormats[I].w, kFormats[I].d>...};
}
constexpr auto kFixed = fixed_editors(std::make_index_sequence<kFormats.size()>{});

constexpr std::uint32_t kPow10[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000,
                                    100000000, 1000000000};

// An exact non-negative decimal: limb[0] is the integer part, limb[1..5]
// the first 45 fractional digits, nine per limb. Every float from 2^-18 up
// to 2^24 and every power of two down to 2^-45 is exact in it.
constexpr std::size_t kLimbs = 6;
constexpr std::uint32_t kBase = 1000000000;
using Decimal = std::array<std::uint32_t, kLimbs>;

Decimal add(const Decimal& a, const Decimal& b) {
    Decimal r{};
    std::uint32_t carry = 0;
    for (std::size_t i = kLimbs - 1; i > 0; --i) {
        const std::uint32_t s = a[i] + b[i] + carry;  // < 2^31
        carry = s >= kBase ? 1 : 0;
        r[i] = s - carry * kBase;
    }
    r[0] = a[0] + b[0] + carry;  // the integer limb holds up to 2^24
    return r;
}

Decimal halve(const Decimal& a) {
    Decimal r{};
    std::uint64_t rem = 0;
    for (std::size_t i = 0; i < kLimbs; ++i) {
        const std::uint64_t cur = rem * kBase + a[i];
        r[i] = static_cast<std::uint32_t>(cur / 2);
        rem = cur % 2;
    }
    EXPECT_EQ(rem, 0u) << "a power of two ran past the fractional digits";
    return r;
}

// 2^k for -45 <= k <= 24, by halving or doubling 1.
Decimal power_of_two(int k) {
    Decimal r{};
    r[0] = 1;
    for (; k > 0; --k) r = add(r, r);
    for (; k < 0; ++k) r = halve(r);
    return r;
}

// Fw.d of sign and magnitude from its exact decimal, following the rules
// as stated: round the decimal digits half away from zero, then a minus
// sign whenever the value is negative, a leading zero only in a spare
// column, asterisks when the digits do not fit.
std::string edit_reference(bool neg, std::uint32_t ipart, std::uint32_t frac9, Format f) {
    std::uint64_t scaled = std::uint64_t{ipart} * kPow10[f.d] + frac9 / kPow10[9 - f.d];
    if ((frac9 / kPow10[8 - f.d]) % 10 >= 5) ++scaled;
    const std::uint64_t ip = scaled / kPow10[f.d];
    const std::uint64_t fp = scaled % kPow10[f.d];

    std::string digits = ip == 0 ? std::string() : std::to_string(ip);
    std::string frac = std::to_string(fp);
    frac.insert(0, static_cast<std::size_t>(f.d) - frac.size(), '0');
    std::string body = digits + "." + frac;
    const std::size_t w = static_cast<std::size_t>(f.w);
    if (body.size() + (neg ? 1 : 0) > w) return std::string(w, '*');
    if (ip == 0 && body.size() + (neg ? 1 : 0) < w) body.insert(0, "0");
    if (neg) body.insert(0, "-");
    return std::string(w - body.size(), ' ') + body;
}

std::string right_justified(std::string text, Format f) {
    const std::size_t w = static_cast<std::size_t>(f.w);
    return std::string(w - text.size(), ' ') + text;
}

struct Failures {
    std::mutex m;
    std::vector<std::string> first;
    std::atomic<std::uint64_t> count{0};
    std::atomic<std::uint64_t> checked{0};

    void record(std::uint32_t bits, const char* editor, Format f, const std::string& got,
                const std::string& want) {
        if (count.fetch_add(1) >= 20) return;
        std::lock_guard<std::mutex> lock(m);
        char hex[16];
        std::snprintf(hex, sizeof hex, "%08X", bits);
        first.push_back(std::string(hex) + " F" + std::to_string(f.w) + "." + std::to_string(f.d) +
                        " (" + editor + "): got '" + got + "' want '" + want + "'");
    }
};

// Binade of one sign and one exponent field: all 2^23 floats in it.
void check_binade(std::uint32_t sign, std::uint32_t exp_field, Failures& fail) {
    const bool neg = sign != 0;
    const int e = static_cast<int>(exp_field) - 127;  // the binade is [2^e, 2^(e+1))
    const std::uint32_t base = (sign << 31) | (exp_field << 23);
    std::array<std::string, kFormats.size()> want;
    char buf[16];

    auto check = [&](std::uint32_t bits, std::size_t i) {
        const Format f = kFormats[i];
        edit_f(buf, std::bit_cast<float>(bits), f.w, f.d);
        if (std::memcmp(buf, want[i].data(), want[i].size()) != 0)
            fail.record(bits, "edit_f", f, std::string(buf, want[i].size()), want[i]);
        kFixed[i](buf, std::bit_cast<float>(bits));
        if (std::memcmp(buf, want[i].data(), want[i].size()) != 0)
            fail.record(bits, "edit_f<W, D>", f, std::string(buf, want[i].size()), want[i]);
    };

    if (exp_field == 255) {  // infinities and NaNs
        for (std::size_t i = 0; i < kFormats.size(); ++i) {
            const Format f = kFormats[i];
            want[i] = neg ? right_justified(f.w >= 9 ? "-Infinity" : "-Inf", f)
                          : right_justified(f.w >= 8 ? "Infinity" : "Inf", f);
            check(base, i);
            want[i] = right_justified("NaN", f);
            for (std::uint32_t m = 1; m < (1u << 23); ++m) check(base | m, i);
        }
    } else if (e >= 24) {  // 2^24 and above: 8 integer digits, wider than any field
        for (std::size_t i = 0; i < kFormats.size(); ++i) {
            want[i] = std::string(static_cast<std::size_t>(kFormats[i].w), '*');
            for (std::uint32_t m = 0; m < (1u << 23); ++m) check(base | m, i);
        }
    } else if (e <= -19) {  // below 2^-18 < 0.000005: zero at five decimals or fewer
        for (std::size_t i = 0; i < kFormats.size(); ++i) {
            want[i] = edit_reference(neg, 0, 0, kFormats[i]);
            for (std::uint32_t m = 0; m < (1u << 23); ++m) check(base | m, i);
        }
    } else {  // every float from its exact decimal, one ulp at a time
        const Decimal ulp = power_of_two(e - 23);
        Decimal x = power_of_two(e);
        for (std::uint32_t m = 0; m < (1u << 23); ++m, x = add(x, ulp)) {
            for (std::size_t i = 0; i < kFormats.size(); ++i) {
                want[i] = edit_reference(neg, x[0], x[1], kFormats[i]);
                check(base | m, i);
            }
        }
    }
    fail.checked += (std::uint64_t{1} << 23) * kFormats.size() * 2;
}

TEST(FieldEditingExhaustive, EveryFloatInEveryFieldOfTheProgram) {
    Failures fail;
    std::atomic<std::uint32_t> next{0};
    auto worker = [&] {
        for (std::uint32_t task; (task = next.fetch_add(1)) < 512;) check_binade(task >> 8, task & 0xFFu, fail);
    };
    std::vector<std::thread> pool;
    const unsigned n = std::max(1u, std::thread::hardware_concurrency());
    for (unsigned i = 0; i < n; ++i) pool.emplace_back(worker);
    for (auto& t : pool) t.join();

    EXPECT_EQ(fail.checked.load(), (std::uint64_t{1} << 32) * kFormats.size() * 2);
    EXPECT_EQ(fail.count.load(), 0u);
    for (const auto& line : fail.first) ADD_FAILURE() << line;
    std::printf("checked %llu float fields, each format through both editors\n",
                static_cast<unsigned long long>(fail.checked.load()));
}

// A spot check that the reference itself rounds as the rules say.
TEST(FieldEditingExhaustive, ReferenceFollowsTheRules) {
    const Decimal q = power_of_two(-2);
    Decimal v = add(power_of_two(6), add(q, add(q, q)));  // 64.75
    EXPECT_EQ(edit_reference(false, v[0], v[1], {7, 1}), "   64.8");
    EXPECT_EQ(edit_reference(true, 0, 0, {7, 4}), "-0.0000");
    EXPECT_EQ(edit_reference(true, 0, 0, {7, 5}), "-.00000");
    EXPECT_EQ(edit_reference(false, 99999, 960000000, {7, 1}), "*******");
}

// ------------------------------------------------- the numeric field

// A random numeral of at most 13 characters with blanks anywhere, and the
// same numeral in the plain form std::from_chars reads.
struct Numeral {
    std::string field;
    std::string plain;
    bool bad_exponent = false;
};

Numeral random_numeral(std::mt19937_64& rng) {
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    auto digits = [&](int n) {
        std::string s;
        for (int i = 0; i < n; ++i) s += static_cast<char>('0' + pick(10));
        return s;
    };
    for (;;) {
        Numeral r;
        std::string sign = pick(3) == 0 ? "-" : (pick(4) == 0 ? "+" : "");
        std::string whole = digits(pick(9));
        std::string frac = pick(3) == 0 ? "" : digits(pick(9));
        const bool point = !frac.empty() || pick(2) == 0;
        if (whole.empty() && frac.empty()) continue;
        std::string mark;  // E, D, their lower case, or a bare sign
        std::string exp_sign;
        std::string exp_digits;
        if (pick(2) == 0) {
            static const char* kMarks[] = {"E", "e", "D", "d", ""};
            mark = kMarks[pick(5)];
            exp_sign = mark.empty() ? (pick(2) == 0 ? "-" : "+") : (pick(3) == 0 ? "-" : (pick(4) == 0 ? "+" : ""));
            exp_digits = digits(1 + pick(5));
        }
        std::string compact = sign + whole + (point ? "." : "") + frac + mark + exp_sign + exp_digits;
        if (compact.size() > kNumericWidth) continue;
        // Blanks in random places, as long as the field still fits.
        std::string field;
        for (char c : compact) {
            while (field.size() + 1 < kNumericWidth && pick(6) == 0) field += ' ';
            field += c;
        }
        if (field.size() > kNumericWidth) continue;
        r.field = field;
        const int exponent = exp_digits.empty() ? 0 : std::stoi(exp_digits);
        r.bad_exponent = exponent >= 10000;
        r.plain = (sign == "-" ? "-" : "") + (whole.empty() ? "0" : whole) + "." + (frac.empty() ? "0" : frac) + "e" +
                  (exp_sign == "-" ? "-" : "") + (exp_digits.empty() ? "0" : exp_digits);
        return r;
    }
}

// The correctly rounded float of a plain numeral; from_chars reports the
// results beyond the float range, which go to infinity or to zero.
float reference_value(const std::string& plain) {
    float v = 0.0f;
    const auto res = std::from_chars(plain.data(), plain.data() + plain.size(), v);
    EXPECT_EQ(res.ptr, plain.data() + plain.size()) << plain;
    if (res.ec == std::errc::result_out_of_range) {
        // Decimal exponent of the leading non-zero digit decides.
        const std::size_t e_at = plain.find('e');
        const std::string mant = plain.substr(0, e_at);
        const long long exp10 = std::stoll(plain.substr(e_at + 1));
        const std::size_t point = mant.find('.');
        const std::size_t first = mant.find_first_of("123456789");
        const long long lead = first == std::string::npos ? -100000
                                                          : static_cast<long long>(point) -
                                                                static_cast<long long>(first) -
                                                                (first < point ? 1 : 0) + exp10;
        const bool neg = plain[0] == '-';
        const float mag = lead >= 0 ? std::numeric_limits<float>::infinity() : 0.0f;
        return neg ? -mag : mag;
    }
    return v;
}

TEST(NumericFieldRandom, FiftyMillionFieldsMatchTheReference) {
    constexpr int kFields = 50'000'000;
    std::mt19937_64 rng(20261207);
    int failures = 0;
    int bad_exponents = 0;
    for (int i = 0; i < kFields && failures < 20; ++i) {
        const Numeral n = random_numeral(rng);
        const std::optional<float> got = parse_numeric(n.field);
        if (n.bad_exponent) {
            ++bad_exponents;
            if (got.has_value()) {
                ++failures;
                ADD_FAILURE() << "'" << n.field << "' should be a bad value";
            }
            continue;
        }
        const float want = reference_value(n.plain);
        if (!got.has_value() || std::bit_cast<std::uint32_t>(*got) != std::bit_cast<std::uint32_t>(want)) {
            ++failures;
            ADD_FAILURE() << "'" << n.field << "' (" << n.plain << "): got "
                          << (got ? std::to_string(*got) : "bad value") << " want " << want;
        }
    }
    EXPECT_EQ(failures, 0);
    EXPECT_GT(bad_exponents, 0) << "the generator never reached the exponent limit";
    std::printf("checked %d fields, %d with an exponent of 10000 or more\n", kFields, bad_exponents);
}

}  // namespace
