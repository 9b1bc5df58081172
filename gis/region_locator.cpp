#include "gis/region_locator.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

#include <ogr_api.h>

#include "gis/gdal_session.hpp"
#include "gis/gis_error.hpp"

namespace el::gis {

struct RegionLocator::Region {
    std::size_t index = 0;
    std::unique_ptr<OGRGeometry> geometry;  // unwrapped and valid
    OGRPreparedGeometryUniquePtr prepared;
};

// A regular grid of cells over the extent of every region; each cell lists, in ascending
// order, the regions whose part envelopes overlap it.
struct RegionLocator::Grid {
    OGREnvelope extent;
    int columns = 1, rows = 1;
    double cellWidth = 1.0, cellHeight = 1.0;
    std::vector<std::vector<std::size_t>> cells;  // row-major; positions into regions_

    int column(double x) const {
        return std::clamp(static_cast<int>(std::floor((x - extent.MinX) / cellWidth)), 0, columns - 1);
    }
    int row(double y) const {
        return std::clamp(static_cast<int>(std::floor((y - extent.MinY) / cellHeight)), 0, rows - 1);
    }
    bool covers(double x, double y) const {
        return x >= extent.MinX && x <= extent.MaxX && y >= extent.MinY && y <= extent.MaxY;
    }
    const std::vector<std::size_t>& cellAt(double x, double y) const {
        return cells[static_cast<std::size_t>(row(y) * columns + column(x))];
    }
};

namespace {

// The times consecutive nodes of a ring are more than 180 degrees of longitude apart.
int antimeridianJumps(const OGRLinearRing& ring) {
    int jumps = 0;
    for (int i = 1; i < ring.getNumPoints(); ++i) jumps += std::fabs(ring.getX(i) - ring.getX(i - 1)) > 180.0;
    return jumps;
}

// Moves a polygon whose ring crosses the antimeridian to longitudes 0..360 when that
// makes it narrower. A ring that crosses an odd number of times runs around the pole (as
// Antarctica's does, closing along the -90 parallel) and is right as stored.
void unwrapPolygon(OGRPolygon& polygon) {
    int jumps = 0;
    double minX = 1e300, maxX = -1e300, minShifted = 1e300, maxShifted = -1e300;
    for (const OGRLinearRing* ring : polygon) {
        const int ringJumps = antimeridianJumps(*ring);
        if (ringJumps % 2 != 0) return;
        jumps += ringJumps;
        for (int i = 0; i < ring->getNumPoints(); ++i) {
            const double x = ring->getX(i), shifted = x < 0.0 ? x + 360.0 : x;
            minX = std::min(minX, x), maxX = std::max(maxX, x);
            minShifted = std::min(minShifted, shifted), maxShifted = std::max(maxShifted, shifted);
        }
    }
    if (jumps == 0 || maxShifted - minShifted >= maxX - minX) return;
    for (OGRLinearRing* ring : polygon)
        for (int i = 0; i < ring->getNumPoints(); ++i)
            if (ring->getX(i) < 0.0) ring->setPoint(i, ring->getX(i) + 360.0, ring->getY(i));
}

void unwrap(OGRGeometry& geometry) {
    const OGRwkbGeometryType type = wkbFlatten(geometry.getGeometryType());
    if (type == wkbPolygon) unwrapPolygon(*geometry.toPolygon());
    if (type == wkbMultiPolygon)
        for (OGRPolygon* part : *geometry.toMultiPolygon()) unwrapPolygon(*part);
}

std::unique_ptr<OGRGeometry> repaired(const OGRGeometry& lonLat) {
    std::unique_ptr<OGRGeometry> linear(lonLat.hasCurveGeometry() ? lonLat.getLinearGeometry() : lonLat.clone());
    if (!linear) throw GisError("a region's geometry could not be read" + gdalReason());
    linear->flattenTo2D();
    unwrap(*linear);
    if (linear->IsValid()) return linear;
    std::unique_ptr<OGRGeometry> valid(linear->MakeValid());
    if (!valid || valid->IsEmpty()) throw GisError("a region's geometry could not be made valid" + gdalReason());
    return valid;
}

// The envelopes of a geometry's parts: far-apart parts of one region (islands, overseas
// territories) then fill only their own cells.
std::vector<OGREnvelope> partEnvelopes(const OGRGeometry& geometry) {
    std::vector<OGREnvelope> envelopes;
    if (OGR_GT_IsSubClassOf(geometry.getGeometryType(), wkbGeometryCollection)) {
        for (const OGRGeometry* part : *geometry.toGeometryCollection()) {
            const std::vector<OGREnvelope> inner = partEnvelopes(*part);
            envelopes.insert(envelopes.end(), inner.begin(), inner.end());
        }
        return envelopes;
    }
    if (!geometry.IsEmpty()) {
        OGREnvelope envelope;
        geometry.getEnvelope(&envelope);
        envelopes.push_back(envelope);
    }
    return envelopes;
}

}  // namespace

RegionLocator::RegionLocator() = default;
RegionLocator::~RegionLocator() = default;

void RegionLocator::add(std::size_t index, const OGRGeometry& lonLat) {
    if (!OGRGeometryFactory::haveGEOS())
        throw GisError("this GDAL has no geometry engine (GEOS), which placing points in regions needs");
    auto region = std::make_unique<Region>();
    region->index = index;
    region->geometry = repaired(lonLat);
    region->prepared.reset(OGRCreatePreparedGeometry(OGRGeometry::ToHandle(region->geometry.get())));
    if (!region->prepared) throw GisError("a region's geometry could not be prepared" + gdalReason());
    regions_.push_back(std::move(region));
}

void RegionLocator::finish() {
    std::sort(regions_.begin(), regions_.end(), [](const auto& a, const auto& b) { return a->index < b->index; });
    grid_ = std::make_unique<Grid>();
    Grid& grid = *grid_;
    std::vector<std::vector<OGREnvelope>> envelopes;
    for (const auto& region : regions_) {
        envelopes.push_back(partEnvelopes(*region->geometry));
        for (const OGREnvelope& envelope : envelopes.back()) grid.extent.Merge(envelope);
    }
    if (!grid.extent.IsInit()) return;
    const int side = std::clamp(static_cast<int>(std::sqrt(static_cast<double>(regions_.size())) * 8.0), 8, 512);
    grid.columns = grid.rows = side;
    grid.cellWidth = std::max(grid.extent.MaxX - grid.extent.MinX, 1e-9) / side;
    grid.cellHeight = std::max(grid.extent.MaxY - grid.extent.MinY, 1e-9) / side;
    grid.cells.assign(static_cast<std::size_t>(side) * static_cast<std::size_t>(side), {});
    for (std::size_t position = 0; position < regions_.size(); ++position) {
        for (const OGREnvelope& envelope : envelopes[position]) {
            for (int r = grid.row(envelope.MinY); r <= grid.row(envelope.MaxY); ++r)
                for (int c = grid.column(envelope.MinX); c <= grid.column(envelope.MaxX); ++c) {
                    std::vector<std::size_t>& cell = grid.cells[static_cast<std::size_t>(r * side + c)];
                    if (cell.empty() || cell.back() != position) cell.push_back(position);
                }
        }
    }
}

std::optional<std::size_t> RegionLocator::regionAt(double lon, double lat) const {
    if (!grid_ || !grid_->extent.IsInit()) return std::nullopt;
    std::size_t best = std::numeric_limits<std::size_t>::max();
    const double probes[2] = {lon, lon + 360.0};
    for (int p = 0; p < (lon < 0.0 ? 2 : 1); ++p) {
        if (!grid_->covers(probes[p], lat)) continue;
        OGRPoint point(probes[p], lat);
        for (const std::size_t position : grid_->cellAt(probes[p], lat)) {
            if (position >= best) break;
            if (OGRPreparedGeometryIntersects(regions_[position]->prepared.get(), OGRGeometry::ToHandle(&point))) {
                best = position;
                break;
            }
        }
    }
    if (best == std::numeric_limits<std::size_t>::max()) return std::nullopt;
    return regions_[best]->index;
}

}  // namespace el::gis
