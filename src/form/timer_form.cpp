#include "form/timer_form.h"

#include "countdown/handlers.h"
#include "form/error_report.h"
#include "platform/errors.h"

#include <QLineEdit>
#include <QPushButton>

namespace timer::form {

TimerForm::TimerForm(const Services& services)
    : errorReport_(services.errorReport)
    , ticks_(services.clock, services.wakeTimers)
    , runtime_(window_, ticks_, [this] { emit countEnded(); })
{
    connect(&window_.startButton(), &QPushButton::clicked, this, [this] { press(countdown::Command1_Click); });
    connect(&window_.pauseButton(), &QPushButton::clicked, this, [this] { press(countdown::Command2_Click); });
    connect(&window_.resetButton(), &QPushButton::clicked, this, [this] { press(countdown::Command3_Click); });
    connect(&ticks_, &desktop::TickSource::tick, this, [this] { run(countdown::Timer1_Timer); });
    connect(&ticks_, &desktop::TickSource::enabledChanged, this, &TimerForm::runningChanged);
}

void TimerForm::press(Handler handler)
{
    const bool runningBefore = running();
    if (run(handler) && running() != runningBefore) {
        emit pressSwitched(running());
    }
}

bool TimerForm::run(Handler handler)
{
    // Nothing runs while a report is open: the count must not move under it.
    if (reporting_) {
        return false;
    }
    try {
        handler(runtime_);
        return true;
    } catch (const platform::HandlerError& error) {
        ticks_.setEnabled(false);
        reporting_ = true;
        const ErrorMessage reported = describe(error, window_);
        errorReport_.show(window_, reported.message, [this, returnTo = reported.returnTo] {
            reporting_ = false;
            if (returnTo != nullptr) {
                returnTo->setFocus();
                if (auto* box = qobject_cast<QLineEdit*>(returnTo)) {
                    box->selectAll();
                }
            }
        });
        return false;
    }
}

} // namespace timer::form
