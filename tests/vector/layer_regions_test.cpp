#include "vector/layer_regions.hpp"

#include <gtest/gtest.h>

#include "tests/support/error_text.hpp"
#include "vector/records_error.hpp"

namespace el::vec {
namespace {

VectorPart part(const std::string& label, double x) { return {label, {x, x + 1, x + 1}, {0, 0, 1}}; }

std::vector<std::string> labels(const RegionShape& shape) {
    std::vector<std::string> out;
    for (const VectorPart& p : shape.parts) out.push_back(p.mergin);
    return out;
}

TEST(LayerRegions, SharedKeysJoinTheirPartsInFeatureOrder) {
    const RegionShape mainland{"polygon", {part("out", 0)}};
    const RegionShape islands{"area", {part("outer", 5), part("hole", 5), part("outer", 9)}};
    const RegionShape joined = joinedShape(mainland, islands, "the key \"036\" of field \"id\"");
    EXPECT_EQ(joined.type, "area");
    EXPECT_EQ(labels(joined), (std::vector<std::string>{"outer", "outer", "hole", "outer"}));
    EXPECT_EQ(joined.parts[2].x.front(), 5);  // the hole stays after the ring it belongs to

    const RegionShape rivers = joinedShape({"line", {part("root", 0)}}, {"tree", {part("line", 3)}}, "x");
    EXPECT_EQ(rivers.type, "tree");
    EXPECT_EQ(labels(rivers), (std::vector<std::string>{"line", "line"}));

    const std::string refused = test::errorText<RecordsError>([&] {
        joinedShape(mainland, {"line", {part("root", 0)}}, "the key \"036\" of field \"id\"");
    });
    EXPECT_EQ(refused.rfind("the key \"036\" of field \"id\" is shared by features whose geometries", 0), 0u)
        << refused;
    EXPECT_NE(test::errorText<RecordsError>([&] {
                  joinedShape({"point", {part("", 0)}}, {"point", {part("", 1)}}, "p");
              }),
              "no error");
}

TEST(LayerRegions, TheNoteCountsWhatWasLeftOutAndJoined) {
    EXPECT_EQ(layerNote({"id", 0, 0, {}, 0}), "");
    EXPECT_EQ(layerNote({"id", 1, 2, {}, 0}),
              "; 1 feature of the regions layer with an empty \"id\" left out; 2 features of the regions layer without "
              "geometry left out");
    EXPECT_EQ(layerNote({"iso", 0, 0, {"a", "b", "c", "d", "e", "f", "g"}, 15}),
              "; 15 features of the regions layer joined into 7 regions by their shared \"iso\": \"a\", \"b\", \"c\", "
              "\"d\", \"e\" and 2 more");
}

}  // namespace
}  // namespace el::vec
