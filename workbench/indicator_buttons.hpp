#pragma once
// Check boxes and options drawn as the layout was drawn for: a small box or circle with the
// caption close beside it (the sizes of caption_fit.hpp), a check box's caption wrapping
// onto more lines inside its fixed rectangle; a click anywhere in the rectangle toggles.

#include <QCheckBox>
#include <QRadioButton>

namespace el::workbench {

class WrapCheckBox : public QCheckBox {
    Q_OBJECT
public:
    WrapCheckBox(const QString& text, double dpi, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;

private:
    double dpi_;
};

class OptionButton : public QRadioButton {
    Q_OBJECT
public:
    OptionButton(const QString& text, double dpi, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;

private:
    double dpi_;
};

}  // namespace el::workbench
