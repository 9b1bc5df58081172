#include "gis/region_parts.hpp"

#include "gis/gis_error.hpp"

namespace el::gis {
namespace {

enum class Kind { Surface, Curve, Other };

Kind kindOf(const OGRGeometry& geometry) {
    const OGRwkbGeometryType type = wkbFlatten(geometry.getGeometryType());
    if (OGR_GT_IsSubClassOf(type, wkbCurvePolygon) || OGR_GT_IsSubClassOf(type, wkbMultiSurface)) return Kind::Surface;
    if (OGR_GT_IsSubClassOf(type, wkbCurve) || OGR_GT_IsSubClassOf(type, wkbMultiCurve)) return Kind::Curve;
    return Kind::Other;
}

std::unique_ptr<OGRGeometry> linear(const OGRGeometry& geometry) {
    return std::unique_ptr<OGRGeometry>(geometry.hasCurveGeometry() ? geometry.getLinearGeometry() : geometry.clone());
}

// Adds the polygons (or line strings) of `piece` to `into`, one by one.
void addParts(OGRGeometryCollection& into, const OGRGeometry& piece) {
    const std::unique_ptr<OGRGeometry> flat = linear(piece);
    if (OGR_GT_IsSubClassOf(wkbFlatten(flat->getGeometryType()), wkbGeometryCollection)) {
        for (const OGRGeometry* part : *flat->toGeometryCollection())
            if (!part->IsEmpty()) into.addGeometry(part);
    } else {
        into.addGeometry(flat.get());
    }
}

}  // namespace

std::unique_ptr<OGRGeometry> joinedGeometry(std::vector<std::unique_ptr<OGRGeometry>> pieces, const std::string& what) {
    if (pieces.empty()) throw GisError(what + " has no geometry");
    if (pieces.size() == 1) return std::move(pieces.front());
    const Kind kind = kindOf(*pieces.front());
    for (const auto& piece : pieces)
        if (kindOf(*piece) != kind || kind == Kind::Other)
            throw GisError(what + " is shared by features whose geometries cannot make one region (" +
                           OGRGeometryTypeToName(pieces.front()->getGeometryType()) + " and " +
                           OGRGeometryTypeToName(piece->getGeometryType()) +
                           "): only polygons, or only lines, join into one region");
    std::unique_ptr<OGRGeometryCollection> joined;
    if (kind == Kind::Surface) joined = std::make_unique<OGRMultiPolygon>();
    else joined = std::make_unique<OGRMultiLineString>();
    for (const auto& piece : pieces) addParts(*joined, *piece);
    return joined;
}

}  // namespace el::gis
