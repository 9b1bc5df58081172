#include <gtest/gtest.h>

#include "vector/vector_file.hpp"

namespace el {
namespace {

TEST(XrossLineLine, MeetingSegments) {
    EXPECT_EQ(vec::xross_line_line(0, 0, 2, 2, 0, 2, 2, 0), 1);  // crossing in the middle
    EXPECT_EQ(vec::xross_line_line(0, 0, 1, 0, 1, 0, 1, 1), 1);  // shared end point
    EXPECT_EQ(vec::xross_line_line(0, 0, 2, 0, 1, 0, 1, 5), 1);  // end point on the other segment
    EXPECT_EQ(vec::xross_line_line(1, 0, 1, 5, 0, 0, 2, 0), 1);  // the same, arguments swapped
}

TEST(XrossLineLine, SegmentsThatDoNotMeet) {
    EXPECT_EQ(vec::xross_line_line(0, 0, 2, 0, 0, 1, 2, 1), 0);   // parallel
    EXPECT_EQ(vec::xross_line_line(0, 0, 2, 0, 1, 0, 3, 0), 0);   // collinear and overlapping
    EXPECT_EQ(vec::xross_line_line(0, 0, 0, 0, 0, 0, 1, 1), 0);   // zero length
    EXPECT_EQ(vec::xross_line_line(0, 0, 1, 1, 2, 0, 3, -5), 0);  // lines meet beyond both ends
    EXPECT_EQ(vec::xross_line_line(0, 0, 1, 0, 2, -1, 2, 1), 0);  // beyond the first segment only
}

}  // namespace
}  // namespace el
