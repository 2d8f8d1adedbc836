#pragma once

namespace timer::desktop {
class EndOfCountAlert;
}
namespace timer::form {
class TimerForm;
}

namespace timer::app {

// What follows the form's count: the alert at each end, its notice withdrawn
// when a new count starts, and screen readers, which hear of an end once.
void followCount(form::TimerForm& form, desktop::EndOfCountAlert& alert);

} // namespace timer::app
