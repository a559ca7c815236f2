// SPDX-License-Identifier: GPL-3.0-or-later
#include "startupprobe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace startup {

namespace {

double Now(clockid_t clock)
{
    timespec t{};
    clock_gettime(clock, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Seconds since the process was launched.
double SinceLaunch()
{
    if (const char* launched = std::getenv("STARTUP_LAUNCHED_AT"); launched && *launched) {
        // $EPOCHREALTIME follows the locale's decimal point; accept both.
        std::string text = launched;
        for (char& c : text)
            if (c == ',')
                c = '.';
        return Now(CLOCK_REALTIME) - std::strtod(text.c_str(), nullptr);
    }
    // Field 22 of /proc/self/stat: clock ticks from boot to the fork that
    // made this process; the exec follows within a fraction of a tick.
    std::ifstream stat("/proc/self/stat");
    std::string line;
    std::getline(stat, line);
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string field;
    for (int k = 3; k <= 22 && fields >> field; ++k) {
    }
    const double started = std::strtod(field.c_str(), nullptr) / static_cast<double>(sysconf(_SC_CLK_TCK));
    return Now(CLOCK_BOOTTIME) - started;
}

// A "Vm..:" or "Rss..:" figure of /proc/self/status in kB, or -1.
long StatusKb(const char* field)
{
    std::ifstream status("/proc/self/status");
    const std::size_t length = std::strlen(field);
    std::string line;
    while (std::getline(status, line)) {
        if (line.compare(0, length, field) == 0 && line.size() > length && line[length] == ':')
            return std::strtol(line.c_str() + length + 1, nullptr, 10);
    }
    return -1;
}

std::vector<std::pair<const char*, double>>& Marks()
{
    static std::vector<std::pair<const char*, double>> marks;
    return marks;
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
                Mark("painted");
                std::string report;
                char figure[64];
                std::snprintf(figure, sizeof figure, "painted_ms=%.2f", Marks().back().second * 1e3);
                report += figure;
                for (const auto& [phase, at] : Marks()) {
                    if (std::strcmp(phase, "painted") == 0)
                        continue;
                    std::snprintf(figure, sizeof figure, " %s_ms=%.2f", phase, at * 1e3);
                    report += figure;
                }
                // The peak, and how the resident set splits now: heap and
                // other private memory, and pages of mapped files (libraries,
                // font files, font caches).
                std::snprintf(figure, sizeof figure, " peak_kb=%ld anon_kb=%ld file_kb=%ld", StatusKb("VmHWM"),
                    StatusKb("RssAnon"), StatusKb("RssFile"));
                report += figure;
                std::printf("%s\n", report.c_str());
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

void Mark(const char* phase)
{
    Marks().emplace_back(phase, SinceLaunch());
}

void QuitAfterFirstPaint(QWidget& window)
{
    window.installEventFilter(new FirstPaintWatch(&window));
}

} // namespace startup
