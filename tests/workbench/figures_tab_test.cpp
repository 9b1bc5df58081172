// The result tabs: the map and the fit plot after a run on the sample, and "Cancel"
// stopping a run with the source file untouched and the buttons back.

#include <QComboBox>
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

class FiguresTabTest : public QObject {
    Q_OBJECT
private:
    struct Sample {
        Sample() : cwd(dir.path()) {
            std::filesystem::copy_file(std::filesystem::path(EARLYLATE_SOURCE_DIR) / "data" / "sample.csv",
                                       dir / "sample.csv");
            original = readFile(dir / "sample.csv");
        }
        TempDir dir;
        ScopedCwd cwd;
        std::string original;
    };

    static int regionItems(const figures::Scene& scene) {
        int n = 0;
        for (const auto& s : scene.content.shapes) n += s.region >= 0;
        for (const auto& m : scene.content.markers) n += m.region >= 0;
        return n;
    }

private slots:
    void logTabInFrontAtStartUp() {
        WindowUnderTest w;
        auto* tabs = w.window->results();
        QCOMPARE(tabs->tabs()->count(), 4);
        QCOMPARE(tabs->tabs()->tabText(0), QStringLiteral("Log"));
        QCOMPARE(tabs->currentIndex(), 0);
        QVERIFY(tabs->tabs()->widget(0) == w.get<QListWidget>("List3"));
        QVERIFY(!tabs->progressPanel()->isVisibleTo(w.window.get()));
    }

    void mapHasOneItemPerRegionColouredByPrediction() {
        Sample sample;
        WindowUnderTest w(QString::fromStdString(sample.dir.path().string()));
        w.window->resize(1200, 760);
        w.window->show();
        w.window->openFile(QString::fromStdString((sample.dir / "sample.csv").string()));
        QCOMPARE(regionItems(w.window->results()->mapView()->scene()), 12);

        workbench::runEverySpecies(*w.window, QStringLiteral("Invader"));
        const figures::Scene& map = w.window->results()->mapView()->scene();
        QCOMPARE(regionItems(map), 12);
        QVERIFY(w.window->results()->mapColouring()->currentText().contains(QStringLiteral("Invader")));
        // Regions predicted earlier are darker on the viridis scale than those predicted later:
        // Gunma is the earliest region of the sample, Yamagata the latest.
        const figures::Shape* gunma = nullptr;
        const figures::Shape* yamagata = nullptr;
        for (const auto& s : map.content.shapes) {
            if (s.tip.rfind("Gunma\n", 0) == 0) gunma = &s;
            if (s.tip.rfind("Yamagata\n", 0) == 0) yamagata = &s;
        }
        QVERIFY(gunma && yamagata && gunma->fill && yamagata->fill);
        const auto light = [](figures::Rgb c) { return c.r + c.g + c.b; };
        QVERIFY(light(*gunma->fill) < light(*yamagata->fill));
        QVERIFY(gunma->tip.find("predicted date:") != std::string::npos);

        // Tooltip hit test at the centre of a region.
        auto* view = w.window->results()->mapView();
        w.window->results()->setCurrentIndex(workbench::ResultsTabs::MapTab);
        QCoreApplication::processEvents();
        QVERIFY(view->tipAt(QPointF(-50, -50)).isEmpty());
    }

    void fitPlotHasAPointPerRegionWithBothDates() {
        Sample sample;
        WindowUnderTest w(QString::fromStdString(sample.dir.path().string()));
        w.window->openFile(QString::fromStdString((sample.dir / "sample.csv").string()));
        w.get<QLineEdit>("Text6")->setText(QStringLiteral("0.5"));
        workbench::runEverySpecies(*w.window, QStringLiteral("Invader"));
        const figures::Scene& fit = w.window->results()->fitView()->scene();
        // 9 regions hold a date of the target: 6 training circles, 3 validation triangles.
        QCOMPARE(static_cast<int>(fit.content.markers.size()), 9);
        int triangles = 0;
        for (const auto& m : fit.content.markers) triangles += m.kind == figures::MarkerKind::Triangle;
        QCOMPARE(triangles, 3);
    }

    void cancelStopsTheRunAndLeavesTheSource() {
        Sample sample;
        WindowUnderTest w(QString::fromStdString(sample.dir.path().string()));
        w.window->show();
        w.window->openFile(QString::fromStdString((sample.dir / "sample.csv").string()));
        w.get<QCheckBox>("Check3")->setChecked(true);                 // add prediction to source file
        w.get<QLineEdit>("Text8")->setText(QStringLiteral("1000000"));  // trials enough to cancel in
        auto* panel = w.window->results()->progressPanel();
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
        QVERIFY(!panel->isVisible());
        QVERIFY(!w.window->logLines().isEmpty());
        QCOMPARE(readFile(sample.dir / "sample.csv"), sample.original);
        QVERIFY(!std::filesystem::exists(sample.dir / "temp3.csv"));
        QVERIFY(w.messages.filter(QStringLiteral("stopped")).isEmpty());
    }

    void timeTextEstimatesFromTheStageRate() {
        QCOMPARE(workbench::timeText(65000, 10000, 1, 4), QStringLiteral("1:05 elapsed, about 0:30 left"));
        QCOMPARE(workbench::timeText(5000, 5000, 0, 4), QStringLiteral("0:05 elapsed"));
        QCOMPARE(workbench::timeText(5000, 5000, 4, 4), QStringLiteral("0:05 elapsed"));
    }
};

}  // namespace el::test

EARLYLATE_OFFSCREEN_TEST_MAIN(el::test::FiguresTabTest)
#include "figures_tab_test.moc"
