#include "gis/geometry_shape.hpp"

#include <cmath>

#include "base/text.hpp"
#include "gis/gdal_session.hpp"
#include "gis/gis_error.hpp"

namespace el::gis {
namespace {

vec::VectorPart lineNodes(const OGRSimpleCurve& line, const std::string& label) {
    vec::VectorPart part;
    part.mergin = label;
    const int n = line.getNumPoints();
    part.x.reserve(static_cast<std::size_t>(n));
    part.y.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        part.x.push_back(line.getX(i));
        part.y.push_back(line.getY(i));
    }
    return part;
}

// A ring without its repeated closing node.
vec::VectorPart ringNodes(const OGRLinearRing& ring, const std::string& label) {
    vec::VectorPart part = lineNodes(ring, label);
    if (part.x.size() > 1 && part.x.front() == part.x.back() && part.y.front() == part.y.back()) {
        part.x.pop_back();
        part.y.pop_back();
    }
    return part;
}

void addPolygonRings(const OGRPolygon& polygon, std::vector<vec::VectorPart>& parts) {
    if (polygon.IsEmpty()) return;
    parts.push_back(ringNodes(*polygon.getExteriorRing(), "outer"));
    for (int r = 0; r < polygon.getNumInteriorRings(); ++r)
        if (!polygon.getInteriorRing(r)->IsEmpty()) parts.push_back(ringNodes(*polygon.getInteriorRing(r), "hole"));
}

VectorShape linearShape(const OGRGeometry& geometry) {
    if (geometry.IsEmpty()) throw GisError("the geometry is empty");
    const std::string kind = geometry.getGeometryName();
    switch (wkbFlatten(geometry.getGeometryType())) {
        case wkbPoint: {
            const auto& point = *geometry.toPoint();
            return {"point", {vec::VectorPart{"", {point.getX()}, {point.getY()}}}};
        }
        case wkbMultiPoint: {
            const auto& points = *geometry.toMultiPoint();
            if (points.getNumGeometries() != 1)
                throw GisError("a multipoint of " + std::to_string(points.getNumGeometries()) +
                               " points cannot be one region");
            return linearShape(*points.getGeometryRef(0));
        }
        case wkbLineString:
        case wkbLinearRing:
            return {"line", {lineNodes(*geometry.toSimpleCurve(), "root")}};
        case wkbMultiLineString: {
            VectorShape shape{"tree", {}};
            for (const OGRLineString* line : *geometry.toMultiLineString())
                if (!line->IsEmpty()) shape.parts.push_back(lineNodes(*line, "line"));
            return shape;
        }
        case wkbPolygon: {
            VectorShape shape{"area", {}};
            addPolygonRings(*geometry.toPolygon(), shape.parts);
            if (shape.parts.size() == 1) {
                shape.type = "polygon";
                shape.parts.front().mergin = "out";
            }
            return shape;
        }
        case wkbMultiPolygon: {
            VectorShape shape{"area", {}};
            for (const OGRPolygon* polygon : *geometry.toMultiPolygon()) addPolygonRings(*polygon, shape.parts);
            return shape;
        }
        default:
            throw GisError("a " + asciiLower(kind) + " has no vector file form");
    }
}

void addNodes(OGRSimpleCurve& line, const vec::VectorPart& part) {
    for (std::size_t k = 0; k < part.x.size(); ++k) line.addPoint(part.x[k], part.y[k]);
}

std::unique_ptr<OGRLinearRing> closedRing(const vec::VectorPart& part) {
    auto ring = std::make_unique<OGRLinearRing>();
    addNodes(*ring, part);
    ring->closeRings();
    return ring;
}

bool isHole(const std::string& label) { return asciiLower(label) == "hole"; }

// A coordinate that is not a finite number would make the vector file unreadable.
void requireFiniteNodes(const VectorShape& shape) {
    for (const vec::VectorPart& part : shape.parts)
        for (std::size_t k = 0; k < part.x.size(); ++k)
            if (!std::isfinite(part.x[k]) || !std::isfinite(part.y[k]))
                throw GisError("a coordinate is not a finite number");
}

}  // namespace

VectorShape shapeOf(const OGRGeometry& geometry) {
    if (geometry.hasCurveGeometry()) {
        std::unique_ptr<OGRGeometry> linear(geometry.getLinearGeometry());
        if (!linear) throw GisError("a curved geometry could not be approximated by lines");
        return shapeOf(*linear);
    }
    VectorShape shape = linearShape(geometry);
    if (shape.parts.empty()) throw GisError("the geometry is empty");
    requireFiniteNodes(shape);
    return shape;
}

std::unique_ptr<OGRGeometry> geometryOf(const vec::VectorObject& object) {
    const auto& parts = object.parts;
    if (parts.empty() || parts.front().x.empty())
        throw GisError("object \"" + object.name + "\" has no nodes");
    const vec::VectorPart& first = parts.front();
    if (object.type == "point") return std::make_unique<OGRPoint>(first.x.front(), first.y.front());
    if (object.type == "line") {
        auto line = std::make_unique<OGRLineString>();
        addNodes(*line, first);
        return line;
    }
    if (object.type == "polygon") {
        auto polygon = std::make_unique<OGRPolygon>();
        polygon->addRingDirectly(closedRing(first).release());
        return polygon;
    }
    if (object.type == "tree") {
        auto lines = std::make_unique<OGRMultiLineString>();
        for (const vec::VectorPart& part : parts) {
            auto line = std::make_unique<OGRLineString>();
            addNodes(*line, part);
            lines->addGeometryDirectly(line.release());
        }
        return lines;
    }
    if (object.type == "area") {
        auto polygons = std::make_unique<OGRMultiPolygon>();
        std::unique_ptr<OGRPolygon> current;
        for (const vec::VectorPart& part : parts) {
            if (!(isHole(part.mergin) && current)) {
                if (current) polygons->addGeometryDirectly(current.release());
                current = std::make_unique<OGRPolygon>();
            }
            current->addRingDirectly(closedRing(part).release());
        }
        if (current) polygons->addGeometryDirectly(current.release());
        return polygons;
    }
    throw GisError("object \"" + object.name + "\" has the unknown type \"" + object.type + "\"");
}

OGRwkbGeometryType commonLayerType(const std::vector<OGRwkbGeometryType>& types) {
    if (types.empty()) return wkbUnknown;
    bool same = true;
    for (const auto type : types) same = same && type == types.front();
    if (same) return types.front();
    auto allOf = [&](OGRwkbGeometryType single, OGRwkbGeometryType multi) {
        for (const auto type : types)
            if (type != single && type != multi) return false;
        return true;
    };
    if (allOf(wkbPolygon, wkbMultiPolygon)) return wkbMultiPolygon;
    if (allOf(wkbLineString, wkbMultiLineString)) return wkbMultiLineString;
    if (allOf(wkbPoint, wkbMultiPoint)) return wkbMultiPoint;
    return wkbUnknown;
}

}  // namespace el::gis
