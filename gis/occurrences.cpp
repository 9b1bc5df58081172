#include "gis/occurrences.hpp"

#include <utility>

#include "base/work_pool.hpp"
#include "gis/download_source.hpp"
#include "gis/gis_error.hpp"
#include "gis/point_batches.hpp"
#include "vector/records_subset.hpp"

namespace el::gis {
namespace {

constexpr std::size_t kBatchPoints = 8192;

// The regions the points fall in, and the earliest point of each region and species.
struct Placement {
    const RegionLocator& locator;
    EarliestPoints earliest;
    std::int64_t placed = 0, outside = 0;

    void place(PointBatch& batch) {
        for (OccurrencePoint& point : batch) {
            const std::optional<std::size_t> region = locator.regionAt(point.longitude, point.latitude);
            if (!region) {
                ++outside;
                continue;
            }
            ++placed;
            earliest.keep(*region, std::move(point));
        }
    }
};

// Reading on the calling thread, placing on a second one, batch by batch in line order:
// the same points reach the same regions in the same order as on one thread.
void readAndPlaceApart(vec::DownloadLines& lines, OccurrenceReader& reader, vec::LineFilters& filters,
                       Feedback& feedback, Placement& placement) {
    PointBatches batches;
    onThreads(2, [&](int t) {
        try {
            if (t == 0) {
                readOccurrencePoints(lines, reader, filters, feedback, kBatchPoints,
                                     [&](PointBatch batch) { return batches.push(std::move(batch)); });
                batches.finish();
                return;
            }
            while (std::optional<PointBatch> batch = batches.pop()) placement.place(*batch);
        } catch (...) {
            batches.abandon();
            throw;
        }
    });
}

}  // namespace

OccurrenceResult placeOccurrences(const std::filesystem::path& pointsFile, const RegionsLayer& regions,
                                  const OccurrenceColumns& columns, Feedback& feedback, const std::string& encoding,
                                  OccurrenceRules rules, int threads) {
    if (!regions.locator) throw GisError("the regions layer has no geometry to place points in");
    const std::unique_ptr<vec::DownloadLines> download = openDownload(pointsFile, occurrenceFormat(encoding), encoding);
    vec::DownloadLines& lines = *download;
    OccurrenceResult result;
    OccurrenceReader reader(lines.headers(), columns, lines.delimiter(), result, rules);
    vec::LineFilters filters(lines.headers(), rules.filters);
    Placement placement{*regions.locator, {}, 0, 0};
    if (threads > 1) {
        readAndPlaceApart(lines, reader, filters, feedback, placement);
    } else {
        readOccurrencePoints(lines, reader, filters, feedback, kBatchPoints, [&](PointBatch batch) {
            placement.place(batch);
            return true;
        });
    }
    finishFilters(filters, result);
    result.placed = placement.placed;
    result.outside = placement.outside;
    result.records = placement.earliest.records(regions.keys);
    return result;
}

}  // namespace el::gis
