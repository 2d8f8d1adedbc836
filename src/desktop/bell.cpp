#include "desktop/bell.h"

#include "desktop/count_ended.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDir>
#include <QFileInfo>
#include <QWidget>

namespace timer::desktop {

namespace {

// Without an address libdbus would try to start a bus of its own, and wait
// for it.
bool sessionBusKnown()
{
    return qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS")
           || QFileInfo::exists(qEnvironmentVariable("XDG_RUNTIME_DIR") + QStringLiteral("/bus"));
}

} // namespace

void EndNotification::show()
{
    if (!sessionBusKnown()) {
        return;
    }
    QDBusMessage notify = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    const QVariantMap hints{{QStringLiteral("desktop-entry"), QStringLiteral(TIMER_APP_ID)}};
    notify << QStringLiteral("Timer") << shown_.value_or(0) << QStringLiteral(TIMER_APP_ID)
           << QStringLiteral("Timer") << kCountEndedText.toString() << QStringList() << hints
           << -1;
    auto* watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(notify), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* call) {
        const QDBusPendingReply<unsigned> reply = *call;
        if (reply.isValid()) {
            shown_ = reply.value();
        }
        call->deleteLater();
    });
}

DesktopBell::DesktopBell(QString player)
    : player_(std::move(player))
{
    sound_.setStandardOutputFile(QProcess::nullDevice());
    sound_.setStandardErrorFile(QProcess::nullDevice());
    soundLimit_.setSingleShot(true);
    QObject::connect(&soundLimit_, &QTimer::timeout, &sound_, &QProcess::kill);
    QObject::connect(&sound_, &QProcess::finished, [this](int status, QProcess::ExitStatus how) {
        soundLimit_.stop();
        if (how == QProcess::NormalExit && status != 0) {
            QApplication::beep();
        }
    });
    QObject::connect(&sound_, &QProcess::errorOccurred, [](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            QApplication::beep();
        }
    });
}

DesktopBell::~DesktopBell()
{
    // A sound still stalled when the program ends is given up at once.
    if (soundInFlight()) {
        sound_.kill();
        sound_.waitForFinished();
    }
}

void DesktopBell::ring(QWidget& window)
{
    if (player_.isEmpty()) {
        QApplication::beep();
    } else if (!soundInFlight()) {
        sound_.start(player_, {});
        soundLimit_.start(kSoundLimit);
    }
    QApplication::alert(&window);
    notification_.show();
}

QString installedBellPlayer()
{
    const QDir programs(QCoreApplication::applicationDirPath());
    for (const QString& candidate : {QStringLiteral("timer-bell"), QStringLiteral(TIMER_BELL_FROM_BIN)}) {
        const QFileInfo player(programs.filePath(candidate));
        if (player.isExecutable()) {
            return player.absoluteFilePath();
        }
    }
    return {};
}

} // namespace timer::desktop
