// The write-back returns the source in the encoding (and byte order mark) it was read in.

#include <gtest/gtest.h>

#include "engine/model/run_error.hpp"
#include "engine/run/writeback.hpp"
#include "tests/support/error_text.hpp"
#include "tests/support/recording_host.hpp"
#include "tests/support/temp_dir.hpp"
#include "vector/text_encoding.hpp"
#include "vector/vector_file.hpp"

namespace el::engine {
namespace {

namespace fs = std::filesystem;
using test::readFile;

// One region with species 分布 (CP932 95 aa 95 7a) named 京都 (8b 9e 93 73).
const std::string kUtf8Source = "vector\r\n日本\r\nsp1,type$,name$,n,x,y\r\n分布,point,京都,1,0,0\r\n";

PredictionColumns oneRegion(const std::string& prediction) {
    PredictionColumns c;
    c.regionviable = {0};
    c.used.regno = {0};
    c.used.name = {"京都"};
    c.score = {1};
    c.speciesNames = {"sp1"};
    c.table = {{prediction}};
    return c;
}

std::string toCp932(const std::string& utf8) {
    vec::TextEncoder encoder("CP932");
    std::string out, problem;
    EXPECT_TRUE(encoder.encode(utf8, out, problem)) << problem;
    return out;
}

class EncodedWriteBack : public ::testing::Test {
protected:
    vec::VectorData readBack(const std::string& bytes) {
        test::writeFile(source, bytes);
        const vec::ReadOutcome read = vec::readVectorFile(source, "null", host, {});
        EXPECT_EQ(read.erf, 0);
        return read.data;
    }

    test::TempDir work;
    fs::path source = work / "regions.csv";
    test::RecordingHost host;
};

TEST_F(EncodedWriteBack, Cp932ByteOrderMarkAndPlainUtf8AreKept) {
    const std::string expected =
        "vector\r\n日本\r\nsp1,Number of viable pairs of early-late relation,Relative infestation date,Predicted_sp1,"
        "type$,name$,n,x,y\r\n分布,0,1, 2001,point,京都, 1 , 0 , 0 \r\n";

    vec::VectorData loaded = readBack(toCp932(kUtf8Source));
    ASSERT_EQ(loaded.encoding.name, "CP932");
    addPredictionToSource(loaded, oneRegion(" 2001"), "null", source, host);
    EXPECT_EQ(readFile(source), toCp932(expected));

    loaded = readBack("\xEF\xBB\xBF" + kUtf8Source);
    ASSERT_TRUE(loaded.encoding.bom);
    addPredictionToSource(loaded, oneRegion(" 2001"), "null", source, host);
    EXPECT_EQ(readFile(source), "\xEF\xBB\xBF" + expected);

    loaded = readBack(kUtf8Source);
    addPredictionToSource(loaded, oneRegion(" 2001"), "null", source, host);
    EXPECT_EQ(readFile(source), expected);
}

TEST_F(EncodedWriteBack, ACharacterTheEncodingCannotHoldLeavesTheSourceUntouched) {
    const std::string original = toCp932(kUtf8Source);
    const vec::VectorData loaded = readBack(original);
    // A text the source's encoding has no code for (an emoji) in the new columns.
    EXPECT_EQ(test::errorText<RunError>([&] {
                  addPredictionToSource(loaded, oneRegion("\xF0\x9F\x90\x9B"), "null", source, host);
              }),
              "The prediction could not be added to " + source.string() +
                  ": the character \"\xF0\x9F\x90\x9B\" cannot be written in CP932 (line 4)");
    EXPECT_EQ(readFile(source), original);
    EXPECT_EQ(test::filesIn(work.path()), (std::vector<std::string>{"regions.csv"}));
}

}  // namespace
}  // namespace el::engine
