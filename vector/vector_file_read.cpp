// The reader: loads scanned vector file text into the data set, refusing anything the
// scan's sizes do not allow, then runs the checks.

#include <cstdint>
#include <string>

#include "vector/field_reader.hpp"
#include "vector/progress_text.hpp"
#include "vector/record_layout.hpp"
#include "vector/vector_checks.hpp"
#include "vector/vector_file.hpp"

namespace el::vec {
namespace {

std::string doesNotFitText(int object) {
    return "The " + strnum(object) + "th data of vector file does not match the scanned sizes";
}

// Fills one object from its record, within the sizes.
class ObjectFiller : public vec::RecordVisitor {
public:
    ObjectFiller(VectorObject& object, int number, const VectorSizes& sizes, const std::string& missvalue)
        : object_(object), number_(number), sizes_(sizes), missvalue_(missvalue) {
        object_.values.reserve(static_cast<std::size_t>(sizes.valn));
    }

    void value(std::string_view text) override {
        object_.values.emplace_back(text.empty() ? std::string_view(missvalue_) : text);
    }
    Verdict head(std::string_view type, std::string_view name, int, vec::Shape, int parts) override {
        object_.type = std::string(type);
        object_.name = std::string(name);
        if (parts > sizes_.maxpolygon) return doesNotFitText(number_);
        object_.parts.reserve(static_cast<std::size_t>(parts));
        return std::nullopt;
    }
    Verdict part(std::string_view label, int nodes, std::int64_t width) override {
        if (nodes > sizes_.maxnode || width > sizes_.maxline) return doesNotFitText(number_);
        VectorPart& part = object_.parts.emplace_back();
        part.mergin = std::string(label);
        part.x.reserve(static_cast<std::size_t>(nodes));
        part.y.reserve(static_cast<std::size_t>(nodes));
        return std::nullopt;
    }
    void node(double x, double y) override {
        object_.parts.back().x.push_back(x);
        object_.parts.back().y.push_back(y);
    }

private:
    VectorObject& object_;
    const int number_;
    const VectorSizes& sizes_;
    const std::string& missvalue_;
};

// Fills the data set; the message of the first problem on failure.
std::optional<std::string> readInto(std::string_view text, VectorData& data, const std::string& missvalue,
                                    Feedback& feedback) {
    const VectorSizes sizes = data.sizes;
    if (sizes.valn < 1 || sizes.objn < 0 || sizes.maxline < 3 || sizes.maxpolygon < 0 || sizes.maxnode < 0)
        return "The vector data set is not sized for this file";
    vec::FieldReader reader(text);
    const vec::FileHead head = vec::readHead(reader);
    data.filetype = head.filetype;
    data.comment = head.comment;
    if (data.filetype != "vector") return "Invalid file type";

    data.valname = vec::splitFields(head.variableLine);
    if (static_cast<std::int64_t>(data.valname.size()) != static_cast<std::int64_t>(sizes.valn) + sizes.maxline)
        return "The variable line of vector file does not match the scanned sizes";

    data.objects.clear();
    // Every object takes at least one byte, so a larger count cannot come from this text.
    if (static_cast<std::size_t>(sizes.objn) > reader.remainingBytes()) return doesNotFitText(1);
    data.objects.resize(static_cast<std::size_t>(sizes.objn));

    vec::ProgressLabel label(feedback);
    for (int i = 1; i <= sizes.objn; ++i) {
        label.show(vec::percentText(i, sizes.objn));
        feedback.checkpoint();
        ObjectFiller filler(data.objects[static_cast<std::size_t>(i - 1)], i, sizes, missvalue);
        if (auto fault = vec::walkRecord(reader, i, sizes.valn, vec::PointNodes::One, filler))
            return std::move(fault->message);
        feedback.progress(ProgressStage::ReadObjects, i, sizes.objn);
    }
    if (!reader.onlyBlankLinesLeft()) return "The vector file holds more data than the scanned sizes";
    return std::nullopt;
}

}  // namespace

int VectorFileRead(std::string_view text, VectorData& data, const std::string& missvalue, const ReadHooks& hooks) {
    if (const auto problem = readInto(text, data, missvalue, hooks.feedback)) {
        hooks.messenger.message(*problem);
        // Leave nothing that could pass for a complete read.
        data.valname.clear();
        data.objects.clear();
        return 1;
    }
    vec::checkNamesAndBoundaries(data, hooks);
    return 0;
}

}  // namespace el::vec
