// SPDX-License-Identifier: GPL-3.0-or-later
#include "rowlist.h"

#include "formlayout.h"

#include <QAccessible>
#include <QFocusEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace nihilist {

RowList::RowList(QWidget* parent)
    : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    // The model scrolls the lists, a whole row at a time, as one table.
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setAutoScroll(false);
    setUniformItemSizes(true);
    ShowSelectionWithoutFocus();
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
        [this] { emit Scroll(verticalScrollBar()->sliderPosition()); });
}

void RowList::ShowSelectionWithoutFocus()
{
    // The four lists teach which letter became which number, so the picked
    // row must show in all of them, not only in the one with the focus.
    // Some platform themes (Windows) draw an unfocused selection in the
    // button face colour, invisible on white. The desktop's own colours are
    // kept where they are readable (4.5:1); Fusion's blue is not.
    QPalette colours = palette();
    QColor highlight = colours.color(QPalette::Active, QPalette::Highlight);
    QColor text = colours.color(QPalette::Active, QPalette::HighlightedText);
    if (layout::Contrast(ToRgb(highlight), ToRgb(text)) < 4.5) {
        highlight = ToQColor(layout::PickedRowColour);
        text = Qt::white;
    }
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        colours.setColor(group, QPalette::Highlight, highlight);
        colours.setColor(group, QPalette::HighlightedText, text);
    }
    setPalette(colours);
}

namespace {
// Every row is one layout row high, whatever the font's own line.
int RowHeight()
{
    return layout::ListRowTwips / layout::TwipsPerPixel;
}
} // namespace

void RowList::Show(int row, int top)
{
    for (int i = 0; i < count(); ++i)
        item(i)->setSizeHint(QSize(0, RowHeight()));
    // A screen reader takes a list's current row for the focus, so only the
    // list with the focus has one; the others show the row selected.
    const QModelIndex picked = row >= 0 ? model()->index(row, 0) : QModelIndex();
    if (picked.isValid())
        selectionModel()->select(picked, QItemSelectionModel::ClearAndSelect);
    else
        clearSelection();
    const QModelIndex current = hasFocus() ? picked : QModelIndex();
    if (currentIndex() != current)
        selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
    verticalScrollBar()->setValue(top); // raises no action: only the pupil's moves are reported
}

void RowList::keyPressEvent(QKeyEvent* event)
{
    using Key = FormModel::ListKey;
    // Alt and the system key belong to the window and the desktop.
    if (event->modifiers() & (Qt::AltModifier | Qt::MetaModifier)) {
        event->ignore();
        return;
    }
    switch (event->key()) {
    case Qt::Key_Up: emit KeyDown(Key::Up); break;
    case Qt::Key_Down: emit KeyDown(Key::Down); break;
    case Qt::Key_Home: emit KeyDown(Key::Home); break;
    case Qt::Key_End: emit KeyDown(Key::End); break;
    case Qt::Key_PageUp: emit KeyDown(Key::PageUp); break;
    case Qt::Key_PageDown: emit KeyDown(Key::PageDown); break;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Space: break; // a list of one column: nothing to move to
    default: event->ignore(); return;
    }
    event->accept();
}

void RowList::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit MouseDown(indexAt(event->position().toPoint()).row());
    event->accept();
}

// A drag, a release or a second click picks nothing more than the press did.
void RowList::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
}
void RowList::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
}
void RowList::mouseDoubleClickEvent(QMouseEvent* event)
{
    mousePressEvent(event);
}

// Text from an input method would pick the row it starts, in this list
// alone; a row is picked only as the model says.
void RowList::keyboardSearch(const QString&) { }

void RowList::wheelEvent(QWheelEvent* event)
{
    emit Wheel(event->angleDelta().y());
    event->accept();
}

void RowList::focusInEvent(QFocusEvent* event)
{
    // The picked row becomes current first, so that Qt does not make the
    // first row current on its own. A press is reported on its own and makes
    // its row current; the row picked before must not be current meanwhile.
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::MouseFocusReason)
        emit GotFocus(reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason);
    QListWidget::focusInEvent(event);
    viewport()->update(); // an empty list shows or hides its focus mark
    // Qt tells a screen reader of the list itself after this; the row comes
    // after that, so that the row is what is read.
    QMetaObject::invokeMethod(this, &RowList::TellCurrentRow, Qt::QueuedConnection);
}

void RowList::TellCurrentRow()
{
    if (!hasFocus() || !currentIndex().isValid() || !QAccessible::isActive())
        return;
    QAccessibleEvent focus(this, QAccessible::Focus);
    focus.setChild(currentIndex().row());
    QAccessible::updateAccessibility(&focus);
}

void RowList::focusOutEvent(QFocusEvent* event)
{
    QListWidget::focusOutEvent(event);
    selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
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
    painter.drawRect(0, 0, viewport()->width() - 1, RowHeight() - 1);
}

} // namespace nihilist
