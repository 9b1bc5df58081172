// One input through every front end: the batch runner (a process), the window and, where
// the R package is installed, R give the same warnings of the input and the same refusals
// of outputs a data set without geometry cannot have.

#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <filesystem>

#include "ops/hindcast.hpp"
#include "ops/input_review.hpp"
#include "ops/output_refusals.hpp"
#include "tests/support/temp_dir.hpp"
#include "tests/workbench/window_fixture.hpp"
#include "vector/records.hpp"
#include "workbench/hindcast_page.hpp"
#include "workbench/results_tabs.hpp"
#include "workbench/table_page.hpp"

namespace el::test {
namespace {

QString qpath(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

// Six regions, "A" twice; "Kw" holds keywords only; a training share of 0.7 keeps every date
// of "T" for training.
const std::vector<std::string> kNames{"A", "B", "A", "D", "E", "F"};
const std::vector<std::string> kTarget{"2001", "2003", "2004", "NotYetArrived", "NotYetArrived", "2002"};

std::string questionableFile() {
    std::string text = "vector\r\nc\r\nT,Kw,type$,name$,n,x,y\r\n";
    for (std::size_t i = 0; i < kNames.size(); ++i)
        text += kTarget[i] + ",Arrived,point," + kNames[i] + ",1," + std::to_string(i) + ",0\r\n";
    return text;
}

// A first-record table, read without a regions layer: its regions have no geometry.
std::string recordsTable() {
    return crlf({"Year,Taxon,Country", "1950,Alpha,North", "1953,Alpha,West", "1955,Alpha,East", "1962,Beta,North",
                 "1966,Beta,East", "1964,Beta,West", "1990,Target,North", "1994,Target,West"});
}

struct Batch {
    int status = -1;
    QStringList errors;  // standard error's lines, without the program's "earlylate: "
};

Batch runBatch(const TempDir& work, QStringList options) {
    QProcess batch;
    batch.setWorkingDirectory(qpath(work.path()));
    batch.start(QStringLiteral(EARLYLATE_BIN_DIR "/earlylate-batch"), options << "-o"
                                                                              << "batch.log");
    if (!batch.waitForFinished(60000)) return {};
    Batch out{batch.exitCode(), {}};
    for (QString line : QString::fromUtf8(batch.readAllStandardError()).split('\n', Qt::SkipEmptyParts))
        out.errors << line.remove(QRegularExpression(QStringLiteral("^earlylate: ")));
    return out;
}

QStringList warningsOf(const QStringList& lines) {
    return lines.filter(QRegularExpression(QStringLiteral("^warning: ")));
}

QStringList textsOf(const ops::Diagnostics& diagnostics) {
    QStringList out;
    for (const std::string& text : ops::consoleTexts(diagnostics)) out << QString::fromStdString(text);
    return out;
}

// The R package's input warnings for the same data set, "CLASS<TAB>TEXT" each; nothing
// when R or the package is not installed.
std::optional<QStringList> rWarnings() {
    const QString rscript = QStandardPaths::findExecutable(QStringLiteral("Rscript"));
    if (rscript.isEmpty()) return std::nullopt;
    QString names, target;
    for (std::size_t i = 0; i < kNames.size(); ++i) {
        names += QStringLiteral("%1\"%2\"").arg(i ? "," : "", QString::fromStdString(kNames[i]));
        target += QStringLiteral("%1\"%2\"").arg(i ? "," : "", QString::fromStdString(kTarget[i]));
    }
    const QString script =
        QStringLiteral(
            "if (!requireNamespace('earlylate', quietly = TRUE)) quit(status = 3)\n"
            "frame <- data.frame(name = c(%1), T = c(%2), Kw = 'Arrived', stringsAsFactors = FALSE)\n"
            "withCallingHandlers(try(earlylate::el_forecast(frame, species = c('T', 'Kw'), target = 'T', training = "
            "0.7,\n"
            "  reliability = FALSE), silent = TRUE), earlylate_warning = function(w) {\n"
            "  cat(class(w)[[1]], '\\t', conditionMessage(w), '\\n', sep = ''); invokeRestart('muffleWarning') })\n")
            .arg(names, target);
    QProcess r;
    r.start(rscript, {QStringLiteral("-e"), script});
    if (!r.waitForFinished(60000) || r.exitCode() == 3) return std::nullopt;
    return QString::fromUtf8(r.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

}  // namespace

class FrontEndsTest : public QObject {
    Q_OBJECT
private slots:
    void inputWarningsAreTheSameInEveryFrontEnd() {
        TempDir work;
        writeFile(work / "q.csv", questionableFile());
        const Batch batch =
            runBatch(work, {"-s", "T,Kw", "-t", "T", "--training-ratio", "0.7", "--no-reliability", "q.csv"});
        QCOMPARE(warningsOf(batch.errors).size(), 3);

        WindowUnderTest w(qpath(work.path()), work.path());
        w.window->openFile(qpath(work / "q.csv"));
        w.window->waitUntilIdle();
        w.chooseEverySpecies();
        w.window->setSetting(Setting::TargetSpecies, "T");
        w.window->setSetting(Setting::TrainingRatio, "0.7");
        w.window->setSetting(Setting::DoReliability, "0");
        w.click("Command4");
        const ops::Diagnostics shown = w.window->results()->inputWarnings();
        QCOMPARE(textsOf(shown), warningsOf(batch.errors));
        QCOMPARE(w.get<QLabel>("InputWarnings")->text(), warningsOf(batch.errors).join('\n'));
        QVERIFY(!w.window->logLines().join('\n').contains("warning"));  // never in the log

        const auto r = rWarnings();
        if (!r) QSKIP("the R package is not installed: its part runs in r/earlylate/tests");
        QStringList expected;
        for (const ops::Diagnostic& d : shown)
            expected << QStringLiteral("earlylate_%1\t%2")
                            .arg(QString::fromLatin1(ops::kindName(d.kind).data()), QString::fromStdString(d.text));
        QCOMPARE(*r, expected);
    }

    // Without geometry, the batch runner refuses the map file and the GIS layer; the window
    // refuses its map (a note instead of regions stacked at one place), the layer and the
    // report, with the same sentences in its own words for the regions layer.
    void aDataSetWithoutGeometryIsRefusedTheSameOutputs() {
        TempDir work;
        writeFile(work / "first.csv", recordsTable());
        QStringList arguments{"--records", "first.csv", "-t", "Target", "--no-reliability", "--map", "m.png"};
#ifdef EARLYLATE_HAVE_GIS
        // A build without the GIS part refuses a .gpkg as a usage error before it reads anything.
        arguments += QStringList{"--predictions", "p.gpkg"};
#endif
        const Batch batch = runBatch(work, arguments);
        QCOMPARE(batch.status, 1);
        QVERIFY(!std::filesystem::exists(work / "m.png"));
        QVERIFY(!std::filesystem::exists(work / "p.gpkg"));

        WindowUnderTest w(qpath(work.path()), work.path());
        vec::RecordsSource source;
        source.table = work / "first.csv";
        w.window->importRecords(source);
        w.window->waitUntilIdle();
        const vec::VectorData& data = *w.window->data();
        QVERIFY(batch.errors.contains(QString::fromStdString(ops::mapRefusal("m.png", data)->text)));
#ifdef EARLYLATE_HAVE_GIS
        QVERIFY(batch.errors.contains(QString::fromStdString(ops::layerRefusal("p.gpkg", data)->text)));
#endif

        w.chooseEverySpecies();
        w.window->setSetting(Setting::TargetSpecies, "Target");
        w.window->setSetting(Setting::DoReliability, "0");
        w.click("Command4");
        QVERIFY(w.window->results()->shownRun() != nullptr);
        const auto map = ops::mapRefusal("", data, ops::kWindowRegionsWords);
        QCOMPARE(w.window->results()->note(workbench::ResultsTabs::MapTab), QString::fromStdString(map->text));
        const QString layer = qpath(work / "p.gpkg");
        QCOMPARE(w.window->results()->tablePage()->exportTo(layer),
                 QString::fromStdString(ops::layerRefusal(layer.toStdString(), data, ops::kWindowRegionsWords)->text));
        QVERIFY(w.window->results()->tablePage()->exportTo(qpath(work / "p.csv")).isEmpty());
        w.messages.clear();
        w.window->saveReport(qpath(work / "r.pdf"));
        QCOMPARE(w.messages.size(), 1);
        QVERIFY2(w.messages[0].endsWith(
                     "a map needs the regions' geometry, which a records table brings only with a regions layer"),
                 qPrintable(w.messages[0]));
        QVERIFY(!std::filesystem::exists(work / "r.pdf"));
    }

    // A records table given as a vector file: the batch runner and the window both say what
    // it looks like, each naming its own way to read first records from it.
    void aTableReadAsAVectorFileIsDescribedAlike() {
        TempDir work;
        writeFile(work / "first.csv", recordsTable());
        const Batch batch = runBatch(work, {"first.csv"});
        QCOMPARE(batch.status, 1);
        const QStringList advice = batch.errors.filter(QStringLiteral("looks like a table"));
        QCOMPARE(advice.size(), 1);
        const QString way = QStringLiteral(" To read first records from it, use ");
        QVERIFY(advice[0].endsWith(way + "--records first.csv"));

        WindowUnderTest w(qpath(work.path()), work.path());
        w.window->openFile(qpath(work / "first.csv"));
        w.window->waitUntilIdle();
        QVERIFY(w.window->data() == nullptr);
        QCOMPARE(w.get<QLabel>("Label7")->text(),
                 advice[0].left(advice[0].indexOf(way)) + way + "the \"Records table...\" button.");
    }

    // A report that cannot be written is told in the same words by both.
    void aReportThatCannotBeWrittenIsToldAlike() {
        TempDir work;
        std::filesystem::copy_file(EARLYLATE_SOURCE_DIR "/data/species.csv", work / "species.csv");
        const Batch batch =
            runBatch(work, {"-t", "Sp12", "--no-reliability", "--report", qpath(work / "none/r.pdf"), "species.csv"});
        QCOMPARE(batch.status, 1);
        const QStringList told = batch.errors.filter(QStringLiteral("none/r.pdf"));
        QCOMPARE(told.size(), 1);

        WindowUnderTest w(qpath(work.path()), work.path());
        w.window->openFile(qpath(work / "species.csv"));
        w.window->waitUntilIdle();
        w.chooseEverySpecies();
        w.window->setSetting(Setting::TargetSpecies, "Sp12");
        w.window->setSetting(Setting::DoReliability, "0");
        w.click("Command4");
        QVERIFY(w.window->results()->shownRun() != nullptr);
        w.messages.clear();
        w.window->saveReport(qpath(work / "none/r.pdf"));
        QCOMPARE(w.messages, told);
    }

    // A thread count that is no count is refused by the window's hindcast as by the batch runner.
    void aBadThreadCountIsRefusedNotTakenAsOne() {
        TempDir work;
        writeFile(work / "q.csv", questionableFile());
        const Batch batch = runBatch(work, {"--threads", "0", "q.csv"});
        QCOMPARE(batch.status, 2);
        WindowUnderTest w(qpath(work.path()), work.path());
        w.window->openFile(qpath(work / "q.csv"));
        w.window->waitUntilIdle();
        w.chooseEverySpecies();
        w.window->setSetting(Setting::DoReliability, "0");
        w.click("Command4");
        workbench::HindcastPage* page = w.window->results()->hindcastPage();
        QStringList told;
        page->setWindowLink({[] {
                                 SettingValues settings;
                                 settings.set(Setting::Threads, "0");
                                 return settings;
                             },
                             [&](const QString& text) { told << text; }});
        w.get<QCheckBox>("HindcastAllSpecies")->setChecked(true);
        w.get<QLineEdit>("HindcastYears")->setText("2002");
        w.get<QPushButton>("HindcastButton")->click();
        QVERIFY(!page->active());
        QCOMPARE(told.size(), 1);
        QVERIFY2(batch.errors.first().endsWith(told.first().section(QLatin1Char(' '), 3, -1)),
                 qPrintable(told.first()));
        // Both are the one check's refusal in each front end's words.
        ops::HindcastRequest request;
        request.data = w.window->data().get();
        request.species = {"T", "Kw"};
        request.settings.set(Setting::Threads, "0");
        request.years = {2002};
        request.targetYears = false;
        request.targets = std::vector<std::string>{"all"};
        const ops::Diagnostics checked = ops::checkHindcast(request);
        QCOMPARE(checked.size(), std::size_t{1});
        QCOMPARE(told.first(), QString::fromStdString(ops::windowText(checked.front())));
        QCOMPARE(batch.errors.first(),
                 QStringLiteral("earlylate-batch: ") + QString::fromStdString(ops::batchUsageText(checked.front())));
    }
};

}  // namespace el::test

EARLYLATE_OFFSCREEN_TEST_MAIN(el::test::FrontEndsTest)
#include "front_ends_test.moc"
