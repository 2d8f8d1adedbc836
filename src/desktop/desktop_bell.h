#pragma once

#include "desktop/bell.h"
#include "desktop/sound.h"

#include <memory>

namespace timer::desktop {

class EndNotification;

// The end of a count, every way the desktop offers: the sound, a request for
// the user's attention, and a notification that brings the window back
// (where the program was built with D-Bus).
class DesktopBell final : public Bell {
public:
    explicit DesktopBell(SoundSettings sound);
    ~DesktopBell() override;
    DesktopBell(const DesktopBell&) = delete;
    DesktopBell& operator=(const DesktopBell&) = delete;

    void ring(QWidget& window) override;
    void withdraw() override;

    bool soundInFlight() const { return sound_.inFlight(); }
    bool notificationOnScreen() const;

private:
    EndSound sound_;
    std::unique_ptr<EndNotification> notification_;
};

} // namespace timer::desktop
