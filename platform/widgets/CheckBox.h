#pragma once

#include <QCheckBox>

// A check box whose focus shows only as its focus mark, which goes round its caption as Windows
// marks a focused check box; the style's own mark would be a second one.
class CheckBox : public QCheckBox {
    Q_OBJECT
public:
    explicit CheckBox(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};
