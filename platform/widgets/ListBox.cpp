#include "platform/widgets/ListBox.h"

#include <QKeyEvent>

#include <algorithm>

ListBox::ListBox(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
}

QItemSelectionModel::SelectionFlags ListBox::selectionCommand(const QModelIndex& index,
                                                              const QEvent* event) const {
    const QItemSelectionModel::SelectionFlags command = QListWidget::selectionCommand(index, event);
    // The toolkit lets Ctrl deselect the chosen row of a single-selection list.
    if (command.testFlag(QItemSelectionModel::Deselect) ||
        command.testFlag(QItemSelectionModel::Toggle))
        return QItemSelectionModel::NoUpdate;
    return command;
}

void ListBox::focusInEvent(QFocusEvent* event) {
    // The toolkit makes the first row current when the list takes the focus, and Down would then
    // pick the second.
    const bool hadSelection = !selectedItems().isEmpty();
    QListWidget::focusInEvent(event);
    if (!hadSelection) selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::Clear);
}

void ListBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier &&
        selectedItems().isEmpty() && count() > 0) {
        setCurrentRow(std::max(currentRow(), 0));
        return;
    }
    QListWidget::keyPressEvent(event);
}
