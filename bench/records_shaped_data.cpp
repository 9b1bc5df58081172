#include "bench/records_shaped_data.hpp"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>

#include "base/numtext.hpp"

namespace el::bench {
namespace {

// How many regions a species is recorded in: 78 % in one to five, 19 % in six to fourteen,
// 3 % in fifteen up to four fifths of the regions.
int recordedRegions(std::mt19937& random, int regions) {
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const double roll = unit(random);
    int count = 0;
    if (roll < 0.78) count = 1 + static_cast<int>(random() % 5);
    else if (roll < 0.97) count = 6 + static_cast<int>(random() % 9);
    else count = 15 + static_cast<int>(random() % static_cast<unsigned>(std::max(1, regions * 4 / 5 - 14)));
    return std::min(count, regions);
}

vec::VectorObject squareRegion(int r, int side) {
    vec::VectorObject object;
    const double x = r % side, y = static_cast<double>(r / side);
    object.type = "polygon";
    object.name = "R" + std::to_string(r + 1);
    vec::VectorPart part;
    part.mergin = "out";
    part.x = {x, x + 1, x + 1, x};
    part.y = {y, y, y + 1, y + 1};
    object.parts.push_back(std::move(part));
    return object;
}

struct Spread {
    std::vector<int> order;     // regions by the time the species reaches them
    std::vector<double> delay;  // years after the first record, in that order
};

// The order in which a species reaches the regions: from its origin outwards, open regions
// sooner, with noise.
Spread spreadOf(std::mt19937& random, const std::vector<double>& openness, int side) {
    const int n = static_cast<int>(openness.size());
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const auto origin = static_cast<int>(random() % static_cast<unsigned>(n));
    const double pace = 2.0 + 6.0 * unit(random);  // years per grid cell
    std::vector<double> arrival(static_cast<std::size_t>(n));
    for (int r = 0; r < n; ++r) {
        const double distance = std::hypot(r % side - origin % side, r / side - origin / side);
        arrival[static_cast<std::size_t>(r)] =
            distance * pace + 60 * (1 - openness[static_cast<std::size_t>(r)]) + 15 * unit(random);
    }
    Spread spread;
    spread.order.resize(static_cast<std::size_t>(n));
    std::iota(spread.order.begin(), spread.order.end(), 0);
    std::sort(spread.order.begin(), spread.order.end(), [&](int a, int b) {
        return arrival[static_cast<std::size_t>(a)] < arrival[static_cast<std::size_t>(b)];
    });
    const double first = arrival[static_cast<std::size_t>(spread.order.front())];
    for (int r : spread.order) spread.delay.push_back(arrival[static_cast<std::size_t>(r)] - first);
    return spread;
}

}  // namespace

vec::VectorData makeRecordsShapedData(const RecordsShape& shape) {
    std::mt19937 random(shape.seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const int n = shape.regions;
    const int side = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(n))));
    vec::VectorData data;
    data.filetype = "vector";
    data.comment = "Synthetic first records";
    data.sizes.valn = shape.species;
    data.sizes.objn = n;
    data.sizes.maxline = 3 + 2 * 4;
    data.sizes.maxpolygon = n > 0 ? 1 : 0;
    data.sizes.maxnode = n > 0 ? 4 : 0;
    for (int s = 0; s + 1 < shape.species; ++s) data.valname.push_back("Sp" + std::to_string(s + 1));
    data.valname.push_back("Target");
    data.valname.insert(data.valname.end(),
                        {"type$", "name$", "nodes", "x1", "y1", "x2", "y2", "x3", "y3", "x4", "y4"});

    std::vector<double> openness;
    for (int r = 0; r < n; ++r) {
        openness.push_back(unit(random));
        data.objects.push_back(squareRegion(r, side));
    }
    for (vec::VectorObject& object : data.objects)
        object.values.assign(static_cast<std::size_t>(shape.species), "NotYetArrived");
    for (int s = 0; s < shape.species; ++s) {
        const bool target = s + 1 == shape.species;
        const int count = target ? std::max(1, 2 * n / 3) : recordedRegions(random, n);
        // First records pile up in recent decades, as in the databases.
        const double start = 1800 + 215 * std::sqrt(unit(random));
        const Spread spread = spreadOf(random, openness, side);
        for (int k = 0; k < count; ++k) {
            const double year = std::min(2020.0, std::round(start + spread.delay[static_cast<std::size_t>(k)]));
            data.objects[static_cast<std::size_t>(spread.order[static_cast<std::size_t>(k)])]
                .values[static_cast<std::size_t>(s)] = plainnum(year);
        }
    }
    return data;
}

int speciesInAtLeast(const vec::VectorData& data, int regions) {
    int count = 0;
    for (int s = 0; s < data.valn(); ++s) {
        int recorded = 0;
        for (const vec::VectorObject& object : data.objects)
            recorded += object.values[static_cast<std::size_t>(s)] != "NotYetArrived";
        count += recorded >= regions;
    }
    return count;
}

}  // namespace el::bench
