#include "appearance.h"

#include <QApplication>
#include <QFont>

namespace nihilist {

void ApplyAppearance()
{
    QApplication::setStyle("Fusion");
    QFont font;
    // Liberation Serif has the same metrics as Times New Roman, so the
    // layout holds where the latter is missing.
    font.setFamilies({"Times New Roman", "Liberation Serif"});
    font.setPointSize(12);
    QApplication::setFont(font);
}

} // namespace nihilist
