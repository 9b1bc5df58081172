// The validating scan: measures a normalised vector file without storing its objects and
// traces every step in "VectorFileSize.log", which is kept only when the scan fails.

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <limits>
#include <string>

#include "base/numtext.hpp"
#include "base/text.hpp"
#include "vector/field_reader.hpp"
#include "vector/file_bytes.hpp"
#include "vector/record_cursor.hpp"
#include "vector/vector_file.hpp"

namespace el {
namespace {

constexpr const char* kSideLog = "VectorFileSize.log";
constexpr const char* kVariableLineCopy = "temp4.tmp";


int clampToInt(std::int64_t value) {
    return static_cast<int>(std::min<std::int64_t>(value, std::numeric_limits<int>::max()));
}

class Scan {
public:
    Scan(const std::filesystem::path& filename, Messenger& messenger, Feedback& feedback)
        : filename_(filename), messenger_(messenger), feedback_(feedback), log_(kSideLog) {}

    int run(VectorSizes& sizes) {
        int erf = 1;
        try {
            erf = scan();
        } catch (const Cancelled&) {
            // A scan stopped by the user did not fail: its half-written trace goes.
            log_.close();
            vec::removeFile(kSideLog);
            throw;
        }
        sizes.valn = clampToInt(valn_);
        sizes.objn = objn_;
        sizes.maxline = clampToInt(maxline_);
        sizes.maxpolygon = clampToInt(maxpolygon_);
        sizes.maxnode = clampToInt(maxnode_);
        return erf;
    }

private:
    int scan();
    int scanVariableLine(vec::FieldReader& reader);
    int scanRecords(vec::FieldReader& reader);

    int fail(const std::string& message, const std::string& logLine) {
        messenger_.message(message);
        log_.writeLine(logLine);
        log_.close();
        return 1;
    }
    int failRecord(const std::string& text) { return fail(text, printed(objn_) + text); }

    const std::filesystem::path& filename_;
    Messenger& messenger_;
    Feedback& feedback_;
    vec::LineWriter log_;
    std::int64_t c_ = 0;
    std::int64_t valn_ = 0;
    int objn_ = 0;
    std::int64_t maxline_ = 3;
    std::int64_t maxpolygon_ = 0;
    std::int64_t maxnode_ = 0;
};

int Scan::scan() {
    if (!log_.isOpen()) {
        messenger_.message(std::string("Cannot create file: ") + kSideLog);
        return 1;
    }
    log_.writeLine("Filename: " + filename_.string());

    const auto bytes = vec::readWholeFile(filename_);
    if (!bytes) return fail("Cannot open file: " + filename_.string(), "Cannot open file");
    vec::FieldReader reader(*bytes);

    // A file too short to hold them gives empty texts, which the type test refuses.
    const std::string filetype(reader.next().value_or(""));
    const std::string comment(reader.next().value_or(""));
    log_.writeLine("File type: " + filetype);
    log_.writeLine("Comment: " + comment);
    if (filetype != "vector") return fail("Invalid file type", "Invalid file type");

    if (scanVariableLine(reader) != 0) return 1;
    log_.writeLine("Number of variables: " + printed(static_cast<double>(valn_)));
    if (valn_ == 0) return fail("Require at least one variable", "Require at least one variable");

    if (scanRecords(reader) != 0) return 1;

    const std::int64_t required = valn_ + maxline_;
    log_.writeLine("Total number of variables (ordinal, structural and coordinate): " +
                   printed(static_cast<double>(c_)));
    log_.writeLine("Required number of variables (ordinal, structural and coordinate): " +
                   printed(static_cast<double>(required)));
    if (c_ == required) {
        log_.close();
        vec::removeFile(kSideLog);
        return 0;
    }
    return failRecord("Incorrect total number of variables (ordinal, structural and coordinate)" +
                      strnum(static_cast<double>(required)) + "個必要です");
}

// Counts the names of the variable line, read back from a lowered copy so that
// "type$" and "name$" are found in any letter case.
int Scan::scanVariableLine(vec::FieldReader& reader) {
    reader.skipRestOfLine();
    vec::LineWriter copy(kVariableLineCopy);
    copy.writeLine(asciiLower(reader.readLine()));
    if (!copy.close()) return fail(std::string("Cannot write file: ") + kVariableLineCopy, "Cannot write file");
    const auto line = vec::readWholeFile(kVariableLineCopy);
    if (!line) return fail(std::string("Cannot open file: ") + kVariableLineCopy, "Cannot open file");

    vec::FieldReader names(*line);
    while (const auto field = names.next()) {
        ++c_;
        log_.writeLine(printed(static_cast<double>(c_)) + "th valiable: " + std::string(*field));
        if (*field != "type$") continue;
        valn_ = c_ - 1;
        // Only the names that are there are counted, so a line cut short after
        // "type$" fails the name test or the total instead of reading past its end.
        const auto a = names.next();
        const auto b = a ? names.next() : std::nullopt;
        c_ += (a ? 1 : 0) + (b ? 1 : 0);
        log_.writeLine("Structural variable name: type$," + std::string(a.value_or("")) + "," +
                       std::string(b.value_or("")));
        if (!a || a->find("name$") == std::string_view::npos)
            return fail("Bad variable name", "Bad structural variable name");
    }
    vec::removeFile(kVariableLineCopy);
    return 0;
}

int Scan::scanRecords(vec::FieldReader& reader) {
    while (!reader.onlyBlankLinesLeft()) {
        feedback_.checkpoint();
        ++objn_;
        vec::RecordCursor record(reader, objn_);
        for (std::int64_t j = 0; j < valn_; ++j)
            if (!record.text("value")) return failRecord(record.error());
        const auto typeField = record.text("type");
        if (!typeField) return failRecord(record.error());
        const std::string type(*typeField);
        const auto nameField = record.text("name");
        if (!nameField) return failRecord(record.error());
        const std::string name(*nameField);

        const bool nodeType = type == "point" || type == "line" || type == "polygon";
        const bool partType = type == "area" || type == "tree";
        const auto n = record.count("count", nodeType || partType ? 2 : 0);
        if (!n) return failRecord(record.error());
        log_.writeLine(printed(objn_) + "th object Type:" + type + "  Name:" + name + " Number of nodes:" +
                       printed(*n));

        if (nodeType) {
            maxpolygon_ = std::max<std::int64_t>(maxpolygon_, 1);
            maxnode_ = std::max<std::int64_t>(maxnode_, *n);
            maxline_ = std::max<std::int64_t>(maxline_, 2 * static_cast<std::int64_t>(*n) + 3);
            for (int k = 0; k < *n; ++k)
                if (!record.coordinate("x coordinate") || !record.coordinate("y coordinate"))
                    return failRecord(record.error());
        } else if (partType) {
            std::int64_t width = 3;
            maxpolygon_ = std::max<std::int64_t>(maxpolygon_, *n);
            for (int p = 0; p < *n; ++p) {
                width += 2;
                if (!record.text("part label")) return failRecord(record.error());
                const auto nodes = record.count("node count", 2);
                if (!nodes) return failRecord(record.error());
                maxnode_ = std::max<std::int64_t>(maxnode_, *nodes);
                for (int k = 0; k < *nodes; ++k) {
                    width += 2;
                    if (!record.coordinate("x coordinate") || !record.coordinate("y coordinate"))
                        return failRecord(record.error());
                }
            }
            maxline_ = std::max(maxline_, width);
        } else {
            return fail(vec::badTypeText(objn_, type), printed(objn_) + "th data was bad");
        }
    }
    return 0;
}

}  // namespace

int VectorFileSize(const std::filesystem::path& filename, VectorSizes& sizes, Messenger& messenger,
                   Feedback& feedback) {
    return Scan(filename, messenger, feedback).run(sizes);
}

}  // namespace el
