#include "accessibility/accessibility.h"
#include "app/command_line.h"
#include "app/desktop_services.h"
#include "app/follow_count.h"
#include "app/start_failure.h"
#include "desktop/end_on_signals.h"
#include "desktop/held_keys.h"
#include "desktop/utf8_locale.h"
#include "form/fonts.h"
#include "form/qt_hebrew.h"
#include "form/timer_form.h"
#include "identity.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

namespace {

int say(const timer::app::CommandLine::Answer& answer)
{
    if (answer.status == EXIT_SUCCESS) {
        std::fputs(qPrintable(answer.text), stdout);
    } else {
        std::fprintf(stderr, "timer: %s\n", qPrintable(answer.text));
    }
    return answer.status;
}

} // namespace

int main(int argc, char* argv[])
{
    timer::desktop::chooseUtf8Locale();
    QApplication::setApplicationName(QStringLiteral("Timer"));
    QApplication::setApplicationVersion(QStringLiteral(TIMER_VERSION));
    QApplication::setDesktopFileName(QStringLiteral(TIMER_APP_ID));

    timer::app::CommandLine commandLine;
    if (const auto answer = commandLine.answer(argc, argv)) {
        return say(*answer);
    }
    timer::app::ArgumentVector qtArguments(commandLine.qtArguments());
    timer::app::holdMessagesWhileStarting(commandLine.display());
    timer::form::FontconfigReadAhead fontconfig;
    timer::desktop::HeldKeyApplication application(qtArguments.argc(), qtArguments.argv());
    // Also before a refusal: the application's end destroys fontconfig's
    // configuration, which must not meet the reader still making it.
    fontconfig.wait();
    // Refused before Qt's held messages are passed on: one line says why.
    if (const auto refused = commandLine.leftByQt(QApplication::arguments())) {
        return say(*refused);
    }
    timer::app::passOnHeldMessages();
    timer::form::installQtHebrew(application);

    const timer::desktop::EndOnSignals endOnSignals;
    timer::accessibility::installAccessibility();
    timer::app::DesktopServices services;
    timer::form::TimerForm form(services.services());
    timer::app::followCount(form, services.alert);
    form.window().show();
    return QApplication::exec();
}
