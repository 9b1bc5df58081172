#pragma once
// A check box whose caption wraps onto several lines inside its fixed rectangle, and
// which toggles on a click anywhere in that rectangle.

#include <QCheckBox>

namespace el::workbench {

class WrapCheckBox : public QCheckBox {
    Q_OBJECT
public:
    explicit WrapCheckBox(const QString& text, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;
};

}  // namespace el::workbench
