// SPDX-License-Identifier: GPL-3.0-or-later
#include "formlayout.h"

#include <algorithm>

namespace nihilist {

const std::vector<Placement>& FormLayout()
{
    static const std::vector<Placement> table = [] {
        std::vector<Placement> placements;
        for (const layout::Control& control : layout::Controls()) {
            const layout::TwipsRect& r = control.twips;
            const QRgb background = control.background
                ? qRgb(control.background->red, control.background->green, control.background->blue)
                : 0;
            placements.push_back({QString::fromStdString(control.name), QRect(r.left, r.top, r.width, r.height),
                background, QString::fromStdString(control.caption), QString::fromStdString(control.accessible),
                control.shown});
        }
        return placements;
    }();
    return table;
}

const Placement& PlacementOf(const QString& widget)
{
    const std::vector<Placement>& table = FormLayout();
    const auto found = std::find_if(table.begin(), table.end(), [&](const Placement& p) { return p.widget == widget; });
    Q_ASSERT(found != table.end());
    return *found;
}

const std::vector<QString>& FocusOrder()
{
    static const std::vector<QString> order = [] {
        std::vector<QString> names;
        for (const std::string& name : layout::FocusOrder())
            names.push_back(QString::fromStdString(name));
        return names;
    }();
    return order;
}

} // namespace nihilist
