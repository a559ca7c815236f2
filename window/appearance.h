// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace nihilist {

// The look shared by every window of the program: the Fusion style, which
// draws buttons in their palette colour on every platform, and the one font.
// Call after the QApplication exists and before any window is created.
void ApplyAppearance();

} // namespace nihilist
