#include "workbench/screenshot_run.hpp"

#include <QCheckBox>
#include <QComboBox>
#include <QEventLoop>
#include <QLineEdit>
#include <QListWidget>

#include "workbench/hindcast_page.hpp"
#include "workbench/results_tabs.hpp"
#include "workbench/risk_control.hpp"
#include "workbench/window_controls.hpp"
#include "workbench/workbench_window.hpp"

namespace el::workbench {

void runEverySpecies(WorkbenchWindow& window, const QString& target) {
    auto* variables = window.findChild<QListWidget*>(QString::fromLatin1(control::kVariableList));
    for (int row = 0; variables != nullptr && row < variables->count(); ++row) {
        variables->setCurrentRow(row);
        window.addSpecies();
    }
    if (!target.isEmpty()) window.setSetting(Setting::TargetSpecies, target.toStdString());
    window.runForecast();
    window.waitUntilIdle();
}

void runHindcast(WorkbenchWindow& window, const QString& years) {
    HindcastPage* page = window.results()->hindcastPage();
    page->yearField()->setText(years);
    QEventLoop wait;
    QObject::connect(page, &HindcastPage::finished, &wait, &QEventLoop::quit);
    page->pressButton();
    if (page->active()) wait.exec();
}

void askRisk(WorkbenchWindow& window, const QString& horizon) {
    RiskControl* risk = window.results()->riskControl();
    risk->onBox()->setChecked(true);
    risk->horizonField()->setText(horizon);
}

void showRiskMap(WorkbenchWindow& window) {
    QComboBox* choice = window.results()->mapColouring();
    for (int i = 0; i < choice->count(); ++i)
        if (choice->itemText(i).startsWith(QStringLiteral("Risk of a first record"))) choice->setCurrentIndex(i);
}

bool showTab(WorkbenchWindow& window, const QString& name) {
    const QString names[] = {QStringLiteral("log"),     QStringLiteral("map"),   QStringLiteral("fit"),
                             QStringLiteral("weights"), QStringLiteral("table"), QStringLiteral("hindcast")};
    for (int i = 0; i < 6; ++i)
        if (names[i] == name.toLower()) {
            window.results()->setCurrentIndex(i);
            return true;
        }
    return false;
}

}  // namespace el::workbench
