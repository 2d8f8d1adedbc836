#include "desktop/end_notice.h"

#include "desktop/count_ended_text.h"
#include "identity.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QFileInfo>
#include <QStringList>
#include <QVariantMap>

#include <functional>
#include <optional>

namespace timer::desktop {

namespace {

constexpr QLatin1StringView kService("org.freedesktop.Notifications");
constexpr QLatin1StringView kPath("/org/freedesktop/Notifications");
constexpr QLatin1StringView kInterface("org.freedesktop.Notifications");

// How long the server may take to say who it is before the end goes on
// without knowing, in milliseconds: a stalled server must not hold back the
// attention request or what screen readers are told.
constexpr int kServerNameLimit = 2000;

// Without an address libdbus would try to start a bus of its own, and wait
// for it.
bool sessionBusKnown()
{
    return qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS")
           || QFileInfo::exists(qEnvironmentVariable("XDG_RUNTIME_DIR") + QStringLiteral("/bus"));
}

QDBusMessage serverCall(const QString& method)
{
    return QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
}

// The servers known by the name they give. GNOME Shell makes a notice of a
// window's attention request; the notices of GNOME Shell and of GTK's
// notification-daemon are read by screen readers as they show, dunst's and
// mako's, which draw their own windows, are not.
NoticeServer knownAs(const QString& name)
{
    const bool gnomeShell = name == QLatin1StringView("gnome-shell");
    return {gnomeShell, gnomeShell || name == QLatin1StringView("Notification Daemon")};
}

} // namespace

// The program's side of the notification server: the notice asked for, the
// one on screen, and the server's signals about them.
class NotificationServer final : public QObject {
    Q_OBJECT

public:
    explicit NotificationServer(EndNotice& notice)
        : notice_(notice)
    {
    }

    void show()
    {
        withdraw();
        if (!sessionBusKnown()) {
            emit notice_.serverKnown({});
            return;
        }
        listen();
        activationToken_.clear();
        QDBusMessage notify = serverCall(QStringLiteral("Notify"));
        const QStringList actions{QStringLiteral("default"), tr("הצג את החלון")};
        // Resident: a server that would close the notice on its click keeps
        // it until the window is seen.
        const QVariantMap hints{{QStringLiteral("desktop-entry"), QStringLiteral(TIMER_APP_ID)},
                                {QStringLiteral("resident"), true}};
        // An expire timeout of 0 keeps the notice until it is closed. The
        // application's name, which servers show as it is, then the summary.
        notify << QStringLiteral("Timer") << 0U << QStringLiteral(TIMER_APP_ID) << tr("Timer") << countEndedText()
               << actions << hints << 0;
        const quint64 request = ++requests_;
        wanted_ = request;
        ask(notify, -1, [this, request](const QDBusPendingCall& call) {
            const QDBusPendingReply<uint> reply = call;
            if (!reply.isValid()) {
                return;
            }
            // Withdrawn, or asked for again, before the server answered: what
            // the answer brings goes at once.
            if (wanted_ == request) {
                shown_ = reply.value();
            } else {
                close(reply.value());
            }
        });
        ask(serverCall(QStringLiteral("GetServerInformation")), kServerNameLimit,
            [this, request](const QDBusPendingCall& call) {
                if (wanted_ == request) {
                    const QDBusPendingReply<QString, QString, QString, QString> information = call;
                    emit notice_.serverKnown(knownAs(information.isValid() ? information.argumentAt<0>() : QString()));
                }
            });
    }

    void withdraw()
    {
        wanted_.reset();
        if (shown_) {
            close(*shown_);
            shown_.reset();
        }
    }

private:
    // Every program's notices are answered on one path: the ids tell ours.
    // No service named, so that Qt does not look up its owner and wait.
    void listen()
    {
        if (listening_) {
            return;
        }
        QDBusConnection bus = QDBusConnection::sessionBus();
        bus.connect({}, kPath, kInterface, QStringLiteral("ActivationToken"), this,
                    SLOT(onActivationToken(uint, QString)));
        bus.connect({}, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                    SLOT(onActionInvoked(uint, QString)));
        bus.connect({}, kPath, kInterface, QStringLiteral("NotificationClosed"), this, SLOT(onClosed(uint, uint)));
        listening_ = true;
    }

    Q_SLOT void onActivationToken(uint id, const QString& token)
    {
        if (id == shown_) {
            activationToken_ = token.toUtf8();
        }
    }

    // The notice offers one action: the click on it. It stays until the
    // window is seen.
    Q_SLOT void onActionInvoked(uint id, const QString& /*action*/)
    {
        if (id == shown_) {
            emit notice_.clicked(activationToken_);
        }
    }

    Q_SLOT void onClosed(uint id, uint /*reason*/)
    {
        if (id == shown_) {
            shown_.reset();
        }
    }

    // Calls the server without waiting, for at most `limit` milliseconds
    // (-1: D-Bus's own); `answered` runs on its answer, or its error.
    void ask(const QDBusMessage& call, int limit, std::function<void(const QDBusPendingCall&)> answered)
    {
        auto* watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call, limit), this);
        connect(watcher, &QDBusPendingCallWatcher::finished, this,
                [answered = std::move(answered)](QDBusPendingCallWatcher* answer) {
                    answered(*answer);
                    answer->deleteLater();
                });
    }

    static void close(uint id)
    {
        QDBusConnection::sessionBus().send(serverCall(QStringLiteral("CloseNotification")) << id);
    }

    EndNotice& notice_;
    bool listening_ = false;
    quint64 requests_ = 0;          // the notices asked for so far
    std::optional<quint64> wanted_; // the one asked for last, unless withdrawn since
    std::optional<uint> shown_;     // the server's id of the notice on screen
    QByteArray activationToken_;    // the server's leave for the window to come forward
};

EndNotice::EndNotice()
    : server_(std::make_unique<NotificationServer>(*this))
{
}

EndNotice::~EndNotice() { server_->withdraw(); }

void EndNotice::show() { server_->show(); }

void EndNotice::withdraw() { server_->withdraw(); }

} // namespace timer::desktop

#include "dbus_end_notice.moc"
