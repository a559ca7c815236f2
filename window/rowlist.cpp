// SPDX-License-Identifier: GPL-3.0-or-later
#include "rowlist.h"

#include <QFocusEvent>
#include <QPainter>

namespace nihilist {

RowList::RowList(QWidget* parent)
    : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    ShowSelectionWithoutFocus();
}

void RowList::ShowSelectionWithoutFocus()
{
    // The four lists teach which letter became which number, so the picked
    // row must show in all of them, not only in the one with the focus.
    // Some platform themes (Windows) draw an unfocused selection in the
    // button face colour, invisible on white.
    QPalette colours = palette();
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        colours.setColor(QPalette::Inactive, role, colours.color(QPalette::Active, role));
    setPalette(colours);
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
    viewport()->update(); // an empty list shows or hides its focus mark
}

void RowList::focusOutEvent(QFocusEvent* event)
{
    QListWidget::focusOutEvent(event);
    viewport()->update();
}

void RowList::paintEvent(QPaintEvent* event)
{
    QListWidget::paintEvent(event);
    // A list with no rows draws nothing of its own when focused; like a
    // classic list box, mark where the first row would be, so Tab never
    // seems to land on nothing.
    if (count() > 0 || !hasFocus())
        return;
    QPainter painter(viewport());
    painter.setPen(QPen(palette().color(QPalette::Text), 1, Qt::DotLine));
    painter.drawRect(0, 0, viewport()->width() - 1, fontMetrics().height() - 1);
}

} // namespace nihilist
