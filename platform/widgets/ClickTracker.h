#pragma once

#include <QKeyEvent>
#include <QMouseEvent>
#include <QRect>

#include <utility>

// Tells a click, as a button takes it, from other uses of the mouse: the left button pressed and
// then released inside the control. The press is taken, not passed to the container, so that
// the release comes back to the control.
class ClickTracker {
public:
    enum class Release { NotLeftButton, NoClick, Click };

    // Whether the press is the left button's, and so taken.
    bool press(QMouseEvent* event) {
        if (event->button() != Qt::LeftButton) return false;
        pressed_ = true;
        event->accept();
        return true;
    }

    Release release(const QMouseEvent* event, const QRect& inside) {
        if (event->button() != Qt::LeftButton) return Release::NotLeftButton;
        const bool wasPressed = std::exchange(pressed_, false);
        return wasPressed && inside.contains(event->position().toPoint()) ? Release::Click
                                                                          : Release::NoClick;
    }

private:
    bool pressed_ = false;
};

// Space, Enter or the keypad's Enter, which press a focused button.
inline bool pressesLikeAButton(const QKeyEvent* event) {
    const int key = event->key();
    return (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) &&
           (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}
