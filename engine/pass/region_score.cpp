#include "engine/pass/region_score.hpp"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <numeric>

#include "base/numtext.hpp"
#include "engine/kernels/connection_bits.hpp"
#include "engine/model/run_error.hpp"

namespace el::engine {
namespace {

constexpr int kMaxConnectivitySteps = 1000;

// Keeps the rows and columns listed in `keep` (ascending), in their order.
SquareMatrix compacted(const SquareMatrix& matrix, const std::vector<int>& keep) {
    const int k = static_cast<int>(keep.size());
    SquareMatrix out(k);
    for (int i = 0; i < k; ++i)
        for (int j = 0; j < k; ++j)
            out(i, j) = matrix(keep[static_cast<std::size_t>(i)], keep[static_cast<std::size_t>(j)]);
    return out;
}

}  // namespace

UsedRegions allRegions(const std::vector<std::string>& names) {
    UsedRegions used;
    used.name = names;
    used.regno.resize(names.size());
    std::iota(used.regno.begin(), used.regno.end(), 0);
    return used;
}

std::vector<int> keptPositions(const UsedRegions& used, const std::vector<int>& regionviable,
                               const SettingsSource& settings, Feedback& feedback) {
    std::vector<int> keep;
    keep.reserve(used.regno.size());
    for (int p = 0; p < used.size(); ++p) {
        feedback.checkpoint();
        // Read anew for every region: the user may change the field while the run yields.
        const double limit = numberOrRunError(settings.setting(Setting::ExcludingLimit), "excluding limit");
        const int region = used.regno[static_cast<std::size_t>(p)];
        if (region < 0 || region >= static_cast<int>(regionviable.size()))
            throw RunError("Region " + std::to_string(region + 1) + " has no count of viable pairs");
        if (!(regionviable[static_cast<std::size_t>(region)] <= limit)) keep.push_back(p);
    }
    return keep;
}

void keepPositions(UsedRegions& used, const std::vector<int>& keep) {
    if (static_cast<int>(keep.size()) == used.size()) return;
    UsedRegions remaining;
    for (int p : keep) {
        remaining.regno.push_back(used.regno[static_cast<std::size_t>(p)]);
        remaining.name.push_back(used.name[static_cast<std::size_t>(p)]);
    }
    used = std::move(remaining);
}

void excludeRegions(SquareMatrix& M, SquareMatrix& W, UsedRegions& used, const std::vector<int>& regionviable,
                    const SettingsSource& settings, Feedback& feedback) {
    const std::vector<int> keep = keptPositions(used, regionviable, settings, feedback);
    if (static_cast<int>(keep.size()) == used.size()) return;
    M = compacted(M, keep);
    W = compacted(W, keep);
    keepPositions(used, keep);
}

ConnectivityResult testConnectivity(const SquareMatrix& W, Feedback& feedback) {
    return testConnectivity(ConnectionBits(W), feedback);
}

ConnectivityResult testConnectivity(const ConnectionBits& links, Feedback& feedback) {
    const int n = links.size();
    ConnectivityResult result;
    std::vector<std::uint64_t> reached(links.words()), next(links.words()), beforeLast(links.words());

    for (int start = 0; start < n; ++start) {
        std::fill(reached.begin(), reached.end(), 0);
        reached[static_cast<std::size_t>(start) >> 6] = std::uint64_t{1} << (start & 63);
        bool cycling = false;  // the reached sets repeat without ever filling up
        bool haveBeforeLast = false;
        const std::string caption = "Connectivity" + strnum(start + 1);
        int step = 1;
        for (; step <= kMaxConnectivitySteps; ++step) {
            feedback.checkpoint();
            feedback.caption(Label::RunProgress, caption);
            if (cycling) continue;
            // A region is reached at this step when one of its neighbours was reached before.
            const int count = links.step(reached, next);
            // The connection matrix is symmetric, so the sets settle into a cycle of length
            // one or two; once it is seen the set can never fill, but every step still yields.
            cycling = next == reached || (haveBeforeLast && next == beforeLast);
            beforeLast.swap(reached);
            haveBeforeLast = true;
            reached.swap(next);
            if (count == n) break;
        }
        result.connectsteps.push_back(step);
        if (step >= kMaxConnectivitySteps) {
            result.failedStart = start;
            break;
        }
    }
    return result;
}

std::vector<int> regionOrder(const std::vector<double>& score) {
    std::vector<int> order(score.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return score[static_cast<std::size_t>(a)] > score[static_cast<std::size_t>(b)];
    });
    return order;
}

}  // namespace el::engine
