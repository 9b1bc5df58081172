#include "workbench/setting_controls.hpp"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

namespace el::workbench {

void SettingControls::addTextField(Setting id, QLineEdit* field) { textFields_[index(id)] = field; }

void SettingControls::addCheckBox(Setting id, QCheckBox* box) { checkBoxes_[index(id)] = box; }

void SettingControls::addOption(Setting id, QRadioButton* button, std::string value) {
    options_[index(id)].emplace_back(button, std::move(value));
}

// The thread count has no control: the window's runs use every core.
bool SettingControls::hasControl(Setting id) const {
    return textFields_[index(id)] != nullptr || checkBoxes_[index(id)] != nullptr || !options_[index(id)].empty();
}

std::string SettingControls::value(Setting id) const {
    if (!hasControl(id)) return std::string(settingInfo(id).startup);
    switch (settingInfo(id).kind) {
    case SettingKind::Text: return textFields_[index(id)]->text().toStdString();
    case SettingKind::Check: return std::string(checkBoxes_[index(id)]->isChecked() ? kOn : kOff);
    case SettingKind::Choice:
        for (const auto& [button, choice] : options_[index(id)])
            if (button->isChecked()) return choice;
        return {};
    }
    return {};
}

void SettingControls::set(Setting id, const std::string& value) {
    if (!hasControl(id)) return;
    switch (settingInfo(id).kind) {
    case SettingKind::Text: textFields_[index(id)]->setText(QString::fromStdString(value)); break;
    case SettingKind::Check: checkBoxes_[index(id)]->setChecked(value == kOn); break;
    case SettingKind::Choice:
        for (const auto& [button, choice] : options_[index(id)])
            if (choice == value) button->setChecked(true);
        break;
    }
}

void SettingControls::watch(const std::function<void(Setting, const std::string&)>& changed) {
    for (const SettingInfo& info : settingTable()) {
        const Setting id = info.id;
        if (QLineEdit* field = textFields_[index(id)])
            QObject::connect(field, &QLineEdit::textChanged, field,
                             [changed, id](const QString& text) { changed(id, text.toStdString()); });
        if (QCheckBox* box = checkBoxes_[index(id)])
            QObject::connect(box, &QCheckBox::toggled, box, [changed, id](bool on) {
                changed(id, std::string(on ? kOn : kOff));
            });
        // Only the option switched on reports: the one switched off on the way says nothing
        // that a run could read in between.
        for (const auto& [button, choice] : options_[index(id)])
            QObject::connect(button, &QRadioButton::toggled, button, [changed, id, value = choice](bool on) {
                if (on) changed(id, value);
            });
    }
}

}  // namespace el::workbench
