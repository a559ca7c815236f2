// SPDX-License-Identifier: GPL-3.0-or-later
#include "groupframe.h"

#include <QPainter>

namespace nihilist {

GroupFrame::GroupFrame(const QString& caption, QWidget* parent)
    : QGroupBox(caption, parent)
{
}

void GroupFrame::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QColor inside = palette().color(QPalette::Window);
    painter.fillRect(rect(), inside);

    // The border runs through the middle of the caption's line.
    const QFontMetrics metrics(font());
    const QRect border = rect().adjusted(0, metrics.height() / 2, 0, 0);
    painter.setPen(QColor(128, 128, 128));
    painter.drawRect(border.adjusted(0, 0, -2, -2));
    painter.setPen(QColor(255, 255, 255));
    painter.drawRect(border.adjusted(1, 1, -1, -1));

    const int indent = 8;
    const QRect caption(indent, 0, metrics.horizontalAdvance(title()) + 4, metrics.height());
    painter.fillRect(caption, inside);
    painter.setPen(Qt::black);
    painter.drawText(caption, Qt::AlignCenter, title());
}

} // namespace nihilist
