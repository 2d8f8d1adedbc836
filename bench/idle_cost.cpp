// What wakes the Timer up: the timer and socket events delivered in the
// running program over 5 s with the count stopped and 5 s while it counts,
// by receiver, and the process's CPU time and context switches over the same
// spans.
// The tick source's own wake-ups should be none while stopped and one a
// second while counting.
//
// usage: idle_cost [seconds=5]

#include "form/desktop_services.h"
#include "desktop/tick_source.h"
#include "form/timer_form.h"
#include "platform/forms_runtime.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QTimer>

#include <cstdio>

#include <sys/resource.h>

namespace {

// Counts the timer and socket events that the event loop hands out.
class CountingApplication final : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override
    {
        if (counting && (event->type() == QEvent::Timer || event->type() == QEvent::SockAct)) {
            const QString name = receiver->objectName().isEmpty()
                                     ? QString::fromLatin1(receiver->metaObject()->className())
                                     : receiver->objectName();
            ++counts[name];
        }
        return QApplication::notify(receiver, event);
    }

    bool counting = false;
    QMap<QString, int> counts;
};

// User and system CPU time of the process so far.
double cpuMilliseconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval& time) { return static_cast<double>(time.tv_sec) * 1e3 + static_cast<double>(time.tv_usec) / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

long contextSwitches()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    long total = 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.contains("ctxt_switches:")) {
            total += line.split(':').last().trimmed().toLong();
        }
    }
    return total;
}

void measure(CountingApplication& application, const char* phase, int milliseconds)
{
    application.counts.clear();
    const long switchesBefore = contextSwitches();
    const double cpuBefore = cpuMilliseconds();
    application.counting = true;
    QTimer stop;
    stop.setObjectName(QStringLiteral("(this benchmark's stop)"));
    stop.setSingleShot(true);
    QObject::connect(&stop, &QTimer::timeout, [&application] {
        application.counting = false;
        QApplication::quit();
    });
    stop.start(milliseconds);
    QApplication::exec();
    const long switches = contextSwitches() - switchesBefore;
    std::printf("%s: %.2f ms of CPU a second\n", phase, (cpuMilliseconds() - cpuBefore) * 1000.0 / milliseconds);

    const int ours = application.counts.value(QString::fromLatin1(timer::desktop::kWakeTimerName));
    std::printf("\n%s, %.1f s: %ld context switches of the process\n", phase, milliseconds / 1000.0, switches);
    for (auto it = application.counts.cbegin(); it != application.counts.cend(); ++it) {
        std::printf("  %-28s %4d events\n", qPrintable(it.key()), it.value());
    }
    std::printf("  tick source wake-ups: %d\n", ours);
}

} // namespace

int main(int argc, char* argv[])
{
    CountingApplication application(argc, argv);
    const int seconds = argc > 1 ? std::max(std::atoi(argv[1]), 1) : 5;

    timer::form::DesktopServices services;
    timer::form::TimerForm form(services.services());
    form.window().show();
    form.window().activateWindow(); // as on a desktop: the focused box blinks its caret

    measure(application, "stopped", seconds * 1000);
    form.window().entry(timer::platform::Entry::Text3).setText(QStringLiteral("99"));
    form.window().startButton().setFocus(); // where a click on Start leaves it
    form.window().startButton().click();
    // Half a second more, so that the last tick does not race the stop.
    measure(application, "counting", seconds * 1000 + 500);

    std::printf("\ntarget: no wake-up of its own while stopped, %d while counting (one a tick)\n", seconds);
    return 0;
}
