// SPDX-License-Identifier: GPL-3.0-or-later
#include "startupprobe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace startup {

namespace {

double SinceLaunch()
{
    // $EPOCHREALTIME follows the locale's decimal point; accept both.
    std::string launched = std::getenv("STARTUP_LAUNCHED_AT") ? std::getenv("STARTUP_LAUNCHED_AT") : "";
    for (char& c : launched)
        if (c == ',')
            c = '.';
    const std::chrono::duration<double> now = std::chrono::system_clock::now().time_since_epoch();
    return now.count() - std::strtod(launched.c_str(), nullptr);
}

// The peak resident set so far (VmHWM of /proc/self/status) in kB, or -1.
long PeakKb()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

class FirstPaintWatch : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            // The paint is delivered before the backing store is flushed to
            // the screen; a zero timer runs once that pass is over.
            QTimer::singleShot(0, this, [] {
                std::printf("painted_ms=%.2f peak_kb=%ld\n", SinceLaunch() * 1e3, PeakKb());
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool seen_ = false;
};

} // namespace

void QuitAfterFirstPaint(QWidget& window)
{
    window.installEventFilter(new FirstPaintWatch(&window));
}

} // namespace startup
