#pragma once

#include <QScrollArea>

// A box that shows whatever is placed on its content, with scroll bars once the content does
// not fit. The content keeps its children where they were put and grows to hold them all.
class ScrollBox : public QScrollArea {
    Q_OBJECT
public:
    explicit ScrollBox(QWidget* parent = nullptr);

    QWidget* content() const { return widget(); }

    // Sizes the content to the shown children, after they were placed, added or hidden.
    void fitContent();
};
