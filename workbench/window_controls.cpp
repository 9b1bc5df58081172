#include "workbench/window_controls.hpp"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace el::workbench {
namespace {

template <class T>
T* find(const QWidget& window, const char* name) {
    T* widget = window.findChild<T*>(QString::fromLatin1(name));
    if (widget == nullptr) qFatal("the window has no control named %s", name);
    return widget;
}

}  // namespace

WindowControls findControls(const QWidget& window) {
    using namespace control;
    WindowControls c;
    c.read = find<QPushButton>(window, kReadButton);
    c.addSpecies = find<QPushButton>(window, kAddSpeciesButton);
    c.removeSpecies = find<QPushButton>(window, kRemoveSpeciesButton);
    c.run = find<QPushButton>(window, kRunButton);
    c.exit = find<QPushButton>(window, kExitButton);
    c.saveLog = find<QPushButton>(window, kSaveLogButton);
    c.target = find<QPushButton>(window, kTargetButton);
    c.clear = find<QPushButton>(window, kClearButton);
    c.saveReport = find<QPushButton>(window, kSaveReportButton);
    c.records = find<QPushButton>(window, kRecordsButton);
    c.variables = find<QListWidget>(window, kVariableList);
    c.species = find<QListWidget>(window, kSpeciesList);
    c.log = find<QListWidget>(window, kLogList);
    c.drives = find<QComboBox>(window, kDriveList);
    c.folders = find<QListWidget>(window, kFolderList);
    c.files = find<QListWidget>(window, kFileList);
    c.encoding = find<QComboBox>(window, kEncodingList);
    c.labels = {find<QLabel>(window, kReadProgressLabel), find<QLabel>(window, kRunProgressLabel),
                find<QLabel>(window, kStatusLabel)};
    c.spare = find<QLabel>(window, kSpareLabel);
    return c;
}

}  // namespace el::workbench
