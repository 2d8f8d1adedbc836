#pragma once

#include "desktop/notification.h"
#include "desktop/sound.h"

class QWidget;

namespace timer::desktop {

// The end-of-count alert.
class Bell {
public:
    virtual ~Bell() = default;
    virtual void ring(QWidget& window) = 0;
    // A new count has started: what still tells of the last end goes.
    virtual void withdraw() = 0;

protected:
    Bell() = default;
    Bell(const Bell&) = default;
    Bell& operator=(const Bell&) = default;
};

// The end of a count, every way the desktop offers: the sound, a request for
// the user's attention, and a notification that brings the window back.
class DesktopBell final : public Bell {
public:
    explicit DesktopBell(SoundSettings sound)
        : sound_(std::move(sound))
    {
    }

    void ring(QWidget& window) override;
    void withdraw() override { notification_.withdraw(); }

    bool soundInFlight() const { return sound_.inFlight(); }
    bool notificationOnScreen() const { return notification_.onScreen(); }

private:
    EndSound sound_;
    EndNotification notification_;
};

} // namespace timer::desktop
