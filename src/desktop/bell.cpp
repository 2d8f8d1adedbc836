#include "desktop/bell.h"

#include <QApplication>
#include <QWidget>

namespace timer::desktop {

void DesktopBell::ring(QWidget& window)
{
    sound_.play();
    QApplication::alert(&window);
    notification_.show(window);
}

} // namespace timer::desktop
