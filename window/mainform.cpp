// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainform.h"

#include "characterlimitvalidator.h"
#include "codepoints.h"
#include "colourbutton.h"
#include "formlayout.h"
#include "groupframe.h"
#include "rowlist.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QTimer>

namespace nihilist {

namespace {

// A widget's caption, from the layout table.
QString Caption(const char* group, int index)
{
    return PlacementOf(WidgetName(group, index)).caption;
}

// The platform's upper-casing, following the user's locale.
std::u32string LocaleUpperCase(const std::u32string& text)
{
    return ToCodePoints(QLocale().toUpper(ToQString(text)));
}

// The long texts are stored broken by hand into CR LF lines that fit the
// pane, so they are shown line for line, trailing spaces included.
QString PaneText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

QLabel* CenteredLabel(const QString& caption, QWidget* parent)
{
    auto* label = new QLabel(caption, parent);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

template <typename W> W* Named(W* widget, const char* group, int index)
{
    widget->setObjectName(WidgetName(group, index));
    return widget;
}

} // namespace

MainForm::MainForm(QWidget* parent)
    : QWidget(parent)
    , model_(LocaleUpperCase)
{
    setObjectName("MainForm");
    setWindowTitle(layout::WindowCaption);
    CreateWidgets();
    PlaceWidgets();
    ConnectWidgets();
    Form_Load();
}

void MainForm::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    // The window is drawn first; its icon, four images to decode, follows
    // a moment later.
    if (!iconRequested_) {
        iconRequested_ = true;
        QTimer::singleShot(0, this, [this] {
            // The sizes a title bar, task bar and window switcher draw it
            // in, up to 150 %; the 256-pixel one is Explorer's, from the .ico.
            // Naming the format spares asking every image plugin what the
            // files are.
            QIcon icon;
            for (const char* name : {"icon-16", "icon-24", "icon", "icon-48"})
                icon.addPixmap(QPixmap(QStringLiteral(":/%1.png").arg(QLatin1String(name)), "PNG"));
            setWindowIcon(icon);
        });
    }
}

void MainForm::CreateWidgets()
{
    for (int k = 0; k < 2; ++k) {
        auto* pane = Named(new QPlainTextEdit(this), "Text1", k);
        pane->setLineWrapMode(QPlainTextEdit::NoWrap);
        const Placement& place = PlacementOf(pane->objectName());
        pane->setPlainText(PaneText(":/" + place.caption));
        pane->setAccessibleName(place.accessible);
        // The aphorism would cover the explanation; it is kept but not shown.
        if (!place.shown)
            pane->hide();
        pane->setReadOnly(true);
        // Read-only, but a keyboard user can still move through it and a
        // screen reader can follow the caret.
        pane->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        pane->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        Text1[k] = pane;
    }

    Label1[0] = Named(CenteredLabel(Caption("Label1", 0), this), "Label1", 0);
    for (int k = 0; k < 3; ++k) {
        Label1[k + 1] = Named(CenteredLabel(Caption("Label1", k + 1), this), "Label1", k + 1);
        const QString text = ToQString(model_.Text2[k]);
        auto* box = Named(new QLineEdit(text, this), "Text2", k);
        box->setValidator(new CharacterLimitValidator(FormModel::MaxLength[k], box));
        Label1[k + 1]->setBuddy(box);
        Text2[k] = box;
    }

    Frame1 = new GroupFrame(PlacementOf("Frame1").caption, this);
    Frame1->setObjectName("Frame1");
    // A screen reader cannot see the grid, so each number and cell says
    // where it stands.
    for (int k = 0; k < 10; ++k) {
        Label2[k] = Named(CenteredLabel(Caption("Label2", k), Frame1), "Label2", k);
        Label2[k]->setAccessibleDescription(PlacementOf(Label2[k]->objectName()).accessible);
    }
    for (int i = 0; i < 25; ++i) {
        Label3[i] = Named(CenteredLabel(QString(), Frame1), "Label3", i);
        Label3[i]->setAccessibleDescription(PlacementOf(Label3[i]->objectName()).accessible);
    }

    for (int k = 0; k < 2; ++k)
        Command1[k] = Named(new ColourButton(Caption("Command1", k), this), "Command1", k);
    for (int k = 0; k < 4; ++k) {
        Label4[k] = Named(CenteredLabel(Caption("Label4", k), this), "Label4", k);
        List1[k] = Named(new RowList(this), "List1", k);
        List1[k]->setAccessibleName(Label4[k]->text());
    }
}

void MainForm::PlaceWidgets()
{
    setFixedSize(TwipsToPixels(QRect(QPoint(), ClientTwips)).size());
    QPalette windowPalette = palette();
    windowPalette.setColor(QPalette::Window, WindowColour);
    setPalette(windowPalette);
    setAutoFillBackground(true);

    for (const Placement& place : FormLayout()) {
        auto* widget = findChild<QWidget*>(place.widget);
        Q_ASSERT(widget);
        widget->setGeometry(TwipsToPixels(place.twips));
        if (place.background != 0) {
            QPalette colours = widget->palette();
            colours.setColor(QPalette::Window, place.background);
            colours.setColor(QPalette::Button, place.background);
            widget->setPalette(colours);
            widget->setAutoFillBackground(true);
        }
    }

    const std::vector<QString>& order = FocusOrder();
    for (std::size_t i = 1; i < order.size(); ++i)
        setTabOrder(findChild<QWidget*>(order[i - 1]), findChild<QWidget*>(order[i]));
    Text1[0]->setFocus();
}

void MainForm::ConnectWidgets()
{
    for (int k = 0; k < 2; ++k)
        connect(Command1[k], &QPushButton::clicked, this, [this, k] { Command1_Click(k); });
    for (int k = 0; k < 4; ++k) {
        RowList* list = List1[k];
        connect(list, &RowList::MouseDown, this, [this, k](int row) { List1_Click(k, row); });
        connect(list, &RowList::KeyDown, this, [this, k](FormModel::ListKey key) { List1_KeyDown(k, key); });
        connect(list, &RowList::GotFocus, this, [this, k](bool byKeyboard) { List1_GotFocus(k, byKeyboard); });
        connect(list, &RowList::Wheel, this, [this, k](int angle) { List1_Wheel(k, angle); });
        connect(list, &RowList::Scroll, this, [this, k](int top) { List1_Scroll(k, top); });
    }
}

void MainForm::Form_Load()
{
    model_.ResetSquare();
    ShowModel();
}

void MainForm::Command1_Click(int index)
{
    ReadBoxes();
    if (index == 0)
        model_.Encrypt();
    else if (index == 1)
        model_.Clear();
    ShowModel();
}

void MainForm::List1_Click(int index, int row)
{
    model_.ListMouseDown(index, row);
    ShowLists();
}

void MainForm::List1_KeyDown(int index, FormModel::ListKey key)
{
    model_.ListKeyDown(index, key);
    ShowLists();
}

void MainForm::List1_GotFocus(int index, bool byKeyboard)
{
    model_.ListGotFocus(index, byKeyboard);
    ShowLists();
}

void MainForm::List1_Wheel(int index, int angle)
{
    model_.ListWheel(index, angle);
    ShowLists();
}

void MainForm::List1_Scroll(int index, int top)
{
    model_.ListScroll(index, top);
    ShowLists();
}

void MainForm::ShowLists()
{
    for (int k = 0; k < 4; ++k)
        List1[k]->Show(model_.List1[k].ListIndex, model_.List1[k].TopIndex);
}

void MainForm::ReadBoxes()
{
    for (int k = 0; k < 3; ++k)
        model_.Text2[k] = ToCodePoints(Text2[k]->text());
}

void MainForm::ShowModel()
{
    for (int k = 0; k < 3; ++k) {
        Text2[k]->setText(ToQString(model_.Text2[k]));
        // Like a classic text box whose text is set, show the start of it,
        // not the tail where Qt leaves the cursor.
        Text2[k]->setCursorPosition(0);
    }
    for (int i = 0; i < 25; ++i)
        Label3[i]->setText(ToQString(model_.Label3[i]));
    for (int k = 0; k < 4; ++k) {
        QStringList items;
        items.reserve(static_cast<qsizetype>(model_.List1[k].Items.size()));
        for (const std::u32string& item : model_.List1[k].Items)
            items.append(ToQString(item));
        List1[k]->clear();
        List1[k]->addItems(items);
    }
    ShowLists();
}

} // namespace nihilist
