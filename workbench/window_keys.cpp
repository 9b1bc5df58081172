// The window's keyboard: Enter presses the focused button, else the step's obvious button:
// "Read" from the controls of Step 1, "G  O" from those of Step 2.

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <array>

#include "workbench/results_tabs.hpp"
#include "workbench/workbench_window.hpp"

namespace el::workbench {

QPushButton* WorkbenchWindow::enterButton(QWidget* focused) const {
    if (focused == nullptr) return nullptr;
    if (auto* button = qobject_cast<QPushButton*>(focused)) return button;
    // The result tabs and the folder list (where Enter opens a folder) keep Enter to themselves.
    if (results_->isAncestorOf(focused) || focused == results_ || focused == controls_.folders) return nullptr;
    const std::array<const QWidget*, 5> step1{controls_.drives, controls_.encoding, controls_.files,
                                              settings_.textField(Setting::DataFileName),
                                              findChild<QCheckBox*>(QStringLiteral("Check100"))};
    for (const QWidget* w : step1)
        if (w != nullptr && (w == focused || w->isAncestorOf(focused))) return controls_.read;
    return controls_.run;
}

void WorkbenchWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        QWidget::keyPressEvent(event);
        return;
    }
    QPushButton* button = enterButton(focusWidget());
    if (button == nullptr) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    if (button->isEnabled() && button->isVisible()) button->click();
}

}  // namespace el::workbench
