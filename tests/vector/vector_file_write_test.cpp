#include <gtest/gtest.h>

#include "tests/vector/vector_fixture.hpp"
#include "vector/vector_file.hpp"

namespace el::test {
namespace {

vec::VectorPart part(std::string label, std::vector<double> x, std::vector<double> y) {
    return vec::VectorPart{std::move(label), std::move(x), std::move(y)};
}

vec::VectorData sample() {
    vec::VectorData data;
    data.filetype = "vector";
    data.comment = "north, south";
    data.sizes = {2, 3, 11, 2, 3};
    data.valname = {"sp1", "Sp,2", "type$", "name$", "n", "a", "b", "c", "d", "e", "f", "g", "h"};
    data.objects = {{{"1998", "null"}, "polygon", "A", {part("out", {0, .5, 1e20}, {-1.25, 2, 0})}},
                    {{"NULL", "2"}, "area", "Kanto, east", {part("o", {1, 2}, {3, 4}), part("i", {5}, {6})}},
                    {{"x", "y"}, "point", "P", {part("", {7}, {8})}}};
    return data;
}

TEST(VectorFileWrite, WritesTheFormatByteForByte) {
    VectorFixture f;
    vec::VectorData data = sample();
    ASSERT_EQ(vec::VectorFileWrite(f.dir / "out.csv", data, "null", f.host), 0);
    EXPECT_EQ(readFile(f.dir / "out.csv"),
              crlf({"vector", "\"north, south\"", "sp1,\"Sp,2\",type$,name$,n,a,b,c,d,e,f,g,h,",
                    "1998,,polygon,A, 3 , 0 ,-1.25 , .5 , 2 , 1E+20 , 0 ,",
                    "NULL,2,area,\"Kanto, east\", 2 ,o, 2 , 1 , 3 , 2 , 4 ,i, 1 , 5 , 6 ,", "x,y,point,P, 1 , 7 , 8 ,"}));
    EXPECT_EQ(data.objects[0].values[1], "");  // emptied in the data set as well
    EXPECT_GE(f.host.yields, 4);

    EXPECT_EQ(vec::VectorFileWrite(f.dir / "no-such-folder" / "out.csv", data, "null", f.host), 1);
    data.objects[0].parts.clear();  // a polygon without its node list is refused, not written
    EXPECT_EQ(vec::VectorFileWrite(f.dir / "other.csv", data, "null", f.host), 1);
    EXPECT_FALSE(vec::vectorFileText(data, "null", f.host));
    EXPECT_FALSE(std::filesystem::exists(f.dir / "other.csv"));
    EXPECT_TRUE(f.host.messages.empty());  // the caller reports, with its own context
}

TEST(VectorFileWrite, WhatIsWrittenReadsBackUnchanged) {
    VectorFixture f;
    vec::VectorData data;
    data.filetype = "vector";
    data.comment = "round, trip";
    data.sizes = {2, 5, 21, 2, 4};
    data.valname = {"Sp1", "Sp,2", "TYPE$", "NAME$", "n"};
    data.valname.resize(23, "c");
    const std::vector<double> odd = {0.1, -123456789.012345, 1e-7, 1.5e20, 2.5e-300, 999999999999999, -0.3};
    data.objects = {
        {{"1998.5", "null"}, "area", "A, 1", {part("ring", {odd[0], odd[1], odd[2], 4}, {odd[3], odd[4], odd[5], 5}),
                                              part("hole", {odd[6], 1, 2}, {3, 0.7, 1e-5})}},
        {{"Arrived", "未分布"}, "tree", "T", {part("trunk", {1}, {2})}},
        {{"null", "2000"}, "polygon", "Q", {part("out", {1.25, 2, 3}, {-4, 5e15, 6})}},
        {{"x", "y"}, "line", "L", {part("root", {0.3, 0.6}, {1.0 / 3, 2.0 / 3})}},
        {{"1", "2"}, "point", "P", {part("", {-0.001}, {123.456})}},
    };
    vec::VectorData expected = data;
    expected.objects[3].parts[0].y = {0.333333333333333, 0.666666666666667};  // 15 significant digits

    const auto text = vec::vectorFileText(data, "null", f.host);
    ASSERT_TRUE(text);
    const vec::ReadOutcome back = f.read(*text);
    ASSERT_EQ(back.erf, 0);
    EXPECT_EQ(back.data.comment, expected.comment);
    EXPECT_EQ(back.data.valname, expected.valname);
    ASSERT_EQ(back.data.objects.size(), expected.objects.size());
    for (std::size_t i = 0; i < expected.objects.size(); ++i) {
        const vec::VectorObject& got = back.data.objects[i];
        const vec::VectorObject& want = expected.objects[i];
        EXPECT_EQ(std::tie(got.values, got.type, got.name), std::tie(want.values, want.type, want.name));
        ASSERT_EQ(got.noden(), want.noden());
        for (int p = 0; p < want.noden(); ++p) {
            EXPECT_EQ(got.parts[static_cast<std::size_t>(p)].mergin, want.parts[static_cast<std::size_t>(p)].mergin);
            EXPECT_EQ(got.parts[static_cast<std::size_t>(p)].x,
                      want.parts[static_cast<std::size_t>(p)].x);  // exact: bit for bit
            EXPECT_EQ(got.parts[static_cast<std::size_t>(p)].y, want.parts[static_cast<std::size_t>(p)].y);
        }
    }
}

}  // namespace
}  // namespace el::test
