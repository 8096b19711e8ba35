#pragma once

#include <QSlider>

// A slider as the old toolkit drew it. A horizontal one drew its channel, thumb and ticks in the
// top 33 pixels of a taller control: the options window's invert boxes stand over the rest, and
// its focus mark goes round those 33 pixels. Every slider looks the same, ticks included,
// whether or not it has the focus, which its focus mark alone shows.
class TrackBar : public QSlider {
public:
    TrackBar(Qt::Orientation orientation, QWidget* parent);

protected:
    void initStyleOption(QStyleOptionSlider* option) const override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
};
