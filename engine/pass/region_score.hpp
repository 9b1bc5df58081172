#pragma once
// From the early-late matrix to one score per region: exclusion of regions with few
// relations, the connectivity test, and the order of regions by score.

#include <optional>
#include <string>
#include <vector>

#include "base/feedback.hpp"
#include "base/settings.hpp"
#include "engine/kernels/connection_bits.hpp"
#include "engine/kernels/square_matrix.hpp"

namespace el::engine {

// The regions finally used: used position p (0-based) holds region number regno[p]
// (0-based place among all regions, file order) and its name.
struct UsedRegions {
    std::vector<int> regno;
    std::vector<std::string> name;
    int size() const { return static_cast<int>(regno.size()); }
};

// All regions in file order.
UsedRegions allRegions(const std::vector<std::string>& names);

// Removes every region whose `regionviable` count is at most the limit from M, W and the
// used list, keeping the others in file order. The limit text (the "excluding limit"
// setting) is read from the settings anew for every region and must be a number, else
// RunError. Yields once per region.
void excludeRegions(SquareMatrix& M, SquareMatrix& W, UsedRegions& used, const std::vector<int>& regionviable,
                    const SettingsSource& settings, Feedback& feedback);

// The exclusion's decision alone, with the same reads and yields: the used positions that
// stay, ascending.
std::vector<int> keptPositions(const UsedRegions& used, const std::vector<int>& regionviable,
                               const SettingsSource& settings, Feedback& feedback);
// Cuts the used list down to the positions `keep` (ascending).
void keepPositions(UsedRegions& used, const std::vector<int>& keep);

// The connectivity test over A(i, j) = [W(i, j) > 0]: for each start region c in turn the
// reached set is propagated for up to 1000 steps ("Connectivity" + strnum(c + 1) on the run
// progress label, one yield per step). Returns `connectsteps` of every start region tested
// and, when a start region needs 1000 steps or more, its 0-based position (later start
// regions are not tested).
struct ConnectivityResult {
    std::vector<int> connectsteps;
    std::optional<int> failedStart;
};
ConnectivityResult testConnectivity(const SquareMatrix& W, Feedback& feedback);
ConnectivityResult testConnectivity(const ConnectionBits& links, Feedback& feedback);

// regionorder: used positions sorted by score, largest first; ties keep the lower position.
std::vector<int> regionOrder(const std::vector<double>& score);

}  // namespace el::engine
