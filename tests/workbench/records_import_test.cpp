// "Records table...": the dialog's column lists follow the table's headers, and an import
// fills the species list and gives the run the batch runner makes from the same table.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>

#include <cstdint>

#include "tests/support/temp_dir.hpp"
#include "tests/workbench/window_fixture.hpp"
#include "workbench/records_dialog.hpp"

using el::Setting;
using el::test::crlf;
using el::test::readFile;
using el::test::TempDir;
using el::test::WindowUnderTest;
using el::test::writeFile;
using el::vec::RecordsSource;
using el::workbench::RecordsDialog;

namespace {

QString qpath(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

#ifdef EARLYLATE_HAVE_GIS
// A zip archive holding one file, stored as it is (no compression), as a download may come.
std::string storedZip(const std::string& name, const std::string& bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const char c : bytes) {
        crc ^= static_cast<unsigned char>(c);
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    crc ^= 0xFFFFFFFFu;
    std::string out;
    const auto put = [&out](std::uint32_t value, int size) {
        for (int k = 0; k < size; ++k) out += static_cast<char>((value >> (8 * k)) & 0xFFu);
    };
    const auto size = static_cast<std::uint32_t>(bytes.size());
    const auto nameSize = static_cast<std::uint32_t>(name.size());
    put(0x04034B50u, 4), put(20, 2), put(0, 2), put(0, 2), put(0, 2), put(0x21, 2);
    put(crc, 4), put(size, 4), put(size, 4), put(nameSize, 2), put(0, 2);
    out += name + bytes;
    const auto directory = static_cast<std::uint32_t>(out.size());
    put(0x02014B50u, 4), put(20, 2), put(20, 2), put(0, 2), put(0, 2), put(0, 2), put(0x21, 2);
    put(crc, 4), put(size, 4), put(size, 4), put(nameSize, 2), put(0, 2), put(0, 2), put(0, 2), put(0, 2);
    put(0, 4), put(0, 4);
    out += name;
    const auto directorySize = static_cast<std::uint32_t>(out.size()) - directory;
    put(0x06054B50u, 4), put(0, 2), put(0, 2), put(1, 2), put(1, 2), put(directorySize, 4), put(directory, 4),
        put(0, 2);
    return out;
}
#endif

// A first-record table as a spreadsheet saves it: semicolons, CR LF, a byte order mark,
// columns in an order of their own, a duplicate record and pairs without any record.
std::string spreadsheetTable() {
    std::string text = "\xEF\xBB\xBF";
    text += crlf({"Year;Taxon;Country", "1950;Alpha;North", "1953;Alpha;West", "1955;Alpha;East", "1958;Alpha;South",
                  "1961;Alpha;Centre", "1962;Beta;North", "1966;Beta;East", "1964;Beta;West", "1970;Beta;South",
                  "1969;Beta;Centre", "1975;Gamma;West", "1972;Gamma;North", "1979;Gamma;South", "1981;Gamma;Centre",
                  "1990;Target;North", "1994;Target;West", "1988;Target;North", "1997;Target;East"});
    return text;
}

// The regions as GeoJSON squares, keyed by a field with leading zeros.
std::string squaresLayer() {
    const char* keys[] = {"001", "002", "003", "004", "005"};
    std::string features;
    for (int i = 0; i < 5; ++i) {
        const std::string x0 = std::to_string(i), x1 = std::to_string(i + 1);
        if (i > 0) features += ",";
        features += R"({"type":"Feature","properties":{"code":")" + std::string(keys[i]) +
                    R"("},"geometry":{"type":"Polygon","coordinates":[[[)" + x0 + ",0],[" + x1 + ",0],[" + x1 +
                    ",1],[" + x0 + ",1],[" + x0 + ",0]]]}}";
    }
    return R"({"type":"FeatureCollection","features":[)" + features + "]}";
}

struct BatchOutcome {
    QStringList log;
    QString stderrText;
};

BatchOutcome batchRun(const TempDir& work, QStringList options) {
    QProcess batch;
    batch.setWorkingDirectory(qpath(work.path()));
    options << "-o" << "batch.log";
    batch.start(QStringLiteral(EARLYLATE_BIN_DIR "/earlylate-batch"), options);
    if (!batch.waitForFinished(60000) || batch.exitCode() != 0) return {};
    QStringList lines = QString::fromStdString(readFile(work / "batch.log")).split("\r\n");
    lines.removeLast();  // after the last CR LF
    return {lines, QString::fromUtf8(batch.readAllStandardError())};
}

std::vector<std::string> headersOf(const std::filesystem::path& table) {
    return el::readRecordsTable(table, "auto").headers;
}

QStringList entries(const QComboBox* combo) {
    QStringList out;
    for (int i = 0; i < combo->count(); ++i) out.append(combo->itemText(i));
    return out;
}

// A build without the GIS part refuses an import that needs it, says why and loads nothing;
// true when it did.
bool refusedForWantOfGis(const WindowUnderTest& w) {
#ifdef EARLYLATE_HAVE_GIS
    Q_UNUSED(w);
    return false;
#else
    [&] {
        QCOMPARE(w.messages.size(), 1);
        QVERIFY2(w.messages[0].contains("need the GIS part"), qPrintable(w.messages[0]));
        QVERIFY(w.window->data() == nullptr);
    }();
    return true;
#endif
}

}  // namespace

class RecordsImportTest : public QObject {
    Q_OBJECT
private slots:
    void dialogListsTheHeadersAndKeepsTheChoices() {
        TempDir data;
        writeFile(data / "first.csv", spreadsheetTable());
        writeFile(data / "other.tsv", crlf({"region\tspecies\tdate\tNote", "A\tX\t1990\t"}));
        RecordsDialog dialog(headersOf);
        dialog.setTable(qpath(data / "first.csv"));
        auto* region = dialog.findChild<QComboBox*>("RegionColumn");
        const QStringList headers{RecordsDialog::foundByNameCaption(), "Year", "Taxon", "Country"};
        QCOMPARE(entries(region), headers);
        QCOMPARE(entries(dialog.findChild<QComboBox*>("DateColumn")), headers);
        QCOMPARE(dialog.findChild<QLabel*>("TableNote")->text(),
                 QString("Found by their headers: region \"Country\", species \"Taxon\", date \"Year\"."));

        RecordsSource chosen;
        chosen.table = data / "first.csv";
        chosen.columns = {"Country", "Taxon", "Year", "Country"};
        chosen.regions = data / "squares.geojson";
        chosen.joinField = "code";
        chosen.absent = el::vec::Absence::Unknown;
        chosen.dropUnmatched = true;
        chosen.countryCodes = "alpha-3";
        chosen.filters = {"LifeForm=Insects", "Year=1990,1991"};
        chosen.minRegions = 4;
        dialog.setSource(chosen);
        const RecordsSource shown = dialog.source();
        QCOMPARE(shown.columns.region, std::string("Country"));
        QCOMPARE(shown.columns.species, std::string("Taxon"));
        QCOMPARE(shown.columns.date, std::string("Year"));
        QCOMPARE(shown.regions, chosen.regions);
        QCOMPARE(shown.columns.key, std::string("Country"));
        QCOMPARE(shown.joinField, std::string("code"));
        QVERIFY(shown.absent == el::vec::Absence::Unknown);
        QVERIFY(shown.dropUnmatched);
        QCOMPARE(shown.countryCodes, std::string("alpha-3"));
        QCOMPARE(shown.filters, chosen.filters);
        QCOMPARE(shown.minRegions, 4);
        dialog.findChild<QLineEdit*>("RowFilters")->setText(" ; Kind=a ;;");
        dialog.findChild<QComboBox*>("CountryCodes")->setCurrentIndex(0);
        QCOMPARE(dialog.source().filters, std::vector<std::string>{"Kind=a"});
        QCOMPARE(dialog.source().countryCodes, std::string());

        // Another table without the chosen columns: each goes back to being found by its header.
        dialog.setTable(qpath(data / "other.tsv"));
        QCOMPARE(entries(region), QStringList({RecordsDialog::foundByNameCaption(), "region", "species", "date", "Note"}));
        QCOMPARE(dialog.source().columns.region, std::string());
        // A table that cannot be read says why and offers no column.
        dialog.setTable(qpath(data / "missing.csv"));
        QCOMPARE(region->count(), 1);
        QVERIFY(dialog.findChild<QLabel*>("TableNote")->text().contains("cannot be read"));
    }

    // A download as it comes, a .zip holding one table, fills the lists as the table does.
    void dialogReadsTheHeadersOfAZippedTable() {
#ifdef EARLYLATE_HAVE_GIS
        TempDir data;
        writeFile(data / "0001.zip", storedZip("0001.csv", spreadsheetTable()));
        RecordsDialog dialog(headersOf);
        dialog.setTable(qpath(data / "0001.zip"));
        QCOMPARE(entries(dialog.findChild<QComboBox*>("SpeciesColumn")),
                 (QStringList{RecordsDialog::foundByNameCaption(), "Year", "Taxon", "Country"}));
        QCOMPARE(dialog.source().table, data / "0001.zip");
#else
        QSKIP("zips are read by the GIS part");
#endif
    }

    // A workbook offers its sheets: by default the first with the three columns fills the
    // lists; another chosen fills them with its own headers and is what the import reads.
    void dialogOffersTheSheetsOfAWorkbook() {
        const std::vector<el::vec::SheetHeaders> book{{"ReadMe", {"About"}},
                                                      {"Records", {"Region", "TaxonName", "FirstRecord"}}};
        RecordsDialog dialog([](const std::filesystem::path&) -> std::vector<std::string> {
            throw std::runtime_error("a workbook's headers come from its sheets");
        });
        dialog.setSheetReader([&](const std::filesystem::path&) { return book; });
        dialog.setTable(QStringLiteral("db.xlsx"));
        auto* sheet = dialog.findChild<QComboBox*>("SheetName");
        auto* region = dialog.findChild<QComboBox*>("RegionColumn");
        QVERIFY(sheet->isEnabled());
        QCOMPARE(sheet->count(), 3);
        QCOMPARE(entries(region).mid(1), (QStringList{"Region", "TaxonName", "FirstRecord"}));
        QCOMPARE(dialog.source().sheet, std::string());
        sheet->setCurrentIndex(1);
        QCOMPARE(entries(region).mid(1), QStringList{"About"});
        QCOMPARE(dialog.source().sheet, std::string("ReadMe"));
        RecordsSource chosen;
        chosen.table = "db.xlsx";
        chosen.sheet = "Gone";
        dialog.setSource(chosen);
        QVERIFY2(dialog.findChild<QLabel*>("TableNote")->text().contains("no sheet named \"Gone\""),
                 qPrintable(dialog.findChild<QLabel*>("TableNote")->text()));
        QCOMPARE(dialog.source().sheet, std::string("Gone"));  // refused by the import with the sheets
        dialog.setTable(QStringLiteral("first.csv"));          // no spreadsheet: no sheet to choose
        QVERIFY(!sheet->isEnabled());
        QCOMPARE(dialog.source().sheet, std::string());
    }

    void importFillsTheSpeciesListAndRunsAsTheBatchRunner() {
        TempDir work;
        TempDir data;
        writeFile(data / "first.csv", spreadsheetTable());
        qputenv("SOURCE_DATE_EPOCH", "1796428800");
        const BatchOutcome batch = batchRun(work, {"--records", qpath(data / "first.csv"), "-t", "Target",
                                                   "--no-reliability"});
        QVERIFY(!batch.log.isEmpty());

        WindowUnderTest w(qpath(data.path()), work.path());
        RecordsSource source;
        source.table = data / "first.csv";
        w.window->importRecords(source);
        w.window->waitUntilIdle();
        QVERIFY2(w.messages.isEmpty(), qPrintable(w.messages.join("\n")));
        QCOMPARE(w.items("List1"), QStringList({"Alpha", "Beta", "Gamma", "Target"}));
        QCOMPARE(w.window->data()->objn(), 5);
        const QString summary = w.get<QLabel>("Label7")->text();
        QVERIFY(!summary.isEmpty());
        QVERIFY2(batch.stderrText.contains(summary), qPrintable(batch.stderrText + " / " + summary));
        QCOMPARE(el::test::filesIn(data.path()), std::vector<std::string>{"first.csv"});  // nothing written

        w.chooseEverySpecies();
        w.window->setSetting(Setting::TargetSpecies, "Target");
        w.window->setSetting(Setting::DoReliability, "0");
        w.click("Command4");
        qunsetenv("SOURCE_DATE_EPOCH");
        QCOMPARE(w.window->logLines(), batch.log);
    }

    void importJoinsTheRegionsLayerByTextKeys() {
        TempDir data;
        writeFile(data / "coded.csv", crlf({"code,name,species,year", "001,Alpha land,A,1990", "003,Gamma land,A,1992",
                                            "005,Epsilon land,B,1995"}));
        writeFile(data / "squares.geojson", squaresLayer());
        WindowUnderTest w(qpath(data.path()));
        RecordsSource source;
        source.table = data / "coded.csv";
        source.columns.region = "name";
        source.regions = data / "squares.geojson";
        source.columns.key = "code";
        source.joinField = "code";
        w.window->importRecords(source);
        w.window->waitUntilIdle();
        if (refusedForWantOfGis(w)) return;
        QVERIFY2(w.messages.isEmpty(), qPrintable(w.messages.join("\n")));
        const auto& objects = w.window->data()->objects;
        QCOMPARE(objects.size(), std::size_t{3});
        QCOMPARE(objects[1].name, std::string("Gamma land"));
        QCOMPARE(objects[1].type, std::string("polygon"));
        QCOMPARE(objects[1].parts.at(0).x.at(0), 2.0);  // the square of key "003", not of 3
        QVERIFY(w.get<QPushButton>("Command10")->isEnabled());

        // The prediction is never written into the table.
        const std::string table = readFile(data / "coded.csv");
        w.chooseEverySpecies();
        w.window->setSetting(Setting::DoReliability, "0");
        w.window->setSetting(Setting::AddPrediction, "1");
        w.click("Command4");
        QCOMPARE(w.messages.size(), 1);
        QVERIFY2(w.messages[0].contains("coded.csv: it is a records table"), qPrintable(w.messages[0]));
        QCOMPARE(readFile(data / "coded.csv"), table);
    }

    void occurrencePointsArePlacedInTheRegions() {
        TempDir data;
        writeFile(data / "points.csv", crlf({"species,decimalLongitude,decimalLatitude,year", "A,0.5,0.5,1990",
                                             "A,0.2,0.7,1985", "B,2.5,0.5,1999", "A,9,9,1970"}));
        writeFile(data / "squares.geojson", squaresLayer());
        RecordsDialog dialog(headersOf);
        RecordsSource chosen;
        chosen.occurrences = data / "points.csv";
        chosen.regions = data / "squares.geojson";
        chosen.joinField = "code";
        dialog.setSource(chosen);
        const RecordsSource source = dialog.source();
        QCOMPARE(source.occurrences, chosen.occurrences);
        QVERIFY(source.table.empty());

        WindowUnderTest w(qpath(data.path()));
        w.window->importRecords(source);
        w.window->waitUntilIdle();
        if (refusedForWantOfGis(w)) return;
        QVERIFY2(w.messages.isEmpty(), qPrintable(w.messages.join("\n")));
        QCOMPARE(w.items("List1"), QStringList({"A", "B"}));
        const auto& objects = w.window->data()->objects;
        QCOMPARE(objects.size(), std::size_t{2});
        QCOMPARE(objects[0].name, std::string("001"));
        QCOMPARE(w.window->data()->val(0, 0), std::string("1985"));  // the earliest point
        QVERIFY(w.get<QLabel>("Label7")->text().contains("1 outside every region"));
        QCOMPARE(w.window->setting(Setting::DataFileName), std::string("points.csv"));
    }

    // An unpacked Darwin Core archive is a folder: the dialog takes one that holds meta.xml
    // (its columns named by the terms, in the archive's order), refuses one that does not, and
    // the import of its points gives the data set and the summary the batch runner gives.
    void anUnpackedArchiveFolderIsImportedAsTheBatchRunnerImportsIt() {
#ifdef EARLYLATE_HAVE_GIS
        TempDir data;
        const std::filesystem::path archive = data / "dwca";
        std::filesystem::create_directories(archive);
        std::filesystem::create_directories(data / "plain");
        std::string meta =
            "<archive><core fieldsTerminatedBy='\\t' fieldsEnclosedBy='' ignoreHeaderLines='1'>"
            "<files><location>occurrence.txt</location></files>";
        const QStringList terms{"year",    "basisOfRecord",  "decimalLongitude", "occurrenceStatus",
                                "species", "decimalLatitude"};
        for (int k = 0; k < terms.size(); ++k)
            meta += "<field index='" + std::to_string(k) + "' term='http://rs.tdwg.org/dwc/terms/" +
                    terms[k].toStdString() + "'/>";
        writeFile(archive / "meta.xml", meta + "</core></archive>");
        writeFile(archive / "occurrence.txt",
                  "y\tb\tx\ts\tn\tlat\n1990\tHUMAN_OBSERVATION\t0.5\tPRESENT\tA\t0.5\n"
                  "1985\tPRESERVED_SPECIMEN\t0.2\tPRESENT\tA\t0.7\n1999\tHUMAN_OBSERVATION\t2.5\tPRESENT\tB\t0.5\n"
                  "1970\tFOSSIL_SPECIMEN\t2.5\tPRESENT\tB\t0.5\n1960\tHUMAN_OBSERVATION\t0.5\tABSENT\tB\t0.5\n");
        writeFile(data / "squares.geojson", squaresLayer());

        RecordsDialog dialog(headersOf);
        dialog.setArchiveFolder(qpath(data / "plain"));
        QVERIFY(dialog.findChild<QLabel*>("TableNote")->text().contains("holds no meta.xml"));
        QVERIFY(dialog.source().table.empty());
        dialog.setArchiveFolder(qpath(archive));
        QCOMPARE(entries(dialog.findChild<QComboBox*>("SpeciesColumn")).mid(1), terms);
        QCOMPARE(dialog.source().table, archive);
        dialog.findChild<QCheckBox*>("OccurrencePoints")->setChecked(true);
        dialog.setRegions(qpath(data / "squares.geojson"));
        dialog.findChild<QLineEdit*>("JoinField")->setText("code");
        const RecordsSource source = dialog.source();
        QCOMPARE(source.occurrences, archive);
        QVERIFY(source.table.empty());

        WindowUnderTest w(qpath(data.path()));
        w.window->importRecords(source);
        w.window->waitUntilIdle();
        if (refusedForWantOfGis(w)) return;
        QVERIFY2(w.messages.isEmpty(), qPrintable(w.messages.join("\n")));
        QCOMPARE(w.items("List1"), QStringList({"A", "B"}));
        const auto& objects = w.window->data()->objects;
        QCOMPARE(objects.size(), std::size_t{2});
        QCOMPARE(objects[1].name, std::string("003"));
        QCOMPARE(w.window->data()->val(1, 1), std::string("1999"));  // not the fossil's 1970
        const QString summary = w.get<QLabel>("Label7")->text();
        QVERIFY2(summary.contains("1 absent (occurrenceStatus), 1 fossil specimen and 0 living specimens set aside"),
                 qPrintable(summary));
        TempDir work;
        const BatchOutcome batch =
            batchRun(work, {"--occurrences", qpath(archive), "--regions", qpath(data / "squares.geojson"), "--join",
                            "code", "--no-reliability"});
        QVERIFY(!batch.log.isEmpty());
        QCOMPARE(summary, batch.stderrText.trimmed().split("\n").mid(0, 2).join("; "));

        // Fossils kept: the fossil's year is the first record.
        dialog.findChild<QCheckBox*>("KeepSpecimens")->setChecked(true);
        const RecordsSource keeping = dialog.source();
        QVERIFY(keeping.keepSpecimens);
        w.window->importRecords(keeping);
        w.window->waitUntilIdle();
        QCOMPARE(w.window->data()->val(1, 1), std::string("1970"));
        QVERIFY(w.get<QLabel>("Label7")->text().contains("fossil and living specimens kept"));
#else
        QSKIP("an archive's points are placed in their regions by the GIS part");
#endif
    }

    void refusedTablesNameTheirRowsAndLeaveNoData() {
        TempDir data;
        writeFile(data / "good.csv", crlf({"region,species,date", "North,A,1990", "South,A,1992"}));
        writeFile(data / "bad.csv", crlf({"region,species,date", "North,A,1990", "South,A,early", "East,A,19x5",
                                          "West,A,1991"}));
        WindowUnderTest w(qpath(data.path()));
        RecordsSource source;
        source.table = data / "good.csv";
        w.window->importRecords(source);
        w.window->waitUntilIdle();
        QVERIFY(!w.get<QLabel>("Label7")->text().isEmpty());
        source.table = data / "bad.csv";
        w.window->importRecords(source);
        w.window->waitUntilIdle();
        QCOMPARE(w.messages.size(), 1);
        QVERIFY2(w.messages[0].contains("early") && w.messages[0].contains("19x5"), qPrintable(w.messages[0]));
        QVERIFY(w.items("List1").isEmpty());
        QVERIFY(!w.window->data());
        QCOMPARE(w.get<QPushButton>("Command1")->text(), QString("Read"));
        QVERIFY(w.get<QPushButton>("Command1")->isEnabled());
        QVERIFY(w.get<QPushButton>("Command10")->isEnabled());
        QVERIFY(w.get<QLabel>("Label7")->text().isEmpty());
    }
};

EARLYLATE_OFFSCREEN_TEST_MAIN(RecordsImportTest)
#include "records_import_test.moc"
