#include "platform/widgets/WindowTexts.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>

#include <algorithm>

QString textIn(const BilingualText& text, Language language) {
    const std::string_view shown = text.in(language);
    return QString::fromUtf8(shown.data(), static_cast<qsizetype>(shown.size()));
}

void showTexts(const std::vector<WindowText>& table, Language language) {
    for (const WindowText& row : table) {
        QWidget* control = row.control;
        const QString text = textIn(row.text, language);
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

BilingualText textOf(const std::vector<WindowText>& table, const QWidget* control, TextRole role) {
    const auto row = std::find_if(table.begin(), table.end(), [&](const WindowText& r) {
        return r.control == control && r.role == role;
    });
    return row != table.end() ? row->text : BilingualText{};
}
