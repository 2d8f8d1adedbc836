#include "app/follow_count.h"

#include "accessibility/accessibility.h"
#include "desktop/end_of_count_alert.h"
#include "form/timer_form.h"

namespace timer::app {

void followCount(form::TimerForm& form, desktop::EndOfCountAlert& alert)
{
    form::TimerWindow& window = form.window();
    QObject::connect(&form, &form::TimerForm::countEnded, &form, [&window, &alert] { alert.alert(window); });
    QObject::connect(&form, &form::TimerForm::runningChanged, &form, [&alert](bool running) {
        if (running) {
            alert.countStarted();
        }
    });
    // Screen readers hear of the end once: from the notice where they read
    // it, else from the window.
    QObject::connect(&alert, &desktop::EndOfCountAlert::noticeServerKnown, &form,
                     [&window](const desktop::NoticeServer& server) {
                         if (!server.readAloud) {
                             accessibility::announceCountEnded(window);
                         }
                     });
    accessibility::follow(form);
}

} // namespace timer::app
