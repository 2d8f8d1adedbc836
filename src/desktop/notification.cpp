#include "desktop/notification.h"

#include "desktop/count_ended.h"
#include "identity.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QEvent>
#include <QFileInfo>
#include <QGuiApplication>

namespace timer::desktop {

namespace {

constexpr QLatin1StringView kService("org.freedesktop.Notifications");
constexpr QLatin1StringView kPath("/org/freedesktop/Notifications");
constexpr QLatin1StringView kInterface("org.freedesktop.Notifications");

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

} // namespace

EndNotification::~EndNotification() { withdraw(); }

void EndNotification::show(QWidget& window)
{
    if (!sessionBusKnown()) {
        return;
    }
    window_ = &window;
    window.installEventFilter(this); // once, however often shown
    activationToken_.clear();
    QDBusConnection bus = QDBusConnection::sessionBus();
    // Every program's notices are answered on one path: the ids tell ours.
    // No service named, so that Qt does not look up its owner and wait.
    bus.connect({}, kPath, kInterface, QStringLiteral("ActivationToken"), this,
                SLOT(onActivationToken(uint, QString)));
    bus.connect({}, kPath, kInterface, QStringLiteral("ActionInvoked"), this, SLOT(onActionInvoked(uint, QString)));
    bus.connect({}, kPath, kInterface, QStringLiteral("NotificationClosed"), this, SLOT(onClosed(uint, uint)));

    QDBusMessage notify = serverCall(QStringLiteral("Notify"));
    const QStringList actions{QStringLiteral("default"), tr("הצג את החלון")};
    const QVariantMap hints{{QStringLiteral("desktop-entry"), QStringLiteral(TIMER_APP_ID)}};
    // An expire timeout of 0 keeps the notice until the user closes it.
    notify << QStringLiteral("Timer") << 0U << QStringLiteral(TIMER_APP_ID) << QStringLiteral("Timer")
           << countEndedText() << actions << hints << 0;
    wanted_ = true;
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(notify), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* call) {
        const QDBusPendingReply<uint> reply = *call;
        if (reply.isValid()) {
            // Withdrawn before the server answered: it goes at once.
            if (wanted_) {
                shown_ = reply.value();
            } else {
                close(reply.value());
            }
        }
        call->deleteLater();
    });
}

void EndNotification::withdraw()
{
    wanted_ = false;
    if (shown_) {
        close(*shown_);
        shown_.reset();
    }
}

bool EndNotification::eventFilter(QObject* /*watched*/, QEvent* event)
{
    if (event->type() == QEvent::WindowActivate) {
        withdraw();
    }
    return false;
}

void EndNotification::onActivationToken(uint id, const QString& token)
{
    if (id == shown_) {
        activationToken_ = token.toUtf8();
    }
}

void EndNotification::onActionInvoked(uint id, const QString& /*action*/)
{
    // The notice offers one action: the click on it.
    if (id == shown_) {
        bringBack();
    }
}

void EndNotification::onClosed(uint id, uint /*reason*/)
{
    if (id == shown_) {
        shown_.reset();
    }
}

void EndNotification::close(uint id) const
{
    QDBusConnection::sessionBus().send(serverCall(QStringLiteral("CloseNotification")) << id);
}

void EndNotification::bringBack()
{
    // Qt has no call that takes the token; its Wayland plugin reads it from
    // here when the window asks to come forward, and then clears it.
    if (!activationToken_.isEmpty() && QGuiApplication::platformName().startsWith(QStringLiteral("wayland"))) {
        qputenv("XDG_ACTIVATION_TOKEN", activationToken_);
    }
    window_->setWindowState(window_->windowState() & ~Qt::WindowMinimized);
    window_->raise();
    window_->activateWindow();
}

} // namespace timer::desktop
