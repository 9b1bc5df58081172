#pragma once
// Shared pieces of the window tests: a main that forces the offscreen platform, and a
// window at 96 dpi whose messages are recorded instead of waiting for OK. The window reads
// and runs on worker threads: click() waits until that work has ended, press() does not.

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <filesystem>
#include <memory>
#include <utility>

#include "workbench/workbench_window.hpp"

#define EARLYLATE_OFFSCREEN_TEST_MAIN(TestClass)                                                    \
    int main(int argc, char** argv) {                                                              \
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen"); \
        QApplication app(argc, argv);                                                              \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }

namespace el::test {

struct WindowUnderTest {
    // `workFolder` takes the side files (the side log of a failed scan, the weight-test file)
    // and the log saved under a bare name; empty: the working directory.
    explicit WindowUnderTest(const QString& folder = {}, std::filesystem::path workFolder = {})
        : window(std::make_unique<workbench::WorkbenchWindow>(
              workbench::WorkbenchOptions{folder, 96.0, std::move(workFolder)})) {
        window->setMessageSink([this](const QString& text) { messages.append(text); });
    }
    template <class T>
    T* get(const char* name) const {
        T* found = window->findChild<T*>(QString::fromLatin1(name));
        if (found == nullptr) qFatal("no control named %s", name);
        return found;
    }
    QStringList items(const char* list) const {
        QStringList out;
        for (int i = 0; i < get<QListWidget>(list)->count(); ++i) out.append(get<QListWidget>(list)->item(i)->text());
        return out;
    }
    void select(const char* list, int row) const { get<QListWidget>(list)->setCurrentRow(row); }
    void press(const char* button) const { get<QPushButton>(button)->click(); }
    void click(const char* button) const {
        press(button);
        window->waitUntilIdle();
    }
    // Every variable into the species list.
    void chooseEverySpecies() const {
        for (int row = 0; row < get<QListWidget>("List1")->count(); ++row) {
            select("List1", row);
            click("Command2");
        }
    }

    std::unique_ptr<workbench::WorkbenchWindow> window;
    QStringList messages;
};

}  // namespace el::test
