#include "figures/map_labels.hpp"

#include <algorithm>
#include <cmath>

#include "figures/colour.hpp"
#include "figures/font_text.hpp"

namespace el::figures {
namespace {

constexpr double kGap = 2;  // the least room between two names

bool overlaps(const PixelRect& a, const PixelRect& b) {
    return a.left < b.right + kGap && b.left < a.right + kGap && a.top < b.bottom + kGap && b.top < a.bottom + kGap;
}

bool inside(const PixelRect& box, const PixelRect& frame) {
    return box.left >= frame.left && box.right <= frame.right && box.top >= frame.top && box.bottom <= frame.bottom;
}

constexpr Rgb kWhite{255, 255, 255};

}  // namespace

int placeRegionLabels(Layer& layer, std::vector<LabelCandidate> candidates, const PixelRect& frame, double size) {
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const LabelCandidate& a, const LabelCandidate& b) { return a.area > b.area; });
    std::vector<PixelRect> placed;
    for (const LabelCandidate& c : candidates) {
        if (c.text.empty() || !std::isfinite(c.at.x) || !std::isfinite(c.at.y)) continue;
        const double half = textWidth(c.text, size) / 2;
        const PixelRect box{c.at.x - half, c.at.y - size * 0.5, c.at.x + half, c.at.y + size * 0.5};
        if (!inside(box, frame)) continue;
        if (std::any_of(placed.begin(), placed.end(), [&](const PixelRect& p) { return overlaps(box, p); })) continue;
        placed.push_back(box);
        // Black in a white band: readable on every fill and where a name runs past its region.
        layer.labels.push_back({{c.at.x, c.at.y + size * 0.35}, c.text, size, TextAnchor::Middle, kBlack, false, kWhite});
    }
    return static_cast<int>(placed.size());
}

}  // namespace el::figures
