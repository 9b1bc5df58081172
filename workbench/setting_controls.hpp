#pragma once
// The controls that carry the settings: a text field, a check box or a group of options per
// setting. Reads and writes the values as the settings table spells them, and reports
// every edit, by the user or by code, so a live copy can follow.

#include <array>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "base/settings.hpp"

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace el::workbench {

class SettingControls {
public:
    void addTextField(Setting id, QLineEdit* field);
    void addCheckBox(Setting id, QCheckBox* box);
    void addOption(Setting id, QRadioButton* button, std::string value);

    bool hasControl(Setting id) const;
    std::string value(Setting id) const;
    // An option group keeps its choice when `value` is none of its options.
    void set(Setting id, const std::string& value);

    QLineEdit* textField(Setting id) const { return textFields_[index(id)]; }

    // Calls `changed` with the new value after every edit of any setting's control.
    void watch(const std::function<void(Setting, const std::string&)>& changed);

private:
    static std::size_t index(Setting id) { return static_cast<std::size_t>(id); }

    std::array<QLineEdit*, kSettingCount> textFields_{};
    std::array<QCheckBox*, kSettingCount> checkBoxes_{};
    std::array<std::vector<std::pair<QRadioButton*, std::string>>, kSettingCount> options_{};
};

}  // namespace el::workbench
