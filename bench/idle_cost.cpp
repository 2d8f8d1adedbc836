// What wakes the Timer up: the timer and socket events delivered in the
// running program, by receiver, and the process's CPU time and voluntary
// context switches, over N seconds with the count stopped after 12 s without input
// (the caret has stopped blinking), then over N seconds while it counts.
// Targets: at most 0.3 wake-ups a second while stopped, with or without an
// accessibility bus (run it with QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 under
// at-spi-bus-launcher for the latter); one a second, the tick's, while
// counting.
//
// usage: idle_cost [seconds=5]

#include "accessibility/accessibility.h"
#include "app/desktop_services.h"
#include "app/follow_count.h"
#include "desktop/system_timer.h"
#include "form/timer_form.h"
#include "platform/forms_runtime.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

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
    int ticks = 0;
};

// User and system CPU time of the process so far.
double cpuMilliseconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval& time) { return static_cast<double>(time.tv_sec) * 1e3 + static_cast<double>(time.tv_usec) / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}



// The times the process's threads went to sleep waiting for something.
long voluntarySwitches()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_nvcsw;
}

// The benchmark's own timer, which is not the program's wake-up.
constexpr QLatin1StringView kEndName("(this benchmark's end)");

// Runs the event loop for `milliseconds`. A loop of its own: the
// application's would tell the program that it is quitting when it returns,
// and the caret stops blinking there.
void runFor(int milliseconds)
{
    QEventLoop loop;
    QTimer end;
    end.setObjectName(QString(kEndName));
    end.setSingleShot(true);
    QObject::connect(&end, &QTimer::timeout, &loop, &QEventLoop::quit);
    end.start(milliseconds);
    loop.exec();
}

void measure(CountingApplication& application, const char* phase, int milliseconds)
{
    application.counts.clear();
    application.ticks = 0;
    const long switchesBefore = voluntarySwitches();
    const double cpuBefore = cpuMilliseconds();
    application.counting = true;
    runFor(milliseconds);
    application.counting = false;
    const long switches = voluntarySwitches() - switchesBefore;
    std::printf("%s: %.2f ms of CPU a second\n", phase, (cpuMilliseconds() - cpuBefore) * 1000.0 / milliseconds);

    int all = 0;
    std::printf("\n%s, %.1f s: %ld voluntary context switches of the process\n", phase, milliseconds / 1000.0, switches);
    for (auto it = application.counts.cbegin(); it != application.counts.cend(); ++it) {
        std::printf("  %-28s %4d events\n", qPrintable(it.key()), it.value());
        all += it.key() == kEndName ? 0 : it.value();
    }
    std::printf("  ticks: %d; all wake-ups: %.2f a second\n", application.ticks, all * 1000.0 / milliseconds);
}

} // namespace

int main(int argc, char* argv[])
{
    CountingApplication application(argc, argv);
    const int seconds = argc > 1 ? std::max(std::atoi(argv[1]), 1) : 5;

    timer::accessibility::installAccessibility();
    timer::app::DesktopServices services;
    timer::form::TimerForm form(services.services());
    timer::app::followCount(form, services.alert);
    // Each tick counts a second off the display.
    QObject::connect(&form.window(), &timer::form::TimerWindow::displayChanged, &application,
                     [&application, &seconds = form.window().display(timer::platform::Display::Label5),
                      shown = QString()]() mutable {
                         if (seconds.text() != shown) {
                             shown = seconds.text();
                             application.ticks += static_cast<int>(application.counting);
                         }
                     });
    form.window().show();
    form.window().activateWindow(); // as on a desktop: the focused box blinks its caret
    QElapsedTimer waited;
    waited.start();
    while (!form.window().isActiveWindow() && waited.elapsed() < 5000) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    }
    std::printf("window active: %s, focus in %s\n", form.window().isActiveWindow() ? "yes" : "no",
                QApplication::focusWidget() != nullptr ? qPrintable(QApplication::focusWidget()->objectName()) : "nothing");
    // The user types "1" and leaves the caret blinking after it.
    for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QKeyEvent key(type, Qt::Key_1, Qt::NoModifier, QStringLiteral("1"));
        QApplication::sendEvent(form.window().windowHandle(), &key);
    }

    constexpr int kIdleBeforeMeasuring = 12'000; // past the caret's blink timeout
    runFor(kIdleBeforeMeasuring);
    measure(application, "stopped, 12 s after the last input", seconds * 1000);
    form.window().entry(timer::platform::Entry::Text3).setText(QStringLiteral("99"));
    form.window().startButton().setFocus(); // where a click on Start leaves it
    form.window().startButton().click();
    // Half a second more, so that the last tick does not race the stop.
    measure(application, "counting", seconds * 1000 + 500);

    std::printf("\ntarget: at most 0.3 wake-ups a second while stopped, %d ticks while counting, one wake-up each\n",
                seconds);
    return 0;
}
