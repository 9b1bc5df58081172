#include "vector/layer_regions.hpp"

#include <algorithm>

#include "vector/records_error.hpp"

namespace el::vec {
namespace {

std::string counted(std::int64_t count, const std::string& one, const std::string& several) {
    return std::to_string(count) + " " + (count == 1 ? one : several);
}

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

enum class Kind { Surface, Line, Other };

Kind kindOf(const std::string& type) {
    if (type == "polygon" || type == "area") return Kind::Surface;
    if (type == "line" || type == "tree") return Kind::Line;
    return Kind::Other;
}

// The parts of `shape` as the joined region labels them.
void addParts(std::vector<VectorPart>& into, const RegionShape& shape) {
    for (VectorPart part : shape.parts) {
        if (shape.type == "polygon") part.mergin = "outer";
        if (shape.type == "line") part.mergin = "line";
        into.push_back(std::move(part));
    }
}

}  // namespace

std::string layerNote(const LayerCounts& counts) {
    std::string note;
    if (counts.featuresWithoutKey > 0)
        note += "; " + counted(counts.featuresWithoutKey, "feature", "features") +
                " of the regions layer with an empty " + quoted(counts.keyField) + " left out";
    if (counts.featuresWithoutGeometry > 0)
        note += "; " + counted(counts.featuresWithoutGeometry, "feature", "features") +
                " of the regions layer without geometry left out";
    if (!counts.sharedKeys.empty()) {
        note += "; " + std::to_string(counts.featuresJoined) + " features of the regions layer joined into " +
                counted(static_cast<std::int64_t>(counts.sharedKeys.size()), "region", "regions") +
                " by their shared " + quoted(counts.keyField) + ": ";
        constexpr std::size_t kShown = 5;
        for (std::size_t i = 0; i < std::min(kShown, counts.sharedKeys.size()); ++i)
            note += (i == 0 ? "" : ", ") + quoted(counts.sharedKeys[i]);
        if (counts.sharedKeys.size() > kShown)
            note += " and " + std::to_string(counts.sharedKeys.size() - kShown) + " more";
    }
    return note;
}

RegionShape joinedShape(const RegionShape& joined, const RegionShape& piece, const std::string& what) {
    const Kind kind = kindOf(joined.type);
    if (kind == Kind::Other || kindOf(piece.type) != kind)
        throw RecordsError(what + " is shared by features whose geometries cannot make one region (" + joined.type +
                           " and " + piece.type + "): only polygons, or only lines, join into one region");
    RegionShape out{kind == Kind::Surface ? "area" : "tree", {}};
    addParts(out.parts, joined);
    addParts(out.parts, piece);
    return out;
}

}  // namespace el::vec
