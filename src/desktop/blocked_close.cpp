#include "desktop/blocked_close.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QWidget>

#if QT_CONFIG(xcb)
#include <xcb/xcb.h>
#endif

#include <cstdlib>
#include <memory>

namespace timer::desktop {

#if QT_CONFIG(xcb)
struct BlockedCloseRequests::Atoms {
    xcb_connection_t* connection;
    xcb_intern_atom_cookie_t protocols;
    xcb_intern_atom_cookie_t deleteWindow;
    xcb_atom_t protocolsAtom = XCB_ATOM_NONE;
    xcb_atom_t deleteWindowAtom = XCB_ATOM_NONE;
    bool read = false;

    // The atoms' values; the requests went out with the report, so their
    // answers are in by now.
    bool closeRequest(const xcb_client_message_event_t& message)
    {
        if (!read) {
            protocolsAtom = valueOf(protocols);
            deleteWindowAtom = valueOf(deleteWindow);
            read = true;
        }
        return message.format == 32 && message.type == protocolsAtom && protocolsAtom != XCB_ATOM_NONE
               && message.data.data32[0] == deleteWindowAtom;
    }

    xcb_atom_t valueOf(xcb_intern_atom_cookie_t cookie) const
    {
        const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
            xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
        return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    }
};
#else
struct BlockedCloseRequests::Atoms {};
#endif

BlockedCloseRequests::BlockedCloseRequests(const QWidget& window, std::function<void()> unblock)
    : window_(window)
    , unblock_(std::move(unblock))
{
#if QT_CONFIG(xcb)
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr) {
        atoms_ = std::make_unique<Atoms>(Atoms{connection, xcb_intern_atom(connection, 1, 12, "WM_PROTOCOLS"),
                           xcb_intern_atom(connection, 1, 16, "WM_DELETE_WINDOW")});
        xcb_flush(connection);
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
#endif
}

BlockedCloseRequests::~BlockedCloseRequests()
{
    if (atoms_ != nullptr) {
        QCoreApplication::instance()->removeNativeEventFilter(this);
#if QT_CONFIG(xcb)
        if (!atoms_->read) {
            xcb_discard_reply(atoms_->connection, atoms_->protocols.sequence);
            xcb_discard_reply(atoms_->connection, atoms_->deleteWindow.sequence);
        }
#endif
    }
}

bool BlockedCloseRequests::nativeEventFilter(const QByteArray& eventType, void* message, qintptr* /*result*/)
{
#if QT_CONFIG(xcb)
    if (eventType != "xcb_generic_event_t") {
        return false;
    }
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7F) == XCB_CLIENT_MESSAGE) {
        const auto& client = *reinterpret_cast<const xcb_client_message_event_t*>(event);
        if (client.window == window_.internalWinId() && atoms_->closeRequest(client)) {
            unblock_();
        }
    }
#else
    static_cast<void>(eventType);
    static_cast<void>(message);
#endif
    return false; // Qt goes on to close the window
}

} // namespace timer::desktop
