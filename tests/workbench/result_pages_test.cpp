// The "Table" and "Hindcast" tabs: after a run the table holds one row per region and its
// export is the batch runner's CSV; a hindcast runs off the window's thread, leaves the log
// panel as the run left it, and shows the engine's figures and plot; errors are messages.

#include <QSignalSpy>
#include <QTableView>
#include <QTableWidget>

#include "engine/hindcast/hindcast.hpp"
#include "engine/hindcast/hindcast_all.hpp"
#include "outputs/prediction_table.hpp"
#include "tests/support/temp_dir.hpp"
#include "tests/workbench/data_copy.hpp"
#include "tests/workbench/window_fixture.hpp"
#include "workbench/figure_view.hpp"
#include "workbench/hindcast_page.hpp"
#include "workbench/results_tabs.hpp"
#include "workbench/table_page.hpp"

namespace el::test {

class ResultPagesTest : public QObject {
    Q_OBJECT
private:
    // Reads data/sample.csv in the window and runs it with the target Invader.
    static void runSample(WindowUnderTest& w) {
        w.window->setSetting(Setting::DataFileName, "sample.csv");
        w.click("Command1");
        for (int row = 0; row < w.get<QListWidget>("List1")->count(); ++row) {
            w.select("List1", row);
            w.click("Command2");
        }
        w.window->setSetting(Setting::TargetSpecies, "Invader");
        w.window->setSetting(Setting::IterationN, "10");
        w.click("Command4");
    }

private slots:
    void tableOfTheLatestRunAndItsExport() {
        TempDir work;
        WindowUnderTest w(dataDir(), work.path());
        workbench::TablePage* page = w.window->results()->tablePage();
        QVERIFY(!page->exportButton()->isEnabled());
        runSample(w);
        QVERIFY(page->exportButton()->isEnabled());
        const auto* view = page->findChild<QTableView*>();
        QCOMPARE(view->model()->rowCount(), 12);
        QCOMPARE(view->model()->headerData(13, Qt::Horizontal).toString(), QStringLiteral("Predicted_Invader"));
        QCOMPARE(view->model()->index(8, 0).data().toString(), QStringLiteral("Gunma"));

        QCOMPARE(page->exportTo(QString::fromStdString((work / "t.csv").string())), QString());
        QCOMPARE(QString::fromStdString(readFile(work / "t.csv")), QString::fromStdString(engine::tableCsv(page->table())));
        QVERIFY(!page->exportTo(QString::fromStdString((work / "no-folder" / "t.csv").string())).isEmpty());
        // A new Read leaves no table of the old run behind.
        w.click("Command1");
        QVERIFY(!page->exportButton()->isEnabled());
        QCOMPARE(view->model()->rowCount(), 0);
    }

    void hindcastOffTheWindowsThreadLeavesTheLog() {
        TempDir work;
        WindowUnderTest w(dataDir(), work.path());
        runSample(w);
        const QStringList log = w.window->logLines();
        const QStringList messages = w.messages;  // the run's own (a missing value)
        workbench::HindcastPage* page = w.window->results()->hindcastPage();
        QSignalSpy done(page, &workbench::HindcastPage::finished);

        page->yearField()->setText(QStringLiteral("1999, 2001"));
        page->button()->click();
        QVERIFY(page->active());
        QCOMPARE(page->button()->text(), QStringLiteral("Stop"));
        QVERIFY(done.wait(30000));
        QVERIFY(!page->active());
        QCOMPARE(w.window->logLines(), log);
        QCOMPARE(w.messages, messages);

        // The figures are the engine's for the same request.
        engine::HindcastRequest request;
        request.data = w.window->data().get();
        request.species = {"SpA", "SpB", "SpC", "SpD", "Invader"};
        for (const SettingInfo& info : settingTable()) request.settings.set(info.id, w.window->setting(info.id));
        Feedback quiet;
        const auto expected = engine::runHindcast(request, {1999, 2001}, quiet);
        QCOMPARE(page->years().size(), std::size_t{2});
        QCOMPARE(page->years()[0].figures.mae, expected[0].figures.mae);
        QCOMPARE(page->years()[1].figures.reachedLater, expected[1].figures.reachedLater);
        QCOMPARE(page->figureTable()->rowCount(), 2);
        QCOMPARE(page->figureTable()->item(0, 1)->text(), QStringLiteral("6"));
        QCOMPARE(page->figureTable()->item(1, 4)->text(), QStringLiteral("null"));  // equal recorded dates
        int circles = 0;
        for (const auto& m : page->view()->scene().content.markers) circles += m.kind == figures::MarkerKind::Circle;
        QCOMPARE(circles, 6);
        page->figureTable()->setCurrentCell(1, 0);
        circles = 0;
        for (const auto& m : page->view()->scene().content.markers) circles += m.kind == figures::MarkerKind::Circle;
        QCOMPARE(circles, 3);
    }

    void allSpeciesGivesTheEnginesRowsOfEachEligibleSpecies() {
        TempDir work;
        WindowUnderTest w(dataDir(), work.path());
        w.window->setSetting(Setting::DataFileName, "spread.csv");
        w.click("Command1");
        for (int row = 0; row < w.get<QListWidget>("List1")->count(); ++row) {
            w.select("List1", row);
            w.click("Command2");
        }
        w.window->setSetting(Setting::DoReliability, "0");
        w.click("Command4");
        workbench::HindcastPage* page = w.window->results()->hindcastPage();
        QVERIFY(page->button()->isEnabled());  // no target needed
        QSignalSpy done(page, &workbench::HindcastPage::finished);
        page->allSpeciesBox()->setChecked(true);
        page->yearField()->setText(QStringLiteral("1990, 2011"));
        page->button()->click();
        QVERIFY(done.wait(30000));

        engine::AllSpeciesRequest request;
        request.base.data = w.window->data().get();
        request.base.species = {"SpA", "SpB", "SpC", "SpD", "SpE", "SpF", "SpG", "Invader"};
        for (const SettingInfo& info : settingTable()) request.base.settings.set(info.id, w.window->setting(info.id));
        request.targets = request.base.species;
        request.years = {1990, 2011};
        Feedback quiet;
        const auto expected = engine::runAllSpeciesHindcast(request, quiet);
        QCOMPARE(expected.rows.size(), std::size_t{1});  // 2011, Invader: the others never stay unreached
        QCOMPARE(page->speciesRows().size(), std::size_t{1});
        QCOMPARE(page->speciesRows()[0].figures.auc, expected.rows[0].figures.auc);
        QCOMPARE(page->figureTable()->horizontalHeaderItem(1)->text(), QStringLiteral("Species"));
        QCOMPARE(page->figureTable()->item(0, 1)->text(), QStringLiteral("Invader"));
        QCOMPARE(page->figureTable()->item(0, 2)->text(), QStringLiteral("21"));
    }

    void errorsAreMessagesAndStopEndsTheWork() {
        TempDir work;
        WindowUnderTest w(dataDir(), work.path());
        workbench::HindcastPage* page = w.window->results()->hindcastPage();
        QVERIFY(!page->button()->isEnabled());  // nothing run yet
        runSample(w);
        w.messages.clear();
        page->yearField()->setText(QStringLiteral("2000, soon"));
        page->button()->click();
        QVERIFY(!page->active());
        QCOMPARE(w.messages.size(), 1);
        QVERIFY(w.messages[0].contains(QStringLiteral("\"soon\" is not a year")));

        page->yearField()->setText(QStringLiteral("1999,2000,2001,2002,2003"));
        w.window->setSetting(Setting::IterationN, "100000");  // long enough to be stopped
        QSignalSpy done(page, &workbench::HindcastPage::finished);
        page->button()->click();
        page->button()->click();  // "Stop"
        QVERIFY(done.wait(30000));
        QVERIFY(page->note()->text().contains(QStringLiteral("stopped")));
        QVERIFY(page->years().empty());

        // Without a target in the run there is nothing to hindcast.
        w.window->setSetting(Setting::TargetSpecies, "");
        w.window->setSetting(Setting::IterationN, "10");
        w.click("Command4");
        w.messages.clear();
        page->yearField()->setText(QStringLiteral("2000"));
        page->button()->click();
        QCOMPARE(w.messages.size(), 1);
        QVERIFY(w.messages[0].contains(QStringLiteral("needs a target species")));
    }
};

}  // namespace el::test

EARLYLATE_OFFSCREEN_TEST_MAIN(el::test::ResultPagesTest)
#include "result_pages_test.moc"
