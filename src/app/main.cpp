#include "desktop/end_on_signals.h"
#include "form/desktop_services.h"
#include "form/timer_form.h"

#include <QApplication>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>

namespace {

// What tells Qt where to open the window.
constexpr std::array<const char*, 3> kDisplayVariables{"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};

bool hasDisplay()
{
    return std::ranges::any_of(kDisplayVariables, [](const char* variable) {
        const char* value = std::getenv(variable);
        return value != nullptr && *value != '\0';
    });
}

QString displayNamed()
{
    QStringList named;
    for (const char* variable : kDisplayVariables) {
        if (qEnvironmentVariableIsSet(variable)) {
            named << QStringLiteral("%1=%2").arg(QLatin1StringView(variable), qEnvironmentVariable(variable));
        }
    }
    return named.join(QStringLiteral(", "));
}

// While the window system is being reached, Qt's messages are held back: a
// display that does not answer ends the start in one line of ours, status 1,
// where Qt would print several and abort.
struct HeldMessage {
    QtMsgType type;
    QByteArray category;
    QString text;
};
QtMessageHandler qtHandler = nullptr;
QList<HeldMessage> heldBack;

void holdBack(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "timer: cannot open the window: the display does not answer (%s)\n",
                     qPrintable(displayNamed()));
        std::_Exit(EXIT_FAILURE);
    }
    heldBack.append({type, context.category, message});
}

} // namespace

int main(int argc, char* argv[])
{
    if (!hasDisplay()) {
        std::fputs("timer: no display to open the window on (DISPLAY and WAYLAND_DISPLAY are not set)\n",
                   stderr);
        return EXIT_FAILURE;
    }
    qtHandler = qInstallMessageHandler(holdBack);
    QApplication application(argc, argv);
    qInstallMessageHandler(qtHandler);
    for (const auto& message : heldBack) {
        qtHandler(message.type, QMessageLogContext(nullptr, 0, nullptr, message.category.constData()), message.text);
    }
    QApplication::setApplicationName(QStringLiteral("Timer"));
    QApplication::setDesktopFileName(QStringLiteral(TIMER_APP_ID));

    const timer::desktop::EndOnSignals endOnSignals;
    timer::form::DesktopServices services;
    timer::form::TimerForm form(services.services());
    form.window().show();
    return QApplication::exec();
}
