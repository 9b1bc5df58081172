#pragma once
// The fuzz entry of the occurrence reader: bytes read as an occurrence download, every line
// a point or counted for the one reason it is not. A refusal (a column not found, a line the
// reader cannot read) is a fine answer. Header-only, shared with the corpus replay.

#include <memory>
#include <string_view>

#include "fuzz/fuzz_require.hpp"
#include "gis/gis_error.hpp"
#include "gis/occurrence_points.hpp"
#include "vector/download_lines.hpp"
#include "vector/records_error.hpp"

namespace el::fuzz {

inline int occurrencesOnBytes(std::string_view bytes) {
    try {
        vec::DownloadLines lines(std::make_unique<vec::MemoryBytes>(bytes), gis::occurrenceFormat("auto"));
        gis::OccurrenceResult result;
        gis::OccurrenceReader reader(lines.headers(), {}, lines.delimiter(), result,
                                     {.keepSpecimens = bytes.size() % 2 == 0});
        std::int64_t points = 0;
        while (lines.next()) {
            const auto point = reader.pointOf(lines.cells(), lines.line());
            if (!point) continue;
            ++points;
            require(!point->species.empty(), "a point without a species");
            require(
                point->longitude >= -180 && point->longitude <= 180 && point->latitude >= -90 && point->latitude <= 90,
                "a point beyond longitude and latitude");
        }
        require(result.points == points + result.absent + result.fossils + result.living + result.badCoordinates +
                                     result.unnamed + result.undated,
                "a line neither a point nor counted once");
        require(!result.summaryLine().empty(), "no summary");
    } catch (const vec::RecordsError&) {
    } catch (const gis::GisError&) {
    }
    return 0;
}

}  // namespace el::fuzz
