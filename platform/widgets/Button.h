#pragma once

#include <QPushButton>

// A push button as Windows players know it: Enter, or the keypad's Enter, presses it when it has
// the focus, as Space does.
class Button : public QPushButton {
    Q_OBJECT
public:
    Button(const QString& caption, QWidget* parent);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
