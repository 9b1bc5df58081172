// The validating scan: measures normalised vector file text without storing its objects.
// A scan that fails is run once more with its trace on, and the trace of every step up to
// the failure is written to the side log; a sound scan, the common case, keeps no trace.

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <system_error>

#include "base/file_replace.hpp"
#include "base/numtext.hpp"
#include "base/text.hpp"
#include "vector/field_reader.hpp"
#include "vector/record_layout.hpp"
#include "vector/vector_file.hpp"

namespace el::vec {
namespace {

int clampToInt(std::int64_t value) {
    return static_cast<int>(std::min<std::int64_t>(value, std::numeric_limits<int>::max()));
}

class Scan : private vec::RecordVisitor {
public:
    // `traced`: the side log's lines are kept (log()).
    Scan(std::string_view scannedName, Messenger& messenger, Feedback& feedback, bool traced)
        : messenger_(messenger), feedback_(feedback), traced_(traced) {
        trace("Filename: " + std::string(scannedName));
    }

    int run(std::string_view text);
    void report(VectorSizes& sizes) const {
        sizes.valn = clampToInt(valn_);
        sizes.objn = objn_;
        sizes.maxline = clampToInt(maxline_);
        sizes.maxpolygon = clampToInt(maxpolygon_);
        sizes.maxnode = clampToInt(maxnode_);
    }
    // The side log's lines, each ended CR LF.
    const std::string& log() const { return log_; }

private:
    int scanVariableLine(std::string_view line);
    int scanRecords(vec::FieldReader& reader);

    Verdict head(std::string_view type, std::string_view name, int count, vec::Shape shape, int parts) override {
        if (traced_)
            trace(printed(objn_) + "th object Type:" + std::string(type) + "  Name:" + std::string(name) +
                  " Number of nodes:" + printed(count));
        maxpolygon_ = std::max<std::int64_t>(maxpolygon_, parts);
        shape_ = shape;
        width_ = 3;
        return std::nullopt;
    }
    // A point, line or polygon counts its width at once, an area or tree once it is whole.
    Verdict part(std::string_view, int nodes, std::int64_t width) override {
        maxnode_ = std::max<std::int64_t>(maxnode_, nodes);
        width_ = width;
        if (shape_ == vec::Shape::Nodes) maxline_ = std::max(maxline_, width);
        return std::nullopt;
    }

    void trace(const std::string& line) {
        if (!traced_) return;
        log_ += line;
        log_ += "\r\n";
    }
    int fail(const std::string& message, const std::string& logLine) {
        messenger_.message(message);
        trace(logLine);
        return 1;
    }
    int failRecord(const std::string& text) { return fail(text, printed(objn_) + text); }

    Messenger& messenger_;
    Feedback& feedback_;
    const bool traced_;
    std::string log_;
    std::int64_t c_ = 0;
    std::int64_t valn_ = 0;
    int objn_ = 0;
    std::int64_t maxline_ = 3;
    std::int64_t maxpolygon_ = 0;
    std::int64_t maxnode_ = 0;
    vec::Shape shape_ = vec::Shape::Unknown;  // of the record being scanned
    std::int64_t width_ = 3;
};

int Scan::run(std::string_view text) {
    vec::FieldReader reader(text);
    const vec::FileHead head = vec::readHead(reader);
    trace("File type: " + head.filetype);
    trace("Comment: " + head.comment);
    if (head.filetype != "vector") return fail("Invalid file type", "Invalid file type");

    if (scanVariableLine(head.variableLine) != 0) return 1;
    trace("Number of variables: " + printed(static_cast<double>(valn_)));
    if (valn_ == 0) return fail("Require at least one variable", "Require at least one variable");

    if (scanRecords(reader) != 0) return 1;

    const std::int64_t required = valn_ + maxline_;
    trace("Total number of variables (ordinal, structural and coordinate): " +
                   printed(static_cast<double>(c_)));
    trace("Required number of variables (ordinal, structural and coordinate): " +
                   printed(static_cast<double>(required)));
    if (c_ == required) return 0;
    return failRecord("Incorrect total number of variables (ordinal, structural and coordinate)" +
                      strnum(static_cast<double>(required)) + "個必要です");
}

// Counts the names of the variable line, lowered so that "type$" and "name$" are found in
// any letter case. The line is taken with its line end, as a line of its own would be read.
int Scan::scanVariableLine(std::string_view line) {
    const std::string lowered = asciiLower(line) + "\r\n";
    vec::FieldReader names(lowered);
    while (const auto field = names.next()) {
        ++c_;
        trace(printed(static_cast<double>(c_)) + "th valiable: " + std::string(*field));
        if (*field != "type$") continue;
        valn_ = c_ - 1;
        // Only the names that are there are counted, so a line cut short after
        // "type$" fails the name test or the total instead of reading past its end.
        const auto a = names.next();
        const auto b = a ? names.next() : std::nullopt;
        c_ += (a ? 1 : 0) + (b ? 1 : 0);
        trace("Structural variable name: type$," + std::string(a.value_or("")) + "," +
                       std::string(b.value_or("")));
        if (!a || a->find("name$") == std::string_view::npos)
            return fail("Bad variable name", "Bad structural variable name");
    }
    return 0;
}

int Scan::scanRecords(vec::FieldReader& reader) {
    const int valn = clampToInt(valn_);
    while (!reader.onlyBlankLinesLeft()) {
        feedback_.checkpoint();
        ++objn_;
        const auto fault = vec::walkRecord(reader, objn_, valn, vec::PointNodes::AsCounted, *this);
        if (!fault) {
            maxline_ = std::max(maxline_, width_);
            continue;
        }
        if (fault->kind == vec::RecordFault::Kind::BadType)
            return fail(fault->message, printed(objn_) + "th data was bad");
        return failRecord(fault->message);
    }
    return 0;
}

// Messages of a scan run again only for its trace were shown the first time.
class Unheard : public Messenger {
public:
    void message(const std::string&) override {}
};

void writeSideLog(const std::filesystem::path& file, std::string_view text, std::string_view scannedName,
                  Messenger& messenger) {
    Unheard unheard;
    Feedback unwatched;  // the same work as the scan that failed, without its yields
    Scan traced(scannedName, unheard, unwatched, true);
    traced.run(text);
    if (replaceFile(file, traced.log())) messenger.message("Cannot write file: " + file.string());
}

// The side log tells of the last scan only: one that did not fail leaves none behind.
void dropSideLog(const std::filesystem::path& file) {
    std::error_code ignored;  // a log that cannot be removed is left, as any file the user keeps
    if (!file.empty()) std::filesystem::remove(file, ignored);
}

}  // namespace

int VectorFileSize(std::string_view text, VectorSizes& sizes, Messenger& messenger, Feedback& feedback,
                   std::string_view scannedName, const std::filesystem::path& sideLog) {
    Scan scan(scannedName, messenger, feedback, false);
    int erf = 1;
    try {
        erf = scan.run(text);
    } catch (const Cancelled&) {
        dropSideLog(sideLog);  // a stopped scan did not fail
        throw;
    }
    scan.report(sizes);
    if (erf == 0)
        dropSideLog(sideLog);
    else if (!sideLog.empty())
        writeSideLog(sideLog, text, scannedName, messenger);
    return erf;
}

}  // namespace el::vec
