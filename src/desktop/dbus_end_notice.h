#pragma once

#include "desktop/end_notice.h"

#include <QByteArray>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QObject>
#include <QWidget>

#include <functional>
#include <optional>

namespace timer::desktop {

// Tells the desktop's notification server that a count has ended, and brings
// the window back when the user clicks the notice. The notice stays until
// the user has seen it: it never expires, and is withdrawn when the user
// comes back to the window by other means, presses a key or a mouse button
// in it, or starts a new count. Nothing here waits for the server.
class DBusEndNotice final : public QObject, public EndNotice {
    Q_OBJECT

public:
    DBusEndNotice() = default;
    // Withdraws a notice still on screen: its click would find no window.
    ~DBusEndNotice() override;
    DBusEndNotice(const DBusEndNotice&) = delete;
    DBusEndNotice& operator=(const DBusEndNotice&) = delete;

    void show(QWidget& window) override;
    void withdraw() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The server's signals, for every program's notices.
    Q_SLOT void onActivationToken(uint id, const QString& token);
    Q_SLOT void onActionInvoked(uint id, const QString& action);
    Q_SLOT void onClosed(uint id, uint reason);

    // Calls the server without waiting; `answered` runs on its answer.
    void ask(const QDBusMessage& call, std::function<void(const QDBusPendingCall&)> answered);
    void close(uint id) const;
    void bringBack();

    QWidget* window_ = nullptr;
    bool wanted_ = false;         // shown and not withdrawn since
    std::optional<uint> shown_;   // the server's id of the notice on screen
    std::optional<uint> clicked_; // a clicked notice the server has not said it closed
    QByteArray activationToken_;  // the server's leave for the window to come forward
};

} // namespace timer::desktop
