// "G  O" and its results: on the bundled sample the window's log is, line for line, the batch
// runner's log for the same settings, also when settings change while the run works; the map
// and fit plot show the latest completed run of the loaded file and nothing older; "Save
// report" hands that run over. The run works on a worker thread: the window's event loop
// stays free during a long run, "Cancel" and "Exit" end it promptly with the source file
// untouched, a Read meanwhile cannot pull the data from under it, and the focus stays on
// the run button.

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QProcess>
#include <QProgressBar>
#include <QTimer>

#include <algorithm>
#include <filesystem>

#include "engine/report/similarity_size.hpp"
#include "tests/support/sample_file.hpp"
#include "tests/support/temp_dir.hpp"
#include "tests/workbench/data_copy.hpp"
#include "tests/workbench/window_fixture.hpp"
#include "workbench/figure_view.hpp"
#include "workbench/results_tabs.hpp"
#include "workbench/run_progress_panel.hpp"
#include "workbench/screenshot_run.hpp"

namespace el::test {
namespace {

constexpr const char* kMissingValueMessage = "Missing value is considered to be Unknown";  // the sample's
// A second, smaller file in the sample's folder.
const std::string kTwoRegions = crlf({"vector", "two", "Delta,Epsilon,type$,name$,nodes,x1,y1",
                                      "1990,1995,point,R1,1,0,0", "1991,1996,point,R2,1,1,0"});

int regionItems(const figures::Scene& scene) {
    int n = 0;
    for (const auto& s : scene.content.shapes) n += s.region >= 0;
    for (const auto& m : scene.content.markers) n += m.region >= 0;
    return n;
}

// The log of the batch runner on the sample with `options`, run in `work`.
QStringList batchLog(const TempDir& work, QStringList options) {
    QProcess batch;
    batch.setWorkingDirectory(QString::fromStdString(work.path().string()));
    options << "-o"
            << "batch.log" << dataDir() + "/sample.csv";
    batch.start(QStringLiteral(EARLYLATE_BIN_DIR "/earlylate-batch"), options);
    if (!batch.waitForFinished(60000) || batch.exitCode() != 0) return {};
    QStringList lines = QString::fromStdString(readFile(work / "batch.log")).split("\r\n");
    lines.removeLast();  // after the last CR LF
    return lines;
}

// Reads the sample and moves every species into the species list.
void readSample(const WindowUnderTest& w) {
    w.window->setSetting(Setting::DataFileName, "sample.csv");
    w.click("Command1");
    w.chooseEverySpecies();
}

// A square grid of point regions; every species spreads from a corner of its own, the target
// (the last) has reached only the regions nearest its corner.
std::string gridFile(int side) {
    constexpr int kSpecies = 5;
    std::string text = "vector\r\nGrid\r\n";
    for (int s = 1; s <= kSpecies; ++s) text += "S" + std::to_string(s) + ",";
    text += "Target,type$,name$,nodes,x1,y1\r\n";
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            for (int s = 0; s <= kSpecies; ++s) {
                const int dx = (s & 1) ? side - 1 - x : x, dy = (s & 2) ? side - 1 - y : y;
                const int noise = (x * 7 + y * 13 + s * 5) % 4;
                const bool reached = s < kSpecies || dx + dy < side / 2;
                text += reached ? std::to_string(1900 + s * 3 + dx + dy + noise) + "," : "NotYetArrived,";
            }
            text += "point,R" + std::to_string(y * side + x) + ",1," + std::to_string(x) + "," + std::to_string(y) + "\r\n";
        }
    return text;
}

}  // namespace

class RunResultsTest : public QObject {
    Q_OBJECT
private slots:
    void largeSimilarityOutputIsAskedForBeforeTheRun() {
        TempDir work;
        WindowUnderTest w(dataDir(), work.path());
        readSample(w);
        w.window->setSetting(Setting::DoReliability, "0");
        w.window->setSetting(Setting::SimOutput, "similarity");
        w.window->setSimilarityOutputLimit(100);  // the sample's matrices are larger
        QStringList questions;
        bool yes = false;
        w.window->setQuestionSink([&](const QString& text) {
            questions.append(text);
            return yes;
        });
        w.window->appendLog("kept");
        w.click("Command4");
        QCOMPARE(questions.size(), 1);
        QVERIFY2(
            questions[0].startsWith("The similarity output of ") && questions[0].endsWith(" of log. Write it anyway?"),
            qPrintable(questions[0]));
        QCOMPARE(w.window->logLines(), QStringList({"kept"}));  // No: no run at all
        yes = true;
        w.click("Command4");
        QCOMPARE(questions.size(), 2);
        QVERIFY(w.window->logLines().contains("Similarity: number of same value/number of all elements"));
        // No question for a run without the output, or for an output under the limit.
        w.window->setSetting(Setting::SimOutput, "none");
        w.click("Command4");
        w.window->setSetting(Setting::SimOutput, "distance");
        w.window->setSimilarityOutputLimit(engine::kSimilarityOutputLimit);
        w.click("Command4");
        QCOMPARE(questions.size(), 2);
        QVERIFY(
            w.window->logLines().contains("Dissimilarity:  1-similarity(number of same value/number of all elements)"));

        // The window's own question box, answered No.
        WindowUnderTest boxed(dataDir(), work.path());
        readSample(boxed);
        boxed.window->setSetting(Setting::SimOutput, "similarity");
        boxed.window->setSimilarityOutputLimit(100);
        QString asked;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) return;
            asked = box->text();
            box->button(QMessageBox::No)->click();
        });
        boxed.click("Command4");
        QVERIFY2(asked.endsWith("Write it anyway?"), qPrintable(asked));
        QVERIFY(boxed.window->logLines().isEmpty());
    }

    void windowLogEqualsBatchLogAndFiguresShowTheRun() {
        TempDir work;
        qputenv("SOURCE_DATE_EPOCH", "1796428800");  // 12-05-2026
        const QStringList expected = batchLog(work, {"--no-reliability", "-t", "Invader", "--training-ratio", "0.5"});
        QVERIFY(expected.size() > 20);

        WindowUnderTest w(dataDir(), work.path());
        readSample(w);
        QCOMPARE(regionItems(w.window->results()->mapView()->scene()), 12);  // drawn once read
        w.window->setSetting(Setting::TargetSpecies, "Invader");
        w.window->setSetting(Setting::DoReliability, "0");
        w.window->setSetting(Setting::TrainingRatio, "0.5");
        w.window->appendLog("from an earlier run");
        w.click("Command4");
        qunsetenv("SOURCE_DATE_EPOCH");

        QCOMPARE(w.window->logLines(), expected);
        QCOMPARE(w.get<QLabel>("Label11")->text(), QString("100% complete"));
        QVERIFY(w.get<QPushButton>("Command4")->isEnabled() && !w.window->busy());
        QCOMPARE(w.messages, QStringList({kMissingValueMessage}));

        const figures::Scene& map = w.window->results()->mapView()->scene();
        QCOMPARE(regionItems(map), 12);
        QVERIFY(w.window->results()->mapColouring()->currentText().contains(QStringLiteral("Invader")));
        // Regions predicted earlier are darker on the viridis scale than those predicted later:
        // Gunma is the earliest region of the sample, Yamagata the latest.
        std::optional<figures::Rgb> gunma, yamagata;
        for (const auto& s : map.content.shapes) {
            if (s.tip.rfind("Gunma\n", 0) == 0) gunma = s.fill;
            if (s.tip.rfind("Yamagata\n", 0) == 0) yamagata = s.fill;
        }
        QVERIFY(gunma && yamagata);
        QVERIFY(gunma->r + gunma->g + gunma->b < yamagata->r + yamagata->g + yamagata->b);
        // By default the target's recorded dates and its forecasts, told apart; names on request.
        QVERIFY(w.window->results()->mapChoice().colouring == figures::MapColouring::KnownAndForecast);
        QVERIFY(std::any_of(map.content.shapes.begin(), map.content.shapes.end(),
                            [](const figures::Shape& s) { return s.hatched && s.tip.rfind("Yamagata\n", 0) == 0; }));
        auto* names = w.get<QCheckBox>("MapNames");
        names->setChecked(true);
        const auto named = w.window->results()->mapView()->sceneAt(900, 640).content.labels;
        QVERIFY(std::any_of(named.begin(), named.end(), [](const figures::Label& l) { return l.text == "Gunma"; }));
        names->setChecked(false);
        // 9 regions hold a date of the target: 6 training circles, 3 validation triangles.
        const figures::Scene& fit = w.window->results()->fitView()->scene();
        QCOMPARE(static_cast<int>(fit.content.markers.size()), 9);
        int triangles = 0;
        for (const auto& m : fit.content.markers) triangles += m.kind == figures::MarkerKind::Triangle;
        QCOMPARE(triangles, 3);

        // "Save report" hands the report of the run on the loaded data to the report writer.
        std::optional<figures::ReportContent> handed;
        std::filesystem::path to;
        w.window->setReportDocumentSaver([&](const std::filesystem::path& path, const figures::ReportContent& content) {
            to = path;
            handed.emplace(content);
            return std::optional<std::string>("The report file \"report.pdf\" cannot be written: disk full");
        });
        w.window->saveReport("report.pdf");
        QVERIFY(handed && to == "report.pdf");
        QCOMPARE(handed->run->target, 4);
        QCOMPARE(handed->data->objn(), 12);
        QCOMPARE(handed->sourceFile, std::string("sample.csv"));
        QCOMPARE(handed->calculationDate, std::string("12-05-2026"));
        QVERIFY(!handed->trialSpread);  // a run without trials has no spread to report
        QCOMPARE(w.messages.last(), QString("The report file \"report.pdf\" cannot be written: disk full"));

        // While the next run works, the report is still all of the run the tabs show, its date too.
        qputenv("SOURCE_DATE_EPOCH", "1796515200");  // 12-06-2026
        w.press("Command4");
        w.window->saveReport("report.pdf");
        QCOMPARE(handed->calculationDate, std::string("12-05-2026"));
        w.window->waitUntilIdle();
        qunsetenv("SOURCE_DATE_EPOCH");
        w.window->saveReport("report.pdf");
        QCOMPARE(handed->calculationDate, std::string("12-06-2026"));
    }

    // The run reads a setting when it needs it: changed while the run waits for OK on a
    // message, the later steps take the new values, exactly as if they had been set before.
    void settingsChangedDuringARunTakeEffectFromThen() {
        TempDir work;
        qputenv("SOURCE_DATE_EPOCH", "1796428800");
        const QStringList expected = batchLog(work, {"-t", "Invader", "--no-reliability", "--exclude-limited", "3",
                                                     "--similarity-output", "distance"});
        QVERIFY(expected.filter("similarity").size() + expected.filter("regions").size() > 0);

        WindowUnderTest w(dataDir(), work.path());
        readSample(w);
        w.window->setSetting(Setting::TargetSpecies, "Invader");
        w.window->setMessageSink([&](const QString& text) {
            w.messages.append(text);
            w.get<QCheckBox>("Check5")->setChecked(false);  // "Reliability" off
            w.get<QCheckBox>("Check1")->setChecked(true);   // exclude regions ...
            w.get<QLineEdit>("Text5")->setText("3");        // ... with 3 or fewer
            w.get<QRadioButton>("Option2")->setChecked(true);
        });
        w.click("Command4");
        qunsetenv("SOURCE_DATE_EPOCH");
        QCOMPARE(w.messages, QStringList({kMissingValueMessage}));
        QCOMPARE(w.window->logLines(), expected);
    }

    // "Save log" and "Clear" while the run works take the lines written before the click; the
    // run goes on appending after them.
    void saveAndClearDuringARunTakeTheLinesSoFar() {
        TempDir work;
        qputenv("SOURCE_DATE_EPOCH", "1796428800");
        const QStringList expected = batchLog(work, {"-t", "Invader", "--no-reliability"});
        const qsizetype beforeMessage = expected.indexOf("Target species:Invader") + 1;
        QVERIFY(beforeMessage > 5);

        WindowUnderTest w(dataDir(), work.path());
        readSample(w);
        w.window->setSetting(Setting::TargetSpecies, "Invader");
        w.window->setSetting(Setting::DoReliability, "0");
        w.window->setMessageSink([&](const QString&) {
            w.press("Command6");
            w.press("Command8");
        });
        w.click("Command4");
        qunsetenv("SOURCE_DATE_EPOCH");
        QCOMPARE(w.window->logLines(), expected.mid(beforeMessage));
        QCOMPARE(QString::fromStdString(readFile(work / "log.csv")), expected.first(beforeMessage).join("\r\n") + "\r\n");
    }

    void cancelStopsTheRunAndLeavesTheSource() {
        TempDir dir;
        copySample(dir.path());
        const std::string original = readFile(dir / "sample.csv");
        WindowUnderTest w(QString::fromStdString(dir.path().string()), dir.path());
        w.window->show();
        w.window->openFile(QString::fromStdString((dir / "sample.csv").string()));
        w.window->waitUntilIdle();
        w.get<QCheckBox>("Check3")->setChecked(true);                 // add prediction to source file
        w.get<QLineEdit>("Text8")->setText(QStringLiteral("1000000"));  // trials enough to cancel in
        auto* panel = w.window->results()->progressPanel();
        QVERIFY(!panel->isVisible());
        // Cancel as soon as the bar counts the trials.
        bool runButtonIdle = true;
        QTimer watch;
        connect(&watch, &QTimer::timeout, [&] {
            if (!panel->isVisible() || panel->bar()->maximum() == 0) return;
            runButtonIdle = w.get<QPushButton>("Command4")->isEnabled();
            panel->cancelButton()->click();
            watch.stop();
        });
        watch.start(5);
        workbench::runEverySpecies(*w.window, QStringLiteral("Invader"));
        QVERIFY(!watch.isActive() && !runButtonIdle);
        QVERIFY(!w.window->busy());
        QVERIFY(w.get<QPushButton>("Command4")->isEnabled());
        QCOMPARE(w.get<QPushButton>("Command4")->text(), QStringLiteral("G  O"));
        QCOMPARE(w.get<QLabel>("Label11")->text(), QStringLiteral("Cancelled"));
        QVERIFY(!panel->isVisible());
        QVERIFY(!w.window->logLines().isEmpty());
        QCOMPARE(readFile(dir / "sample.csv"), original);
        QCOMPARE(el::test::filesIn(dir.path()), (std::vector<std::string>{"sample.csv"}));
        QVERIFY(w.messages.filter(QStringLiteral("stopped")).isEmpty());
        QCOMPARE(w.window->results()->note(workbench::ResultsTabs::FitTab), QString("The last run was cancelled: it left no results."));
    }

    // Trials on a few thousand regions: while they work the window serves a 10 ms timer, and
    // "Cancel" ends the run at the next checkpoint. The bounds are wide (a second between
    // ticks, five for the cancel; the test runs alone) so that only a window thread that waits
    // on the work fails them, not a busy machine; under the race detector, whose slowdown
    // has no bound, they are not checked.
    void eventLoopStaysFreeDuringALongRunAndCancelIsPrompt() {
#ifndef EARLYLATE_RACE_DETECTOR
        constexpr int kTrialsWaitMs = 40000;
#else
        constexpr int kTrialsWaitMs = 400000;
#endif
        TempDir work;
        writeFile(work / "grid.csv", gridFile(45));
        WindowUnderTest w(QString::fromStdString(work.path().string()), work.path());
        w.window->show();
        w.window->setSetting(Setting::DataFileName, "grid.csv");
        w.click("Command1");
        QCOMPARE(w.window->data()->objn(), 45 * 45);
        w.chooseEverySpecies();
        w.window->setSetting(Setting::TargetSpecies, "Target");
        w.window->setSetting(Setting::IterationN, "1000");

        QElapsedTimer sinceTick;
        qint64 longestGap = 0;
        QTimer tick;
        connect(&tick, &QTimer::timeout, [&] { longestGap = std::max(longestGap, sinceTick.restart()); });
        const auto trialsDone = [&] {
            const QString caption = w.get<QLabel>("Label11")->text();
            return caption.startsWith("reliability trial") ? caption.mid(17).trimmed().toInt() - 1 : 0;
        };
        w.press("Command4");
        sinceTick.start();
        tick.start(10);
        // Well into the trials: a few of them done.
        QTRY_VERIFY_WITH_TIMEOUT(trialsDone() >= 3, kTrialsWaitMs);
        QVERIFY(w.window->busy());

        QElapsedTimer cancelling;
        cancelling.start();
        w.window->results()->progressPanel()->cancelButton()->click();
        w.window->waitUntilIdle();
        const qint64 cancelMs = cancelling.elapsed();
        tick.stop();
        QCOMPARE(w.get<QLabel>("Label11")->text(), QStringLiteral("Cancelled"));
#ifndef EARLYLATE_RACE_DETECTOR
        QVERIFY2(cancelMs <= 5000, qPrintable(QString("Cancel took %1 ms").arg(cancelMs)));
        QVERIFY2(longestGap <= 1000, qPrintable(QString("the event loop waited %1 ms").arg(longestGap)));
#else
        Q_UNUSED(cancelMs);
#endif
    }

    // The figures show the latest completed run of the loaded file; a new Read, a failed
    // Read, a cancelled or stopped run clear them and say why.
    void resultTabsShowNothingStale() {
        TempDir work;
        copySample(work.path());
        writeFile(work / "two.csv", kTwoRegions);
        writeFile(work / "broken.csv", crlf({"vector", "c", "A,type$,name$,nodes,x1,y1", "1990,polygon,R1,3,0"}));
        WindowUnderTest w(QString::fromStdString(work.path().string()), work.path());
        workbench::ResultsTabs* tabs = w.window->results();
        const auto fitMarkers = [&] { return tabs->fitView()->scene().content.markers.size(); };
        const auto note = [&](workbench::ResultsTabs::Tab tab) { return tabs->note(tab); };
        QCOMPARE(note(workbench::ResultsTabs::MapTab), QString("No file has been read yet."));

        readSample(w);
        QCOMPARE(note(workbench::ResultsTabs::FitTab), QString("No run has completed on this file yet."));
        QVERIFY(tabs->fitView()->scene().overlay.labels.empty());  // no fit plot that claims a run
        w.window->setSetting(Setting::TargetSpecies, "Invader");
        w.window->setSetting(Setting::DoReliability, "0");
        w.click("Command4");
        QVERIFY(fitMarkers() > 0 && tabs->shownRun() != nullptr);
        QVERIFY(note(workbench::ResultsTabs::FitTab).isEmpty() && note(workbench::ResultsTabs::MapTab).isEmpty());
        QVERIFY(note(workbench::ResultsTabs::WeightsTab).contains("did not examine the weights"));

        // Another file: its regions, no run, and nothing of the sample's run.
        w.window->setSetting(Setting::DataFileName, "two.csv");
        w.click("Command1");
        QCOMPARE(regionItems(tabs->mapView()->scene()), 2);
        QCOMPARE(fitMarkers(), std::size_t{0});
        QVERIFY(tabs->shownRun() == nullptr && tabs->mapColouring()->count() == 0);
        QCOMPARE(note(workbench::ResultsTabs::FitTab), QString("No run has completed on this file yet."));

        w.window->setSetting(Setting::DataFileName, "broken.csv");
        w.click("Command1");
        QCOMPARE(regionItems(tabs->mapView()->scene()), 0);
        QCOMPARE(note(workbench::ResultsTabs::MapTab), QString("The file could not be read: no data set is loaded."));

        // A run that stops on an input error leaves no results either.
        readSample(w);
        w.click("Command4");
        QVERIFY(tabs->shownRun() != nullptr);
        w.window->setSetting(Setting::WeightPower, "six");
        w.click("Command4");
        QVERIFY(tabs->shownRun() == nullptr && fitMarkers() == 0);
        QCOMPARE(regionItems(tabs->mapView()->scene()), 12);
        QCOMPARE(note(workbench::ResultsTabs::FitTab), QString("The last run stopped before it completed: it left no results."));
    }

    // The figures are laid out for the room their tab has at the start-up size.
    void figuresAreBuiltForTheirTabsSize() {
        TempDir work;
        WindowUnderTest w(dataDir(), work.path());
        w.window->show();
        readSample(w);
        w.window->setSetting(Setting::TargetSpecies, "Invader");
        w.click("Command4");
        workbench::ResultsTabs* tabs = w.window->results();
        for (auto [tab, view] : {std::pair{workbench::ResultsTabs::MapTab, tabs->mapView()},
                                 std::pair{workbench::ResultsTabs::FitTab, tabs->fitView()}}) {
            tabs->setCurrentIndex(tab);
            QCoreApplication::processEvents();
            QVERIFY(view->isVisible() && view->width() > 250 && view->height() > 300);
            QCOMPARE(view->scene().width, static_cast<double>(view->width()));
            QCOMPARE(view->scene().height, static_cast<double>(view->height()));
        }
    }

    // A Read started while the run works replaces the loaded file; the run goes on with its
    // own, and its results are not shown for the new file.
    void readDuringARunLeavesTheRunItsData() {
        TempDir work;
        qputenv("SOURCE_DATE_EPOCH", "1796428800");
        const QStringList expected = batchLog(work, {"-t", "Invader", "--no-reliability"});
        copySample(work.path());
        writeFile(work / "two.csv", kTwoRegions);
        WindowUnderTest w(QString::fromStdString(work.path().string()), work.path());
        readSample(w);
        w.window->setSetting(Setting::TargetSpecies, "Invader");
        w.window->setSetting(Setting::DoReliability, "0");
        w.window->setMessageSink([&](const QString& text) {
            w.messages.append(text);
            w.window->setSetting(Setting::DataFileName, "two.csv");
            w.press("Command1");
        });
        w.click("Command4");
        qunsetenv("SOURCE_DATE_EPOCH");
        QCOMPARE(w.window->logLines(), expected);
        QCOMPARE(w.items("List1"), QStringList({"Delta", "Epsilon"}));
        QCOMPARE(w.window->data()->objn(), 2);
        QVERIFY(w.window->results()->shownRun() == nullptr);
        QCOMPARE(regionItems(w.window->results()->mapView()->scene()), 2);
    }

    void exitDuringARunClosesOnceTheRunHasStopped() {
        TempDir work;
        WindowUnderTest w(dataDir(), work.path());
        w.window->show();
        readSample(w);
        bool openWhileRunning = false;
        w.window->setMessageSink([&](const QString&) {
            w.press("Command5");
            openWhileRunning = w.window->isVisible() && w.window->busy();
        });
        w.click("Command4");
        QVERIFY(openWhileRunning);
        QVERIFY(!w.window->isVisible());
        QCOMPARE(w.get<QLabel>("Label11")->text(), QStringLiteral("Cancelled"));
    }

    // After "G  O" the focus stays on the run button, or on the log while the button is
    // disabled; it never lands in a settings field with its text selected.
    void focusStaysOnTheRunButton() {
        TempDir work;
        WindowUnderTest w(dataDir(), work.path());
        w.window->show();
        QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
        readSample(w);
        auto* go = w.get<QPushButton>("Command4");
        go->setFocus();
        QWidget* focusWhileRunning = nullptr;
        w.window->setMessageSink([&](const QString&) { focusWhileRunning = QApplication::focusWidget(); });
        QTest::keyClick(go, Qt::Key_Space);
        w.window->waitUntilIdle();
        QCOMPARE(focusWhileRunning, w.get<QListWidget>("List3"));
        QCOMPARE(QApplication::focusWidget(), go);
        QTest::keyClicks(QApplication::focusWidget(), "7");
        QCOMPARE(w.window->setting(Setting::SampleN), std::string("0"));
    }

    void examineWeightRunFillsTheWeightsTabFromItsResult() {
        TempDir dir;
        WindowUnderTest w(dataDir(), dir.path());
        w.window->openFile(dataDir() + "/sample.csv");
        w.window->waitUntilIdle();
        w.window->setSetting(Setting::ExamineWeight, "1");
        workbench::runEverySpecies(*w.window, QStringLiteral("Invader"));
        QCOMPARE(w.get<QLabel>("Label11")->text(), QStringLiteral("100% complete"));
        QVERIFY(std::filesystem::exists(dir / "WeightTestInvader.csv"));
        // One square per power pair with a coefficient, the best pair crossed, the target named.
        const figures::Scene& grid = w.window->results()->weightView()->scene();
        QVERIFY(grid.content.shapes.size() > 30000);
        QCOMPARE(static_cast<int>(grid.content.markers.size()), 1);
        std::string titles;  // the title may wrap to fit the tab
        for (const auto& label : grid.overlay.labels) titles += label.text + " ";
        QVERIFY(titles.find(": Invader") != std::string::npos);
    }

    void timeTextShowsTheTimeLeftOnlyWhenEstimated() {
        QCOMPARE(workbench::timeText(65000, 30000), QStringLiteral("1:05 elapsed, about 0:30 left"));
        QCOMPARE(workbench::timeText(5000, std::nullopt), QStringLiteral("0:05 elapsed"));
    }
};

}  // namespace el::test

EARLYLATE_OFFSCREEN_TEST_MAIN(el::test::RunResultsTest)
#include "run_results_test.moc"
