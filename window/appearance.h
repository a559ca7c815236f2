// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace nihilist {

// The look and language shared by every window of the program: the Fusion
// style, which draws buttons in their palette colour on every platform, the
// one font, and Qt's own texts in Bulgarian.
// Call after the QApplication exists and before any window is created.
void ApplyAppearance();

} // namespace nihilist
