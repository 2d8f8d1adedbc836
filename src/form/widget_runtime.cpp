#include "form/widget_runtime.h"

#include "desktop/bell.h"
#include "desktop/tick_source.h"
#include "form/accessibility.h"
#include "form/qt_text.h"
#include "form/timer_window.h"

#include <QLabel>
#include <QLineEdit>

namespace timer::form {

WidgetRuntime::WidgetRuntime(TimerWindow& window, desktop::TickSource& ticks, desktop::Bell& bell)
    : window_(window)
    , ticks_(ticks)
    , bell_(bell)
{
    describeCountState(window.pauseButton(), ticks);
}

std::u16string WidgetRuntime::caption(platform::Display label) { return fromQString(window_.display(label).text()); }

void WidgetRuntime::setCaption(platform::Display label, std::u16string_view text)
{
    window_.display(label).setText(toQString(text));
    displayChanged(window_);
}

std::u16string WidgetRuntime::text(platform::Entry box) { return fromQString(window_.entry(box).text()); }

void WidgetRuntime::setText(platform::Entry box, std::u16string_view text)
{
    window_.entry(box).setText(toQString(text));
}

bool WidgetRuntime::timerEnabled() { return ticks_.isEnabled(); }

void WidgetRuntime::setTimerEnabled(bool enabled) { ticks_.setEnabled(enabled); }

void WidgetRuntime::beep()
{
    bell_.ring(window_);
    announceCountEnded(window_);
}

} // namespace timer::form
