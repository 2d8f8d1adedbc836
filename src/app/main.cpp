#include "accessibility/accessibility.h"
#include "app/command_line.h"
#include "app/desktop_services.h"
#include "app/start_failure.h"
#include "desktop/end_on_signals.h"
#include "desktop/held_keys.h"
#include "form/qt_hebrew.h"
#include "form/timer_form.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

namespace {

// The exit status of a command line with an unknown option or an argument;
// a window that cannot open gives 1.
constexpr int kWrongCommandLine = 2;

} // namespace

int main(int argc, char* argv[])
{
    QApplication::setApplicationName(QStringLiteral("Timer"));
    QApplication::setApplicationVersion(QStringLiteral(TIMER_VERSION));
    QApplication::setDesktopFileName(QStringLiteral(TIMER_APP_ID));

    timer::app::CommandLine commandLine;
    if (const auto answer = commandLine.answer(argc, argv)) {
        std::fputs(qPrintable(*answer), stdout);
        return EXIT_SUCCESS;
    }
    timer::app::holdMessagesWhileStarting(argc, argv);
    timer::desktop::HeldKeyApplication application(argc, argv);
    // A mistaken command line is all that is said: Qt's start-up notes are
    // beside the point then.
    if (const auto mistake = commandLine.mistake()) {
        std::fprintf(stderr, "timer: %s\n", qPrintable(*mistake));
        return kWrongCommandLine;
    }
    timer::app::passOnHeldMessages();
    timer::form::installQtHebrew(application);

    const timer::desktop::EndOnSignals endOnSignals;
    timer::accessibility::installAccessibility();
    timer::app::DesktopServices services;
    timer::form::TimerForm form(services.services());
    timer::accessibility::followWindow(form.window());
    form.window().show();
    return QApplication::exec();
}
