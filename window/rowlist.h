// SPDX-License-Identifier: GPL-3.0-or-later
// A list box whose selection is always its current row, as in a classic
// single-selection list box: moving the cursor by mouse or key selects the
// row it lands on, and nothing the user does clears the selection (a click
// below the last row, Ctrl+click or Ctrl+Space on the selected row). Taking
// the focus with the keyboard selects the row the cursor is on, the first
// row when none was picked yet. The picked row shows in the highlight
// colours whether or not the list has the focus.
#pragma once

#include <QListWidget>

namespace nihilist {

class RowList : public QListWidget {
    Q_OBJECT
public:
    explicit RowList(QWidget* parent = nullptr);

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(
        const QModelIndex& index, const QEvent* event = nullptr) const override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void ShowSelectionWithoutFocus();
};

} // namespace nihilist
