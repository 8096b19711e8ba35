#include "platform/ClickLabel.h"

void ClickLabel::mousePressEvent(QMouseEvent* event) {
    if (!clicks_.press(event)) QLabel::mousePressEvent(event);
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
    const ClickTracker::Release release = clicks_.release(event, rect());
    if (release == ClickTracker::Release::NotLeftButton) QLabel::mouseReleaseEvent(event);
    if (release == ClickTracker::Release::Click) emit clicked();
}
