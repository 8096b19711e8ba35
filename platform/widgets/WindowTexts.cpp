#include "platform/widgets/WindowTexts.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>

#include <algorithm>

void showTexts(const std::vector<WindowText>& table, Language language) {
    for (const WindowText& row : table) {
        QWidget* control = row.control;
        const QString text = QString::fromUtf8(row.text.in(language));
        switch (row.role) {
        case TextRole::Caption:
            if (control->isWindow())
                control->setWindowTitle(text);
            else if (auto* group = qobject_cast<QGroupBox*>(control))
                group->setTitle(text);
            else if (auto* button = qobject_cast<QAbstractButton*>(control))
                button->setText(text);
            else if (auto* label = qobject_cast<QLabel*>(control))
                label->setText(text);
            break;
        case TextRole::AccessibleName:
            control->setAccessibleName(text);
            break;
        case TextRole::AccessibleDescription:
            control->setAccessibleDescription(text);
            break;
        case TextRole::Prompt:
            break;
        }
    }
}

Bilingual<const char*> textOf(const std::vector<WindowText>& table, const QWidget* control,
                              TextRole role) {
    const auto row = std::find_if(table.begin(), table.end(), [&](const WindowText& r) {
        return r.control == control && r.role == role;
    });
    return row != table.end() ? row->text : Bilingual<const char*>{"", ""};
}
