#include "desktop/bring_back.h"

#include <QGuiApplication>
#include <QWidget>

namespace timer::desktop {

void bringBack(QWidget& window, const QByteArray& activationToken)
{
    // Qt has no call that takes the token; its Wayland plugin reads it from
    // here when the window asks to come forward, and then clears it.
    if (!activationToken.isEmpty() && QGuiApplication::platformName().startsWith(QStringLiteral("wayland"))) {
        qputenv("XDG_ACTIVATION_TOKEN", activationToken);
    }
    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.raise();
    window.activateWindow();
}

} // namespace timer::desktop
