// SPDX-License-Identifier: GPL-3.0-or-later
#include "rowlist.h"

#include <QFocusEvent>

namespace nihilist {

RowList::RowList(QWidget* parent)
    : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
}

QItemSelectionModel::SelectionFlags RowList::selectionCommand(const QModelIndex& index, const QEvent* event) const
{
    // Empty space selects nothing and keeps the row; a selected row is never
    // toggled off, it stays selected alone.
    if (!index.isValid())
        return QItemSelectionModel::NoUpdate;
    const QItemSelectionModel::SelectionFlags command = QListWidget::selectionCommand(index, event);
    if (command & (QItemSelectionModel::Deselect | QItemSelectionModel::Toggle))
        return QItemSelectionModel::ClearAndSelect;
    return command;
}

void RowList::focusInEvent(QFocusEvent* event)
{
    // The base class puts the cursor on the first row without selecting it;
    // make that row the selected one, so the table shows where the keyboard is.
    QListWidget::focusInEvent(event);
    if (currentRow() >= 0 && selectedItems().isEmpty())
        setCurrentRow(currentRow());
}

} // namespace nihilist
