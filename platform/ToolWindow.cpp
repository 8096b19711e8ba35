#include "platform/ToolWindow.h"

#include "platform/WindowPlacement.h"

ToolWindow::ToolWindow(const QWidget* mainWindow, int clientWidth, int clientHeight,
                       const QString& caption)
    : mainWindow_(mainWindow) {
    makeFixedWindow(this, WindowKind::Tool, clientWidth, clientHeight, caption);
}

void ToolWindow::showEvent(QShowEvent* event) {
    if (!placed_ && mainWindow_) centreOver(this, mainWindow_);
    placed_ = true;
    QWidget::showEvent(event);
}
