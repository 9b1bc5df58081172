#include "figures/map_transform.hpp"

#include <proj.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace el::figures {
namespace {

constexpr const char* kLonLat = "+proj=longlat +datum=WGS84 +no_defs +type=crs";
constexpr double kTearJump = 30;  // a step this many times the usual along the equator is a tear

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

// "+proj=robin" defines a conversion; as a map's coordinate system it means the system it makes.
std::string asCrsText(const std::string& definition) {
    const bool bare = definition.rfind("+proj=", 0) == 0 || definition.rfind("proj=", 0) == 0;
    return bare && definition.find("type=crs") == std::string::npos ? definition + " +type=crs" : definition;
}

struct PjDeleter {
    void operator()(PJ* pj) const { proj_destroy(pj); }
};
using PjHandle = std::unique_ptr<PJ, PjDeleter>;

}  // namespace

struct MapTransform::Proj {
    PJ_CONTEXT* context = nullptr;
    PJ* operation = nullptr;
    ~Proj() {
        proj_destroy(operation);
        proj_context_destroy(context);
    }
    std::string reason() const {
        const char* text = proj_context_errno_string(context, proj_context_errno(context));
        // PROJ has no words for some failures ("Unknown error (code 4096)"): those add nothing.
        if (text == nullptr || *text == '\0' || std::string(text).rfind("Unknown error", 0) == 0) return {};
        return std::string(": ") + text;
    }
    std::optional<PJ_COORD> apply(PJ_DIRECTION direction, double a, double b) const {
        proj_errno_reset(operation);
        const PJ_COORD out = proj_trans(operation, direction, proj_coord(a, b, 0, 0));
        if (proj_errno(operation) != 0 || !std::isfinite(out.xy.x) || !std::isfinite(out.xy.y) ||
            std::fabs(out.xy.x) > 1e30 || std::fabs(out.xy.y) > 1e30)
            return std::nullopt;
        return out;
    }
};

namespace {

// Where consecutive points along the equator jump far more than the usual step apart.
std::optional<double> findTear(const MapTransform& t) {
    std::vector<std::optional<ProjectedPoint>> along;
    for (int k = 0; k < 360; ++k) along.push_back(t.forward(-179.5 + k, 0));
    std::vector<double> steps(along.size(), -1);
    std::vector<double> known;
    for (std::size_t k = 0; k < along.size(); ++k) {
        const auto& a = along[k];
        const auto& b = along[(k + 1) % along.size()];
        if (!a || !b) continue;
        steps[k] = std::hypot(b->x - a->x, b->y - a->y);
        known.push_back(steps[k]);
    }
    if (known.size() < 10) return std::nullopt;
    std::nth_element(known.begin(), known.begin() + static_cast<std::ptrdiff_t>(known.size() / 2), known.end());
    const double usual = known[known.size() / 2];
    const auto widest = std::max_element(steps.begin(), steps.end());
    if (!(*widest > kTearJump * usual)) return std::nullopt;
    // Narrowed down by halves to where the jump is, so no node is drawn on the wrong side.
    double west = -179.5 + static_cast<double>(widest - steps.begin()), east = west + 1;
    auto apart = [&t, usual](double a, double b) {
        const auto p = t.forward(a, 0), q = t.forward(b, 0);
        return !p || !q || std::hypot(q->x - p->x, q->y - p->y) > kTearJump * usual;
    };
    for (int k = 0; k < 40; ++k) {
        const double mid = (west + east) / 2;
        if (apart(west, mid)) east = mid;
        else west = mid;
    }
    return normalLongitude((west + east) / 2);
}

}  // namespace

MapTransform::MapTransform(const std::string& definition) : proj_(std::make_unique<Proj>()), definition_(definition) {
    proj_->context = proj_context_create();
    if (proj_->context == nullptr) throw MapCrsError("PROJ could not be started");
    proj_log_level(proj_->context, PJ_LOG_NONE);
    PjHandle target(proj_create(proj_->context, asCrsText(definition).c_str()));
    if (!target || !proj_is_crs(target.get()))
        throw MapCrsError(quoted(definition) + " is not a coordinate system PROJ knows" + proj_->reason());
    PjHandle source(proj_create(proj_->context, kLonLat));
    PjHandle operation(proj_create_crs_to_crs_from_pj(proj_->context, source.get(), target.get(), nullptr, nullptr));
    if (!operation)
        throw MapCrsError("PROJ finds no way from longitude/latitude to " + quoted(definition) + proj_->reason());
    proj_->operation = proj_normalize_for_visualization(proj_->context, operation.get());
    if (proj_->operation == nullptr)
        throw MapCrsError("PROJ finds no way from longitude/latitude to " + quoted(definition) + proj_->reason());
    tear_ = findTear(*this);
}

MapTransform::~MapTransform() = default;
MapTransform::MapTransform(MapTransform&&) noexcept = default;
MapTransform& MapTransform::operator=(MapTransform&&) noexcept = default;

std::optional<ProjectedPoint> MapTransform::forward(double lon, double lat) const {
    const auto out = proj_->apply(PJ_FWD, lon, lat);
    if (!out) return std::nullopt;
    return ProjectedPoint{out->xy.x, out->xy.y};
}

std::optional<LonLat> MapTransform::inverse(double x, double y) const {
    const auto out = proj_->apply(PJ_INV, x, y);
    if (!out || std::fabs(out->lp.phi) > 90) return std::nullopt;
    return LonLat{out->lp.lam, out->lp.phi};
}

std::optional<std::string> mapCrsProblem(const std::string& definition) {
    if (definition.empty()) return std::string("no coordinate system is named");
    try {
        const MapTransform transform(definition);
        if (!transform.forward(0, 0) && !transform.forward(10, 50) && !transform.forward(-100, -30))
            return quoted(definition) + " projects no point of the globe";
    } catch (const MapCrsError& e) {
        return std::string(e.what());
    }
    return std::nullopt;
}

}  // namespace el::figures
