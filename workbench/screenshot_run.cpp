#include "workbench/screenshot_run.hpp"

#include <QEventLoop>
#include <QLineEdit>
#include <QListWidget>

#include "workbench/hindcast_page.hpp"
#include "workbench/results_tabs.hpp"
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
