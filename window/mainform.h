// SPDX-License-Identifier: GPL-3.0-or-later
// The cipher window. It owns the form model and keeps it and the widgets in
// step: each handler copies the boxes into the model, runs the model's
// command and shows the result.
#pragma once

#include "formmodel.h"

#include <QWidget>
#include <array>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace nihilist {

class RowList;

// The widgets are numbered in groups, as the layout table names them:
//   Text1_0..1     read-only panes: explanation, aphorism (hidden)
//   Label1_0..3    title, then the captions of the three boxes
//   Text2_0..2     boxes: keyword, key, text to encrypt
//   Label2_0..9    the square's column numbers, then its row numbers
//   Label3_0..24   the square's cells, row by row
//   Command1_0..1  buttons: Encrypt, Clear
//   Label4_0..3    list headers; List1_0..3 the lists: code, key code, cipher, letter
inline QString WidgetName(const char* group, int index)
{
    return QStringLiteral("%1_%2").arg(QLatin1String(group)).arg(index);
}

// The named widget of `window`. A name it lacks is a mistake in the program
// or a test, so it stops here, naming it, in every build.
template <typename W = QWidget> W* Child(const QWidget& window, const QString& name)
{
    auto* widget = window.findChild<W*>(name);
    if (!widget)
        qFatal("the window has no widget %s", qPrintable(name));
    return widget;
}

// One numbered widget of the window, e.g. Numbered<QLineEdit>(form, "Text2", 0).
template <typename W = QWidget> W* Numbered(const QWidget& window, const char* group, int index)
{
    return Child<W>(window, WidgetName(group, index));
}

class MainForm : public QWidget {
    Q_OBJECT
public:
    explicit MainForm(QWidget* parent = nullptr);

    const FormModel& Model() const { return model_; }

    // The roles of the numbered panes and buttons.
    enum Pane : int { Explanation, Aphorism, PaneCount };
    enum Command : int { Encrypt, Clear, CommandCount };

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void CreateWidgets();
    void CreatePanes();
    void CreateBoxes();
    void CreateSquare();
    void CreateLists();
    void PlaceWidgets();
    void ConnectWidgets();

    void Form_Load();
    void Command1_Click(int index);
    void List1_Click(int index, int row);
    void List1_KeyDown(int index, FormModel::ListKey key);
    void List1_GotFocus(int index, bool byKeyboard);
    void List1_Wheel(int index, int angle);
    void List1_Scroll(int index, int top);

    void ShowLists();
    void ReadBoxes();
    void ShowModel();

    FormModel model_;
    bool iconRequested_ = false;

    std::array<QPlainTextEdit*, PaneCount> Text1 {};
    std::array<QLabel*, 1 + FormModel::BoxCount> Label1 {}; // the title, then one a box
    std::array<QLineEdit*, FormModel::BoxCount> Text2 {};
    QGroupBox* Frame1 = nullptr;
    std::array<QLabel*, 2 * FormModel::SquareSide> Label2 {}; // column numbers, then row numbers
    std::array<QLabel*, FormModel::CellCount> Label3 {};
    std::array<QPushButton*, CommandCount> Command1 {};
    std::array<QLabel*, FormModel::ListCount> Label4 {};
    std::array<RowList*, FormModel::ListCount> List1 {};
};

} // namespace nihilist
