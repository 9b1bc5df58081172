#include "gis/occurrences.hpp"

#include "gis/download_source.hpp"
#include "gis/gis_error.hpp"
#include "vector/records_subset.hpp"

namespace el::gis {
namespace {

constexpr std::int64_t kCheckpointEvery = 4096;
constexpr std::int64_t kCaptionEvery = 100000;

}  // namespace

OccurrenceResult placeOccurrences(const std::filesystem::path& pointsFile, const RegionsLayer& regions,
                                  const OccurrenceColumns& columns, Feedback& feedback, const std::string& encoding,
                                  OccurrenceRules rules) {
    if (!regions.locator) throw GisError("the regions layer has no geometry to place points in");
    const std::unique_ptr<vec::DownloadLines> download = openDownload(pointsFile, occurrenceFormat(encoding), encoding);
    vec::DownloadLines& lines = *download;
    OccurrenceResult result;
    OccurrenceReader reader(lines.headers(), columns, lines.delimiter(), result, rules);
    vec::LineFilters filters(lines.headers(), rules.filters);
    EarliestPoints earliest;
    for (std::int64_t read = 1; lines.next(); ++read) {
        if (read % kCheckpointEvery == 0) {
            feedback.checkpoint();
            if (read % kCaptionEvery < kCheckpointEvery)
                feedback.caption(Label::ReadProgress, "Occurrence points read: " + std::to_string(read));
        }
        if (!filters.empty() && !filters.keeps(lines.cells())) continue;
        std::optional<OccurrencePoint> point = reader.pointOf(lines.cells(), lines.line());
        if (!point) continue;
        const std::optional<std::size_t> region = regions.locator->regionAt(point->longitude, point->latitude);
        if (!region) {
            ++result.outside;
            continue;
        }
        ++result.placed;
        earliest.keep(*region, std::move(*point));
    }
    filters.checkEachKeptSome();
    result.filterNote = filters.note("lines of the occurrence file");
    result.records = earliest.records(regions.keys);
    return result;
}

}  // namespace el::gis
