#include "platform/widgets/Button.h"

#include "platform/widgets/ClickTracker.h"

#include <QKeyEvent>

Button::Button(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {}

void Button::keyPressEvent(QKeyEvent* event) {
    // Space is the toolkit's own.
    if (!pressesLikeAButton(event) || event->key() == Qt::Key_Space) {
        QPushButton::keyPressEvent(event);
        return;
    }
    // A held key presses once.
    if (!event->isAutoRepeat()) click();
    event->accept();
}
