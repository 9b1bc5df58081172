// A data set built from a records table forecasts exactly as the same data written as a
// vector file and read back.

#include <gtest/gtest.h>

#include "engine/run/engine.hpp"
#include "tests/support/recording_host.hpp"
#include "tests/vector/vector_fixture.hpp"
#include "vector/records.hpp"

namespace el::vec {
namespace {

// Ten regions reached from R1 onwards by four species and the target T, as a first-record
// database lists them: records in no particular order, some repeated later, ISO dates,
// keywords, and pairs without a record (T has not reached R9 and R10).
std::string recordsTable() {
    std::string csv = "\xEF\xBB\xBF" "Region;Species;First_record\r\n";
    const char* species[] = {"A", "B", "C", "D", "T"};
    for (int s = 4; s >= 0; --s)
        for (int r = 1; r <= 10; ++r) {
            if (s == 4 && r >= 9) continue;
            if (s == 2 && r == 5) continue;  // C: no record in R5
            const int year = 1950 + 4 * s + 3 * r + (r * s) % 5;
            csv += "R" + std::to_string(r) + ";" + species[s] + ";" + std::to_string(year) + "\r\n";
            if (r % 3 == 0) csv += "R" + std::to_string(r) + ";" + species[s] + ";" + std::to_string(year + 2) + "\r\n";
        }
    csv += "R2;D;1966-03-15\r\nR7;A;Arrived\r\nR8;B;Unknown\r\n";
    return csv;
}

struct Forecast {
    std::vector<std::string> log;
    engine::RunResult result;
};

Forecast forecastOf(const vec::VectorData& data) {
    test::RecordingHost host;
    host.values.set(Setting::TargetSpecies, "T");
    host.values.set(Setting::DoReliability, "0");
    engine::RunRequest request;
    request.data = &data;
    request.species = {"A", "B", "C", "D", "T"};
    request.sourceWritable = false;
    request.calculationDate = "12-07-2026";
    engine::Engine engine;
    Forecast forecast;
    forecast.result = engine.run(request, host);
    forecast.log = host.log;
    return forecast;
}

TEST(RecordsForecast, EqualsTheForecastOfItsVectorFile) {
    test::VectorFixture fixture;
    BuiltRecords built = buildRecordsData(recordsOf(readDelimitedTable(recordsTable(), "auto"), {}), {});
    vec::ReadOutcome fromTable = vec::readVectorData(built.data, "null", fixture.host);
    ASSERT_EQ(fromTable.erf, 0);
    Feedback quiet;
    const auto text = vec::vectorFileText(built.data, "null", quiet);
    ASSERT_TRUE(text);
    const vec::ReadOutcome fromFile = fixture.read(*text);
    ASSERT_EQ(fromFile.erf, 0);

    ASSERT_EQ(fromTable.data.objn(), fromFile.data.objn());
    for (int r = 0; r < fromFile.data.objn(); ++r) {
        EXPECT_EQ(fromTable.data.objects[static_cast<std::size_t>(r)].name,
                  fromFile.data.objects[static_cast<std::size_t>(r)].name);
        EXPECT_EQ(fromTable.data.objects[static_cast<std::size_t>(r)].values,
                  fromFile.data.objects[static_cast<std::size_t>(r)].values)
            << "region " << r + 1;
    }
    EXPECT_EQ(fromTable.data.objects[8].values[0], "NotYetArrived");  // T, no record in R9

    const Forecast a = forecastOf(fromTable.data), b = forecastOf(fromFile.data);
    ASSERT_EQ(a.result.status, engine::RunStatus::Completed);
    EXPECT_EQ(a.log, b.log);
    ASSERT_EQ(a.result.species.size(), b.result.species.size());
    for (std::size_t s = 0; s < a.result.species.size(); ++s)
        EXPECT_EQ(a.result.species[s].predicted, b.result.species[s].predicted);
    EXPECT_FALSE(a.result.species[static_cast<std::size_t>(a.result.target)].predicted.empty());
}

}  // namespace
}  // namespace el::vec
