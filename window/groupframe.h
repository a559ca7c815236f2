// SPDX-License-Identifier: GPL-3.0-or-later
// A group frame drawn the classic way whatever the platform's style: the
// inside is the palette's Window colour, the border is an etched line and the
// caption sits in the top line, interrupting it.
#pragma once

#include <QGroupBox>

namespace nihilist {

class GroupFrame : public QGroupBox {
    Q_OBJECT
public:
    explicit GroupFrame(const QString& caption, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace nihilist
