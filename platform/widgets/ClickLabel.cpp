#include "platform/widgets/ClickLabel.h"

void ClickLabel::mousePressEvent(QMouseEvent* event) {
    if (!clicks_.press(event)) QLabel::mousePressEvent(event);
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
    const ClickTracker::Release release = clicks_.release(event, rect());
    if (release == ClickTracker::Release::NotLeftButton) QLabel::mouseReleaseEvent(event);
    if (release == ClickTracker::Release::Click) emit clicked();
}

void ClickLabel::keyPressEvent(QKeyEvent* event) {
    // A link opens on Enter; Space scrolls a page in a browser and does nothing here.
    if (!pressesLikeAButton(event) || event->key() == Qt::Key_Space) {
        QLabel::keyPressEvent(event);
        return;
    }
    if (!event->isAutoRepeat()) emit clicked();
    event->accept();
}
