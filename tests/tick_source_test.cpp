#include "gui_fakes.h"

#include "desktop/tick_source.h"

#include <QSignalSpy>
#include <QTest>

#include <vector>

using namespace timer::testing;
using timer::desktop::TickSource;

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

// A tick source on the system's wake-up timer whose clock jumps three and a
// half periods as soon as it is switched on: the loop was blocked that long.
struct Stalled {
    ManualClock clock;
    TickSource ticks{clock, timer::desktop::systemWakeTimers(clock)};
    QSignalSpy spy{&ticks, &TickSource::tick};

    Stalled()
    {
        ticks.setEnabled(true);
        clock.set(clock.now() + 3500ms);
    }
};

} // namespace

class TickSourceTest : public QObject {
    Q_OBJECT

private slots:
    void lateTicksDoNotPushTheNextOnesLater()
    {
        Driven d;
        auto& [clock, wakes, ticks, wake, spy, t0] = d;
        ticks.setEnabled(true);
        for (int k = 1; k <= 60; ++k) {
            // Every wake-up comes 7 ms late; the next is still asked for on the second.
            QVERIFY(wake.advanceTo(*wake.due() + 7ms));
            QCOMPARE(spy.count(), k);
            QCOMPARE(*wake.due(), t0 + (k + 1) * 1000ms);
        }
    }

    void earlyWakeUpIsNoTick()
    {
        Driven d;
        auto& [clock, wakes, ticks, wake, spy, t0] = d;
        ticks.setEnabled(true);
        wake.wakeAt(t0); // as if the system woke us too soon
        QVERIFY(wake.advanceTo(t0 + 999ms));
        QCOMPARE(spy.count(), 0);
        QCOMPARE(*wake.due(), t0 + 1000ms);
    }

    void ticksOwedAfterAStallComeOneByOne()
    {
        Driven d;
        auto& [clock, wakes, ticks, wake, spy, t0] = d;
        ticks.setEnabled(true);
        // The loop was blocked for three and a half periods.
        QVERIFY(wake.advanceTo(t0 + 3500ms));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(*wake.due(), t0 + 2000ms); // due already: a wake-up of its own
        QVERIFY(wake.advanceTo(t0 + 3500ms));
        QCOMPARE(spy.count(), 2);
        QVERIFY(wake.advanceTo(t0 + 3500ms));
        QCOMPARE(spy.count(), 3);
        QCOMPARE(*wake.due(), t0 + 4000ms);
        QVERIFY(!wake.advanceTo(t0 + 3999ms));
        QCOMPARE(spy.count(), 3);
    }

    void owedTicksLeaveRoomForAClick()
    {
        // Through the real event loop: the owed ticks are separate events, so
        // a click that arrives during the first one runs before the second.
        Stalled s;
        QObject::connect(&s.ticks, &TickSource::tick, [&s] {
            if (s.spy.count() == 1) {
                QMetaObject::invokeMethod(&s.ticks, [&s] { s.ticks.setEnabled(false); }, Qt::QueuedConnection);
            }
        });
        QTRY_COMPARE(s.spy.count(), 1);
        QTest::qWait(50);
        QCOMPARE(s.spy.count(), 1);
    }

    void owedTicksAllArriveThroughTheEventLoop()
    {
        Stalled s;
        QTRY_COMPARE(s.spy.count(), 3);
        QTest::qWait(50);
        QCOMPARE(s.spy.count(), 3);
    }

    void switchingOffDropsTicksAlreadyDue()
    {
        Driven d;
        auto& [clock, wakes, ticks, wake, spy, t0] = d;
        ticks.setEnabled(true);
        clock.set(t0 + 5000ms);
        ticks.setEnabled(false);
        QVERIFY(!wake.due());
        wake.wakeLate();
        QCOMPARE(spy.count(), 0);
    }

    void switchingOnAgainStartsTheSecondAfresh()
    {
        Driven d;
        auto& [clock, wakes, ticks, wake, spy, t0] = d;
        ticks.setEnabled(true);
        clock.set(t0 + 700ms);
        ticks.setEnabled(true);
        QVERIFY(!wake.advanceTo(t0 + 1000ms));
        QCOMPARE(spy.count(), 0);
        QVERIFY(wake.advanceTo(t0 + 1700ms));
        QCOMPARE(spy.count(), 1);
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
        std::vector<std::chrono::nanoseconds> wokenAt;
        const auto onWake = [&] { wokenAt.push_back(clock.now()); };
        const std::unique_ptr<timer::desktop::WakeTimer> wake =
            system ? timer::desktop::makeSystemWakeTimer(clock, onWake)
                   : std::make_unique<timer::desktop::QtWakeTimer>(clock, onWake);

        const auto deadline = clock.now() + 30ms;
        wake->wakeAt(deadline);
        QTRY_COMPARE(wokenAt.size(), std::size_t{1});
        QVERIFY(wokenAt[0] >= deadline);

        // A deadline already past wakes on the loop's next turn, not at once.
        wake->wakeAt(clock.now() - 5s);
        QCOMPARE(wokenAt.size(), std::size_t{1});
        QTRY_COMPARE(wokenAt.size(), std::size_t{2});

        wake->wakeAt(clock.now() + 20ms);
        wake->cancel();
        QTest::qWait(60);
        QCOMPARE(wokenAt.size(), std::size_t{2});

        // A new deadline replaces one that is already due but not yet delivered.
        wake->wakeAt(clock.now() - 1s);
        wake->wakeAt(clock.now() + 10s);
        QTest::qWait(30);
        QCOMPARE(wokenAt.size(), std::size_t{2});
    }

    void bootClockMovesForward()
    {
        const timer::desktop::BootClock clock;
        const auto before = clock.now();
        QTest::qSleep(5);
        QVERIFY(clock.now() - before >= 4ms);
    }
};

QTEST_MAIN(TickSourceTest)
#include "tick_source_test.moc"
