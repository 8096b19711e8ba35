#include "platform/widgets/CheckBox.h"

#include <QStyleOptionButton>
#include <QStylePainter>

CheckBox::CheckBox(QWidget* parent) : QCheckBox(parent) {}

void CheckBox::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.state &= ~QStyle::State_HasFocus;
    painter.drawControl(QStyle::CE_CheckBox, option);
}
