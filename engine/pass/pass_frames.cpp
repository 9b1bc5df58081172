#include "engine/pass/pass_frames.hpp"

#include <utility>

#include "engine/pass/region_score.hpp"

namespace el::engine {
namespace {

// Frames are few; this bounds them should the exclusion limit keep changing during a run.
constexpr std::size_t kMostFrames = 16;

bool keepsAll(const std::vector<int>& keep, int regions) { return static_cast<int>(keep.size()) == regions; }

}  // namespace

std::shared_ptr<const PassFrame> makeFrame(std::shared_ptr<const PackedCodes> codes, const PackedWeights& weights,
                                           int threads, Feedback& feedback) {
    auto made = std::make_shared<PassFrame>();
    made->codes = std::move(codes);
    made->links = ConnectionBits(*made->codes, speciesMask(made->codes->species, weights.species), threads);
    made->failedStart = testConnectivity(made->links, feedback).failedStart;
    made->rowKnown.resize(static_cast<std::size_t>(made->links.size()));
    for (int i = 0; i < made->links.size(); ++i) {
        made->rowKnown[static_cast<std::size_t>(i)] = made->links.rowCount(i);
        made->known += made->rowKnown[static_cast<std::size_t>(i)];
    }
    return made;
}

std::shared_ptr<const PassFrame> PassFrames::find(const std::vector<int>& keep, const std::vector<int>& species) {
    const std::lock_guard lock(listMutex_);
    for (const Entry& entry : entries_)
        if (entry.species == species && entry.keep == keep) return entry.frame;
    return nullptr;
}

std::shared_ptr<const PackedCodes> PassFrames::codesOf(const std::vector<int>& keep) {
    // The codes of every region belong to the run; the frames only point at them.
    if (keepsAll(keep, all_.regions)) return {std::shared_ptr<const PackedCodes>(), &all_};
    for (const Kept& kept : kept_)
        if (kept.keep == keep) return kept.codes;
    if (kept_.size() >= kMostFrames) kept_.erase(kept_.begin());
    kept_.push_back({keep, std::make_shared<const PackedCodes>(keptCodes(all_, keep))});
    return kept_.back().codes;
}

std::shared_ptr<const PassFrame> PassFrames::frame(const std::vector<int>& keep, const PackedWeights& weights,
                                                   int threads, Feedback& feedback) {
    if (auto found = find(keep, weights.species)) return found;
    const std::lock_guard making(makingMutex_);
    if (auto found = find(keep, weights.species)) return found;  // made while this thread waited

    auto made = makeFrame(codesOf(keep), weights, threads, feedback);

    const std::lock_guard lock(listMutex_);
    if (entries_.size() >= kMostFrames) entries_.erase(entries_.begin());
    entries_.push_back({keep, weights.species, made});
    return made;
}

}  // namespace el::engine
