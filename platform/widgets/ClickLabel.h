#pragma once

#include "platform/widgets/ClickTracker.h"

#include <QLabel>

// A label that answers a click as a link does: a left button pressed and released inside it, or
// Enter while it has the focus.
class ClickLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    ClickTracker clicks_;
};
