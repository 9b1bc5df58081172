#include "wkb.hpp"

#include <bit>
#include <cmath>
#include <cstring>
#include <stdexcept>

namespace el::rpkg {
namespace {

enum WkbKind : std::uint32_t { Point = 1, LineString = 2, Polygon = 3, MultiPoint = 4, MultiLineString = 5, MultiPolygon = 6 };

const char* kindName(std::uint32_t kind) {
    switch (kind) {
        case 7: return "geometrycollection";
        case 8: return "circularstring";
        case 9: return "compoundcurve";
        case 10: return "curvepolygon";
        case 11: return "multicurve";
        case 12: return "multisurface";
        case 15: return "polyhedralsurface";
        case 16: return "tin";
        case 17: return "triangle";
        default: return "geometry of an unknown kind";
    }
}

// Reads WKB front to back; every read checks that the bytes are there.
class WkbReader {
public:
    explicit WkbReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::uint32_t count() { return readUint(); }
    bool atEnd() const { return at_ == bytes_.size(); }

    // A geometry's header: its byte order, then its flat kind and the number of ordinates
    // per point (ISO 1000s for Z, M and ZM, or the extended form's flag bits and SRID).
    std::uint32_t header() {
        const std::uint8_t order = take(1)[0];
        if (order > 1) throw std::runtime_error("the geometry is not well-known binary");
        little_ = order == 1;
        std::uint32_t type = readUint();
        dims_ = 2;
        if (type & 0x80000000u) ++dims_;
        if (type & 0x40000000u) ++dims_;
        if (type & 0x20000000u) readUint();  // the SRID of the extended form
        type &= 0x0FFFFFFFu;
        const std::uint32_t iso = type / 1000;
        if (iso == 1 || iso == 2) ++dims_;
        if (iso == 3) dims_ += 2;
        return type % 1000;
    }

    // A point's x and y; its Z and M are skipped.
    std::pair<double, double> point() {
        const double x = readDouble(), y = readDouble();
        for (int k = 2; k < dims_; ++k) readDouble();
        return {x, y};
    }

private:
    std::span<const std::uint8_t> take(std::size_t n) {
        if (bytes_.size() - at_ < n) throw std::runtime_error("the geometry's well-known binary ends too soon");
        const auto out = bytes_.subspan(at_, n);
        at_ += n;
        return out;
    }
    template <typename T>
    T read() {
        std::uint8_t raw[sizeof(T)];
        std::memcpy(raw, take(sizeof(T)).data(), sizeof(T));
        if (little_ != (std::endian::native == std::endian::little))
            for (std::size_t i = 0; i < sizeof(T) / 2; ++i) std::swap(raw[i], raw[sizeof(T) - 1 - i]);
        T value;
        std::memcpy(&value, raw, sizeof(T));
        return value;
    }
    std::uint32_t readUint() { return read<std::uint32_t>(); }
    double readDouble() { return read<double>(); }

    std::span<const std::uint8_t> bytes_;
    std::size_t at_ = 0;
    bool little_ = true;
    int dims_ = 2;
};

vec::VectorPart pointsOf(WkbReader& in, const std::string& label) {
    vec::VectorPart part;
    part.mergin = label;
    const std::uint32_t n = in.count();
    for (std::uint32_t i = 0; i < n; ++i) {
        const auto [x, y] = in.point();
        part.x.push_back(x);
        part.y.push_back(y);
    }
    return part;
}

// A ring without its repeated closing node.
vec::VectorPart ringOf(WkbReader& in, const std::string& label) {
    vec::VectorPart part = pointsOf(in, label);
    if (part.x.size() > 1 && part.x.front() == part.x.back() && part.y.front() == part.y.back()) {
        part.x.pop_back();
        part.y.pop_back();
    }
    return part;
}

void addPolygonRings(WkbReader& in, std::vector<vec::VectorPart>& parts) {
    const std::uint32_t rings = in.count();
    for (std::uint32_t r = 0; r < rings; ++r) {
        vec::VectorPart ring = ringOf(in, r == 0 ? "outer" : "hole");
        // An empty outer ring is an empty polygon; an empty hole is no hole.
        if (!ring.x.empty()) parts.push_back(std::move(ring));
        else if (r == 0 && rings > 1) throw std::runtime_error("a polygon has holes but no outer ring");
    }
}

// The members of a multi geometry, each a geometry of `kind` with a header of its own.
template <typename Read>
void eachMember(WkbReader& in, std::uint32_t kind, Read read) {
    const std::uint32_t n = in.count();
    for (std::uint32_t i = 0; i < n; ++i) {
        if (in.header() != kind) throw std::runtime_error("a multi geometry holds a member of another kind");
        read();
    }
}

WkbShape shapeOf(WkbReader& in) {
    const std::uint32_t kind = in.header();
    switch (kind) {
        case Point: {
            const auto [x, y] = in.point();
            if (std::isnan(x) && std::isnan(y)) return {"point", {}};  // WKB's empty point
            return {"point", {vec::VectorPart{"", {x}, {y}}}};
        }
        case MultiPoint: {
            const std::uint32_t n = in.count();
            if (n != 1) throw std::runtime_error("a multipoint of " + std::to_string(n) + " points cannot be one region");
            if (in.header() != Point) throw std::runtime_error("a multipoint holds a member that is not a point");
            const auto [x, y] = in.point();
            return {"point", {vec::VectorPart{"", {x}, {y}}}};
        }
        case LineString: {
            WkbShape shape{"line", {pointsOf(in, "root")}};
            if (shape.parts.front().x.empty()) shape.parts.clear();
            return shape;
        }
        case MultiLineString: {
            WkbShape shape{"tree", {}};
            eachMember(in, LineString, [&] {
                vec::VectorPart line = pointsOf(in, "line");
                if (!line.x.empty()) shape.parts.push_back(std::move(line));
            });
            return shape;
        }
        case Polygon: {
            WkbShape shape{"area", {}};
            addPolygonRings(in, shape.parts);
            if (shape.parts.size() == 1) {
                shape.type = "polygon";
                shape.parts.front().mergin = "out";
            }
            return shape;
        }
        case MultiPolygon: {
            WkbShape shape{"area", {}};
            eachMember(in, Polygon, [&] { addPolygonRings(in, shape.parts); });
            return shape;
        }
        default:
            throw std::runtime_error(std::string("a ") + kindName(kind) + " has no vector file form");
    }
}

class WkbWriter {
public:
    void header(std::uint32_t kind) {
        bytes.push_back(1);  // little-endian
        put(kind);
    }
    void put(std::uint32_t value) { append(&value, sizeof value); }
    void put(double value) { append(&value, sizeof value); }
    void points(const vec::VectorPart& part, bool closed) {
        const bool close = closed && !part.x.empty() && !(part.x.front() == part.x.back() && part.y.front() == part.y.back());
        put(static_cast<std::uint32_t>(part.x.size() + (close ? 1 : 0)));
        for (std::size_t k = 0; k < part.x.size(); ++k) point(part.x[k], part.y[k]);
        if (close) point(part.x.front(), part.y.front());
    }
    std::vector<std::uint8_t> bytes;

private:
    void point(double x, double y) {
        put(x);
        put(y);
    }
    // Little-endian whatever the machine's order.
    void append(const void* value, std::size_t n) {
        std::uint8_t raw[8];
        std::memcpy(raw, value, n);
        if (std::endian::native != std::endian::little)
            for (std::size_t i = 0; i < n / 2; ++i) std::swap(raw[i], raw[n - 1 - i]);
        bytes.insert(bytes.end(), raw, raw + n);
    }
};

bool isHole(const std::string& label) {
    return label.size() == 4 && (label[0] | 0x20) == 'h' && (label[1] | 0x20) == 'o' && (label[2] | 0x20) == 'l' &&
           (label[3] | 0x20) == 'e';
}

// The polygons of an "area": each part not labelled "hole" (or the first) starts one.
std::vector<std::vector<const vec::VectorPart*>> polygonsOf(const std::vector<vec::VectorPart>& parts) {
    std::vector<std::vector<const vec::VectorPart*>> polygons;
    for (const vec::VectorPart& part : parts) {
        if (!(isHole(part.mergin) && !polygons.empty())) polygons.emplace_back();
        polygons.back().push_back(&part);
    }
    return polygons;
}

}  // namespace

WkbShape shapeOfWkb(std::span<const std::uint8_t> bytes) {
    WkbReader in(bytes);
    WkbShape shape = shapeOf(in);
    if (!in.atEnd()) throw std::runtime_error("the geometry's well-known binary has bytes after its end");
    if (shape.parts.empty()) throw std::runtime_error("the geometry is empty");
    for (const vec::VectorPart& part : shape.parts)
        for (std::size_t k = 0; k < part.x.size(); ++k)
            if (!std::isfinite(part.x[k]) || !std::isfinite(part.y[k]))
                throw std::runtime_error("a coordinate is not a finite number");
    return shape;
}

std::vector<std::uint8_t> wkbOfObject(const vec::VectorObject& object) {
    const auto& parts = object.parts;
    if (parts.empty() || parts.front().x.empty()) throw std::runtime_error("object \"" + object.name + "\" has no nodes");
    for (const vec::VectorPart& part : parts)
        if (part.x.size() != part.y.size())
            throw std::runtime_error("object \"" + object.name + "\" has a part whose x and y nodes differ in number");
    WkbWriter out;
    if (object.type == "point") {
        out.header(Point);
        out.put(parts.front().x.front());
        out.put(parts.front().y.front());
    } else if (object.type == "line") {
        out.header(LineString);
        out.points(parts.front(), false);
    } else if (object.type == "polygon") {
        out.header(Polygon);
        out.put(std::uint32_t{1});
        out.points(parts.front(), true);
    } else if (object.type == "tree") {
        out.header(MultiLineString);
        out.put(static_cast<std::uint32_t>(parts.size()));
        for (const vec::VectorPart& part : parts) {
            out.header(LineString);
            out.points(part, false);
        }
    } else if (object.type == "area") {
        const auto polygons = polygonsOf(parts);
        out.header(MultiPolygon);
        out.put(static_cast<std::uint32_t>(polygons.size()));
        for (const auto& rings : polygons) {
            out.header(Polygon);
            out.put(static_cast<std::uint32_t>(rings.size()));
            for (const vec::VectorPart* ring : rings) out.points(*ring, true);
        }
    } else {
        throw std::runtime_error("object \"" + object.name + "\" has the unknown type \"" + object.type + "\"");
    }
    return out.bytes;
}

}  // namespace el::rpkg
