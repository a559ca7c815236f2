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

// A label centred on its caption from the layout table, which names it.
QLabel* NamedLabel(const char* group, int index, QWidget* parent)
{
    return Named(CenteredLabel(Caption(WidgetName(group, index)), parent), group, index);
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
    CreatePanes();
    CreateBoxes();
    CreateSquare();
    for (int k = 0; k < std::ssize(Command1); ++k)
        Command1[k] = Named(new ColourButton(Caption(WidgetName("Command1", k)), this), "Command1", k);
    CreateLists();
}

void MainForm::CreatePanes()
{
    for (int k = 0; k < std::ssize(Text1); ++k) {
        auto* pane = Named(new QPlainTextEdit(this), "Text1", k);
        pane->setLineWrapMode(QPlainTextEdit::NoWrap);
        const layout::Control& place = ControlOf(pane->objectName());
        pane->setPlainText(PaneText(":/" + QString::fromStdString(place.caption)));
        pane->setAccessibleName(QString::fromStdString(place.accessible));
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
}

void MainForm::CreateBoxes()
{
    Label1[0] = NamedLabel("Label1", 0, this);
    for (int k = 0; k < std::ssize(Text2); ++k) {
        QLabel* label = Label1[1 + k] = NamedLabel("Label1", 1 + k, this); // after the title
        const QString text = ToQString(model_.Text2[k]);
        auto* box = Named(new QLineEdit(text, this), "Text2", k);
        box->setValidator(new CharacterLimitValidator(FormModel::MaxLength[k], box));
        label->setBuddy(box);
        Text2[k] = box;
    }
}

void MainForm::CreateSquare()
{
    Frame1 = new GroupFrame(Caption("Frame1"), this);
    Frame1->setObjectName("Frame1");
    // A screen reader cannot see the grid, so each number and cell says
    // where it stands.
    const auto described = [](QLabel* label) {
        label->setAccessibleDescription(QString::fromStdString(ControlOf(label->objectName()).accessible));
        return label;
    };
    for (int k = 0; k < std::ssize(Label2); ++k)
        Label2[k] = described(NamedLabel("Label2", k, Frame1));
    for (int i = 0; i < std::ssize(Label3); ++i)
        Label3[i] = described(NamedLabel("Label3", i, Frame1));
}

void MainForm::CreateLists()
{
    for (int k = 0; k < std::ssize(List1); ++k) {
        Label4[k] = NamedLabel("Label4", k, this);
        List1[k] = Named(new RowList(this), "List1", k);
        List1[k]->setAccessibleName(Label4[k]->text());
    }
}

void MainForm::PlaceWidgets()
{
    setFixedSize(TwipsToPixels({0, 0, layout::ClientWidth, layout::ClientHeight}).size());
    QPalette windowPalette = palette();
    windowPalette.setColor(QPalette::Window, ToQColor(layout::WindowColour));
    setPalette(windowPalette);
    setAutoFillBackground(true);

    for (const layout::Control& place : layout::Controls()) {
        auto* widget = Child(*this, QString::fromStdString(place.name));
        widget->setGeometry(TwipsToPixels(place.twips));
        if (place.background) {
            QPalette colours = widget->palette();
            colours.setColor(QPalette::Window, ToQColor(*place.background));
            colours.setColor(QPalette::Button, ToQColor(*place.background));
            widget->setPalette(colours);
            widget->setAutoFillBackground(true);
        }
    }

    const std::vector<std::string>& order = layout::FocusOrder();
    for (std::size_t i = 1; i < order.size(); ++i)
        setTabOrder(Child(*this, QString::fromStdString(order[i - 1])), Child(*this, QString::fromStdString(order[i])));
    Text1[Explanation]->setFocus();
}

void MainForm::ConnectWidgets()
{
    for (int k = 0; k < std::ssize(Command1); ++k)
        connect(Command1[k], &QPushButton::clicked, this, [this, k] { Command1_Click(k); });
    for (int k = 0; k < std::ssize(List1); ++k) {
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
    // What each button runs, in the order of Command.
    static constexpr std::array<void (FormModel::*)(), CommandCount> commands {&FormModel::Encrypt, &FormModel::Clear};
    ReadBoxes();
    (model_.*commands.at(index))();
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
    for (int k = 0; k < std::ssize(List1); ++k)
        List1[k]->Show(model_.List1[k].ListIndex, model_.List1[k].TopIndex);
}

void MainForm::ReadBoxes()
{
    for (int k = 0; k < std::ssize(Text2); ++k)
        model_.Text2[k] = ToCodePoints(Text2[k]->text());
}

void MainForm::ShowModel()
{
    for (int k = 0; k < std::ssize(Text2); ++k) {
        Text2[k]->setText(ToQString(model_.Text2[k]));
        // Like a classic text box whose text is set, show the start of it,
        // not the tail where Qt leaves the cursor.
        Text2[k]->setCursorPosition(0);
    }
    for (int i = 0; i < std::ssize(Label3); ++i)
        Label3[i]->setText(ToQString(model_.Label3[i]));
    for (int k = 0; k < std::ssize(List1); ++k) {
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
