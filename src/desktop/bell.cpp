#include "desktop/desktop_bell.h"

#include <QApplication>
#include <QWidget>

#ifdef TIMER_NOTIFICATIONS
#include "desktop/notification.h"
#else
namespace timer::desktop {
// Built without D-Bus: the desktop is never told.
class EndNotification final {
public:
    void show(QWidget& /*window*/) {}
    void withdraw() {}
    bool onScreen() const { return false; }
};
} // namespace timer::desktop
#endif

namespace timer::desktop {

DesktopBell::DesktopBell(SoundSettings sound)
    : sound_(std::move(sound))
    , notification_(std::make_unique<EndNotification>())
{
}

DesktopBell::~DesktopBell() = default;

void DesktopBell::ring(QWidget& window)
{
    sound_.play();
    QApplication::alert(&window);
    notification_->show(window);
}

void DesktopBell::withdraw() { notification_->withdraw(); }

bool DesktopBell::notificationOnScreen() const { return notification_->onScreen(); }

} // namespace timer::desktop
