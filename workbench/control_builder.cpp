#include "workbench/control_builder.hpp"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "workbench/caption_fit.hpp"
#include "workbench/window_controls.hpp"
#include "workbench/indicator_buttons.hpp"
#include "workbench/window_fonts.hpp"

namespace el::workbench {
namespace {

QString nameOf(std::string_view name) {
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

QWidget* makeLabel(const ControlSpec& entry, const QString& caption, QWidget* parent, double dpi) {
    auto* label = new QLabel(caption, parent);
    label->setWordWrap(captionRoom(entry, dpi).wrap);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QWidget* makeList(QWidget* parent) {
    auto* list = new QListWidget(parent);
    list->setFont(listFont());
    list->setUniformItemSizes(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    return list;
}

QWidget* makeEncodingList(QWidget* parent) {
    auto* list = new QComboBox(parent);
    for (std::string_view name : kEncodingChoices) list->addItem(nameOf(name));
    return list;
}

QWidget* makeInput(const ControlSpec& entry, const QString& caption, QWidget* parent, double dpi,
                   SettingControls& settings) {
    switch (entry.kind) {
    case ControlKind::CheckBox: {
        auto* box = new WrapCheckBox(caption, dpi, parent);
        settings.addCheckBox(*entry.setting, box);
        return box;
    }
    case ControlKind::TextField: {
        auto* field = new QLineEdit(parent);
        field->setFont(listFont());
        settings.addTextField(*entry.setting, field);
        return field;
    }
    case ControlKind::Option: {
        auto* button = new OptionButton(caption, dpi, parent);
        settings.addOption(*entry.setting, button, std::string(entry.choice));
        return button;
    }
    default: return nullptr;
    }
}

QWidget* makeWidget(const ControlSpec& entry, QWidget* parent, double dpi, SettingControls& settings) {
    const QString caption = QString::fromStdString(captionOf(entry));
    switch (entry.kind) {
    case ControlKind::Label: return makeLabel(entry, caption, parent, dpi);
    case ControlKind::Button: return new QPushButton(caption, parent);
    case ControlKind::List:
    case ControlKind::FolderList:
    case ControlKind::FileList: return makeList(parent);
    case ControlKind::DriveList: return new QComboBox(parent);
    case ControlKind::EncodingList: return makeEncodingList(parent);
    case ControlKind::Frame: return new QGroupBox(caption, parent);
    default: return makeInput(entry, caption, parent, dpi, settings);
    }
}

}  // namespace

BuiltControls buildControls(QWidget* window, double dpi) {
    BuiltControls built;
    for (const ControlSpec& entry : controlLayout()) {
        QWidget* parent = window;
        if (!entry.frame.empty()) parent = window->findChild<QGroupBox*>(nameOf(entry.frame));
        QWidget* widget = makeWidget(entry, parent, dpi, built.settings);
        widget->setObjectName(nameOf(entry.name));
        if (entry.bold) widget->setFont(headingFont());
        if (entry.name == control::kRunButton) widget->setFont(runButtonFont());
        built.placed.push_back({&entry, widget, widget->font()});
    }
    // Input controls above the captions that reach into their rectangles.
    for (const PlacedControl& p : built.placed)
        if (p.entry->kind != ControlKind::Label) p.widget->raise();
    return built;
}

}  // namespace el::workbench
