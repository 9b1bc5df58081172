#include "vector/record_layout.hpp"

#include <algorithm>

#include "vector/record_cursor.hpp"

namespace el::vec {
namespace {

using Kind = RecordFault::Kind;

std::optional<RecordFault> walkPart(RecordCursor& record, std::string_view label, int nodes, std::int64_t width,
                                    RecordVisitor& visitor) {
    if (auto refusal = visitor.part(label, nodes, width)) return RecordFault{Kind::Refused, std::move(*refusal)};
    for (int k = 0; k < nodes; ++k) {
        const auto x = record.coordinate("x coordinate");
        if (!x) return RecordFault{Kind::Field, record.error()};
        const auto y = record.coordinate("y coordinate");
        if (!y) return RecordFault{Kind::Field, record.error()};
        visitor.node(*x, *y);
    }
    return std::nullopt;
}

std::optional<RecordFault> walkParts(RecordCursor& record, int parts, RecordVisitor& visitor) {
    std::int64_t width = 3;
    for (int p = 0; p < parts; ++p) {
        const auto label = record.text("part label");
        if (!label) return RecordFault{Kind::Field, record.error()};
        const auto nodes = record.count("node count", 2);
        if (!nodes) return RecordFault{Kind::Field, record.error()};
        width += 2 + 2 * static_cast<std::int64_t>(*nodes);
        if (auto fault = walkPart(record, *label, *nodes, width, visitor)) return fault;
    }
    return std::nullopt;
}

}  // namespace

Shape shapeOf(std::string_view type) {
    if (type == "point" || type == "line" || type == "polygon") return Shape::Nodes;
    if (type == "area" || type == "tree") return Shape::Parts;
    return Shape::Unknown;
}

std::string_view implicitPartLabel(std::string_view type) {
    if (type == "polygon") return "out";
    if (type == "line") return "root";
    return "";
}

std::int64_t recordWidth(const VectorObject& object) {
    if (shapeOf(object.type) == Shape::Parts) {
        std::int64_t width = 3;
        for (const VectorPart& part : object.parts) width += 2 + 2 * static_cast<std::int64_t>(part.polygonnode());
        return width;
    }
    return 3 + 2 * static_cast<std::int64_t>(object.parts.empty() ? 0 : object.parts.front().polygonnode());
}

void completeLayout(VectorData& data) {
    VectorSizes& sizes = data.sizes;
    for (const VectorObject& object : data.objects) {
        sizes.maxline = std::max(sizes.maxline, static_cast<int>(recordWidth(object)));
        sizes.maxpolygon = std::max(sizes.maxpolygon, object.noden());
        for (const VectorPart& part : object.parts) sizes.maxnode = std::max(sizes.maxnode, part.polygonnode());
    }
    sizes.objn = static_cast<int>(data.objects.size());
    data.valname.insert(data.valname.end(), {"type$", "name$", "count"});
    for (int k = 1; k <= (sizes.maxline - 3) / 2; ++k) {
        // Appended, not "x" + text: GCC 12 at -O2 takes "text" + temporary for an overlapping copy (-Wrestrict).
        const std::string number = std::to_string(k);
        data.valname.push_back(std::string("x").append(number));
        data.valname.push_back(std::string("y").append(number));
    }
}

FileHead readHead(FieldReader& reader) {
    FileHead head;
    head.filetype = std::string(reader.next().value_or(""));
    head.comment = std::string(reader.next().value_or(""));
    reader.skipRestOfLine();
    head.variableLine = reader.readLine();
    return head;
}

std::optional<RecordFault> walkRecord(FieldReader& reader, int object, int valn, PointNodes points,
                                      RecordVisitor& visitor) {
    RecordCursor record(reader, object);
    for (int j = 0; j < valn; ++j) {
        const auto value = record.text("value");
        if (!value) return RecordFault{Kind::Field, record.error()};
        visitor.value(*value);
    }
    const auto type = record.text("type");
    if (!type) return RecordFault{Kind::Field, record.error()};
    const auto name = record.text("name");
    if (!name) return RecordFault{Kind::Field, record.error()};
    const Shape shape = shapeOf(*type);
    // A count of nodes or parts must leave room for two fields each in the rest of the file.
    const auto count = record.count("count", shape == Shape::Unknown ? 0 : 2);
    if (!count) return RecordFault{Kind::Field, record.error()};
    const int parts = shape == Shape::Parts ? *count : shape == Shape::Nodes ? 1 : 0;
    if (auto refusal = visitor.head(*type, *name, *count, shape, parts))
        return RecordFault{Kind::Refused, std::move(*refusal)};

    switch (shape) {
        case Shape::Nodes: {
            const int nodes = points == PointNodes::One && *type == "point" ? 1 : *count;
            return walkPart(record, implicitPartLabel(*type), nodes, 3 + 2 * static_cast<std::int64_t>(nodes), visitor);
        }
        case Shape::Parts:
            return walkParts(record, *count, visitor);
        case Shape::Unknown:
            break;
    }
    return RecordFault{Kind::BadType, badTypeText(object, *type)};
}

}  // namespace el::vec
