#include "platform/widgets/ElidedLabel.h"

#include "platform/widgets/PlainToolTip.h"

ElidedLabel::ElidedLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setTextFormat(Qt::PlainText);
}

void ElidedLabel::setWholeText(const QString& text) {
    const QString shown = fontMetrics().elidedText(text, Qt::ElideRight, contentsRect().width());
    setText(shown);
    setToolTip(shown == text ? QString() : plainToolTip(text));
    // An empty name leaves a screen reader the label's group, as it reads an empty label.
    setAccessibleName(text);
}
