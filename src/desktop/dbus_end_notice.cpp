#include "desktop/dbus_end_notice.h"

#include "desktop/count_ended_text.h"
#include "identity.h"

#include <QDBusConnection>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QWindow>

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

DBusEndNotice::~DBusEndNotice() { withdraw(); }

void DBusEndNotice::show(QWidget& window)
{
    if (!sessionBusKnown()) {
        return;
    }
    window_ = &window;
    // Once, however often shown. Keys and clicks reach the window system's
    // window before the control they are for.
    window.installEventFilter(this);
    if (QWindow* handle = window.windowHandle()) {
        handle->installEventFilter(this);
    }
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
    // The application's name, which servers show as it is, then the summary.
    notify << QStringLiteral("Timer") << 0U << QStringLiteral(TIMER_APP_ID) << tr("Timer") << countEndedText()
           << actions << hints << 0;
    wanted_ = true;
    ask(notify, [this](const QDBusPendingCall& call) {
        const QDBusPendingReply<uint> reply = call;
        if (reply.isValid()) {
            // Withdrawn before the server answered: it goes at once.
            if (wanted_) {
                shown_ = reply.value();
            } else {
                close(reply.value());
            }
        }
    });
}

void DBusEndNotice::withdraw()
{
    wanted_ = false;
    if (shown_) {
        close(*shown_);
        shown_.reset();
    }
}

// The user is back in the window, or acts in it: the notice has done its
// work.
bool DBusEndNotice::eventFilter(QObject* /*watched*/, QEvent* event)
{
    switch (event->type()) {
    case QEvent::WindowActivate:
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
        withdraw();
        break;
    default:
        break;
    }
    return false;
}

void DBusEndNotice::onActivationToken(uint id, const QString& token)
{
    if (id == shown_) {
        activationToken_ = token.toUtf8();
    }
}

void DBusEndNotice::onActionInvoked(uint id, const QString& /*action*/)
{
    // The notice offers one action: the click on it. A server closes a
    // notice whose action was taken, and says so before it answers a call
    // made after; one that keeps it (dunst's do_action alone) has it closed
    // then.
    if (id == shown_) {
        clicked_ = shown_;
        shown_.reset();
        bringBack();
        ask(serverCall(QStringLiteral("GetCapabilities")), [this](const QDBusPendingCall& /*answer*/) {
            if (clicked_) {
                close(*clicked_);
                clicked_.reset();
            }
        });
    }
}

void DBusEndNotice::onClosed(uint id, uint /*reason*/)
{
    if (id == shown_) {
        shown_.reset();
    }
    if (id == clicked_) {
        clicked_.reset();
    }
}

void DBusEndNotice::ask(const QDBusMessage& call, std::function<void(const QDBusPendingCall&)> answered)
{
    auto* watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [answered = std::move(answered)](QDBusPendingCallWatcher* answer) {
                answered(*answer);
                answer->deleteLater();
            });
}

void DBusEndNotice::close(uint id) const
{
    QDBusConnection::sessionBus().send(serverCall(QStringLiteral("CloseNotification")) << id);
}

void DBusEndNotice::bringBack()
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

std::unique_ptr<EndNotice> makeEndNotice() { return std::make_unique<DBusEndNotice>(); }

} // namespace timer::desktop
