#include "platform/widgets/WindowPlacement.h"

#include <QColor>
#include <QPalette>
#include <QScreen>
#include <QString>
#include <QWidget>

void centreOnScreen(QWidget* window) {
    const QScreen* screen = window->screen();
    if (!screen) return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

void centreOver(QWidget* window, const QWidget* owner) {
    QRect frame = window->frameGeometry();
    frame.moveCenter(owner->frameGeometry().center());
    window->move(frame.topLeft());
}

void makeFixedWindow(QWidget* window, WindowKind kind, int clientWidth, int clientHeight,
                     const QString& caption) {
    Qt::WindowFlags flags = (kind == WindowKind::Tool ? Qt::Tool : Qt::Window) |
                            Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowCloseButtonHint;
    window->setWindowFlags(flags);
    window->setFixedSize(clientWidth, clientHeight);
    window->setWindowTitle(caption);
}

void fillBackground(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}
