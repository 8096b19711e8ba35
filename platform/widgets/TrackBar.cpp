#include "platform/widgets/TrackBar.h"

#include "platform/widgets/FocusMark.h"

#include <QStyleOptionSlider>
#include <QStylePainter>

#include <algorithm>

namespace {
constexpr int DrawnHeight = 33;
}

TrackBar::TrackBar(Qt::Orientation orientation, QWidget* parent) : QSlider(orientation, parent) {}

void TrackBar::initStyleOption(QStyleOptionSlider* option) const {
    QSlider::initStyleOption(option);
    if (orientation() == Qt::Horizontal)
        option->rect.setHeight(std::min(option->rect.height(), DrawnHeight));
}

// Fusion leaves the pen of the channel or the thumb behind for the ticks, depending on which of
// them it took from its cache: the ticks are drawn on their own.
void TrackBar::paintEvent(QPaintEvent*) {
    QStyleOptionSlider option;
    initStyleOption(&option);
    // The focus shows as the focus mark alone.
    option.state &= ~QStyle::State_HasFocus;
    option.subControls = QStyle::SC_SliderGroove | QStyle::SC_SliderHandle;
    {
        QStylePainter painter(this);
        painter.drawComplexControl(QStyle::CC_Slider, option);
    }
    if (tickPosition() == NoTicks) return;
    option.subControls = QStyle::SC_SliderTickmarks;
    QStylePainter painter(this);
    painter.drawComplexControl(QStyle::CC_Slider, option);
}

void TrackBar::resizeEvent(QResizeEvent* event) {
    QSlider::resizeEvent(event);
    QStyleOptionSlider option;
    initStyleOption(&option);
    setFocusMarkArea(this, option.rect);
}
