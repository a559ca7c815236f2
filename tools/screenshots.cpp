// SPDX-License-Identifier: GPL-3.0-or-later
// Writes pictures of the window as a pupil sees it: at start, after pressing
// Encrypt, and after picking a row. Run it on a real display or under Xvfb:
//   nihilist-screenshots <folder>
#include "appearance.h"
#include "mainform.h"

#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace {

bool Save(QWidget& form, const QDir& folder, const QString& name)
{
    QTest::qWait(200);
    const QString path = folder.filePath(name);
    const bool saved = form.grab().save(path);
    qInfo("%s %s", saved ? "wrote" : "could not write", qPrintable(path));
    return saved;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    nihilist::ApplyAppearance();

    const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    nihilist::MainForm form;
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        return 1;
    bool ok = Save(form, folder, "start.png");

    QTest::mouseClick(nihilist::Numbered<QPushButton>(form, "Command1", 0), Qt::LeftButton);
    ok = Save(form, folder, "after-encrypt.png") && ok;

    auto* cipher = nihilist::Numbered<QListWidget>(form, "List1", 2);
    QTest::mouseClick(cipher->viewport(), Qt::LeftButton, {}, cipher->visualItemRect(cipher->item(4)).center());
    // The picked row shows in all four lists, also once the focus has left them.
    nihilist::Numbered(form, "Text2", 2)->setFocus();
    ok = Save(form, folder, "row-selected.png") && ok;
    return ok ? 0 : 1;
}
