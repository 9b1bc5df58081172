// The workbench window, or with --screenshot a rendering of it to a PNG file.

#include <QApplication>
#include <QDir>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "workbench/command_line.hpp"
#include "workbench/screenshot.hpp"
#include "workbench/screenshot_run.hpp"
#include "workbench/workbench_window.hpp"

namespace wb = el::workbench;

namespace {

// Reads and runs as asked, each to its end, then renders the window to the screenshot file.
int takeScreenshot(wb::WorkbenchWindow& window, const wb::AppArguments& options) {
    // No one is there to press OK: messages go to the error stream.
    window.setMessageSink([](const QString& text) { std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData()); });
    if (options.size) {
        int w = 0, h = 0;
        if (std::sscanf(options.size->c_str(), "%dx%d", &w, &h) != 2 || w < 100 || h < 100) {
            std::fprintf(stderr, "earlylate: --size takes WIDTHxHEIGHT, not %s\n", options.size->c_str());
            return 2;
        }
        window.resize(std::max(w, window.minimumWidth()), std::max(h, window.minimumHeight()));
    }
    if (options.open) {
        window.openFile(QString::fromStdString(*options.open));
        window.waitUntilIdle();
    }
    if (options.examineWeight) window.setSetting(el::Setting::ExamineWeight, std::string(el::kOn));
    if (options.riskHorizon) wb::askRisk(window, QString::fromStdString(*options.riskHorizon));
    if (options.run) wb::runEverySpecies(window, QString::fromStdString(options.target.value_or("")));
    if (options.riskHorizon) wb::showRiskMap(window);
    if (options.hindcast) wb::runHindcast(window, QString::fromStdString(*options.hindcast));
    if (options.tab && !wb::showTab(window, QString::fromStdString(*options.tab))) {
        std::fprintf(stderr, "earlylate: no tab named %s\n", options.tab->c_str());
        return 2;
    }
    const QString error = wb::saveScreenshot(window, QString::fromStdString(*options.screenshot));
    if (!error.isEmpty()) {
        std::fprintf(stderr, "earlylate: %s\n", error.toLocal8Bit().constData());
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const auto parsed = wb::parseAppArguments(args);
    if (!parsed.options) {
        std::fprintf(stderr, "earlylate: %s\n%s", parsed.error.c_str(), wb::appUsage().c_str());
        return 2;
    }
    const wb::AppArguments& options = *parsed.options;
    if (options.help) {
        std::fputs(wb::appUsage().c_str(), stdout);
        return 0;
    }
    const bool screenshot = options.screenshot.has_value();
    if (screenshot && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication app(argc, argv);
    wb::WorkbenchOptions windowOptions;
    if (options.folder) {
        const QString folder = QString::fromStdString(*options.folder);
        if (!QDir(folder).exists()) {
            std::fprintf(stderr, "earlylate: no such folder: %s\n", options.folder->c_str());
            return 2;
        }
        windowOptions.startFolder = folder;
    }
    if (screenshot) windowOptions.dpi = 96.0;
    wb::WorkbenchWindow window(windowOptions);

    if (!screenshot) {
        window.show();
        return app.exec();
    }

    return takeScreenshot(window, options);
}
