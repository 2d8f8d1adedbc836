#include "desktop/held_keys.h"

#include <QKeyEvent>

#if QT_CONFIG(xcb)
// A field of xkb.h is named "explicit", which C++ keeps for itself.
#if defined(__clang__)
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wkeyword-macro"
#endif
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit
#if defined(__clang__)
#pragma clang diagnostic pop
#endif
#endif

namespace timer::desktop {

namespace {

// A press exactly as the window system sent it, marked as an auto-repeat.
class RepeatedPress final : public QKeyEvent {
public:
    explicit RepeatedPress(const QKeyEvent& press)
        : QKeyEvent(press)
    {
        m_autoRepeat = true;
    }
};

// Asks the X server to send a held key as presses alone, on Qt's own
// connection, whose key events these are. Nothing is awaited: an error (an
// XKB that Qt could not take up) is dropped.
void askForRepeatsAsPresses()
{
#if QT_CONFIG(xcb)
    // The offscreen platform answers for X too, with no connection.
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
    if (connection == nullptr) {
        return;
    }
    const xcb_query_extension_reply_t* xkb = xcb_get_extension_data(connection, &xcb_xkb_id);
    if (xkb == nullptr || xkb->present == 0) {
        return;
    }
    constexpr uint32_t kDetectable = XCB_XKB_PER_CLIENT_FLAG_DETECTABLE_AUTO_REPEAT;
    xcb_discard_reply(connection,
                      xcb_xkb_per_client_flags(connection, XCB_XKB_ID_USE_CORE_KBD, kDetectable, kDetectable, 0, 0, 0)
                          .sequence);
    xcb_flush(connection);
#endif
}

} // namespace

HeldKeyApplication::HeldKeyApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
    askForRepeatsAsPresses();
}

bool HeldKeyApplication::notify(QObject* receiver, QEvent* event)
{
    if (event->type() == QEvent::ApplicationStateChange
        && static_cast<const QApplicationStateChangeEvent*>(event)->applicationState() != Qt::ApplicationActive) {
        keysDown_.clear();
    }
    // A key from the window system reaches its window first, before any event
    // filter sees it, and then the window's focused widget: it is judged once,
    // there, for all of them. A copy sent again later (as the accessibility
    // bridge does after asking the screen reader) is no new press.
    if (!event->spontaneous() || !receiver->isWindowType()
        || (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)) {
        return QApplication::notify(receiver, event);
    }
    const auto& key = static_cast<const QKeyEvent&>(*event);
    switch (judge(key, static_cast<QWindow*>(receiver))) {
    case Delivery::AsSent:
        break;
    case Delivery::AsRepeat: {
        RepeatedPress repeat(key);
        const bool handled = QApplication::notify(receiver, &repeat);
        event->setAccepted(repeat.isAccepted());
        return handled;
    }
    case Delivery::None:
        return true;
    }
    return QApplication::notify(receiver, event);
}

HeldKeyApplication::Delivery HeldKeyApplication::judge(const QKeyEvent& key, QWindow* window)
{
    constexpr quint64 kNoScanCode = quint64{1} << 32;
    const quint64 identity = key.nativeScanCode() != 0 ? key.nativeScanCode() : kNoScanCode | quint32(key.key());
    if (key.type() == QEvent::KeyRelease) {
        keysDown_.remove(identity);
        return Delivery::AsSent;
    }
    const auto down = keysDown_.constFind(identity);
    if (down == keysDown_.cend()) {
        keysDown_.insert(identity, window);
        return Delivery::AsSent;
    }
    return *down == window ? Delivery::AsRepeat : Delivery::None;
}

} // namespace timer::desktop
