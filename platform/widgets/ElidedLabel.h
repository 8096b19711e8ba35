#pragma once

#include <QLabel>

// A label of one line of plain text. A text too long for it is cut at its end, after which "…"
// stands, so that its beginning shows, and the whole text is the label's tooltip and its name for
// screen readers; a text that fits shows as it is, without a tooltip.
class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    ElidedLabel(const QString& text, QWidget* parent);

    void setWholeText(const QString& text);
};
