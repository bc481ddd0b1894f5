// Touchstone files of a section of each line: one file a strip (a .s2p) or
// a pair (a .s4p), written as its frequencies come, so that a long sweep
// needs no more memory than one point. One line goes to standard output,
// or to --output NAME; several go to NAME-1, NAME-2, ... The comment lines
// say how the file was made: the program, the command as typed, the line
// found or given, the dielectric model, the length and the ports.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "cli/columns.hpp"
#include "cli/handle_buf.hpp"
#include "cli/output.hpp"
#include "cli/text.hpp"
#include "network/network.hpp"
#include "network/touchstone.hpp"
#include "platform/platform.hpp"

namespace ferravane::cli {
namespace {

std::string length_text(float inches) { return cat(six_digits(inches), " in"); }

class TouchstoneWriter final : public RowWriter {
public:
    TouchstoneWriter(std::ostream& out, const Request& req)
        : out_(out), req_(req), points_(static_cast<std::size_t>(req.freqs->size())) {
        layout_.version = req.touchstone.version2 ? network::TouchstoneVersion::v2_0
                                                  : network::TouchstoneVersion::v1_1;
        layout_.ports = req.pair() ? 4 : 2;
        layout_.mixed_mode = req.pair() && req.touchstone.version2;
        layout_.z0 = req.touchstone.z0;
        layout_.frequencies = points_;
        medium_.er = static_cast<double>(req.line.er);
        medium_.tand = static_cast<double>(req.line.tlos);
        medium_.model = req.touchstone.djordjevic ? network::Dielectric::djordjevic : network::Dielectric::constant;
        medium_.f_ref_hz = req.touchstone.f_ref_hz;
    }

    void begin() override {}

    void row(const Row& row) override {
        if (!error_.empty()) return;
        if (in_file_ == 0) start(row);
        if (++in_file_ == points_) in_file_ = 0;
        if (skipping_ || !error_.empty()) return;
        const double f_hz = static_cast<double>(*row.f) * 1e6;
        const double length = req_.touchstone.length_m;
        const double z0 = req_.touchstone.z0;
        network::PointStatus st;
        if (req_.pair()) {
            const network::FourPort p = network::pair_section({row.tem_even.z_air}, row.tem_even.r_per_m,
                                                              {row.tem.z_air}, row.tem.r_per_m, medium_, f_hz,
                                                              length, z0);
            st = network::touchstone_point(writer_, text_, f_hz, p);  // in mixed-mode form when the layout is
        } else {
            st = network::touchstone_point(writer_, text_, f_hz,
                                           network::single_section({row.tem.z_air}, row.tem.r_per_m, medium_,
                                                                   f_hz, length, z0));
        }
        if (st != network::PointStatus::written) {
            // The row's status says why; a file without the point would lie.
            abandon();
            return;
        }
        flush_text();
        if (in_file_ == 0) finish();
    }

    void end() override {}

    bool ok() const override { return error_.empty(); }
    std::string error() const override { return error_; }

private:
    // A new line: its file, unless its strip could not be found.
    void start(const Row& row) {
        ++line_index_;
        skipping_ = !row.strip.realised;
        if (skipping_) return;
        writer_ = network::TouchstoneWriter{layout_, 0, 0.0};
        std::string header;
        network::touchstone_header(header, layout_, comments(row));
        if (!open_file()) return;
        text_ = std::move(header);
        flush_text();
    }

    std::vector<std::string> comments(const Row& row) const {
        const Line& l = req_.line;
        std::vector<std::string> c;
        c.push_back(cat("ferravane ", FERRAVANE_VERSION, ": S-parameters of a section of stripline"));
        c.push_back(cat("ferravane ", req_.touchstone.typed));
        std::string line = cat("B ", length_text(l.b), ", T ", length_text(l.t));
        if (l.h) line += cat(", H ", length_text(*l.h));
        line += cat(", W ", length_text(row.strip.w));
        if (req_.pair()) line += cat(", S ", length_text(row.strip.s));
        line += cat(", Er ", six_digits(l.er), ", loss tangent ", six_digits(l.tlos), ", ",
                    req_.metal.empty() ? std::string("resistivity") : req_.metal, " ", six_digits(l.res1),
                    " uohm-cm, roughness ", six_digits(l.sr1), " uin, ",
                    req_.field() ? "field solver" : "closed forms");
        c.push_back(line);
        const engine::PairImpedances& p = row.strip.pair;
        c.push_back(req_.pair() ? cat("Z_odd ", six_digits(p.z_odd), " ohm, Z_even ", six_digits(p.z_even),
                                      " ohm, Z_diff ", six_digits(p.z_diff), " ohm, Z_common ",
                                      six_digits(p.z_common), " ohm (lossless)")
                                : cat("Zo ", six_digits(row.strip.zo), " ohm (lossless)"));
        c.push_back(req_.touchstone.djordjevic
                        ? cat("Dielectric: wideband Debye (Djordjevic-Sarkar), Er and loss tangent at ",
                              six_digits(static_cast<float>(req_.touchstone.f_ref_hz / 1e9)), " GHz")
                        : std::string("Dielectric: constant Er and loss tangent at every frequency"));
        c.push_back(cat("Length ", six_digits(static_cast<float>(req_.touchstone.length_m)), " m; conductors ",
                        "with the skin effect's internal reactance equal to their resistance"));
        for (std::string& port : network::port_comments(layout_)) c.push_back(std::move(port));
        return c;
    }

    std::string file_name() const {
        const std::string ext = network::touchstone_extension(layout_);
        std::string base = req_.touchstone.output;
        const bool has_ext = base.size() > ext.size() && base.ends_with(ext);
        if (has_ext) base.resize(base.size() - ext.size());
        if (req_.values.size() > 1) base += cat("-", std::to_string(line_index_));
        return base + ext;
    }

    bool open_file() {
        if (req_.touchstone.output.empty()) {
            target_ = &out_;
            return true;
        }
        close_file();
        const std::string name = file_name();
        const platform::Opened f = platform::create_for_writing(platform::Folder(), name);
        if (f.handle == platform::kNoHandle) {
            error_ = cat("ferravane: cannot write ", quoted(name), ": ", platform::error_text(f.error), "\n");
            return false;
        }
        handle_ = f.handle;
        name_ = name;
        buf_ = std::make_unique<HandleBuf>(handle_, 1 << 16);
        file_ = std::make_unique<std::ostream>(buf_.get());
        target_ = file_.get();
        return true;
    }

    void flush_text() {
        target_->write(text_.data(), static_cast<std::streamsize>(text_.size()));
        text_.clear();
        if (!*target_ && target_ != &out_) {
            error_ = cat("ferravane: cannot write ", quoted(name_), "\n");
        }
    }

    void finish() {
        if (!network::touchstone_end(writer_, text_)) return abandon();
        flush_text();
        close_file();
    }

    // A file that cannot be complete is not left behind.
    void abandon() {
        skipping_ = true;
        text_.clear();
        if (file_) {
            close_file();
            std::remove(name_.c_str());
        }
    }

    void close_file() {
        if (!file_) return;
        file_->flush();
        const bool written = static_cast<bool>(*file_);
        file_.reset();
        buf_.reset();
        const int err = platform::close(handle_);
        if ((!written || err != 0) && error_.empty()) error_ = cat("ferravane: cannot write ", quoted(name_), "\n");
    }

    std::ostream& out_;
    const Request& req_;
    std::size_t points_;
    network::TouchstoneLayout layout_;
    network::Medium medium_;
    network::TouchstoneWriter writer_;
    std::string text_;
    std::size_t in_file_ = 0;   // points of the current line so far
    std::size_t line_index_ = 0;
    bool skipping_ = false;
    std::ostream* target_ = nullptr;
    platform::Handle handle_ = platform::kNoHandle;
    std::string name_;
    std::unique_ptr<HandleBuf> buf_;
    std::unique_ptr<std::ostream> file_;
    std::string error_;
};

}  // namespace

std::unique_ptr<RowWriter> make_touchstone_writer(std::ostream& out, const Request& req) {
    return std::make_unique<TouchstoneWriter>(out, req);
}

}  // namespace ferravane::cli
