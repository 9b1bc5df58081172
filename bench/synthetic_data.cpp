#include "bench/synthetic_data.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <sstream>

#include "base/numtext.hpp"

namespace el::bench {

vec::VectorData makeInvasionData(const SyntheticShape& shape) {
    std::mt19937 random(shape.seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::normal_distribution<double> noise(0.0, 1.0);

    const int side = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(shape.regions))));
    vec::VectorData data;
    data.filetype = "vector";
    data.comment = "Synthetic invasion data";
    data.sizes.valn = shape.species;
    data.sizes.objn = shape.regions;
    data.sizes.maxline = 3 + 2 * shape.nodesPerRegion;
    data.sizes.maxpolygon = shape.regions > 0 ? 1 : 0;
    data.sizes.maxnode = shape.regions > 0 ? shape.nodesPerRegion : 0;
    for (int s = 0; s + 1 < shape.species; ++s) data.valname.push_back("Sp" + std::to_string(s + 1));
    data.valname.push_back("Target");
    data.valname.insert(data.valname.end(), {"type$", "name$", "nodes"});
    for (int k = 1; k <= shape.nodesPerRegion; ++k) {
        data.valname.push_back("x" + std::to_string(k));
        data.valname.push_back("y" + std::to_string(k));
    }

    struct Spread {
        double ox, oy, start, yearsPerCell, horizon;
    };
    std::vector<Spread> spreads;
    for (int s = 0; s < shape.species; ++s) {
        const double start = 1900 + shape.startRange * unit(random);
        spreads.push_back({unit(random) * side * 0.3, unit(random) * side * 0.3, start, 0.5 + 2.5 * unit(random),
                           start + (shape.horizonMin + shape.horizonRange * unit(random))});
    }

    data.objects.resize(static_cast<std::size_t>(shape.regions));
    for (int r = 0; r < shape.regions; ++r) {
        vec::VectorObject& object = data.objects[static_cast<std::size_t>(r)];
        const double cx = r % side + 0.5, cy = static_cast<double>(r / side) + 0.5;
        object.type = "polygon";
        object.name = "R" + std::to_string(r + 1);
        vec::VectorPart part;
        part.mergin = "out";
        for (int k = 0; k < shape.nodesPerRegion; ++k) {
            const double angle = 2 * std::numbers::pi * k / shape.nodesPerRegion;
            part.x.push_back(std::round((cx + 0.5 * std::cos(angle)) * 1e6) / 1e6);
            part.y.push_back(std::round((cy + 0.5 * std::sin(angle)) * 1e6) / 1e6);
        }
        object.parts.push_back(std::move(part));
        for (const Spread& spread : spreads) {
            const double distance = std::hypot(cx - spread.ox, cy - spread.oy);
            const double date = std::round(spread.start + distance * spread.yearsPerCell + 2 * noise(random));
            const double roll = unit(random);
            if (date > spread.horizon) object.values.push_back(roll < 0.1 ? "Unknown" : "NotYetArrived");
            else if (roll < 0.05) object.values.push_back("Arrived");
            else if (roll < 0.08) object.values.push_back("Unknown");
            else object.values.push_back(plainnum(date));
        }
    }
    return data;
}

void writeVectorFile(const vec::VectorData& data, std::ostream& out) {
    out << data.filetype << "\r\n" << data.comment << "\r\n";
    for (std::size_t j = 0; j < data.valname.size(); ++j) out << (j ? "," : "") << data.valname[j];
    out << "\r\n";
    std::string line;
    for (const vec::VectorObject& object : data.objects) {
        line.clear();
        for (const std::string& value : object.values) line += value + ",";
        const vec::VectorPart& part = object.parts.front();
        line += object.type + "," + object.name + "," + std::to_string(part.x.size());
        for (std::size_t k = 0; k < part.x.size(); ++k) line += "," + plainnum(part.x[k]) + "," + plainnum(part.y[k]);
        out << line << "\r\n";
    }
}

std::string toVectorFileText(const vec::VectorData& data) {
    std::ostringstream text;
    writeVectorFile(data, text);
    return text.str();
}

}  // namespace el::bench
