#include "gis/occurrence_points.hpp"

#include <map>

#include <gtest/gtest.h>

#include "base/numtext.hpp"
#include "fuzz/occurrence_entry.hpp"
#include "gis/gis_error.hpp"
#include "tests/support/temp_dir.hpp"

namespace el::test {
namespace {

using Texts = std::vector<std::string>;

// Reading lines one by one, as the R package does with a table it read whole: every line is
// counted, and only a line with coordinates, a species and a date is a point.
TEST(OccurrenceReader, ALineIsAPointOrCountedForWhatItLacks) {
    gis::OccurrenceResult result;
    gis::OccurrenceReader reader({"Lon", "LAT", "scientificName", "year", "eventDate"}, {}, ';', result);
    const auto point = reader.pointOf({"10,5", "50.25", " SpA ", "", "2004-06"}, 2);
    ASSERT_TRUE(point.has_value());
    EXPECT_EQ(point->species, "SpA");
    EXPECT_EQ(point->longitude, 10.5);  // a decimal comma outside a comma-delimited file
    EXPECT_EQ(point->latitude, 50.25);
    EXPECT_GT(point->date, 2004.4);  // the event date stands in for an empty year
    EXPECT_EQ(point->line, 2);
    EXPECT_FALSE(reader.pointOf({"181", "0", "SpA", "1990"}, 3));
    EXPECT_FALSE(reader.pointOf({"1", "0", "  ", "1990"}, 4));
    EXPECT_FALSE(reader.pointOf({"1", "0", "SpA", "later"}, 5));
    EXPECT_FALSE(reader.pointOf({"1"}, 6));  // a short row lacks its latitude
    EXPECT_EQ(result.points, 5);
    EXPECT_EQ(result.badCoordinates, 2);
    EXPECT_EQ(result.badRows, (std::vector<std::int64_t>{3, 6}));
    EXPECT_EQ(result.unnamed, 1);
    EXPECT_EQ(result.undated, 1);

    gis::OccurrenceResult commas;
    gis::OccurrenceReader commaReader({"species", "x", "y", "date"}, {}, ',', commas);
    EXPECT_FALSE(commaReader.pointOf({"SpA", "10,5", "50", "1990"}, 2));
    EXPECT_THROW(gis::OccurrenceReader({"species", "x", "y"}, {}, ',', commas), gis::GisError);
}

// Absences, fossils and living specimens are not arrivals of a wild population: each is set
// aside and counted before the other checks, unless specimens are kept; a status that is not
// absence and a basis that is not a specimen keep the point.
TEST(OccurrenceReader, AbsencesAndSpecimensAreSetAsideEachCountedApart) {
    const std::vector<std::string> headers{"species", "decimalLongitude", "decimalLatitude",
                                           "year",    "occurrenceStatus", "basisOfRecord"};
    const std::vector<gis::Cells> lines{
        {"SpA", "1", "1", "1990", "PRESENT", "HUMAN_OBSERVATION"},
        {"SpA", "1", "1", "1980", "ABSENT", "HUMAN_OBSERVATION"},
        {"SpA", "1", "1", "1970", "present", "FOSSIL_SPECIMEN"},
        {"SpA", "1", "1", "1960", "", "LIVING_SPECIMEN"},
        {"SpA", "1", "1", "1950", "", "LivingSpecimen"},
        {"SpA", "x", "1", "1940", "ABSENT", "PRESERVED_SPECIMEN"},  // absent before its bad coordinates
        {"SpA", "1", "1", "1930", "established", "PRESERVED_SPECIMEN"},
    };
    const auto read = [&](gis::OccurrenceRules rules, gis::OccurrenceResult& result) {
        gis::OccurrenceReader reader(headers, {}, '\t', result, rules);
        std::vector<double> kept;
        for (std::size_t i = 0; i < lines.size(); ++i)
            if (auto point = reader.pointOf(lines[i], static_cast<std::int64_t>(i) + 2)) kept.push_back(point->date);
        return kept;
    };
    gis::OccurrenceResult wild;
    EXPECT_EQ(read({}, wild), (std::vector<double>{1990, 1930}));
    EXPECT_EQ(wild.absent, 2);
    EXPECT_EQ(wild.fossils, 1);
    EXPECT_EQ(wild.living, 2);
    EXPECT_EQ(wild.badCoordinates, 0);
    const std::string line = wild.summaryLine();
    EXPECT_NE(line.find(", 2 absent (occurrenceStatus), 1 fossil specimen and 2 living specimens set aside "
                        "(--keep-specimens keeps them)"),
              std::string::npos)
        << line;

    gis::OccurrenceResult kept;
    EXPECT_EQ(read({.keepSpecimens = true}, kept), (std::vector<double>{1990, 1970, 1960, 1950, 1930}));
    EXPECT_EQ(kept.absent, 2);
    EXPECT_EQ(kept.fossils + kept.living, 0);
    EXPECT_NE(kept.summaryLine().find("fossil and living specimens kept"), std::string::npos);

    gis::OccurrenceResult plain;  // a file without these columns says nothing of them
    gis::OccurrenceReader reader({"species", "x", "y", "year"}, {}, ',', plain);
    EXPECT_TRUE(reader.pointOf({"SpA", "1", "1", "1990"}, 2));
    EXPECT_EQ(plain.summaryLine().find("absent"), std::string::npos);
    EXPECT_EQ(plain.summaryLine().find("specimen"), std::string::npos);
}

// The records come out by region, then species, whatever order the points came in; of two
// points of the same date the first read stays.
TEST(EarliestPoints, OneRecordPerRegionAndSpeciesInLayerOrder) {
    gis::EarliestPoints earliest;
    earliest.keep(1, {"SpB", 0, 0, 1990.0, 2});
    earliest.keep(0, {"SpB", 0, 0, 1995.0, 3});
    earliest.keep(0, {"SpA", 0, 0, 2001.0, 4});
    earliest.keep(0, {"SpA", 0, 0, 1999.5, 5});
    earliest.keep(0, {"SpA", 0, 0, 1999.5, 6});
    earliest.keep(0, {"SpA", 0, 0, 2000.0, 7});
    const std::vector<vec::Record> found = earliest.records({"Alder", "Ash"});
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0].region, "Alder");
    EXPECT_EQ(found[0].species, "SpA");
    EXPECT_EQ(found[0].date, "1999.5");
    EXPECT_EQ(found[0].row, 5);
    EXPECT_EQ(found[1].species, "SpB");
    EXPECT_EQ(found[2].region, "Ash");
    EXPECT_EQ(found[2].row, 2);
}

// The hashed pairs give what a plain ordered map of (region, species name) gives, on many
// points with many ties of date, names that sort otherwise than they arrive, and regions far apart.
TEST(EarliestPoints, AsAPlainOrderedMapKeepsThem) {
    std::map<std::pair<std::size_t, std::string>, std::pair<double, std::int64_t>> plain;
    gis::EarliestPoints earliest;
    std::uint64_t state = 12345;
    const auto draw = [&](std::uint64_t below) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return (state >> 33) % below;
    };
    std::vector<std::string> keys;
    for (int k = 0; k < 40; ++k) keys.push_back("R" + std::to_string(k));
    for (std::int64_t line = 2; line < 20000; ++line) {
        const std::size_t region = draw(4) == 0 ? 39 : draw(12);
        const std::string species = std::string(draw(3) == 0 ? "Zeta " : "Alpha ") + std::to_string(draw(30));
        const double date = 1900.0 + static_cast<double>(draw(50)) + (draw(2) == 0 ? 0.5 : 0.0);
        const auto [entry, added] = plain.try_emplace({region, species}, date, line);
        if (!added && date < entry->second.first) entry->second = {date, line};
        earliest.keep(region, {species, 0, 0, date, line});
    }
    const std::vector<vec::Record> found = earliest.records(keys);
    ASSERT_EQ(found.size(), plain.size());
    std::size_t i = 0;
    for (const auto& [pair, first] : plain) {
        SCOPED_TRACE(i);
        EXPECT_EQ(found[i].region, keys[pair.first]);
        EXPECT_EQ(found[i].species, pair.second);
        EXPECT_EQ(found[i].date, plainnum(first.first));
        EXPECT_EQ(found[i].row, first.second);
        ++i;
    }
}

// Every input the occurrence reader's fuzzer kept runs once through the same entry.
TEST(OccurrenceReader, EveryKeptFuzzInputReadsWithoutAFault) {
    const std::filesystem::path folder = std::filesystem::path(EARLYLATE_SOURCE_DIR) / "fuzz" / "corpus-occurrences";
    std::size_t count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        SCOPED_TRACE(entry.path().string());
        EXPECT_EQ(fuzz::occurrencesOnBytes(readFile(entry.path())), 0);
        ++count;
    }
    EXPECT_GE(count, 2u);
}

}  // namespace
}  // namespace el::test
