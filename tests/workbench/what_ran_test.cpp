// What the window shows of a run is what ran, and a run loses nothing: the report lists the
// settings the run used, not the ones edited after; a cancelled examine-weight run leaves
// the weight-test file of the run before it; a hindcast at work that a new run replaces is
// not dropped without a word; the progress captions are shown whole.

#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>

#include <filesystem>

#include "tests/support/sample_file.hpp"
#include "tests/support/temp_dir.hpp"
#include "tests/workbench/data_copy.hpp"
#include "tests/workbench/window_fixture.hpp"
#include "workbench/hindcast_page.hpp"
#include "workbench/results_tabs.hpp"
#include "workbench/run_progress_panel.hpp"
#include "workbench/screenshot_run.hpp"
#include "workbench/used_settings.hpp"

namespace el::test {
namespace {

// A square grid of point regions; four species spread from the corners, the target from one
// of them has reached the regions nearest it.
std::string gridFile(int side) {
    std::string text = "vector\r\nGrid\r\nS1,S2,S3,S4,Target,type$,name$,nodes,x1,y1\r\n";
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            for (int s = 0; s <= 4; ++s) {
                const int dx = (s & 1) ? side - 1 - x : x, dy = (s & 2) ? side - 1 - y : y;
                const bool reached = s < 4 || dx + dy < side / 2;
                text += reached ? std::to_string(1900 + s * 3 + dx + dy + (x * 7 + y * 13 + s * 5) % 4) + "," : "NotYetArrived,";
            }
            text += "point,R" + std::to_string(y * side + x) + ",1," + std::to_string(x) + "," + std::to_string(y) + "\r\n";
        }
    return text;
}

std::string reportValue(const figures::ReportContent& content, const std::string& caption) {
    for (const auto& s : content.settings)
        if (s.caption == caption) return s.value;
    return "(not listed)";
}

}  // namespace

class WhatRanTest : public QObject {
    Q_OBJECT
private slots:
    // The run's last read of a setting is what it used; one it set, it used as set; one it
    // never read stays as it was when the run started.
    void usedSettingsAreTheLastReadOrSetValues() {
        SettingValues live;
        SettingValues atStart;
        atStart.set(Setting::SkipFormatCheck, "1");
        workbench::UsedSettings used(live, atStart);
        live.set(Setting::WeightPower, "9");
        QCOMPARE(used.setting(Setting::WeightPower), std::string("9"));
        live.set(Setting::WeightPower, "6.65");
        QCOMPARE(used.setting(Setting::WeightPower), std::string("6.65"));
        live.set(Setting::WeightPower, "1");  // edited after the run's last read
        used.setSetting(Setting::DoReliability, "0");
        live.set(Setting::SkipFormatCheck, "0");
        const SettingValues ran = used.used();
        QCOMPARE(ran.get(Setting::WeightPower), std::string("6.65"));
        QCOMPARE(ran.get(Setting::DoReliability), std::string("0"));
        QCOMPARE(live.get(Setting::DoReliability), std::string("0"));
        QCOMPARE(ran.get(Setting::SkipFormatCheck), std::string("1"));
    }

    // Settings edited while the run waits on its message: what it read afterwards is what the
    // report lists; "skip format check", which a run never reads, keeps its value from the start.
    void reportListsTheSettingsTheRunUsed() {
        TempDir work;
        WindowUnderTest w(dataDir(), work.path());
        w.window->setSetting(Setting::DataFileName, "sample.csv");
        w.click("Command1");
        w.chooseEverySpecies();
        w.window->setSetting(Setting::TargetSpecies, "Invader");
        w.window->setSetting(Setting::DoReliability, "0");
        w.window->setMessageSink([&](const QString& text) {
            w.messages.append(text);
            w.get<QLineEdit>("Text2")->setText("9");  // the weight power, read after the message
            w.get<QCheckBox>("Check100")->setChecked(false);
        });
        w.click("Command4");
        QCOMPARE(w.messages.size(), 1);
        QVERIFY(w.window->logLines().contains("Power in weight calculation for similarity: 9   number of samples: 0"));
        // Edited once the run has ended: the report is of the run, not of the controls.
        w.get<QLineEdit>("Text4")->setText("1");
        std::optional<figures::ReportContent> handed;
        w.window->setReportDocumentSaver([&](const std::filesystem::path&, const figures::ReportContent& content) {
            handed.emplace(content);
            return std::optional<std::string>();
        });
        w.window->saveReport("report.pdf");
        QVERIFY(handed);
        QCOMPARE(reportValue(*handed, "Power in weight calculation, Similarity"), std::string("9"));
        QCOMPARE(reportValue(*handed, "Power in weight calculation, N of samples"), std::string("0"));
        std::string caption(settingInfo(Setting::SkipFormatCheck).caption);
        while (!caption.empty() && caption.back() == ' ') caption.pop_back();
        QCOMPARE(reportValue(*handed, caption), std::string("on"));
    }

    // Cancelled half-way, an examine-weight run leaves the earlier weight-test file whole.
    void cancelledExamineWeightKeepsThePreviousWeightTestFile() {
        TempDir dir;
        writeFile(dir / "grid.csv", gridFile(20));  // passes enough to cancel in
        writeFile(dir / "WeightTestTarget.csv", "the grid of an earlier run\r\n");
        WindowUnderTest w(QString::fromStdString(dir.path().string()), dir.path());
        w.window->show();  // the progress panel shows only in a shown window
        w.window->openFile(QString::fromStdString((dir / "grid.csv").string()));
        w.window->waitUntilIdle();
        w.window->setSetting(Setting::ExamineWeight, "1");
        auto* panel = w.window->results()->progressPanel();
        QTimer watch;
        connect(&watch, &QTimer::timeout, [&] {
            if (!panel->isVisible() || !panel->bar()->text().contains("passes")) return;
            panel->cancelButton()->click();
            watch.stop();
        });
        watch.start(5);
        workbench::runEverySpecies(*w.window, QStringLiteral("Target"));
        QCOMPARE(w.get<QLabel>("Label11")->text(), QStringLiteral("Cancelled"));
        QCOMPARE(readFile(dir / "WeightTestTarget.csv"), std::string("the grid of an earlier run\r\n"));
        QCOMPARE(filesIn(dir.path()), (std::vector<std::string>{"WeightTestTarget.csv", "grid.csv"}));
    }

    // A run completing while a hindcast of the run before it works: the hindcast stops, and
    // the status line and the tab's note say so.
    void aHindcastReplacedByANewRunIsNotDroppedSilently() {
        TempDir dir;
        WindowUnderTest w(dataDir(), dir.path());
        w.window->openFile(dataDir() + "/sample.csv");
        w.window->waitUntilIdle();
        w.window->setSetting(Setting::DoReliability, "0");
        workbench::runEverySpecies(*w.window, QStringLiteral("Invader"));
        workbench::HindcastPage* page = w.window->results()->hindcastPage();
        // Trials without end: the hindcast is still at work when the next run completes.
        w.window->setSetting(Setting::DoReliability, "1");
        w.window->setSetting(Setting::IterationN, "1000000");
        page->yearField()->setText("1999");
        page->pressButton();
        QVERIFY(page->active());
        w.window->setSetting(Setting::DoReliability, "0");
        w.window->runForecast();
        w.window->waitUntilIdle();
        QVERIFY(!page->active());
        QVERIFY(page->years().empty());
        QVERIFY(page->note()->text().contains("hindcast at work was stopped"));
        QVERIFY(w.get<QLabel>("Label7")->text().contains("hindcast at work was stopped"));
    }

    // Long counts and times at the start-up window size: the bar's text and the time
    // caption are shown whole.
    void progressCaptionsFitAtStartUpSize() {
        WindowUnderTest w;
        w.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.window.get()));
        auto* panel = w.window->results()->progressPanel();
        panel->start(true);
        panel->update(ProgressStage::Trials, 233, 300000);
        QCoreApplication::processEvents();
        QProgressBar* bar = panel->bar();
        QCOMPARE(bar->text(), QStringLiteral("233 of 300000 trials"));
        QVERIFY(QFontMetrics(bar->font()).horizontalAdvance(bar->text()) + 8 <= bar->width());
        QLabel* time = panel->timeLabel();
        time->setText(workbench::timeText(3599000, qint64{3599000} * 3999));
        QCoreApplication::processEvents();
        QVERIFY2(time->sizeHint().width() <= time->width(), qPrintable(time->text()));
        QVERIFY(panel->cancelButton()->geometry().left() >= time->geometry().right());
        panel->finish();
    }
};

}  // namespace el::test

EARLYLATE_OFFSCREEN_TEST_MAIN(el::test::WhatRanTest)
#include "what_ran_test.moc"
