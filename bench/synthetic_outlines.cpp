#include "bench/synthetic_outlines.hpp"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <numbers>
#include <random>
#include <stdexcept>
#include <string>

#include <ogr_geometry.h>

#include "gis/gdal_session.hpp"

namespace el::bench {
namespace {

constexpr double kMinLat = -75.0, kMaxLat = 75.0;

// An irregular ring around (cx, cy) within half a cell; longitudes wrapped into -180..180,
// so a ring centred on the antimeridian jumps across it.
OGRLinearRing* ringAround(double cx, double cy, double halfWidth, double halfHeight, int nodes, std::mt19937& random) {
    std::uniform_real_distribution<double> wobble(0.85, 1.0);
    auto* ring = new OGRLinearRing;
    const double lobes = static_cast<double>(3 + random() % 5);
    for (int i = 0; i < nodes; ++i) {
        const double angle = 2 * std::numbers::pi * i / nodes;
        const double radius = (0.85 + 0.12 * std::sin(lobes * angle)) * wobble(random);
        double x = cx + halfWidth * radius * std::cos(angle);
        if (x < -180.0) x += 360.0;
        if (x > 180.0) x -= 360.0;
        ring->addPoint(x, cy + halfHeight * radius * std::sin(angle));
    }
    ring->closeRings();
    return ring;
}

OGRGeometry* countryShape(int column, int row, const OutlineGrid& grid, std::mt19937& random) {
    const double width = 360.0 / grid.columns, height = (kMaxLat - kMinLat) / grid.rows;
    // The first column of the middle row straddles the antimeridian.
    const bool straddles = column == 0 && row == grid.rows / 2;
    const double cx = straddles ? -180.0 : -180.0 + (column + 0.5) * width;
    const double cy = kMinLat + (row + 0.5) * height;
    auto* main = new OGRPolygon;
    main->addRingDirectly(ringAround(cx, cy, width * 0.45, height * 0.4, grid.nodesPerRing, random));
    if ((column + row) % 7 != 0 || straddles) return main;
    auto* country = new OGRMultiPolygon;
    auto* island = new OGRPolygon;  // in the cell's corner, clear of the main part
    island->addRingDirectly(ringAround(cx + width * 0.42, cy + height * 0.42, width * 0.05, height * 0.05,
                                       grid.nodesPerRing / 8, random));
    country->addGeometryDirectly(island);
    country->addGeometryDirectly(main);
    return country;
}

}  // namespace

void writeOutlines(const std::filesystem::path& file, const OutlineGrid& grid) {
    gis::registerGdalDrivers();
    GDALDriver* driver = GetGDALDriverManager()->GetDriverByName("GPKG");
    gis::DatasetPtr dataset(driver ? driver->Create(file.c_str(), 0, 0, 0, GDT_Unknown, nullptr) : nullptr);
    if (!dataset) throw std::runtime_error("cannot create " + file.string());
    OGRSpatialReference lonLat;
    lonLat.importFromEPSG(4326);
    OGRLayer* layer = dataset->CreateLayer("countries", &lonLat, wkbUnknown, nullptr);
    OGRFieldDefn name("name", OFTString);
    if (layer == nullptr || layer->CreateField(&name) != OGRERR_NONE) throw std::runtime_error("cannot write outlines");
    std::mt19937 random(7);
    dataset->StartTransaction();
    for (int row = 0; row < grid.rows; ++row)
        for (int column = 0; column < grid.columns; ++column) {
            gis::FeaturePtr feature(OGRFeature::CreateFeature(layer->GetLayerDefn()));
            char country[24];
            std::snprintf(country, sizeof country, "C%d", row * grid.columns + column);
            feature->SetField(0, country);
            feature->SetGeometryDirectly(countryShape(column, row, grid, random));
            if (layer->CreateFeature(feature.get()) != OGRERR_NONE) throw std::runtime_error("cannot write outlines");
        }
    dataset->CommitTransaction();
}

void writeOccurrences(const std::filesystem::path& file, long long points) {
    std::ofstream out(file, std::ios::binary);
    std::mt19937 random(11);
    std::uniform_real_distribution<double> lon(-180.0, 180.0), lat(-80.0, 80.0);
    std::uniform_int_distribution<int> species(0, 49), year(1950, 2020), month(1, 12), day(1, 28), form(0, 9);
    out << "gbifID\tspecies\tdecimalLongitude\tdecimalLatitude\teventDate\tyear\n";
    char line[160];
    for (long long i = 0; i < points; ++i) {
        const int y = year(random), m = month(random), d = day(random), f = form(random);
        char date[40] = "";
        if (f < 6) std::snprintf(date, sizeof date, "%04d-%02d-%02d", y, m, d);
        else if (f < 8) std::snprintf(date, sizeof date, "%04d-%02d-%02dT10:00:00Z/%04d-%02d-%02d", y, m, d, y, m, d);
        std::snprintf(line, sizeof line, "%lld\tSpecies %d\t%.5f\t%.5f\t%s\t%s\n", i + 1, species(random), lon(random),
                      lat(random), date, f == 8 ? std::to_string(y).c_str() : "");
        out << line;
    }
    if (!out) throw std::runtime_error("cannot write " + file.string());
}

}  // namespace el::bench
