#pragma once

#include <QObject>
#include <QProcess>
#include <QString>
#include <QTimer>

#include <chrono>
#include <optional>

class QWidget;

namespace timer::desktop {

// The end-of-count alert.
class Bell {
public:
    virtual ~Bell() = default;
    virtual void ring(QWidget& window) = 0;

protected:
    Bell() = default;
    Bell(const Bell&) = default;
    Bell& operator=(const Bell&) = default;
};

// Tells the desktop's notification server that a count has ended. The call
// is never waited for; a later end replaces the earlier notice.
class EndNotification final : public QObject {
    Q_OBJECT

public:
    void show();
    bool onScreen() const { return shown_.has_value(); }

private:
    std::optional<unsigned> shown_; // the server's id of the notice on screen
};

// The end of a count, every way the desktop offers: the sound theme's "bell"
// (QApplication::beep() where it cannot play), a request for the user's
// attention, and a notification. The sound plays in a process of its own,
// at most one at a time, and is given up after kSoundLimit, so a sound
// server that stalls never holds up the window; its messages are dropped.
class DesktopBell final : public Bell {
public:
    static constexpr std::chrono::seconds kSoundLimit{5};

    // player: the sound program; empty where there is none.
    explicit DesktopBell(QString player);
    ~DesktopBell() override;
    DesktopBell(const DesktopBell&) = delete;
    DesktopBell& operator=(const DesktopBell&) = delete;

    void ring(QWidget& window) override;

    bool soundInFlight() const { return sound_.state() != QProcess::NotRunning; }
    bool notificationOnScreen() const { return notification_.onScreen(); }

private:
    QString player_;
    QProcess sound_;
    QTimer soundLimit_;
    EndNotification notification_;
};

// The sound program installed with this one, or beside it in the build tree;
// empty where neither exists.
QString installedBellPlayer();

} // namespace timer::desktop
