// SPDX-License-Identifier: GPL-3.0-or-later
// A push button drawn the classic way whatever the platform's style: a flat
// face in exactly its palette's Button colour, a thin raised border that
// turns sunken while pressed, a dotted focus mark and black caption text.
// Return and Enter press it as Space does.
#pragma once

#include <QPushButton>

namespace nihilist {

class ColourButton : public QPushButton {
    Q_OBJECT
public:
    explicit ColourButton(const QString& caption, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace nihilist
