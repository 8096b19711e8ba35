#include "platform/widgets/HiddenWindows.h"

#include <QApplication>

void HiddenWindows::hide() {
    active_ = QApplication::activeWindow();
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible()) continue;
        windows_.emplace_back(window);
        window->hide();
    }
}

void HiddenWindows::showAgain() {
    for (const QPointer<QWidget>& window : windows_)
        if (window) window->show();
    windows_.clear();
    if (active_) active_->activateWindow();
}
