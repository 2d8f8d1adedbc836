#include "form/desktop_services.h"
#include "form/timer_form.h"

#include <QApplication>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>

namespace {

bool hasDisplay()
{
    constexpr std::array<const char*, 3> variables{"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};
    return std::ranges::any_of(variables, [](const char* variable) {
        const char* value = std::getenv(variable);
        return value != nullptr && *value != '\0';
    });
}

} // namespace

int main(int argc, char* argv[])
{
    if (!hasDisplay()) {
        std::fputs("timer: no display to open the window on (DISPLAY and WAYLAND_DISPLAY are not set)\n",
                   stderr);
        return EXIT_FAILURE;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Timer"));
    QApplication::setDesktopFileName(QStringLiteral(TIMER_APP_ID));

    timer::form::DesktopServices services;
    timer::form::TimerForm form(services.services());
    form.window().show();
    return QApplication::exec();
}
