#include "form/timer_form.h"

#include "countdown/handlers.h"
#include "desktop/bell.h"
#include "form/error_report.h"
#include "platform/errors.h"

#include <QLineEdit>
#include <QPushButton>

namespace timer::form {

TimerForm::TimerForm(const Services& services)
    : errorReport_(services.errorReport)
    , ticks_(services.clock, services.wakeTimers)
    , runtime_(window_, ticks_, services.bell)
{
    QObject::connect(&window_.startButton(), &QPushButton::clicked, &window_,
                     [this] { run(countdown::Command1_Click); });
    QObject::connect(&window_.pauseButton(), &QPushButton::clicked, &window_,
                     [this] { run(countdown::Command2_Click); });
    QObject::connect(&window_.resetButton(), &QPushButton::clicked, &window_,
                     [this] { run(countdown::Command3_Click); });
    QObject::connect(&ticks_, &desktop::TickSource::tick, &window_, [this] { run(countdown::Timer1_Timer); });
    // A new count takes the last one's end notice away.
    QObject::connect(&ticks_, &desktop::TickSource::enabledChanged, &window_, [&bell = services.bell](bool running) {
        if (running) {
            bell.withdraw();
        }
    });
    // Read by a screen reader after the button's caption.
    const auto describeCount = [&pause = window_.pauseButton()](bool running) {
        pause.setAccessibleDescription(running ? tr("הספירה פועלת") : tr("הספירה עצורה"));
    };
    describeCount(ticks_.isEnabled());
    QObject::connect(&ticks_, &desktop::TickSource::enabledChanged, &window_, describeCount);
}

void TimerForm::run(void (*handler)(platform::FormsRuntime&))
{
    // Nothing runs while a report is open: the count must not move under it.
    if (reporting_) {
        return;
    }
    try {
        handler(runtime_);
    } catch (const platform::HandlerError& error) {
        ticks_.setEnabled(false);
        reporting_ = true;
        const ErrorNotice notice = describe(error, window_);
        errorReport_.show(window_, notice.message, [this, returnTo = notice.returnTo] {
            reporting_ = false;
            if (returnTo != nullptr) {
                returnTo->setFocus();
                if (auto* box = qobject_cast<QLineEdit*>(returnTo)) {
                    box->selectAll();
                }
            }
        });
    }
}

} // namespace timer::form
