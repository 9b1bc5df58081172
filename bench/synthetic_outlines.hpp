#pragma once
// Country-like outlines and an occurrence download over them, written to files for the
// occurrence benchmark: a grid of irregular polygons of many nodes each, some with an
// island part, one whose ring crosses the antimeridian; points spread over the globe.

#include <filesystem>

namespace el::bench {

struct OutlineGrid {
    int columns = 20;
    int rows = 15;
    int nodesPerRing = 400;
};

// Writes the outlines as a GeoPackage layer "countries" keyed by the field "name".
void writeOutlines(const std::filesystem::path& file, const OutlineGrid& grid);

// Writes `points` occurrence lines (gbifID, species, decimalLongitude, decimalLatitude,
// eventDate, year), the same for every call.
void writeOccurrences(const std::filesystem::path& file, long long points);

}  // namespace el::bench
