#include "figures/layer_move.hpp"

namespace el::figures {

void appendMoved(Layer& into, Layer from, double dx, double dy) {
    auto move = [&](Point& p) { p.x += dx, p.y += dy; };
    for (Shape& s : from.shapes) {
        for (auto& ring : s.rings)
            for (Point& p : ring) move(p);
        into.shapes.push_back(std::move(s));
    }
    for (Marker& m : from.markers) {
        move(m.at);
        into.markers.push_back(std::move(m));
    }
    for (Label& l : from.labels) {
        move(l.at);
        into.labels.push_back(std::move(l));
    }
}

}  // namespace el::figures
