// SPDX-License-Identifier: GPL-3.0-or-later
#include "formlayout.h"

#include <QtGlobal>
#include <algorithm>

namespace nihilist {

const layout::Control& ControlOf(const QString& widget)
{
    const std::vector<layout::Control>& table = layout::Controls();
    const std::string name = widget.toStdString();
    const auto found = std::find_if(table.begin(), table.end(), [&](const auto& c) { return c.name == name; });
    if (found == table.end())
        qFatal("the layout table has no widget %s", qPrintable(widget));
    return *found;
}

} // namespace nihilist
