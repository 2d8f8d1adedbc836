#include "app/follow_count.h"

#include "accessibility/accessibility.h"
#include "desktop/end_of_count_alert.h"
#include "form/timer_form.h"

namespace timer::app {

void followCount(form::TimerForm& form, desktop::EndOfCountAlert& alert)
{
    QObject::connect(&form, &form::TimerForm::countEnded, &form, [&form, &alert] { alert.alert(form.window()); });
    QObject::connect(&form, &form::TimerForm::runningChanged, &form, [&alert](bool running) {
        if (running) {
            alert.withdraw();
        }
    });
    accessibility::follow(form);
}

} // namespace timer::app
