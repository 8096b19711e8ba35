#pragma once

#include <QRect>

class QGroupBox;
class QPlainTextEdit;
class QPushButton;
class QWidget;

// The controls the windows place at their designed geometry, alike in every window.

// A push button with its caption set later, as the window's language is shown.
QPushButton* makeButton(QWidget* parent, QRect geometry, bool enabled = true);

// A read-only text box on white that wraps its lines at its width.
QPlainTextEdit* makeMemo(QWidget* parent, QRect geometry);

QGroupBox* makeGroupBox(QWidget* parent, QRect geometry);
