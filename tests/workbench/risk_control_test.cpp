// The window's risk of a first record: off at start-up; on, a run with a target gains the
// table's column risk (the batch runner's --risk-horizon numbers, the reached regions empty)
// and a risk map, with the log unchanged; a bad horizon is refused before the run; a run
// without a target says why it has no risk; a Cancel at any point of the risk step, by the
// step's own stop or the window's button, leaves the run's results and no half risk.

#include <QCheckBox>
#include <QComboBox>
#include <QProcess>
#include <QTableView>

#include <atomic>
#include <future>
#include <sstream>

#include "tests/support/sample_file.hpp"
#include "tests/support/temp_dir.hpp"
#include "tests/workbench/data_copy.hpp"
#include "tests/workbench/window_fixture.hpp"
#include "workbench/results_tabs.hpp"
#include "workbench/risk_control.hpp"
#include "workbench/run_progress_panel.hpp"
#include "workbench/table_page.hpp"

namespace el::test {
namespace {

// The column `name` of a CSV file's rows (no field holds a comma), the header left out.
QStringList csvColumn(const std::string& text, const QString& name) {
    QStringList rows = QString::fromStdString(text).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    const int at = static_cast<int>(rows.takeFirst().split(QLatin1Char(',')).indexOf(name));
    QStringList column;
    for (const QString& row : rows) column << row.split(QLatin1Char(',')).value(at);
    return column;
}

// Counts the checkpoints and stops the work at the `stopAt`-th (never with 0).
class StopAtCheckpoint : public Feedback {
public:
    explicit StopAtCheckpoint(long long stopAt) : stopAt_(stopAt) {}
    void checkpoint() override {
        if (++seen_ == stopAt_) throw Cancelled{};
    }
    long long seen() const { return seen_; }

private:
    long long stopAt_;
    long long seen_ = 0;
};

QStringList tableColumn(const workbench::TablePage& page, const QString& name) {
    const auto* model = page.findChild<QTableView*>()->model();
    int at = -1;
    for (int c = 0; c < model->columnCount(); ++c)
        if (model->headerData(c, Qt::Horizontal).toString() == name) at = c;
    QStringList column;
    for (int r = 0; at >= 0 && r < model->rowCount(); ++r) column << model->index(r, at).data().toString();
    return column;
}

}  // namespace

class RiskControlTest : public QObject {
    Q_OBJECT
private:
    static void readSpecies(WindowUnderTest& w, const char* target) {
        w.window->setSetting(Setting::DataFileName, "species.csv");
        w.click("Command1");
        w.chooseEverySpecies();
        w.window->setSetting(Setting::TargetSpecies, target);
        w.window->setSetting(Setting::DoReliability, std::string(kOff));
    }
    static void askRisk(WindowUnderTest& w, const QString& horizon) {
        workbench::RiskControl* risk = w.window->results()->riskControl();
        risk->onBox()->setChecked(true);
        risk->horizonField()->setText(horizon);
    }

private slots:
    void riskColumnAndMapAreTheBatchRunnersAndTheLogStays() {
        TempDir work;
        WindowUnderTest w(dataDir(), work.path());
        workbench::ResultsTabs* results = w.window->results();
        QVERIFY(!results->riskControl()->onBox()->isChecked());
        QCOMPARE(results->riskControl()->horizonField()->text(), QStringLiteral("10"));
        readSpecies(w, "Sp12");
        w.click("Command4");
        const QStringList log = w.window->logLines();
        QVERIFY(tableColumn(*results->tablePage(), "risk").isEmpty());
        QVERIFY(results->shownRisk() == nullptr);

        askRisk(w, QStringLiteral("10"));
        w.click("Command4");
        QCOMPARE(w.window->logLines(), log);
        QVERIFY(results->shownRisk() != nullptr);
        // The check said plainly beside the control, as the report and R say it.
        const QString check = results->riskControl()->checkText();
        QVERIFY(!results->shownRisk()->sentences.empty());
        for (const std::string& sentence : results->shownRisk()->sentences)
            QVERIFY2(check.contains(QString::fromStdString(sentence)), qPrintable(check));
        QVERIFY2(check.contains(QStringLiteral("regions like these get a first record within 10 years")),
                 qPrintable(check));

        QProcess batch;
        batch.setWorkingDirectory(QString::fromStdString(work.path().string()));
        batch.start(QStringLiteral(EARLYLATE_BIN_DIR "/earlylate-batch"),
                    {"--quiet", "-t", "Sp12", "--no-reliability", "--risk-horizon", "10", "--predictions", "p.csv",
                     dataDir() + "/species.csv"});
        QVERIFY(batch.waitForFinished(60000));
        QCOMPARE(batch.exitCode(), 0);
        const QStringList expected = csvColumn(readFile(work / "p.csv"), QStringLiteral("risk"));
        const QStringList shown = tableColumn(*results->tablePage(), QStringLiteral("risk"));
        QCOMPARE(shown.size(), expected.size());
        int risks = 0;
        for (int r = 0; r < shown.size(); ++r) {
            QCOMPARE(shown[r].isEmpty(), expected[r].isEmpty());
            if (shown[r].isEmpty()) continue;
            ++risks;
            QVERIFY2(std::abs(shown[r].toDouble() - expected[r].toDouble()) < 1e-12, qPrintable(shown[r]));
        }
        QCOMPARE(risks, static_cast<int>(results->shownRisk()->regions.size()));
        QVERIFY(risks > 0 && risks < shown.size());

        QComboBox* choice = results->mapColouring();
        const int riskItem = choice->findText(QStringLiteral("Risk of a first record within 10 years: Sp12"));
        QVERIFY(riskItem >= 0);
        choice->setCurrentIndex(riskItem);
        QVERIFY(results->mapChoice().colouring == figures::MapColouring::Risk);
        QVERIFY(results->mapChoice().risk == results->shownRisk());
    }

    void aCancelledRiskStepLeavesNoHalfRisk() {
        WindowUnderTest w(dataDir());
        readSpecies(w, "Sp12");
        w.click("Command4");
        const engine::RunResult* run = w.window->results()->shownRun();
        const auto data = w.window->results()->shownData();
        QVERIFY(run != nullptr && data != nullptr);
        SettingValues given;
        for (std::size_t s = 0; s < kSettingCount; ++s)
            given.set(static_cast<Setting>(s), w.window->setting(static_cast<Setting>(s)));
        // On one thread every checkpoint of the step reaches the caller, the same ones each time.
        given.set(Setting::Threads, "1");
        StopAtCheckpoint whole(0);
        const workbench::RiskAfterRun full = workbench::riskAfterRun(*data, *run, given, 10, "", "", whole);
        QVERIFY(full.risk != nullptr && full.failure.empty());
        QVERIFY(whole.seen() > 3);
        for (long long at : {1LL, whole.seen() / 3, 2 * whole.seen() / 3, whole.seen()}) {
            StopAtCheckpoint stop(at);
            const workbench::RiskAfterRun cut = workbench::riskAfterRun(*data, *run, given, 10, "", "", stop);
            QVERIFY2(cut.risk == nullptr, qPrintable(QString::number(at)));
            QCOMPARE(QString::fromStdString(cut.failure),
                     QStringLiteral("The risk of a first record was cancelled: the run's results stand without it."));
        }
        StopAtCheckpoint late(whole.seen() + 1);
        const workbench::RiskAfterRun again = workbench::riskAfterRun(*data, *run, given, 10, "", "", late);
        QVERIFY(again.risk != nullptr);
        QCOMPARE(again.risk->regions.size(), full.risk->regions.size());
        for (std::size_t r = 0; r < full.risk->regions.size(); ++r)
            QCOMPARE(again.risk->regions[r].risk, full.risk->regions[r].risk);
    }

    // The window's own Cancel button, pressed while the risk step works: the worker waits at a
    // checkpoint of the step until the window's thread has pressed it, so the press always
    // falls inside the step. The run's results stand with no risk, and the next run is whole.
    void cancelButtonDuringTheRiskStepLeavesTheRunAndAUsableWindow() {
        WindowUnderTest w(dataDir());
        workbench::ResultsTabs* results = w.window->results();
        readSpecies(w, "Sp12");
        askRisk(w, QStringLiteral("10"));
        std::atomic<long long> seen{0};
        w.window->setRiskCheckpointProbe([&](long long n) { seen = n; });
        w.click("Command4");
        QVERIFY(seen > 3);
        const std::size_t risks = results->shownRisk()->regions.size();
        const QStringList log = w.window->logLines();
        QPushButton* cancel = results->progressPanel()->cancelButton();
        // The step's first checkpoint, and its third: every inner batch of runs starts with one on
        // the run's thread, however the workers share the runs, so both always come.
        for (const long long at : {1LL, 3LL}) {
            std::atomic<bool> pressed{false}, enabled{false};
            w.window->setRiskCheckpointProbe([&, at](long long n) {
                if (n != at) return;
                std::promise<void> done;
                QMetaObject::invokeMethod(
                    cancel,
                    [&] {
                        enabled = cancel->isEnabled();
                        cancel->click();
                        pressed = true;
                        done.set_value();
                    },
                    Qt::QueuedConnection);
                done.get_future().wait();
            });
            w.click("Command4");
            QVERIFY(pressed && enabled);
            QVERIFY(results->shownRun() != nullptr);
            QVERIFY(results->shownRisk() == nullptr);
            QCOMPARE(w.window->logLines(), log);
            QVERIFY(tableColumn(*results->tablePage(), QStringLiteral("risk")).isEmpty());
            QCOMPARE(results->mapColouring()->findText(QStringLiteral("Risk of a first record"), Qt::MatchStartsWith),
                     -1);
            QVERIFY2(results->riskControl()->checkText().contains(
                         QStringLiteral("was cancelled: the run's results stand without it")),
                     qPrintable(results->riskControl()->checkText()));
            QVERIFY(w.get<QPushButton>("Command4")->isEnabled());
        }
        w.window->setRiskCheckpointProbe({});
        w.click("Command4");
        QVERIFY(results->shownRisk() != nullptr);
        QCOMPARE(results->shownRisk()->regions.size(), risks);
        QCOMPARE(w.window->logLines(), log);
    }

    void badHorizonIsRefusedAndARunWithoutTargetSaysWhy() {
        WindowUnderTest w(dataDir());
        workbench::ResultsTabs* results = w.window->results();
        readSpecies(w, "");
        askRisk(w, QStringLiteral("ten"));
        w.click("Command4");
        QCOMPARE(w.messages.size(), 1);
        QVERIFY2(w.messages[0].contains(QStringLiteral("a number of years above 0, not \"ten\"")),
                 qPrintable(w.messages[0]));
        QVERIFY(results->shownRun() == nullptr);

        askRisk(w, QStringLiteral("10"));
        w.click("Command4");
        QVERIFY(results->shownRun() != nullptr);
        QVERIFY(results->shownRisk() == nullptr);
        QVERIFY(tableColumn(*results->tablePage(), QStringLiteral("risk")).isEmpty());
        QVERIFY2(results->riskControl()->checkText().contains(QStringLiteral("the run had no target species")),
                 qPrintable(results->riskControl()->checkText()));
        const QString note = results->tablePage()->findChild<QLabel*>()->text();
        QVERIFY2(note.contains(QStringLiteral("the run had no target species")), qPrintable(note));
        QCOMPARE(results->mapColouring()->findText(QStringLiteral("Risk of a first record"), Qt::MatchStartsWith), -1);
    }
};

}  // namespace el::test

EARLYLATE_OFFSCREEN_TEST_MAIN(el::test::RiskControlTest)
#include "risk_control_test.moc"
