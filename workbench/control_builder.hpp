#pragma once
// Makes the widgets of the layout table: every control a child of the window or of its
// frame, named as the table names it, with the caption and fonts of its kind; the
// setting-bound ones registered with the setting controls.

#include <QFont>

#include <vector>

#include "workbench/control_layout.hpp"
#include "workbench/setting_controls.hpp"

class QWidget;

namespace el::workbench {

struct PlacedControl {
    const ControlSpec* entry;
    QWidget* widget;
    QFont designFont;  // its font before the caption was fitted
};

struct BuiltControls {
    std::vector<PlacedControl> placed;  // in the layout table's order
    SettingControls settings;
};

BuiltControls buildControls(QWidget* window, double dpi);

}  // namespace el::workbench
