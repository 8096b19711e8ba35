#include "platform/widgets/ScrollBox.h"

ScrollBox::ScrollBox(QWidget* parent) : QScrollArea(parent) {
    setWidget(new QWidget);
    fitContent();
}

void ScrollBox::fitContent() {
    const QRect children = content()->childrenRect();
    content()->resize(std::max(children.right() + 1, 0), std::max(children.bottom() + 1, 0));
}
