// "G  O" and its results: on the bundled sample the window's log is, line for line, the batch
// runner's log for the same settings, and the map and fit plot show the run; "Cancel" stops a
// run with the source file untouched and the buttons back.

#include <QComboBox>
#include <QProcess>
#include <QProgressBar>
#include <QTimer>

#include <filesystem>

#include "tests/support/temp_dir.hpp"
#include "tests/workbench/window_fixture.hpp"
#include "workbench/figure_view.hpp"
#include "workbench/results_tabs.hpp"
#include "workbench/run_progress_panel.hpp"
#include "workbench/screenshot_run.hpp"

namespace el::test {

class RunResultsTest : public QObject {
    Q_OBJECT
private:
    static int regionItems(const figures::Scene& scene) {
        int n = 0;
        for (const auto& s : scene.content.shapes) n += s.region >= 0;
        for (const auto& m : scene.content.markers) n += m.region >= 0;
        return n;
    }

private slots:
    void windowLogEqualsBatchLogAndFiguresShowTheRun() {
        TempDir work;
        ScopedCwd cwd(work.path());
        qputenv("SOURCE_DATE_EPOCH", "1796428800");  // 12-05-2026
        const QString dataDir = QStringLiteral(EARLYLATE_SOURCE_DIR "/data");
        QProcess batch;
        batch.setWorkingDirectory(QString::fromStdString(work.path().string()));
        batch.start(QStringLiteral(EARLYLATE_BIN_DIR "/earlylate-batch"),
                    {"--no-reliability", "-t", "Invader", "--training-ratio", "0.5", "-o", "batch.log", dataDir + "/sample.csv"});
        QVERIFY(batch.waitForFinished(60000));
        QCOMPARE(batch.exitCode(), 0);
        QStringList expected = QString::fromStdString(readFile(work / "batch.log")).split("\r\n");
        QCOMPARE(expected.takeLast(), QString());
        QVERIFY(expected.size() > 20);

        WindowUnderTest w(dataDir);
        w.window->setSetting(Setting::DataFileName, "sample.csv");
        w.click("Command1");
        QCOMPARE(regionItems(w.window->results()->mapView()->scene()), 12);  // drawn once read
        for (int row = 0; row < w.get<QListWidget>("List1")->count(); ++row) {
            w.select("List1", row);
            w.click("Command2");
        }
        w.window->setSetting(Setting::TargetSpecies, "Invader");
        w.window->setSetting(Setting::DoReliability, "0");
        w.window->setSetting(Setting::TrainingRatio, "0.5");
        w.window->appendLog("from an earlier run");
        w.click("Command4");
        qunsetenv("SOURCE_DATE_EPOCH");

        QCOMPARE(w.window->logLines(), expected);
        QCOMPARE(w.get<QLabel>("Label11")->text(), QString("100% complete"));
        QVERIFY(w.get<QPushButton>("Command4")->isEnabled() && !w.window->busy());

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
        // 9 regions hold a date of the target: 6 training circles, 3 validation triangles.
        const figures::Scene& fit = w.window->results()->fitView()->scene();
        QCOMPARE(static_cast<int>(fit.content.markers.size()), 9);
        int triangles = 0;
        for (const auto& m : fit.content.markers) triangles += m.kind == figures::MarkerKind::Triangle;
        QCOMPARE(triangles, 3);
    }

    void cancelStopsTheRunAndLeavesTheSource() {
        TempDir dir;
        ScopedCwd cwd(dir.path());
        std::filesystem::copy_file(std::filesystem::path(EARLYLATE_SOURCE_DIR) / "data" / "sample.csv", dir / "sample.csv");
        const std::string original = readFile(dir / "sample.csv");
        WindowUnderTest w(QString::fromStdString(dir.path().string()));
        w.window->show();
        w.window->openFile(QString::fromStdString((dir / "sample.csv").string()));
        w.get<QCheckBox>("Check3")->setChecked(true);                 // add prediction to source file
        w.get<QLineEdit>("Text8")->setText(QStringLiteral("1000000"));  // trials enough to cancel in
        auto* panel = w.window->results()->progressPanel();
        QVERIFY(!panel->isVisible());
        bool sawProgress = false;
        QTimer::singleShot(300, [&] {
            sawProgress = panel->isVisible() && panel->bar()->maximum() > 0;
            QVERIFY(!w.get<QPushButton>("Command4")->isEnabled());
            panel->cancelButton()->click();
        });
        workbench::runEverySpecies(*w.window, QStringLiteral("Invader"));
        QVERIFY(sawProgress);
        QVERIFY(!w.window->busy());
        QVERIFY(w.get<QPushButton>("Command4")->isEnabled());
        QCOMPARE(w.get<QPushButton>("Command4")->text(), QStringLiteral("G  O"));
        QCOMPARE(w.get<QLabel>("Label11")->text(), QStringLiteral("Cancelled"));
        QVERIFY(!panel->isVisible());
        QVERIFY(!w.window->logLines().isEmpty());
        QCOMPARE(readFile(dir / "sample.csv"), original);
        QCOMPARE(el::test::filesIn(dir.path()), (std::vector<std::string>{".earlylate.lock", "sample.csv"}));
        QVERIFY(w.messages.filter(QStringLiteral("stopped")).isEmpty());
    }

    void examineWeightRunFillsTheWeightsTabFromItsResult() {
        TempDir dir;
        ScopedCwd cwd(dir.path());
        WindowUnderTest w(QStringLiteral(EARLYLATE_SOURCE_DIR "/data"));
        w.window->openFile(QStringLiteral(EARLYLATE_SOURCE_DIR "/data/sample.csv"));
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

    void timeTextEstimatesFromTheStageRate() {
        QCOMPARE(workbench::timeText(65000, 10000, 1, 4), QStringLiteral("1:05 elapsed, about 0:30 left"));
        QCOMPARE(workbench::timeText(5000, 5000, 0, 4), QStringLiteral("0:05 elapsed"));
        QCOMPARE(workbench::timeText(5000, 5000, 4, 4), QStringLiteral("0:05 elapsed"));
    }
};

}  // namespace el::test

EARLYLATE_OFFSCREEN_TEST_MAIN(el::test::RunResultsTest)
#include "run_results_test.moc"
