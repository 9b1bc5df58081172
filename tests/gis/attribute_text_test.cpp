#include <gtest/gtest.h>

#include "gis/attribute_text.hpp"

namespace el::gis {
namespace {

TEST(VectorFieldText, KeepsTextUnlessItWouldBreakTheRecord) {
    EXPECT_EQ(vectorFieldText("Arrived"), "Arrived");
    EXPECT_EQ(vectorFieldText("a, b"), "a, b");      // the writer quotes it
    EXPECT_EQ(vectorFieldText("5\" pipe"), "5\" pipe");  // a quote inside an unquoted field is plain text
    EXPECT_EQ(vectorFieldText("two\r\nlines\n"), "two  lines ");
    EXPECT_EQ(vectorFieldText(" \"quoted\" x"), " 'quoted' x");
    EXPECT_EQ(vectorFieldText("say \"hi\", then"), "say 'hi', then");
}

}  // namespace
}  // namespace el::gis
