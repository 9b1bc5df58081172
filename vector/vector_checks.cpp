#include "vector/vector_checks.hpp"

#include <string_view>
#include <unordered_set>

#include "vector/progress_text.hpp"
#include "vector/record_cursor.hpp"
#include "vector/vector_file.hpp"

namespace el::vec {
namespace {

// Segment k of a ring runs from node k to node k + 1, the last one back to node 0.
bool segmentMeetsObject(const VectorObject& object, int p, int k) {
    const VectorPart& a = object.parts[static_cast<std::size_t>(p)];
    const int na = a.polygonnode();
    const auto ka = static_cast<std::size_t>(k);
    const auto ka2 = static_cast<std::size_t>((k + 1) % na);
    for (int q = 0; q < object.noden(); ++q) {
        const VectorPart& c = object.parts[static_cast<std::size_t>(q)];
        const int nc = c.polygonnode();
        for (int m = 0; m < nc; ++m) {
            const int mprev = (m + nc - 1) % nc;
            const int mnext = (m + 1) % nc;
            if (q == p && (k == mprev || k == m || k == mnext)) continue;
            const auto m1 = static_cast<std::size_t>(m);
            const auto m2 = static_cast<std::size_t>(mnext);
            if (xross_line_line(a.x[ka], a.y[ka], a.x[ka2], a.y[ka2], c.x[m1], c.y[m1], c.x[m2], c.y[m2]) == 1)
                return true;
        }
    }
    return false;
}

// True when some segment of the object's rings meets a segment that is not itself or
// one of its two neighbours in the same ring.
bool hasCrossingBoundary(const VectorObject& object) {
    for (int p = 0; p < object.noden(); ++p)
        for (int k = 0; k < object.parts[static_cast<std::size_t>(p)].polygonnode(); ++k)
            if (segmentMeetsObject(object, p, k)) return true;
    return false;
}

}  // namespace

void checkNamesAndBoundaries(const VectorData& data, const ReadHooks& hooks) {
    ProgressLabel label(hooks.feedback);
    std::unordered_set<std::string_view> earlierNames;
    earlierNames.reserve(data.objects.size());
    const int objn = static_cast<int>(data.objects.size());
    for (int i = 1; i <= objn; ++i) {
        if (isOn(hooks.settings, Setting::SkipFormatCheck)) return;
        label.show("Checking " + percentText(i, objn));
        hooks.feedback.checkpoint();

        const VectorObject& object = data.objects[static_cast<std::size_t>(i - 1)];
        if (!earlierNames.insert(object.name).second)
            hooks.messenger.message(strnum(i) + "th " + object.type + " " + shownField(object.name) + " object name is duplicated");

        if ((object.type == "area" || object.type == "polygon") && hasCrossingBoundary(object))
            hooks.messenger.message(object.type + " " + shownField(object.name) + " inter-nodes are crossing");
    }
}

}  // namespace el::vec
