// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up timing for the bench builds of a window: a watch that quits the
// program as soon as the window's first paint is done, printing
//   painted_ms=61.2 peak_kb=52144
// counted from STARTUP_LAUNCHED_AT (seconds since the epoch with a fraction,
// as bash's $EPOCHREALTIME gives it, which bench/run-all.sh sets).
#pragma once

class QWidget;

namespace startup {

void QuitAfterFirstPaint(QWidget& window);

} // namespace startup
