#pragma once

#include <QListWidget>

// A list from which the user picks exactly one row, as the launcher's lists work on Windows: a
// click or an arrow key picks a row, and no gesture (Ctrl+click, Ctrl+Space) empties the
// choice again. Only a refill by the program leaves no row chosen.
//
// Focus alone picks nothing and leaves no row current, so that in a list with nothing chosen the
// first Down, or Space, picks the first row.
class ListBox : public QListWidget {
    Q_OBJECT
public:
    explicit ListBox(QWidget* parent = nullptr);

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};
