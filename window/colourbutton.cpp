// SPDX-License-Identifier: GPL-3.0-or-later
#include "colourbutton.h"

#include <QKeyEvent>
#include <QPainter>

namespace nihilist {

namespace {

// The classic bevel's four greys: highlight, light, shadow, dark shadow.
const QColor Highlight(255, 255, 255);
const QColor Light(223, 223, 223);
const QColor Shadow(128, 128, 128);
const QColor DarkShadow(0, 0, 0);

// One-pixel frame: top and left edges in one colour, bottom and right in another.
void Bevel(QPainter& painter, const QRect& r, const QColor& topLeft, const QColor& bottomRight)
{
    painter.setPen(topLeft);
    painter.drawLine(r.topLeft(), r.topRight() - QPoint(1, 0));
    painter.drawLine(r.topLeft(), r.bottomLeft() - QPoint(0, 1));
    painter.setPen(bottomRight);
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());
}

} // namespace

ColourButton::ColourButton(const QString& caption, QWidget* parent)
    : QPushButton(caption, parent)
{
}

void ColourButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect outer = rect();
    const QRect inner = outer.adjusted(1, 1, -1, -1);
    painter.fillRect(outer, palette().color(QPalette::Button));

    const bool sunken = isDown();
    if (sunken) {
        Bevel(painter, outer, DarkShadow, Highlight);
        Bevel(painter, inner, Shadow, Light);
    } else {
        Bevel(painter, outer, Highlight, DarkShadow);
        Bevel(painter, inner, Light, Shadow);
    }

    // A pressed caption moves down and right with the face.
    const QRect face = outer.adjusted(2, 2, -2, -2).translated(sunken ? QPoint(1, 1) : QPoint());
    painter.setPen(Qt::black);
    painter.drawText(face, Qt::AlignCenter | Qt::TextShowMnemonic, text());

    if (hasFocus()) {
        QPen dots(Qt::black, 1, Qt::DotLine);
        painter.setPen(dots);
        painter.drawRect(face.adjusted(2, 2, -3, -3));
    }
}

void ColourButton::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && !event->isAutoRepeat()) {
        click();
        return;
    }
    QPushButton::keyPressEvent(event);
}

} // namespace nihilist
