#pragma once
// The controls the window's code talks to: their names as the layout table gives them, and
// the widgets, found once by those names.

#include <array>

#include "base/feedback.hpp"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QWidget;

namespace el::workbench {

namespace control {

inline constexpr const char* kReadButton = "Command1";
inline constexpr const char* kAddSpeciesButton = "Command2";
inline constexpr const char* kRemoveSpeciesButton = "Command3";
inline constexpr const char* kRunButton = "Command4";
inline constexpr const char* kExitButton = "Command5";
inline constexpr const char* kSaveLogButton = "Command6";
inline constexpr const char* kTargetButton = "Command7";
inline constexpr const char* kClearButton = "Command8";
inline constexpr const char* kSaveReportButton = "Command9";
inline constexpr const char* kRecordsButton = "Command10";

inline constexpr const char* kVariableList = "List1";
inline constexpr const char* kSpeciesList = "List2";
inline constexpr const char* kLogList = "List3";
inline constexpr const char* kDriveList = "Drive1";
inline constexpr const char* kFolderList = "Dir1";
inline constexpr const char* kFileList = "File1";
inline constexpr const char* kEncodingList = "Combo1";

inline constexpr const char* kReadProgressLabel = "Label18";
inline constexpr const char* kRunProgressLabel = "Label11";
inline constexpr const char* kStatusLabel = "Label7";
inline constexpr const char* kSpareLabel = "Label14";  // blank from start-up on; nothing writes to it

}  // namespace control

struct WindowControls {
    QPushButton* read = nullptr;
    QPushButton* addSpecies = nullptr;
    QPushButton* removeSpecies = nullptr;
    QPushButton* run = nullptr;
    QPushButton* exit = nullptr;
    QPushButton* saveLog = nullptr;
    QPushButton* target = nullptr;
    QPushButton* clear = nullptr;
    QPushButton* saveReport = nullptr;
    QPushButton* records = nullptr;
    QListWidget* variables = nullptr;
    QListWidget* species = nullptr;
    QListWidget* log = nullptr;
    QComboBox* drives = nullptr;
    QListWidget* folders = nullptr;
    QListWidget* files = nullptr;
    QComboBox* encoding = nullptr;
    std::array<QLabel*, 3> labels{};  // by el::Label: read progress, run progress, status
    QLabel* spare = nullptr;

    QLabel* label(Label which) const { return labels[static_cast<std::size_t>(which)]; }
};

// Finds the controls among the children of `window`.
WindowControls findControls(const QWidget& window);

}  // namespace el::workbench
