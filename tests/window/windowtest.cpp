// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowtest.h"

#include "codepoints.h"
#include "testsupport.h"

namespace nihilist {

TestWindow::TestWindow()
{
    show();
    QApplication::setActiveWindow(this);
}

bool TestWindow::Open()
{
    const bool active = QTest::qWaitForWindowActive(this);
    QCoreApplication::processEvents();
    return active;
}

QString TestWindow::Items(int k) const
{
    QStringList items;
    for (int row = 0; row < List(k)->count(); ++row)
        items << List(k)->item(row)->text();
    return items.join(' ');
}

QString TestWindow::Square() const
{
    std::array<std::u32string, FormModel::CellCount> cells;
    for (int i = 0; i < FormModel::CellCount; ++i)
        cells[i] = ToCodePoints(Find<QLabel>(WidgetName("Label3", i))->text());
    return QString::fromStdString(SquareRows(cells));
}

QString TestWindow::Focus() const
{
    const QWidget* focus = QApplication::focusWidget();
    if (!focus || focus->window() != this || focus == this || focus->objectName().isEmpty())
        return QStringLiteral("-");
    return focus->objectName();
}

QWidget* TestWindow::Target()
{
    return QApplication::focusWidget() ? QApplication::focusWidget() : this;
}

void TestWindow::Type(QWidget* target, const QString& text)
{
    for (char32_t c : text.toUcs4()) {
        // As Qt's platform plugins report keys: letters by their capital,
        // the rest of the printable ones by their own code.
        const QChar upper = c < 0x10000 ? QChar(static_cast<char16_t>(c)).toUpper() : QChar();
        const Qt::Key key = upper.isPrint() ? static_cast<Qt::Key>(upper.unicode()) : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Click, target, key, QString::fromUcs4(&c, 1), Qt::NoModifier);
    }
}

void TestWindow::ClickRow(int k, int row, Qt::KeyboardModifiers modifiers, QTest::MouseAction click)
{
    const QPoint centre = List(k)->visualItemRect(List(k)->item(row)).center();
    QTest::mouseEvent(click, List(k)->viewport(), Qt::LeftButton, modifiers, centre);
}

} // namespace nihilist
