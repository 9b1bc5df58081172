#pragma once
// The layout of a vector file, described once: the head (file type, comment, variable
// line) and the object record (values, type, name, count, then the geometry its type
// calls for). The scan and the reader both walk records with walkRecord() and differ only
// in what they do with each piece, which they say through a RecordVisitor.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "vector/field_reader.hpp"
#include "vector/vector_data.hpp"

namespace el::vec {

// What follows the count of a record, by its type keyword (compared exactly).
enum class Shape {
    Nodes,    // "point", "line", "polygon": one part of nodes
    Parts,    // "area", "tree": the count says how many labelled parts follow
    Unknown,  // anything else: the record is bad
};
Shape shapeOf(std::string_view type);

// The label a part of a point, line or polygon takes, which the file does not hold:
// "out" for a polygon, "root" for a line, "" for a point.
std::string_view implicitPartLabel(std::string_view type);

// Fields after the ordinal values that the object takes in a record.
std::int64_t recordWidth(const VectorObject& object);

// Completes a data set built from its objects (a GIS layer, an R data frame): objn,
// maxline, maxpolygon and maxnode from the objects, and the structural names "type$",
// "name$", "count", x1, y1 ... appended to the variable names.
void completeLayout(VectorData& data);

// The first two fields and the raw variable line (the line after the one on which the
// comment ended). Missing fields give empty texts, which the type test refuses.
struct FileHead {
    std::string filetype;
    std::string comment;
    std::string_view variableLine;  // points into the reader's bytes
};
FileHead readHead(FieldReader& reader);

// How many nodes a point record holds: as many as its count says (the scan measures the
// file that way), or exactly one whatever its count (the reader loads it that way).
enum class PointNodes { AsCounted, One };

class RecordVisitor {
public:
    virtual ~RecordVisitor() = default;
    // A returned text stops the walk with that message.
    using Verdict = std::optional<std::string>;

    virtual void value(std::string_view /*text*/) {}
    // After the count; `parts` is the count for an area or tree and 1 otherwise.
    virtual Verdict head(std::string_view /*type*/, std::string_view /*name*/, int /*count*/, Shape /*shape*/,
                         int /*parts*/) {
        return std::nullopt;
    }
    // Before the nodes of each part; `width` counts the record's fields up to this part's
    // last node.
    virtual Verdict part(std::string_view /*label*/, int /*nodes*/, std::int64_t /*width*/) { return std::nullopt; }
    virtual void node(double /*x*/, double /*y*/) {}
};

struct RecordFault {
    enum class Kind {
        Field,    // cut short, or a count or coordinate that is no number
        BadType,  // a type keyword the format does not know
        Refused,  // the visitor said no
    };
    Kind kind;
    std::string message;
};

// Walks the record of object number `object` (1-based, for messages) with `valn` values.
// Nothing on success; the first fault otherwise.
std::optional<RecordFault> walkRecord(FieldReader& reader, int object, int valn, PointNodes points,
                                      RecordVisitor& visitor);

}  // namespace el::vec
