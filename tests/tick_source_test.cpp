#include "gui_fakes.h"

#include "desktop/system_timer.h"

#include <QSignalSpy>
#include <QTest>

#include <optional>
#include <vector>

#ifdef __linux__
#include <sys/timerfd.h>
#endif

using namespace timer::testing;
using timer::desktop::TickSource;
using timer::desktop::WakeTimerFactory;

namespace {

// A tick source on a driven clock, with its ticks counted.
struct Driven {
    ManualClock clock;
    ManualWakeTimers wakes{clock};
    TickSource ticks{clock, wakes.factory()};
    ManualWakeTimer& wake = *wakes.last;
    QSignalSpy spy{&ticks, &TickSource::tick};
    const std::chrono::nanoseconds t0 = clock.now();
};

// Whether the event loop reaches a wake-up due now on a timer `make` gives,
// within QtTest's usual wait. A wake-up of that kind due earlier comes first,
// so one that should have been withdrawn would have come by then.
[[nodiscard]] bool loopReachesNow(const timer::desktop::Clock& clock, const WakeTimerFactory& make)
{
    bool reached = false;
    const auto sentinel = make([&reached] { reached = true; });
    sentinel->wakeAt(clock.now());
    return QTest::qWaitFor([&reached] { return reached; });
}

WakeTimerFactory qtWakeTimers(const timer::desktop::Clock& clock)
{
    return [&clock](std::function<void()> onWake) {
        return std::make_unique<timer::desktop::QtWakeTimer>(clock, std::move(onWake));
    };
}

} // namespace

class TickSourceTest : public QObject {
    Q_OBJECT

private slots:
    void earlyWakeUpIsNoTick()
    {
        Driven d;
        auto& [clock, wakes, ticks, wake, spy, t0] = d;
        ticks.setEnabled(true);
        wake.wakeAt(t0); // as if the system woke us too soon
        QVERIFY(wake.advanceTo(t0 + 999ms));
        QCOMPARE(spy.count(), 0);
        QCOMPARE(wake.due(), std::optional(t0 + 1000ms));
    }

    // Ticks fall on fixed deadlines: a late one never pushes the next one
    // later, and those owed after a stall come one by one, each a wake-up of
    // its own.
    void ticksOwedAfterAStallComeOneByOne()
    {
        Driven d;
        auto& [clock, wakes, ticks, wake, spy, t0] = d;
        ticks.setEnabled(true);
        // The loop was blocked for three and a half periods.
        QVERIFY(wake.advanceTo(t0 + 3500ms));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(wake.due(), std::optional(t0 + 2000ms)); // due already: a wake-up of its own
        QVERIFY(wake.advanceTo(t0 + 3500ms));
        QCOMPARE(spy.count(), 2);
        QVERIFY(wake.advanceTo(t0 + 3500ms));
        QCOMPARE(spy.count(), 3);
        QCOMPARE(wake.due(), std::optional(t0 + 4000ms));
        QVERIFY(!wake.advanceTo(t0 + 3999ms));
        QCOMPARE(spy.count(), 3);
    }

    // Switching off withdraws the wake-up, even one already due; a tick that
    // switches the source off is the last.
    void switchingOffWithdrawsTheWakeUp()
    {
        Driven d;
        auto& [clock, wakes, ticks, wake, spy, t0] = d;
        ticks.setEnabled(true);
        clock.set(t0 + 5000ms);
        ticks.setEnabled(false);
        QVERIFY(!wake.due());
        wake.wakeLate();
        QCOMPARE(spy.count(), 0);

        QObject::connect(&ticks, &TickSource::tick, &ticks, [&d] { d.ticks.setEnabled(false); });
        ticks.setEnabled(true);
        QVERIFY(wake.advanceTo(t0 + 6000ms));
        QCOMPARE(spy.count(), 1);
        QVERIFY(!wake.due());
    }

    void switchingOnAgainStartsTheSecondAfresh()
    {
        Driven d;
        auto& [clock, wakes, ticks, wake, spy, t0] = d;
        ticks.setEnabled(true);
        QVERIFY(wake.advanceTo(t0 + 1000ms));
        clock.set(t0 + 1700ms);
        ticks.setEnabled(true);
        QVERIFY(!wake.advanceTo(t0 + 2000ms));
        QCOMPARE(spy.count(), 1);
        QVERIFY(wake.advanceTo(t0 + 2700ms));
        QCOMPARE(spy.count(), 2);
    }

    void wakeTimersWakeAtTheDeadlineAndNotBefore_data()
    {
        QTest::addColumn<bool>("system");
        QTest::newRow("system") << true;
        QTest::newRow("QTimer") << false;
    }

    void wakeTimersWakeAtTheDeadlineAndNotBefore()
    {
        QFETCH(bool, system);
        const timer::desktop::BootClock clock;
        const WakeTimerFactory make = system ? timer::desktop::systemWakeTimers(clock) : qtWakeTimers(clock);
        std::vector<std::chrono::nanoseconds> wokenAt;
        const auto wake = make([&] { wokenAt.push_back(clock.now()); });

        const auto deadline = clock.now() + 30ms;
        wake->wakeAt(deadline);
        QTRY_COMPARE(wokenAt.size(), std::size_t{1});
        QVERIFY(wokenAt[0] >= deadline);

        // A deadline long past, even the clock's zero, wakes on the loop's
        // next turn, not at once.
        wake->wakeAt(0ns);
        QCOMPARE(wokenAt.size(), std::size_t{1});
        QTRY_COMPARE(wokenAt.size(), std::size_t{2});

        // A deadline already due but withdrawn, or replaced once the loop
        // has seen it due, never comes.
        wake->wakeAt(clock.now() - 1s);
        wake->cancel();
        QVERIFY(loopReachesNow(clock, make));
        QCOMPARE(wokenAt.size(), std::size_t{2});
        wake->wakeAt(clock.now() - 1s);
        QMetaObject::invokeMethod(
            qApp, [&] { wake->wakeAt(clock.now() + 10s); }, Qt::QueuedConnection);
        QVERIFY(loopReachesNow(clock, make));
        QCOMPARE(wokenAt.size(), std::size_t{2});
    }

#ifdef __linux__
    void theFallbackHoldsOnlyDeadlinesTheKernelRefuses()
    {
        const timer::desktop::BootClock clock;
        int woken = 0;
        bool refuse = true;
        const auto wake = timer::desktop::makeTimerfdWakeTimer(
            clock, [&woken] { ++woken; },
            [&refuse](int fd, int flags, const itimerspec* value, itimerspec* old) {
                return refuse ? -1 : timerfd_settime(fd, flags, value, old);
            });
        QVERIFY(wake);
        wake->wakeAt(clock.now() - 1s);
        QTRY_COMPARE(woken, 1);
        // Refused, then withdrawn or replaced by a deadline the kernel takes:
        // the fallback lets go of it.
        wake->wakeAt(clock.now() - 1s);
        wake->cancel();
        QVERIFY(loopReachesNow(clock, qtWakeTimers(clock)));
        QCOMPARE(woken, 1);
        wake->wakeAt(clock.now() - 1s);
        refuse = false;
        wake->wakeAt(clock.now() + 10s);
        QVERIFY(loopReachesNow(clock, qtWakeTimers(clock)));
        QCOMPARE(woken, 1);
    }
#endif
};

QTEST_MAIN(TickSourceTest)
#include "tick_source_test.moc"
