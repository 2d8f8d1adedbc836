#include "gui_fakes.h"

#include "app/follow_count.h"
#include "desktop/end_of_count_alert.h"
#include "desktop/end_on_signals.h"
#include "desktop/utf8_locale.h"
#include "form/timer_form.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusPendingCallWatcher>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QLocalServer>
#include <QProcessEnvironment>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QVariantMap>
#include <QWidget>
#include <QWindow>

#include <csignal>
#include <cstdio>
#include <optional>

using namespace timer::testing;

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kServerBus = QStringLiteral("server");
// How long to wait for a process to start or play, in milliseconds: long
// enough for a sanitizer build on a busy machine. Waited with qWaitFor,
// which gives up then: QTRY waits twice as long again on a failure.
constexpr int kSlowWait = 30000;
// How long to wait for what a correct program does at once, such as ending
// on a signal: a fault fails the check then, well short of the limits of a
// minute that the sound would otherwise run to.
constexpr int kPromptly = 5000;

// The desktop's notification server on a connection of its own, recording
// what it is asked to show and to close.
class FakeNotifications final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    struct Notice {
        QString icon;
        QString body;
        QStringList actions;
        QVariantMap hints;
        int timeout;
    };
    QList<Notice> notices;
    QList<uint> closed;

    // The server as the name it gives calls it; none runs where it is empty.
    explicit FakeNotifications(QString name = QStringLiteral("dunst"))
        : name_(std::move(name))
    {
        QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, kServerBus);
        registered = name_.isEmpty()
                     || (bus.registerService(kService)
                         && bus.registerObject(kPath, this, QDBusConnection::ExportScriptableSlots));
    }
    ~FakeNotifications() override
    {
        QDBusConnection(kServerBus).unregisterService(kService);
        QDBusConnection::disconnectFromBus(kServerBus);
    }
    bool registered = false;

    // Sends one of the server's signals, as a user's click would make it.
    void send(const QString& signal, const QVariantList& arguments) const
    {
        QDBusMessage message = QDBusMessage::createSignal(kPath, kService, signal);
        message.setArguments(arguments);
        QDBusConnection(kServerBus).send(message);
    }

public slots:
    Q_SCRIPTABLE uint Notify(const QString& /*app*/, uint /*replaces*/, const QString& icon,
                             const QString& /*summary*/, const QString& body, const QStringList& actions,
                             const QVariantMap& hints, int timeout)
    {
        notices.append({icon, body, actions, hints, timeout});
        return 40 + static_cast<uint>(notices.size());
    }
    Q_SCRIPTABLE void CloseNotification(uint id) { closed.append(id); }
    Q_SCRIPTABLE QStringList GetCapabilities() { return {QStringLiteral("actions"), QStringLiteral("body")}; }
    Q_SCRIPTABLE QString GetServerInformation(QString& vendor, QString& version, QString& protocolVersion)
    {
        vendor = version = protocolVersion = QString();
        return name_;
    }

private:
    QString name_;
};

// Waits until the server has handled everything the program sent it, and the
// program everything the server sent: a call and its answer travel behind.
// What the program sends on an answer it gets takes another.
bool caughtUp()
{
    QDBusPendingCallWatcher call(QDBusConnection::sessionBus().asyncCall(
        QDBusMessage::createMethodCall(kService, kPath, kService, QStringLiteral("GetCapabilities"))));
    QSignalSpy answered(&call, &QDBusPendingCallWatcher::finished);
    return answered.wait() && !call.isError();
}

// A window on driven time whose count the real alert follows, as in the
// program; its sound only beeps, and its requests for attention are counted.
struct AlertedWindow : DrivenForm {
    AlertedWindow() { timer::app::followCount(form, alert); }

    int attentions = 0;
    timer::desktop::EndOfCountAlert alert{{}, [this](QWidget& /*window*/) { ++attentions; }};
};

// Where the timer's window is when its count ends.
enum class WindowAt { Minimized, Behind, InFront };

// A count that ends with a notification server running, the timer's window
// minimized, or shown behind or in front of another window.
struct EndScene {
    explicit EndScene(const QString& serverName = QStringLiteral("dunst"))
        : server(serverName)
    {
    }

    FakeNotifications server;
    std::optional<AlertedWindow> alerted{std::in_place}; // empty once the program has ended
    QWidget& timerWindow = alerted->form.window();
    QWidget elsewhere;

    bool end(WindowAt where)
    {
        timerWindow.setWindowState(where == WindowAt::Minimized ? Qt::WindowMinimized : Qt::WindowNoState);
        timerWindow.show();
        if (!server.registered || !activate(elsewhere) || (where == WindowAt::InFront && !activate(timerWindow))) {
            return false;
        }
        alerted->type("Text3", "1");
        alerted->click("Command1");
        return alerted->tick() && !alerted->running();
    }
};

// What /proc tells of a process from its state on: state, parent, ...;
// nothing once it is gone.
QList<QByteArray> statOf(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    // "pid (name) state parent ...", where the name may hold anything.
    const QByteArray line = stat.open(QIODevice::ReadOnly) ? stat.readAll() : QByteArray();
    return line.mid(line.lastIndexOf(')') + 2).split(' ');
}

// Neither gone nor a zombie left for its parent to reap.
bool runs(qint64 pid)
{
    const QByteArray state = statOf(pid).value(0);
    return !state.isEmpty() && state != "Z";
}

QList<qint64> runningChildrenOf(qint64 parent)
{
    QList<qint64> children;
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        const qint64 pid = entry.toLongLong();
        if (runs(pid) && statOf(pid).value(1).toLongLong() == parent) {
            children << pid;
        }
    }
    return children;
}

// How the end notice leaves the screen.
enum class Withdrawal {
    NoticeClicked,
    BackToTheWindow,
    KeyInTheWindow,
    ClickInTheWindow,
    NewCount,
    EndedAgain,
    ProgramEnds
};

// Where the sound helper's bell can go.
enum class Speakers { AlsaFile, None, StalledServer };

constexpr const char* kRingInsideReport = "--ring-inside-report";

// Run as `bell_test --ring-inside-report`: a program whose sound stalls,
// for the tests that end it, with an error report open when the end of the
// count rings. It says when it rings, and when it beeps instead.
void say(const char* what)
{
    std::puts(what);
    std::fflush(stdout);
}

int ringInsideReport()
{
    const timer::desktop::EndOnSignals endOnSignals;
    timer::desktop::EndOfCountAlert alert{
        {QStringLiteral(TIMER_SOUND_HELPER), std::chrono::minutes(1), [] { say("beeped"); }}};
    timer::form::MessageBoxReport report;
    QWidget window;
    QTimer::singleShot(0, &window, [&] { report.show(window, QStringLiteral("report"), [] {}); });
    QTimer::singleShot(0, &window, [&] {
        alert.alert(window);
        say("rung"); // the sound helper runs from here on
    });
    return QApplication::exec();
}

constexpr const char* kRingInTheLocale = "--ring-in-the-locale";

// Run as `bell_test --ring-in-the-locale HELPER`: a program that takes its
// locale as the timer does, before Qt starts, and starts HELPER as it
// starts its sound helper.
int ringInTheLocale(int argc, char* argv[])
{
    timer::desktop::chooseUtf8Locale();
    const QCoreApplication application(argc, argv);
    return QProcess::execute(QString::fromLocal8Bit(argv[2]), {});
}

// The locale variables where LC_CTYPE is `characterType` and every other
// category `others`.
QStringList everyCategory(const QString& characterType, const QString& others)
{
    QStringList variables{"LC_CTYPE=" + characterType};
    for (const char* category : {"LC_COLLATE", "LC_MESSAGES", "LC_MONETARY", "LC_NUMERIC", "LC_TIME", "LC_ADDRESS",
                                 "LC_IDENTIFICATION", "LC_MEASUREMENT", "LC_NAME", "LC_PAPER", "LC_TELEPHONE"}) {
        variables << QString::fromLatin1(category) + '=' + others;
    }
    return variables;
}

} // namespace

class BellTest : public QObject {
    Q_OBJECT

private slots:
    // A home of its own for each run, where ALSA's default device is a file,
    // so that the test can listen.
    void init()
    {
        QVERIFY(home_.emplace().isValid());
        QVERIFY(writeFile(
            ".asoundrc",
            QStringLiteral("pcm.!default { type file slave.pcm \"null\" file \"%1\" format \"raw\" }\n").arg(soundFile())));
        qputenv("HOME", home_->path().toUtf8());
        qputenv("XDG_RUNTIME_DIR", home_->path().toUtf8());
        qputenv("PULSE_SERVER", "unix:/nonexistent");
    }

    void everyEndIsHeard_data()
    {
        QTest::addColumn<QString>("helper"); // the helper's script; empty: no such program
        QTest::addColumn<int>("limit");      // milliseconds
        QTest::addColumn<int>("ends");
        QTest::addColumn<int>("beeps");
        // Run with the limit and a second's grace.
        QTest::newRow("helper plays") << "test \"$1\" -eq 61000" << 60000 << 1 << 0;
        QTest::newRow("helper missing") << "" << 60000 << 1 << 1;
        QTest::newRow("helper crashes") << "kill -SEGV $$" << 60000 << 1 << 1;
        QTest::newRow("helper killed at its limit") << "exec sleep 60" << 50 << 1 << 1;
        QTest::newRow("second end while a helper plays") << "exec sleep 60" << 50 << 2 << 2;
    }
    void everyEndIsHeard()
    {
        QFETCH(QString, helper);
        QFETCH(int, limit);
        QFETCH(int, ends);
        QFETCH(int, beeps);
        QVERIFY(helper.isEmpty() || writeFile("helper", "#!/bin/sh\n" + helper + "\n"));
        const QString program = home_->filePath("helper");
        int beeped = 0;
        timer::desktop::EndSound sound{{program, std::chrono::milliseconds(limit), [&beeped] { ++beeped; }}};
        for (int end = 0; end < ends; ++end) {
            sound.play();
        }
        QTRY_VERIFY(!sound.inFlight());
        QCOMPARE(beeped, beeps);
    }

    // The sound helper plays the bell through ALSA where no sound server
    // runs, says so where nothing takes it, ends itself when its own limit
    // passes while the server stalls, and will not play without a limit.
    void helperEndsAsItSays_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<Speakers>("speakers");
        QTest::addColumn<int>("status"); // -1: ended by its limit
        const QString played = QString::number(kSlowWait);
        QTest::newRow("played") << QStringList{played} << Speakers::AlsaFile << 0;
        QTest::newRow("nothing takes the sound") << QStringList{played} << Speakers::None << 1;
        QTest::newRow("stalled server") << QStringList{"50"} << Speakers::StalledServer << -1;
        QTest::newRow("limit of zero") << QStringList{"0"} << Speakers::AlsaFile << 2;
        QTest::newRow("limit not a number") << QStringList{"50ms"} << Speakers::AlsaFile << 2;
    }
    void helperEndsAsItSays()
    {
        QFETCH(QStringList, arguments);
        QFETCH(Speakers, speakers);
        QFETCH(int, status);
        QLocalServer stalled;
        if (speakers == Speakers::StalledServer) {
            QVERIFY(stallSoundServer(stalled));
        } else if (speakers == Speakers::None) {
            QVERIFY(writeFile(".asoundrc", QStringLiteral("pcm.!default { type hw card 99 }\n")));
        }
        QProcess helper;
        helper.start(QStringLiteral(TIMER_SOUND_HELPER), arguments);
        QVERIFY(helper.waitForFinished(kSlowWait));
        QCOMPARE(helper.exitStatus() == QProcess::NormalExit ? helper.exitCode() : -1, status);
        QCOMPARE(QFileInfo(soundFile()).size() > 4000, status == 0);
    }

    // The notice stays until the user has seen the window: a click on it
    // brings the minimized window back, and only on our own notice; going
    // back to the window, a key or a click in it, a new count or the
    // program's end withdraw it. The server closes a notice of its own
    // accord, ours or another, and one it closed is not closed again; one the
    // server shows after it was withdrawn, or after a later end asked for
    // another, goes at once.
    void noticeGoesWhenDone_data()
    {
        QTest::addColumn<Withdrawal>("withdrawal");
        QTest::addColumn<WindowAt>("at"); // where the window is when the count ends
        QTest::addColumn<uint>("closedByServer"); // before the rest; 0: none
        QTest::addColumn<bool>("closedByUs");
        using enum Withdrawal;
        using enum WindowAt;
        QTest::newRow("clicked, closed once the window is seen") << NoticeClicked << Minimized << 0U << true;
        QTest::newRow("clicked with the window in front, kept") << NoticeClicked << InFront << 0U << false;
        QTest::newRow("back to the window, another notice closed first") << BackToTheWindow << Behind << 99U << true;
        QTest::newRow("closed by the user first") << BackToTheWindow << Behind << 41U << false;
        QTest::newRow("a key in the window") << KeyInTheWindow << InFront << 0U << true;
        QTest::newRow("a click in the window") << ClickInTheWindow << InFront << 0U << true;
        QTest::newRow("a new count before the server answered") << NewCount << Behind << 0U << true;
        QTest::newRow("ended again before the server answered") << EndedAgain << Behind << 0U << true;
        QTest::newRow("the program ends") << ProgramEnds << Behind << 0U << true;
    }
    void noticeGoesWhenDone()
    {
        QFETCH(Withdrawal, withdrawal);
        QFETCH(WindowAt, at);
        QFETCH(uint, closedByServer);
        QFETCH(bool, closedByUs);
        EndScene scene;
        QVERIFY(scene.end(at));
        if (withdrawal == Withdrawal::NewCount || withdrawal == Withdrawal::EndedAgain) {
            scene.alerted->type("Text3", "1");
            scene.alerted->click("Command1");
            QVERIFY(withdrawal == Withdrawal::NewCount || (scene.alerted->tick() && !scene.alerted->running()));
        } else {
            QVERIFY(caughtUp());
            QCOMPARE(scene.server.notices.size(), 1);
            // It says what ended, stays, also after its click, can be
            // clicked, and shows as the launcher's own, by the name of the
            // desktop entry the package installs.
            const auto& notice = scene.server.notices.front();
            QCOMPARE(notice.body, QStringLiteral("הספירה לאחור הסתיימה."));
            QCOMPARE(notice.actions.value(0), QStringLiteral("default"));
            QCOMPARE(notice.timeout, 0);
            QCOMPARE(notice.hints.value(QStringLiteral("resident")), QVariant(true));
            QCOMPARE(notice.icon, QStringLiteral("io.github.timer.Timer"));
            QCOMPARE(notice.hints.value(QStringLiteral("desktop-entry")).toString(), QStringLiteral("io.github.timer.Timer"));
            if (closedByServer != 0) {
                scene.server.send(QStringLiteral("NotificationClosed"), {closedByServer, 2U});
                QVERIFY(caughtUp());
            }
            if (withdrawal == Withdrawal::NoticeClicked) {
                scene.server.send(QStringLiteral("ActionInvoked"), {99U, QStringLiteral("default")});
                QVERIFY(caughtUp());
                QCOMPARE(scene.timerWindow.isMinimized(), at == WindowAt::Minimized);
                scene.server.send(QStringLiteral("ActionInvoked"), {41U, QStringLiteral("default")});
                QVERIFY(caughtUp());
                QVERIFY(!scene.timerWindow.isMinimized());
                QCoreApplication::processEvents(); // the window system's word that it is active
                QVERIFY(scene.timerWindow.isActiveWindow());
            } else if (withdrawal == Withdrawal::ProgramEnds) {
                scene.alerted.reset();
            } else if (withdrawal == Withdrawal::KeyInTheWindow) {
                QTest::keyClick(scene.timerWindow.windowHandle(), Qt::Key_Tab);
            } else if (withdrawal == Withdrawal::ClickInTheWindow) {
                QTest::mouseClick(scene.timerWindow.windowHandle(), Qt::LeftButton, {}, QPoint(4, 4));
            } else {
                QVERIFY(activate(scene.timerWindow));
            }
        }
        // A notice withdrawn before the server answered goes on the answer.
        QVERIFY(caughtUp() && caughtUp());
        QCOMPARE(scene.server.closed, closedByUs ? QList<uint>{41} : QList<uint>{});
    }

    // One end brings one notice: where the notification server turns the
    // window's attention request into a notice of its own, the window asks
    // for none; elsewhere it does, also where no server runs, or no bus.
    void endAsksForAttentionWhereItAddsSomething_data()
    {
        QTest::addColumn<QString>("server"); // the name it gives; empty: none runs
        QTest::addColumn<bool>("bus");
        QTest::addColumn<int>("attentions");
        QTest::newRow("dunst") << "dunst" << true << 1;
        QTest::newRow("notification-daemon") << "Notification Daemon" << true << 1;
        QTest::newRow("GNOME Shell") << "gnome-shell" << true << 0;
        QTest::newRow("no server") << "" << true << 1;
        QTest::newRow("no session bus") << "" << false << 1;
    }
    void endAsksForAttentionWhereItAddsSomething()
    {
        QFETCH(QString, server);
        QFETCH(bool, bus);
        QFETCH(int, attentions);
        EndScene scene(server);
        const QByteArray address = qgetenv("DBUS_SESSION_BUS_ADDRESS");
        if (!bus) {
            qunsetenv("DBUS_SESSION_BUS_ADDRESS");
        }
        const bool ended = scene.end(WindowAt::Behind);
        qputenv("DBUS_SESSION_BUS_ADDRESS", address);
        QVERIFY(ended);
        QCOMPARE(caughtUp(), !server.isEmpty()); // the program's question answered first
        QCOMPARE(scene.alerted->attentions, attentions);
    }

    // A stop signal (SIGTERM, SIGINT, SIGHUP) ends the program as a close does, while its
    // sound stalls and an error report is open: at once, without a beep for
    // the sound given up, and nothing outlives it.
    void endingTheProgramEndsItsSound_data()
    {
        QTest::addColumn<QList<int>>("stops");
        QTest::addColumn<bool>("underNohup");
        QTest::addColumn<int>("status"); // -1: ended by the signal
        QTest::newRow("SIGTERM") << QList<int>{SIGTERM} << false << 128 + SIGTERM;
        QTest::newRow("SIGHUP") << QList<int>{SIGHUP} << false << 128 + SIGHUP;
        QTest::newRow("SIGINT") << QList<int>{SIGINT} << false << 128 + SIGINT;
        QTest::newRow("SIGHUP under nohup") << QList<int>{SIGHUP, SIGTERM} << true << 128 + SIGTERM;
        QTest::newRow("SIGKILL") << QList<int>{SIGKILL} << false << -1;
    }
    void endingTheProgramEndsItsSound()
    {
        QFETCH(QList<int>, stops);
        QFETCH(bool, underNohup);
        QFETCH(int, status);
        QLocalServer stalled;
        QVERIFY(stallSoundServer(stalled));
        QProcess program;
        const QStringList self{QCoreApplication::applicationFilePath(), QString::fromLatin1(kRingInsideReport)};
        program.start(underNohup ? QStringLiteral("nohup") : self.front(), underNohup ? self : self.mid(1));
        QVERIFY(program.waitForReadyRead(kSlowWait));
        const QList<qint64> helpers = runningChildrenOf(program.processId());
        QCOMPARE(helpers.size(), 1);
        // A signal ignored from the start stays ignored (the 33rd field has a
        // bit for each ignored signal, from bit 0 for signal 1): the exit
        // status may not show it, as both signals below come at once.
        const quint64 ignored = statOf(program.processId()).value(30).toULongLong();
        QCOMPARE((ignored >> (SIGHUP - 1) & 1) != 0, underNohup);

        for (const int stop : stops) {
            QCOMPARE(kill(static_cast<pid_t>(program.processId()), stop), 0);
        }
        QVERIFY(program.waitForFinished(kPromptly));
        QCOMPARE(program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1, status);
        QVERIFY(!program.readAllStandardOutput().contains("beeped"));
        QVERIFY(QTest::qWaitFor([&helpers] { return !runs(helpers.front()); }, kPromptly));
    }

    // Where the locale's encoding is not UTF-8, only the character type
    // changes, as the sound helper inherits it: LC_ALL gives way to each
    // other category's own variable, with its value, and the UTF-8 form
    // keeps the modifier. Nothing is printed. The locales named are missing,
    // as on a fresh system; their UTF-8 forms, where a row has them, are
    // C.UTF-8 under their names.
    void soundHelperGetsTheLocale_data()
    {
        QTest::addColumn<QStringList>("named");     // the program's locale variables
        QTest::addColumn<QString>("installed");     // a UTF-8 form, named as localedef names it
        QTest::addColumn<QStringList>("handedOn");  // the sound helper's locale variables
        const QString latin = QStringLiteral("sr_RS@latin");
        const QString euro = QStringLiteral("de_DE.ISO-8859-1@euro");
        QTest::newRow("LC_ALL with a modifier") << QStringList{"LC_ALL=" + latin, "LANG=C.UTF-8"} << "sr_RS.utf8@latin"
                                                << everyCategory("sr_RS.UTF-8@latin", latin) + QStringList{"LANG=C.UTF-8"};
        QTest::newRow("LC_ALL whose UTF-8 form is missing")
            << QStringList{"LC_ALL=" + latin} << "" << everyCategory("C.UTF-8", latin);
        QTest::newRow("LANG with an encoding and a modifier")
            << QStringList{"LANG=" + euro, "LC_MESSAGES=C"} << "de_DE.utf8@euro"
            << QStringList{"LANG=" + euro, "LC_MESSAGES=C", "LC_CTYPE=de_DE.UTF-8@euro"};
        QTest::newRow("no locale named") << QStringList{} << "" << QStringList{"LC_CTYPE=C.UTF-8"};
        QTest::newRow("a UTF-8 LC_ALL") << QStringList{"LC_ALL=C.UTF-8"} << "" << QStringList{"LC_ALL=C.UTF-8"};
    }
    void soundHelperGetsTheLocale()
    {
        QFETCH(QStringList, named);
        QFETCH(QString, installed);
        QFETCH(QStringList, handedOn);
        const QString cUtf8 = QStringLiteral("/usr/lib/locale/C.utf8");
        if (!QFileInfo(cUtf8).isDir()
            || !QDir(QStringLiteral("/usr/lib/locale")).entryList({"sr_RS*", "de_DE*"}, QDir::Dirs).isEmpty()) {
            QSKIP("the test makes its locales of /usr/lib/locale/C.utf8, and needs sr_RS and de_DE missing there");
        }
        // With LOCPATH, glibc looks in the folder it names and in
        // /usr/lib/locale, but not in the archive of installed locales.
        const QString locales = home_->filePath("locales");
        QVERIFY(QDir().mkpath(locales));
        QVERIFY(installed.isEmpty() || QFile::link(cUtf8, locales + '/' + installed));
        QVERIFY(writeFile("helper", "#!/bin/sh\nenv | grep -E '^(LANG|LC_)' | sort >\"$0.env\"\n"));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const QString& variable : environment.keys()) {
            if (variable == QLatin1String("LANG") || variable.startsWith(QLatin1String("LC_"))) {
                environment.remove(variable);
            }
        }
        environment.insert(QStringLiteral("LOCPATH"), locales);
        for (const QString& variable : named) {
            environment.insert(variable.section('=', 0, 0), variable.section('=', 1));
        }
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QCoreApplication::applicationFilePath(),
                      {QString::fromLatin1(kRingInTheLocale), home_->filePath("helper")});
        QVERIFY(program.waitForFinished(kSlowWait));
        QCOMPARE(program.exitCode(), 0);
        QCOMPARE(program.readAllStandardError(), QByteArray());
        QFile inherited(home_->filePath("helper.env"));
        QVERIFY(inherited.open(QIODevice::ReadOnly));
        handedOn.sort();
        QCOMPARE(QString::fromLocal8Bit(inherited.readAll()).split('\n', Qt::SkipEmptyParts), handedOn);
    }

private:
    QString soundFile() const { return home_->filePath("bell.raw"); }

    // A file in the test's home, which may also be run as a program.
    bool writeFile(const char* name, const QString& text) const
    {
        QFile file(home_->filePath(name));
        return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) == text.toUtf8().size()
               && file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // The sound server's socket, where a connection is taken and never
    // answered.
    bool stallSoundServer(QLocalServer& stalled) const
    {
        qunsetenv("PULSE_SERVER");
        return QDir(home_->path()).mkpath(QStringLiteral("pulse")) && stalled.listen(home_->filePath("pulse/native"));
    }

    std::optional<QTemporaryDir> home_;
};

int main(int argc, char* argv[])
{
    if (argc == 3 && qstrcmp(argv[1], kRingInTheLocale) == 0) {
        return ringInTheLocale(argc, argv);
    }
    QApplication application(argc, argv);
    if (argc == 2 && qstrcmp(argv[1], kRingInsideReport) == 0) {
        return ringInsideReport();
    }
    BellTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "bell_test.moc"
