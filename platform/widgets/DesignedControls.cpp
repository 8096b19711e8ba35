#include "platform/widgets/DesignedControls.h"

#include "platform/widgets/Button.h"

#include <QGroupBox>
#include <QPalette>
#include <QPlainTextEdit>

QPushButton* makeButton(QWidget* parent, QRect geometry, bool enabled) {
    auto* button = new Button(QString(), parent);
    button->setGeometry(geometry);
    button->setEnabled(enabled);
    return button;
}

QPlainTextEdit* makeMemo(QWidget* parent, QRect geometry) {
    auto* memo = new QPlainTextEdit(parent);
    memo->setGeometry(geometry);
    memo->setReadOnly(true);
    memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette palette = memo->palette();
    palette.setColor(QPalette::Base, Qt::white);
    memo->setPalette(palette);
    return memo;
}

QGroupBox* makeGroupBox(QWidget* parent, QRect geometry) {
    auto* box = new QGroupBox(parent);
    box->setGeometry(geometry);
    return box;
}
