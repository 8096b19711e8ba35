#pragma once

#include <QWidget>

// A secondary window: a tool window of fixed size, created hidden, only shown and hidden
// afterwards, and placed centred over the main window when it is first shown.
class ToolWindow : public QWidget {
    Q_OBJECT
public:
    ToolWindow(const QWidget* mainWindow, int clientWidth, int clientHeight,
               const QString& caption);

protected:
    void showEvent(QShowEvent* event) override;

private:
    const QWidget* mainWindow_;
    bool placed_ = false;
};
