// The reader: loads a scanned file into the data set, refusing anything the scan's sizes
// do not allow (the file may have changed since), then runs the checks.

#include <cstdint>
#include <string>

#include "vector/field_reader.hpp"
#include "vector/file_bytes.hpp"
#include "vector/progress_text.hpp"
#include "vector/record_cursor.hpp"
#include "vector/vector_checks.hpp"
#include "vector/vector_file.hpp"

namespace el {
namespace {

std::string doesNotFitText(int object) {
    return "The " + strnum(object) + "th data of vector file does not match the scanned sizes";
}

class Reader {
public:
    Reader(VectorData& data, const std::string& missvalue, Feedback& feedback)
        : data_(data), sizes_(data.sizes), missvalue_(missvalue), feedback_(feedback) {}

    // Fills the data set; the message of the first problem on failure.
    std::optional<std::string> read(const std::filesystem::path& filename);

private:
    std::optional<std::string> readObject(vec::FieldReader& reader, int i, VectorObject& object);
    bool readNodes(vec::RecordCursor& record, int count, VectorPart& part);

    VectorData& data_;
    const VectorSizes sizes_;
    const std::string& missvalue_;
    Feedback& feedback_;
};

std::optional<std::string> Reader::read(const std::filesystem::path& filename) {
    if (sizes_.valn < 1 || sizes_.objn < 0 || sizes_.maxline < 3 || sizes_.maxpolygon < 0 || sizes_.maxnode < 0)
        return "The vector data set is not sized for this file";
    const auto bytes = vec::readWholeFile(filename);
    if (!bytes) return "Cannot open file: " + filename.string();
    vec::FieldReader reader(*bytes);

    data_.filetype = std::string(reader.next().value_or(""));
    data_.comment = std::string(reader.next().value_or(""));
    if (data_.filetype != "vector") return "Invalid file type";

    reader.skipRestOfLine();
    data_.valname = vec::splitFields(reader.readLine());
    if (static_cast<std::int64_t>(data_.valname.size()) != static_cast<std::int64_t>(sizes_.valn) + sizes_.maxline)
        return "The variable line of vector file does not match the scanned sizes";

    data_.objects.clear();
    // Every object takes at least one byte, so a larger count cannot come from this file.
    if (static_cast<std::size_t>(sizes_.objn) > reader.remainingBytes()) return doesNotFitText(1);
    data_.objects.resize(static_cast<std::size_t>(sizes_.objn));

    vec::ProgressLabel label(feedback_);
    for (int i = 1; i <= sizes_.objn; ++i) {
        label.show(vec::percentText(i, sizes_.objn));
        feedback_.checkpoint();
        if (auto problem = readObject(reader, i, data_.objects[static_cast<std::size_t>(i - 1)])) return problem;
        feedback_.progress(ProgressStage::ReadObjects, i, sizes_.objn);
    }
    if (!reader.onlyBlankLinesLeft()) return "The vector file holds more data than the scanned sizes";
    return std::nullopt;
}

bool Reader::readNodes(vec::RecordCursor& record, int count, VectorPart& part) {
    part.x.reserve(static_cast<std::size_t>(count));
    part.y.reserve(static_cast<std::size_t>(count));
    for (int k = 0; k < count; ++k) {
        const auto x = record.coordinate("x coordinate");
        if (!x) return false;
        const auto y = record.coordinate("y coordinate");
        if (!y) return false;
        part.x.push_back(*x);
        part.y.push_back(*y);
    }
    return true;
}

std::optional<std::string> Reader::readObject(vec::FieldReader& reader, int i, VectorObject& object) {
    vec::RecordCursor record(reader, i);
    object.values.reserve(static_cast<std::size_t>(sizes_.valn));
    for (int j = 0; j < sizes_.valn; ++j) {
        const auto value = record.text("value");
        if (!value) return record.error();
        object.values.emplace_back(value->empty() ? std::string_view(missvalue_) : *value);
    }
    const auto type = record.text("type");
    if (!type) return record.error();
    object.type = std::string(*type);
    const auto name = record.text("name");
    if (!name) return record.error();
    object.name = std::string(*name);

    if (object.type == "area" || object.type == "tree") {
        const auto parts = record.count("count", 2);
        if (!parts) return record.error();
        if (*parts > sizes_.maxpolygon) return doesNotFitText(i);
        object.parts.resize(static_cast<std::size_t>(*parts));
        std::int64_t width = 3;
        for (VectorPart& part : object.parts) {
            const auto label = record.text("part label");
            if (!label) return record.error();
            part.mergin = std::string(*label);
            const auto nodes = record.count("node count", 2);
            if (!nodes) return record.error();
            width += 2 + 2 * static_cast<std::int64_t>(*nodes);
            if (*nodes > sizes_.maxnode || width > sizes_.maxline) return doesNotFitText(i);
            if (!readNodes(record, *nodes, part)) return record.error();
        }
    } else if (object.type == "polygon" || object.type == "line") {
        const auto nodes = record.count("count", 2);
        if (!nodes) return record.error();
        if (sizes_.maxpolygon < 1 || *nodes > sizes_.maxnode || 2 * static_cast<std::int64_t>(*nodes) + 3 > sizes_.maxline)
            return doesNotFitText(i);
        object.parts.resize(1);
        object.parts[0].mergin = object.type == "polygon" ? "out" : "root";
        if (!readNodes(record, *nodes, object.parts[0])) return record.error();
    } else if (object.type == "point") {
        // One node whatever the count says; the count must still be a whole number.
        if (!record.count("count")) return record.error();
        if (sizes_.maxpolygon < 1 || sizes_.maxnode < 1 || sizes_.maxline < 5) return doesNotFitText(i);
        object.parts.resize(1);
        if (!readNodes(record, 1, object.parts[0])) return record.error();
    } else {
        return vec::badTypeText(i, object.type);
    }
    return std::nullopt;
}

}  // namespace

int VectorFileRead(const std::filesystem::path& filename, VectorData& data, const std::string& missvalue,
                   const ReadHooks& hooks) {
    if (const auto problem = Reader(data, missvalue, hooks.feedback).read(filename)) {
        hooks.messenger.message(*problem);
        // Leave nothing that could pass for a complete read.
        data.valname.clear();
        data.objects.clear();
        return 1;
    }
    vec::checkNamesAndBoundaries(data, hooks);
    return 0;
}

}  // namespace el
