// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the desktop window in the states the browser page is checked in and
// writes what the page's test needs to repeat them there:
//   QT_QPA_PLATFORM=offscreen nihilist-web-reference <folder>
// writes <folder>/<state>.png for every state and <folder>/steps.json, which
// names the states in order with the clicks and keys that lead to each one,
// in window pixels, plus the window's size, caption and colour.
#include "appearance.h"
#include "formlayout.h"
#include "mainform.h"

#include <QApplication>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace {

// The typed state: a keyword without a repeated letter and a text in mixed
// case with a space and punctuation, both typed over the example.
const char* const TypedKeyword = "Quartz";
const char* const TypedText = "Sail at dawn, Ivo!";

QJsonObject Point(const QPoint& p)
{
    return {{"x", p.x()}, {"y", p.y()}};
}

class Recorder {
public:
    Recorder(nihilist::MainForm& form, const QDir& folder) : form_(form), folder_(folder) {}

    // A click at the centre of a widget, or at a point inside it.
    QJsonObject Click(QWidget* widget, QPoint at = {})
    {
        if (at.isNull())
            at = widget->rect().center();
        QTest::mouseClick(widget, Qt::LeftButton, {}, at);
        return {{"click", Point(widget->mapTo(&form_, at))}};
    }

    // Replaces the contents of a box by typing: End, Shift+Home, then the
    // characters one key at a time.
    QJsonArray TypeOver(QLineEdit* box, const QString& text)
    {
        QJsonArray steps{Click(box)};
        QTest::keyClick(box, Qt::Key_End);
        QTest::keyClick(box, Qt::Key_Home, Qt::ShiftModifier);
        QTest::keyClicks(box, text);
        steps.append(QJsonObject{{"keys", QJsonArray{"End", "Shift+Home"}}});
        steps.append(QJsonObject{{"type", text}});
        return steps;
    }

    bool Save(const QString& name, const QJsonArray& steps)
    {
        QTest::qWait(100);
        const QString path = folder_.filePath(name + ".png");
        if (!form_.grab().toImage().convertToFormat(QImage::Format_RGB32).save(path)) {
            qWarning("could not write %s", qPrintable(path));
            return false;
        }
        states_.append(QJsonObject{{"name", name}, {"steps", steps}});
        return true;
    }

    bool WriteSteps() const
    {
        const QColor colour(nihilist::WindowColour);
        const QJsonObject all{
            {"width", form_.width()},
            {"height", form_.height()},
            {"title", form_.windowTitle()},
            {"background", QJsonArray{colour.red(), colour.green(), colour.blue()}},
            {"states", states_},
        };
        QFile file(folder_.filePath("steps.json"));
        return file.open(QIODevice::WriteOnly) && file.write(QJsonDocument(all).toJson()) > 0;
    }

private:
    nihilist::MainForm& form_;
    QDir folder_;
    QJsonArray states_;
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    nihilist::ApplyAppearance();
    const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    if (!folder.exists() && !QDir().mkpath(folder.path()))
        return 1;

    nihilist::MainForm form;
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        return 1;
    Recorder record(form, folder);
    auto* encrypt = form.findChild<QPushButton*>("Command1_0");
    auto* cipher = form.findChild<QListWidget*>("List1_2");
    auto* keyword = form.findChild<QLineEdit*>("Text2_0");
    auto* text = form.findChild<QLineEdit*>("Text2_2");
    if (!encrypt || !cipher || !keyword || !text)
        return 1;

    bool ok = record.Save("start", {});
    ok = record.Save("encrypt", {record.Click(encrypt)}) && ok;
    const QPoint row = cipher->visualItemRect(cipher->item(4)).center();
    ok = record.Save("row", {record.Click(cipher->viewport(), row)}) && ok;
    QJsonArray typing = record.TypeOver(keyword, QString::fromUtf8(TypedKeyword));
    for (const auto& step : record.TypeOver(text, QString::fromUtf8(TypedText)))
        typing.append(step);
    ok = record.Save("typed", typing) && ok;
    ok = record.Save("typed-encrypt", {record.Click(encrypt)}) && ok;
    return ok && record.WriteSteps() ? 0 : 1;
}
