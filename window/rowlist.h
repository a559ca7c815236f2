// SPDX-License-Identifier: GPL-3.0-or-later
// One of the four result lists. It draws rows and reports what the pupil
// does to it (keys, presses, the focus, the wheel, the scroll bar); which
// row is picked and which row shows first is decided by the form model and
// shown back with Show(). The picked row shows in the highlight colours
// whether or not the list has the focus.
#pragma once

#include "formmodel.h"

#include <QListWidget>

namespace nihilist {

class RowList : public QListWidget {
    Q_OBJECT
public:
    explicit RowList(QWidget* parent = nullptr);

    // Picks `row` (-1: none) and scrolls to show `top` first.
    void Show(int row, int top);

signals:
    void KeyDown(nihilist::FormModel::ListKey key);
    void MouseDown(int row); // -1: blank space
    void GotFocus(bool byKeyboard);
    void Wheel(int angle);
    void Scroll(int top);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyboardSearch(const QString& search) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void ShowSelectionWithoutFocus();
    void TellCurrentRow();
};

} // namespace nihilist
