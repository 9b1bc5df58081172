#include "engine/region_score.hpp"

#include <algorithm>
#include <cstddef>
#include <numeric>

#include "base/numtext.hpp"
#include "engine/run_error.hpp"

namespace el::engine {
namespace {

constexpr int kMaxConnectivitySteps = 1000;

// Keeps the rows and columns listed in `keep` (ascending), in their order.
SquareMatrix compacted(const SquareMatrix& matrix, const std::vector<int>& keep) {
    const int k = static_cast<int>(keep.size());
    SquareMatrix out(k);
    for (int i = 0; i < k; ++i)
        for (int j = 0; j < k; ++j) out(i, j) = matrix(keep[i], keep[j]);
    return out;
}

// The neighbours of every region in the connection matrix, W(i, j) > 0.
std::vector<std::vector<int>> connections(const SquareMatrix& W) {
    const int n = W.size();
    std::vector<std::vector<int>> linked(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            if (W(i, j) > 0) linked[i].push_back(j);
    return linked;
}

}  // namespace

UsedRegions allRegions(const std::vector<std::string>& names) {
    UsedRegions used;
    used.name = names;
    used.regno.resize(names.size());
    std::iota(used.regno.begin(), used.regno.end(), 0);
    return used;
}

void excludeRegions(SquareMatrix& M, SquareMatrix& W, UsedRegions& used, const std::vector<int>& regionviable,
                    Host& host) {
    std::vector<int> keep;
    keep.reserve(used.regno.size());
    for (int p = 0; p < used.size(); ++p) {
        host.yield();
        // Read anew for every region: the user may change the field while the run yields.
        const std::string text = host.setting(Setting::ExcludingLimit);
        const auto limit = parseNumber(text);
        if (!limit) throw RunError("The excluding limit text \"" + text + "\" is not a number");
        const int region = used.regno[p];
        if (region < 0 || region >= static_cast<int>(regionviable.size()))
            throw RunError("Region " + std::to_string(region + 1) + " has no count of viable pairs");
        if (!(regionviable[region] <= *limit)) keep.push_back(p);
    }
    if (static_cast<int>(keep.size()) == used.size()) return;

    M = compacted(M, keep);
    W = compacted(W, keep);
    UsedRegions remaining;
    for (int p : keep) {
        remaining.regno.push_back(used.regno[p]);
        remaining.name.push_back(used.name[p]);
    }
    used = std::move(remaining);
}

ConnectivityResult testConnectivity(const SquareMatrix& W, Host& host) {
    const int n = W.size();
    const auto linked = connections(W);
    ConnectivityResult result;
    std::vector<char> reached(static_cast<std::size_t>(n));
    std::vector<char> next(static_cast<std::size_t>(n));
    std::vector<char> beforeLast(static_cast<std::size_t>(n));

    for (int start = 0; start < n; ++start) {
        std::fill(reached.begin(), reached.end(), 0);
        reached[start] = 1;
        beforeLast.assign(static_cast<std::size_t>(n), 2);  // matches no reached set
        bool cycling = false;  // the reached sets repeat without ever filling up
        int step = 1;
        for (; step <= kMaxConnectivitySteps; ++step) {
            host.yield();
            host.setCaption(Label::RunProgress, "Connectivity" + strnum(start + 1));
            if (cycling) continue;
            // A region is reached at this step when one of its neighbours was reached before.
            std::fill(next.begin(), next.end(), 0);
            for (int j = 0; j < n; ++j)
                if (reached[j])
                    for (int i : linked[j]) next[i] = 1;
            const int count = static_cast<int>(std::count(next.begin(), next.end(), 1));
            // The connection matrix is symmetric, so the sets settle into a cycle of length
            // one or two; once it is seen the set can never fill, but every step still yields.
            cycling = next == reached || next == beforeLast;
            beforeLast.swap(reached);
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
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return score[a] > score[b]; });
    return order;
}

}  // namespace el::engine
