#include "cli_harness.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <stdexcept>

#include "cli/cli.hpp"

namespace ferravane::testing {

CliRun run_cli(std::string_view line) {
    std::vector<std::string> words;
    std::istringstream in{std::string(line)};
    for (std::string w; in >> w;) words.push_back(w);
    const std::vector<std::string_view> args(words.begin(), words.end());
    std::ostringstream out, err;
    CliRun r;
    r.status = cli::run(args, out, err);
    r.out = out.str();
    r.err = err.str();
    return r;
}

std::size_t Csv::column(std::string_view name) const {
    for (std::size_t i = 0; i < header.size(); ++i) {
        if (header[i] == name) return i;
    }
    ADD_FAILURE() << "no CSV column " << name;
    throw std::out_of_range(std::string(name));
}

const std::string& Csv::at(std::size_t row, std::string_view name) const {
    return rows.at(row).at(column(name));
}

float Csv::number(std::size_t row, std::string_view name) const {
    const std::string& cell = at(row, name);
    char* end = nullptr;
    const float v = std::strtof(cell.c_str(), &end);
    EXPECT_TRUE(!cell.empty() && *end == '\0') << "not a number: '" << cell << "' in " << name;
    return v;
}

Csv parse_csv(const std::string& text) {
    std::vector<std::vector<std::string>> records;
    std::vector<std::string> record;
    std::string field;
    std::size_t i = 0;
    bool quoted = false;
    while (i < text.size()) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                i += 2;
            } else if (c == '"') {
                quoted = false;
                ++i;
            } else {
                field += c;
                ++i;
            }
        } else if (c == '"' && field.empty()) {
            quoted = true;
            ++i;
        } else if (c == ',') {
            record.push_back(field);
            field.clear();
            ++i;
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            record.push_back(field);
            field.clear();
            records.push_back(record);
            record.clear();
            i += 2;
        } else {
            EXPECT_NE(c, '\n') << "a CSV line ends without CR at byte " << i;
            field += c;
            ++i;
        }
    }
    EXPECT_FALSE(quoted) << "unterminated quote";
    EXPECT_TRUE(record.empty() && field.empty()) << "the last CSV record lacks its CR LF";
    Csv csv;
    if (records.empty()) {
        ADD_FAILURE() << "no CSV header";
        return csv;
    }
    csv.header = records.front();
    csv.rows.assign(records.begin() + 1, records.end());
    for (const auto& r : csv.rows) EXPECT_EQ(r.size(), csv.header.size()) << "ragged CSV row";
    return csv;
}

namespace {

class JsonReader {
public:
    explicit JsonReader(const std::string& s) : s_(s) {}

    Json document() {
        Json v = value();
        space();
        if (pos_ != s_.size()) fail("text after the value");
        return v;
    }

private:
    [[noreturn]] void fail(const std::string& why) {
        throw std::runtime_error("JSON: " + why + " at byte " + std::to_string(pos_));
    }
    void space() {
        while (pos_ < s_.size() && (s_[pos_] == ' ' || s_[pos_] == '\n' || s_[pos_] == '\r' || s_[pos_] == '\t')) {
            ++pos_;
        }
    }
    bool take(char c) {
        space();
        if (pos_ < s_.size() && s_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }
    void expect(char c) {
        if (!take(c)) fail(std::string("expected '") + c + "'");
    }
    bool word(std::string_view w) {
        if (s_.compare(pos_, w.size(), w) == 0) {
            pos_ += w.size();
            return true;
        }
        return false;
    }
    std::string string() {
        expect('"');
        std::string out;
        while (pos_ < s_.size() && s_[pos_] != '"') {
            char c = s_[pos_++];
            if (static_cast<unsigned char>(c) < 0x20) fail("control character in a string");
            if (c == '\\') {
                if (pos_ >= s_.size()) fail("escape at the end");
                c = s_[pos_++];
                if (c == 'u') {
                    if (pos_ + 4 > s_.size()) fail("short \\u escape");
                    c = static_cast<char>(std::stoi(s_.substr(pos_, 4), nullptr, 16));
                    pos_ += 4;
                } else if (c == 'n') {
                    c = '\n';
                } else if (c != '"' && c != '\\' && c != '/') {
                    fail("unknown escape");
                }
            }
            out += c;
        }
        expect('"');
        return out;
    }
    // RFC 8259 number grammar.
    std::string number() {
        const std::size_t start = pos_;
        auto digits = [&] {
            const std::size_t d = pos_;
            while (pos_ < s_.size() && s_[pos_] >= '0' && s_[pos_] <= '9') ++pos_;
            return pos_ - d;
        };
        if (pos_ < s_.size() && s_[pos_] == '-') ++pos_;
        const std::size_t int_start = pos_;
        const std::size_t n = digits();
        if (n == 0 || (n > 1 && s_[int_start] == '0')) fail("bad integer part");
        if (pos_ < s_.size() && s_[pos_] == '.') {
            ++pos_;
            if (digits() == 0) fail("bad fraction");
        }
        if (pos_ < s_.size() && (s_[pos_] == 'e' || s_[pos_] == 'E')) {
            ++pos_;
            if (pos_ < s_.size() && (s_[pos_] == '+' || s_[pos_] == '-')) ++pos_;
            if (digits() == 0) fail("bad exponent");
        }
        return s_.substr(start, pos_ - start);
    }
    Json value() {
        space();
        Json v;
        if (pos_ >= s_.size()) fail("missing value");
        const char c = s_[pos_];
        if (c == '{') {
            v.kind = Json::Kind::object;
            ++pos_;
            if (take('}')) return v;
            do {
                space();
                v.keys.push_back(string());
                expect(':');
                v.values.push_back(value());
            } while (take(','));
            expect('}');
        } else if (c == '[') {
            v.kind = Json::Kind::array;
            ++pos_;
            if (take(']')) return v;
            do {
                v.items.push_back(value());
            } while (take(','));
            expect(']');
        } else if (c == '"') {
            v.kind = Json::Kind::string;
            v.text = string();
        } else if (word("null")) {
            v.kind = Json::Kind::null;
        } else if (word("true") || word("false")) {
            v.kind = Json::Kind::boolean;
            v.boolean = s_[pos_ - 1] == 'e' && s_[pos_ - 2] == 'u';
        } else {
            v.kind = Json::Kind::number;
            v.text = number();
        }
        return v;
    }

    const std::string& s_;
    std::size_t pos_ = 0;
};

}  // namespace

const Json& Json::operator[](std::string_view key) const {
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (keys[i] == key) return values[i];
    }
    ADD_FAILURE() << "no JSON member " << key;
    throw std::out_of_range(std::string(key));
}

float Json::number() const {
    EXPECT_EQ(kind, Kind::number);
    return std::strtof(text.c_str(), nullptr);
}

Json parse_json(const std::string& text) { return JsonReader(text).document(); }

std::string float_text(float v) {
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

}  // namespace ferravane::testing
