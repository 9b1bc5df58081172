#include "figures/scene_extent.hpp"

#include <algorithm>
#include <cmath>

namespace el::figures {
namespace {

void reach(double& lowest, const Layer& layer) {
    auto take = [&](double y) {
        if (std::isfinite(y)) lowest = std::max(lowest, y);
    };
    for (const Shape& s : layer.shapes)
        for (const auto& ring : s.rings)
            for (const Point& p : ring) take(p.y + (s.stroke ? s.stroke->width : 0));
    for (const Marker& m : layer.markers) take(m.at.y + m.size / 2 + m.stroke.width);
    for (const Label& l : layer.labels) take(l.at.y + (l.vertical ? 0 : l.size * 0.3));
}

}  // namespace

void trimHeight(Scene& scene, double margin) {
    double lowest = 0;
    reach(lowest, scene.underlay);
    reach(lowest, scene.content);
    reach(lowest, scene.overlay);
    scene.height = std::min(scene.height, std::ceil(lowest + margin));
}

}  // namespace el::figures
