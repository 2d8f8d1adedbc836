#pragma once

#include <QByteArray>

class QWidget;

namespace timer::desktop {

// Brings `window` back to the user: restored if minimized, raised and
// activated. On Wayland a window comes forward only with an activation
// token, which the notification server sends with a click on its notice
// (empty where it sent none).
void bringBack(QWidget& window, const QByteArray& activationToken);

} // namespace timer::desktop
