#include "gis/occurrences.hpp"

#include "gis/download_source.hpp"
#include "gis/gis_error.hpp"

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
    EarliestPoints earliest;
    while (lines.next()) {
        if ((result.points + 1) % kCheckpointEvery == 0) {
            feedback.checkpoint();
            if ((result.points + 1) % kCaptionEvery < kCheckpointEvery)
                feedback.caption(Label::ReadProgress, "Occurrence points read: " + std::to_string(result.points + 1));
        }
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
    result.records = earliest.records(regions.keys);
    return result;
}

}  // namespace el::gis
