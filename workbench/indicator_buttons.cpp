#include "workbench/indicator_buttons.hpp"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

#include "workbench/caption_fit.hpp"

namespace el::workbench {
namespace {

// The indicator at the left, vertically centred; the caption after the gap, wrapped when asked.
void paintButton(QAbstractButton& button, QStyleOptionButton option, QStyle::PrimitiveElement indicator,
                 double dpi, int wrapFlag) {
    QPainter painter(&button);
    QStyle* style = button.style();
    const int size = indicatorSize(dpi);
    const int textLeft = size + indicatorGap(dpi);

    QStyleOptionButton box = option;
    box.rect = QRect(0, (button.height() - size) / 2, size, size);
    style->drawPrimitive(indicator, &box, &painter, &button);

    const QRect textRect(textLeft, 0, button.width() - textLeft, button.height());
    const auto group = button.isEnabled() ? QPalette::Active : QPalette::Disabled;
    painter.setPen(button.palette().color(group, QPalette::WindowText));
    painter.drawText(textRect, static_cast<int>(Qt::AlignLeft | Qt::AlignVCenter) | wrapFlag, button.text());

    if (button.hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(&button);
        focus.rect = textRect;
        style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, &button);
    }
}

}  // namespace

WrapCheckBox::WrapCheckBox(const QString& text, double dpi, QWidget* parent) : QCheckBox(text, parent), dpi_(dpi) {}

void WrapCheckBox::paintEvent(QPaintEvent*) {
    QStyleOptionButton option;
    initStyleOption(&option);
    paintButton(*this, option, QStyle::PE_IndicatorCheckBox, dpi_, Qt::TextWordWrap);
}

bool WrapCheckBox::hitButton(const QPoint& pos) const { return rect().contains(pos); }

OptionButton::OptionButton(const QString& text, double dpi, QWidget* parent) : QRadioButton(text, parent), dpi_(dpi) {}

void OptionButton::paintEvent(QPaintEvent*) {
    QStyleOptionButton option;
    initStyleOption(&option);
    paintButton(*this, option, QStyle::PE_IndicatorRadioButton, dpi_, 0);
}

bool OptionButton::hitButton(const QPoint& pos) const { return rect().contains(pos); }

}  // namespace el::workbench
