#pragma once
// What a power pass needs of the region pairs that depends only on the regions it keeps and
// on which species weigh more than 0: the codes of those regions, the connection matrix with
// the outcome of its connectivity test, and how many cells of each row are known. The
// 40,000 passes of an examine-weight run meet only a few such combinations, so each frame
// is made once and shared by every pass (and thread) that needs it.

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "base/feedback.hpp"
#include "engine/kernels/connection_bits.hpp"
#include "engine/kernels/early_late_rows.hpp"
#include "engine/kernels/packed_codes.hpp"

namespace el::engine {

struct PassFrame {
    std::shared_ptr<const PackedCodes> codes;  // of the kept regions
    ConnectionBits links;                // A(i, j) = a species of weight above 0 relates i and j
    std::optional<int> failedStart;      // where the connectivity test failed, if it did
    std::vector<int> rowKnown;           // per row, the cells with A = 1
    long long known = 0;                 // all cells with A = 1
};

// The frame of `codes` (the regions kept) for the species that `weights` counts: the
// connection matrix, its connectivity test (captions and yields on `feedback`) and the
// known cells per row. The codes' rows are cut between `threads` threads.
std::shared_ptr<const PassFrame> makeFrame(std::shared_ptr<const PackedCodes> codes, const PackedWeights& weights,
                                           int threads, Feedback& feedback);

class PassFrames {
public:
    explicit PassFrames(const PackedCodes& all) : all_(all) {}

    // The frame of the regions at `keep` (ascending positions; every region when it holds
    // them all) for the species that `weights` counts. A new frame runs the connectivity
    // test, with its captions and yields on `feedback`. Safe to call from several threads.
    std::shared_ptr<const PassFrame> frame(const std::vector<int>& keep, const PackedWeights& weights, int threads,
                                           Feedback& feedback);

private:
    struct Entry {
        std::vector<int> keep;
        std::vector<int> species;
        std::shared_ptr<const PassFrame> frame;
    };
    struct Kept {
        std::vector<int> keep;
        std::shared_ptr<const PackedCodes> codes;
    };

    std::shared_ptr<const PassFrame> find(const std::vector<int>& keep, const std::vector<int>& species);
    std::shared_ptr<const PackedCodes> codesOf(const std::vector<int>& keep);

    const PackedCodes& all_;
    std::mutex listMutex_;    // guards entries_
    std::mutex makingMutex_;  // one frame made at a time; guards kept_
    std::vector<Entry> entries_;
    std::vector<Kept> kept_;
};

}  // namespace el::engine
