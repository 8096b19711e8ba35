#pragma once

#include <QElapsedTimer>
#include <QWidget>

// A secondary window: a tool window of fixed size, created hidden, only shown and hidden
// afterwards, and placed centred over the main window when it is first shown. As a window shown
// on Windows, it takes the keyboard when it shows, and Escape closes it as its close box does;
// once it closes, the main window has the keyboard again.
//
// A window just shown ignores presses of the mouse on its push buttons for the double-click
// interval. It opens when the button that opens it is released, and may open right over where
// the player clicked: the second click of a double-click must not press whatever button lies
// there, such as the options window's OK over the main window's "Opcje", which would rewrite
// rsim.ini.
class ToolWindow : public QWidget {
    Q_OBJECT
public:
    // The window's caption is its own to set.
    ToolWindow(QWidget* mainWindow, int clientWidth, int clientHeight);

    void setVisible(bool visible) override;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* mainWindow_;
    bool placed_ = false;
    QElapsedTimer shown_;
};
