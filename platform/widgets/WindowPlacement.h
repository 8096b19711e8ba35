#pragma once

class QWidget;

// Without a window manager the toolkit would put every window at 0,0.
void centreOnScreen(QWidget* window);
void centreOver(QWidget* window, const QWidget* owner);

class QColor;
class QString;

// A tool window has a small caption bar and only a close box; the main window is a normal
// window, so that it shows in the task bar and closing it ends the program.
enum class WindowKind { Main, Tool };

// A window of a fixed client size that cannot be resized.
void makeFixedWindow(QWidget* window, WindowKind kind, int clientWidth, int clientHeight,
                     const QString& caption);
void fillBackground(QWidget* widget, const QColor& colour);
