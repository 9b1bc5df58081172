// The risk of a first record on the "Hindcast" tab: with the risk control on, the table gains
// the batch runner's six risk figures, the engine's for the same cases; a figure that cannot
// be computed reads "null" and the page says why in the engine's words; with the control off
// the table is as before; a bad horizon is refused before any work.

#include <QCheckBox>
#include <QLabel>
#include <QSignalSpy>
#include <QTableWidget>

#include <algorithm>

#include "engine/risk/risk_hindcast.hpp"
#include "figures/hindcast_figure.hpp"
#include "tests/workbench/data_copy.hpp"
#include "tests/workbench/window_fixture.hpp"
#include "workbench/figure_view.hpp"
#include "workbench/hindcast_page.hpp"
#include "workbench/hindcast_risk.hpp"
#include "workbench/results_tabs.hpp"
#include "workbench/risk_control.hpp"

namespace el::test {
namespace {

const QStringList kRiskTitles{"risk_auc", "brier", "base_brier", "bss", "calibration_slope", "calibration_intercept"};

QStringList headerTitles(const QTableWidget& table) {
    QStringList titles;
    for (int c = 0; c < table.columnCount(); ++c) titles << table.horizontalHeaderItem(c)->text();
    return titles;
}

std::vector<const engine::RiskFigure*> figuresOf(const engine::RiskHindcastRow& row) {
    return {&row.auc, &row.brier, &row.baseBrier, &row.brierSkill, &row.calibrationSlope, &row.calibrationIntercept};
}

}  // namespace

class HindcastRiskTest : public QObject {
    Q_OBJECT
private:
    // species.csv run with the target Sp12, the risk control at `horizon` ("" leaves it off).
    static void runSpecies(WindowUnderTest& w, const QString& horizon) {
        w.window->setSetting(Setting::DataFileName, "species.csv");
        w.click("Command1");
        w.chooseEverySpecies();
        w.window->setSetting(Setting::TargetSpecies, "Sp12");
        w.window->setSetting(Setting::DoReliability, std::string(kOff));
        w.click("Command4");
        workbench::RiskControl* risk = w.window->results()->riskControl();
        risk->onBox()->setChecked(!horizon.isEmpty());
        if (!horizon.isEmpty()) risk->horizonField()->setText(horizon);
    }
    static void hindcast(workbench::HindcastPage* page, const QString& years, bool allSpecies) {
        QSignalSpy done(page, &workbench::HindcastPage::finished);
        page->allSpeciesBox()->setChecked(allSpecies);
        page->yearField()->setText(years);
        page->button()->click();
        QVERIFY(page->active());
        QVERIFY(done.wait(60000));
        QVERIFY(!page->active());
    }
    // The engine's risk hindcast of `cases` with the window's settings.
    static engine::RiskHindcast expectedRisk(const WindowUnderTest& w, const workbench::HindcastCases& cases) {
        engine::RiskHindcastRequest request;
        request.basis.data = w.window->results()->shownData().get();
        request.basis.species = w.window->results()->shownRun()->speciesNames;
        request.basis.horizon = 10;
        for (const SettingInfo& info : settingTable()) request.basis.settings.set(info.id, w.window->setting(info.id));
        request.basis.threads = threadCountOf(request.basis.settings.get(Setting::Threads)).value_or(1);
        request.cases = cases;
        Feedback quiet;
        return engine::runRiskHindcast(request, quiet);
    }
    // Every risk cell of the page against the engine's figure: its number, or "null" and the
    // engine's reason as its hover text.
    static void compareCells(const QTableWidget& table, const engine::RiskHindcast& expected, int first) {
        QCOMPARE(table.rowCount(), static_cast<int>(expected.rows.size()));
        for (int r = 0; r < table.rowCount(); ++r) {
            const auto figures = figuresOf(expected.rows[static_cast<std::size_t>(r)]);
            for (int f = 0; f < 6; ++f) {
                const QTableWidgetItem* cell = table.item(r, first + f);
                const engine::RiskFigure& figure = *figures[static_cast<std::size_t>(f)];
                QCOMPARE(cell->text(), figure.value ? QString::fromStdString(figures::figureText(figure.value))
                                                    : QStringLiteral("null"));
                QCOMPARE(cell->toolTip(), figure.value ? QString() : QString::fromStdString(figure.reason));
            }
        }
    }

private slots:
    void allSpeciesRowsGainTheEnginesRiskFiguresAndSayWhyOneIsMissing() {
        WindowUnderTest w(dataDir());
        runSpecies(w, QStringLiteral("10"));
        const QStringList log = w.window->logLines();
        workbench::HindcastPage* page = w.window->results()->hindcastPage();
        hindcast(page, QStringLiteral("1980, 2005"), true);
        QCOMPARE(w.window->logLines(), log);
        QVERIFY(w.messages.isEmpty());

        const QTableWidget& table = *page->figureTable();
        const QStringList titles = headerTitles(table);
        QCOMPARE(titles.mid(titles.size() - 6), kRiskTitles);
        QCOMPARE(titles[1], QStringLiteral("Species"));
        workbench::HindcastCases shown;
        for (const engine::SpeciesHindcast& row : page->speciesRows()) shown.emplace_back(row.year, row.species);
        QVERIFY(shown.size() > 3);
        const engine::RiskHindcast expected = expectedRisk(w, shown);
        compareCells(table, expected, static_cast<int>(titles.size()) - 6);

        // 1980: too few species to fit at 1970, every figure held back by one reason; a 2005 row
        // with figures and, where one is missing, its own reason.
        QCOMPARE(shown.front().first, 1980.0);
        const std::string noFit = expected.rows.front().auc.reason;
        QVERIFY2(noFit.find("at least 3 are needed to fit the risk model") != std::string::npos, noFit.c_str());
        page->figureTable()->setCurrentCell(0, 0);
        QCOMPARE(page->riskReasons()->text(),
                 QStringLiteral("1980, %1: risk_auc, brier, base_brier, bss, calibration_slope, "
                                "calibration_intercept: %2")
                     .arg(QString::fromStdString(shown.front().second), QString::fromStdString(noFit)));
        QVERIFY(!page->riskReasons()->isHidden());
        int full = -1, partial = -1;
        for (std::size_t r = 0; r < expected.rows.size(); ++r) {
            const auto figures = figuresOf(expected.rows[r]);
            const auto missing = std::count_if(figures.begin(), figures.end(), [](auto* f) { return !f->value; });
            if (missing == 0 && full < 0) full = static_cast<int>(r);
            if (missing > 0 && missing < 6 && partial < 0) partial = static_cast<int>(r);
        }
        QVERIFY(full >= 0 && partial >= 0);
        page->figureTable()->setCurrentCell(full, 0);
        QVERIFY(page->riskReasons()->isHidden());
        page->figureTable()->setCurrentCell(partial, 0);
        const std::string partialWhy = expected.rows[static_cast<std::size_t>(partial)].calibrationSlope.reason;
        QVERIFY(!partialWhy.empty());
        QVERIFY2(page->riskReasons()->text().contains(QString::fromStdString(partialWhy)),
                 qPrintable(page->riskReasons()->text()));
        QVERIFY2(!page->riskReasons()->text().contains(QStringLiteral("risk_auc")),
                 qPrintable(page->riskReasons()->text()));
        QVERIFY2(page->note()->text().contains(QStringLiteral("choose one to see why")),
                 qPrintable(page->note()->text()));
    }

    void theTargetsYearsGainTheRiskAndTheControlOffOrABadHorizonLeaveTheTableAsItWas() {
        WindowUnderTest w(dataDir());
        runSpecies(w, QString());
        workbench::HindcastPage* page = w.window->results()->hindcastPage();
        hindcast(page, QStringLiteral("2005, 2015"), false);
        const int plain = page->figureTable()->columnCount();
        QVERIFY(!page->riskHindcast());
        QVERIFY(!headerTitles(*page->figureTable()).contains(QStringLiteral("risk_auc")));

        // A horizon that is no number is refused before any work starts.
        workbench::RiskControl* control = w.window->results()->riskControl();
        control->onBox()->setChecked(true);
        control->horizonField()->setText(QStringLiteral("soon"));
        page->button()->click();
        QVERIFY(!page->active());
        QCOMPARE(w.messages.size(), 1);
        QVERIFY2(w.messages[0].contains(QStringLiteral("a number of years above 0, not \"soon\"")),
                 qPrintable(w.messages[0]));
        control->horizonField()->setText(QStringLiteral("10"));
        hindcast(page, QStringLiteral("2005, 2015"), false);
        QCOMPARE(page->figureTable()->columnCount(), plain + 6);
        QVERIFY(page->riskHindcast().has_value());
        const engine::RiskHindcast expected = expectedRisk(w, {{2005, "Sp12"}, {2015, "Sp12"}});
        compareCells(*page->figureTable(), expected, plain);
        QVERIFY(expected.rows[0].auc.value.has_value());
        // 2015 + 10 lies beyond the data: what happened is not known yet.
        page->figureTable()->setCurrentCell(1, 0);
        const QString why = page->riskReasons()->text();
        QVERIFY2(why.startsWith(QStringLiteral("2015: risk_auc, brier,")), qPrintable(why));
        QVERIFY2(why.contains(QStringLiteral("before 2025: what happened in")), qPrintable(why));
        // The plot of the year chosen is still there.
        QVERIFY(!page->view()->scene().content.markers.empty());
    }
};

}  // namespace el::test

EARLYLATE_OFFSCREEN_TEST_MAIN(el::test::HindcastRiskTest)
#include "hindcast_risk_test.moc"
