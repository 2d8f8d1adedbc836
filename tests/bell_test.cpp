#include "gui_fakes.h"

#include "desktop/bell.h"
#include "form/timer_form.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QLocalServer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QVariantMap>
#include <QWidget>

#include <memory>

using namespace timer::testing;

namespace {

// The desktop's notification server, recording what it is asked to show.
class FakeNotifications final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    struct Notice {
        QString app;
        unsigned replaces;
        QString icon;
        QString summary;
        QVariantMap hints;
    };
    QList<Notice> notices;

public slots:
    Q_SCRIPTABLE unsigned Notify(const QString& app, unsigned replaces, const QString& icon, const QString& summary,
                                 const QString& /*body*/, const QStringList& /*actions*/, const QVariantMap& hints,
                                 int /*timeout*/)
    {
        notices.append({app, replaces, icon, summary, hints});
        return 40 + static_cast<unsigned>(notices.size());
    }
};

// A window on driven time whose end of count rings the real alert.
struct AlertedWindow {
    ManualClock clock;
    ManualWakeTimers wakes{clock};
    timer::desktop::DesktopBell bell{QStringLiteral(TIMER_BELL_PLAYER)};
    RecordingReport report;
    timer::form::TimerForm form{{clock, wakes.factory(), bell, report}};
    ManualWakeTimer& wake = *wakes.last;

    // Starts a one-second count and lets it end.
    void countOneSecond()
    {
        form.window().entry(timer::platform::Entry::Text3).setText(QStringLiteral("1"));
        form.window().startButton().click();
        QVERIFY(wake.advanceTo(*wake.due()));
    }
};

} // namespace

class BellTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(home_.isValid());
        // ALSA's default device is a file here, so that the test can listen.
        QFile config(home_.filePath(".asoundrc"));
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write(QStringLiteral("pcm.!default { type file slave.pcm \"null\" file \"%1\" format \"raw\" }\n")
                         .arg(soundFile())
                         .toUtf8());
        config.close();
        qputenv("HOME", home_.path().toUtf8());
        qputenv("XDG_RUNTIME_DIR", home_.path().toUtf8());
        qputenv("PULSE_SERVER", "unix:/nonexistent");
    }

    // The bell makes a sound where no sound server runs.
    void bellIsPlayedThroughAlsaWithoutASoundServer()
    {
        timer::desktop::DesktopBell bell{QStringLiteral(TIMER_BELL_PLAYER)};
        QWidget window;
        bell.ring(window);
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(soundFile()).size() > 4000, 5000);
        QTRY_VERIFY(!bell.soundInFlight());
    }

    // A sound server that takes the connection and never answers.
    void stalledSoundServerCostsTheWindowNothing()
    {
        qunsetenv("PULSE_SERVER");
        QVERIFY(QDir(home_.path()).mkpath(QStringLiteral("pulse")));
        QLocalServer stalled;
        QVERIFY(stalled.listen(home_.filePath("pulse/native")));

        auto window = std::make_unique<AlertedWindow>();
        QElapsedTimer endTick;
        endTick.start();
        window->countOneSecond();
        QApplication::processEvents();
        QVERIFY(endTick.elapsed() < 100);
        QCOMPARE(window->form.window().display(timer::platform::Display::Label5).text(), QStringLiteral("00"));
        QVERIFY(window->bell.soundInFlight());

        QElapsedTimer closing;
        closing.start();
        window.reset();
        QVERIFY(closing.elapsed() < 1000);
    }

    void endOfCountIsNotified()
    {
        FakeNotifications server;
        QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("server"));
        QVERIFY(bus.registerService(QStringLiteral("org.freedesktop.Notifications")));
        QVERIFY(bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &server,
                                   QDBusConnection::ExportScriptableSlots));

        AlertedWindow window;
        window.countOneSecond();
        QTRY_COMPARE(server.notices.size(), 1);
        const auto& notice = server.notices.front();
        QCOMPARE(notice.summary, QStringLiteral("Timer"));
        QCOMPARE(notice.icon, QStringLiteral(TIMER_APP_ID));
        QCOMPARE(notice.replaces, 0U);
        QCOMPARE(notice.hints.value(QStringLiteral("desktop-entry")).toString(), QStringLiteral(TIMER_APP_ID));

        // The next end replaces the notice; Reset and Pause notify nothing.
        QTRY_VERIFY(window.bell.notificationOnScreen());
        window.countOneSecond();
        QTRY_COMPARE(server.notices.size(), 2);
        QCOMPARE(server.notices.back().replaces, 41U);
        window.form.window().pauseButton().click();
        window.form.window().resetButton().click();
        QTest::qWait(50);
        QCOMPARE(server.notices.size(), 2);
        bus.unregisterService(QStringLiteral("org.freedesktop.Notifications"));
        QDBusConnection::disconnectFromBus(QStringLiteral("server"));
    }

private:
    QString soundFile() const { return home_.filePath("bell.raw"); }

    QTemporaryDir home_;
};

QTEST_MAIN(BellTest)
#include "bell_test.moc"
