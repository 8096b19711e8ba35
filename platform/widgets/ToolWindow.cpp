#include "platform/widgets/ToolWindow.h"

#include "platform/widgets/WindowPlacement.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QString>

ToolWindow::ToolWindow(QWidget* mainWindow, int clientWidth, int clientHeight)
    : mainWindow_(mainWindow) {
    makeFixedWindow(this, WindowKind::Tool, clientWidth, clientHeight, QString());
}

void ToolWindow::showEvent(QShowEvent* event) {
    if (!placed_ && mainWindow_) centreOver(this, mainWindow_);
    placed_ = true;
    shown_.start();
    // Installed once: a filter installed again replaces itself.
    for (QPushButton* button : findChildren<QPushButton*>()) button->installEventFilter(this);
    QWidget::showEvent(event);
    activateWindow();
}

void ToolWindow::setVisible(bool visible) {
    // Handed over while this window still has the keyboard: once it has gone, the system would
    // have given the keyboard to nobody, and not take it back from there at once.
    if (!visible && isVisible() && isActiveWindow() && mainWindow_ && mainWindow_->isVisible())
        mainWindow_->activateWindow();
    QWidget::setVisible(visible);
}

void ToolWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool ToolWindow::eventFilter(QObject* watched, QEvent* event) {
    const bool press =
        event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick;
    if (press && shown_.isValid() && shown_.elapsed() < QApplication::doubleClickInterval())
        return true;
    return QWidget::eventFilter(watched, event);
}
