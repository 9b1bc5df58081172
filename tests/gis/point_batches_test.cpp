#include "gis/point_batches.hpp"

#include <gtest/gtest.h>

#include "base/work_pool.hpp"

namespace el::test {
namespace {

gis::PointBatch batchOf(std::int64_t line) { return {gis::OccurrencePoint{"Aus", 1.0, 2.0, 1990.0, line}}; }

TEST(PointBatches, HandOnInOrderUntilFinishedAndStopWaitingWhenAbandoned) {
    gis::PointBatches batches(2);
    std::vector<std::int64_t> taken;
    onThreads(2, [&](int t) {
        if (t == 0) {
            for (std::int64_t line = 1; line <= 50; ++line) ASSERT_TRUE(batches.push(batchOf(line)));
            batches.finish();
            return;
        }
        while (std::optional<gis::PointBatch> batch = batches.pop()) taken.push_back(batch->front().line);
    });
    ASSERT_EQ(taken.size(), 50U);
    for (std::size_t i = 0; i < taken.size(); ++i) EXPECT_EQ(taken[i], static_cast<std::int64_t>(i + 1));
    EXPECT_FALSE(batches.pop().has_value());  // finished and taken: no wait

    // A reader blocked on a full hand-over goes on once the placer gives up, and vice versa.
    gis::PointBatches full(1);
    bool pushedAfterAbandon = true;
    onThreads(2, [&](int t) {
        if (t == 0) {
            full.push(batchOf(1));
            pushedAfterAbandon = full.push(batchOf(2));
            return;
        }
        full.abandon();
    });
    EXPECT_FALSE(pushedAfterAbandon);
    gis::PointBatches empty;
    bool gotAfterAbandon = true;
    onThreads(2, [&](int t) {
        if (t == 0) gotAfterAbandon = empty.pop().has_value();
        else empty.abandon();
    });
    EXPECT_FALSE(gotAfterAbandon);
}

}  // namespace
}  // namespace el::test
