#pragma once

#include "platform/system/Language.h"

#include <QString>

#include <vector>

class QWidget;

// Where a text of a window goes on its control.
enum class TextRole {
    Caption,               // a window's title, or a group box's, button's or label's caption
    AccessibleName,        // what a screen reader calls the control
    AccessibleDescription, // what a screen reader says about it besides
    Prompt, // what a text box shows while nothing is chosen; its window puts it there
};

// A text of a window in both interface languages. Each window keeps all of its texts in one
// table of these, which its builder and the language switch both read.
struct WindowText {
    QWidget* control;
    TextRole role;
    BilingualText text;
};

// A text in the language given, as a control takes it.
QString textIn(const BilingualText& text, Language language);

// Puts every text of the table but the prompts on its control, in the language given.
void showTexts(const std::vector<WindowText>& table, Language language);

// The text of the table for that control and role; empty when the table has none.
BilingualText textOf(const std::vector<WindowText>& table, const QWidget* control, TextRole role);
