#pragma once

#include <QByteArray>
#include <QObject>

#include <memory>

namespace timer::desktop {

// What the desktop's notification server does beyond showing a notice, as
// far as the end of a count needs to know, by the name the server gives.
struct NoticeServer {
    // A window's request for attention becomes a notice of its own (GNOME
    // Shell's "“Timer” is ready"): a second notice of the same end.
    bool makesNoticeOfAttention = false;
    // Screen readers read its notices as they show.
    bool readAloud = false;
};

class NotificationServer;

// The desktop's notice that a count has ended, through the desktop's
// notification server over D-Bus where the program was built with D-Bus
// (dbus_end_notice.cpp), none elsewhere (silent_end_notice.cpp). It asks
// never to expire and to stay after its click: it stays until withdrawn.
// Nothing here waits for the server.
class EndNotice final : public QObject {
    Q_OBJECT

public:
    EndNotice();
    // Withdraws a notice still on screen: its click would find no window.
    ~EndNotice() override;
    EndNotice(const EndNotice&) = delete;
    EndNotice& operator=(const EndNotice&) = delete;

    // Asks for the notice, and which server shows it; serverKnown follows,
    // at the latest after a short time limit.
    void show();
    // The notice leaves the screen, also one the server has yet to show.
    void withdraw();

signals:
    void serverKnown(const timer::desktop::NoticeServer& server);
    // The user clicked the notice: the window is wanted. The server's
    // activation token, where it sent one, lets the window come forward on
    // Wayland.
    void clicked(const QByteArray& activationToken);

private:
    std::unique_ptr<NotificationServer> server_; // none without D-Bus
};

} // namespace timer::desktop
