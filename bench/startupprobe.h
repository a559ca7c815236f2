// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up timing for the bench builds of a window: marks taken along main,
// and a watch on the window that quits the program as soon as its first
// paint is done, printing one line such as
//   painted_ms=61.2 main_ms=9.8 application_ms=31.0 ... peak_kb=52144 ...
// Every *_ms figure counts from the moment the process was launched, taken
// from STARTUP_LAUNCHED_AT (seconds since the epoch with a fraction, as
// bash's $EPOCHREALTIME gives it) when the launcher sets it, otherwise from
// the kernel's start time of the process, which is only good to 10 ms.
#pragma once

class QWidget;

namespace startup {

// Records the time of a named phase; the name must outlive the program.
void Mark(const char* phase);

// After the window's first paint, records "painted", prints the line with
// the peak resident memory so far and quits the event loop.
void QuitAfterFirstPaint(QWidget& window);

} // namespace startup
