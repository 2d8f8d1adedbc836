#include "form/widget_runtime.h"

#include "desktop/tick_source.h"
#include "form/timer_window.h"

#include <QLabel>
#include <QLineEdit>

namespace timer::form {

WidgetRuntime::WidgetRuntime(TimerWindow& window, desktop::TickSource& ticks, std::function<void()> beep)
    : window_(window)
    , ticks_(ticks)
    , beep_(std::move(beep))
{
}

std::u16string WidgetRuntime::caption(platform::Display label)
{
    return window_.display(label).text().toStdU16String();
}

void WidgetRuntime::setCaption(platform::Display label, std::u16string_view text)
{
    window_.setDisplayText(label, QStringView(text).toString());
}

std::u16string WidgetRuntime::text(platform::Entry box) { return window_.entry(box).text().toStdU16String(); }

void WidgetRuntime::setText(platform::Entry box, std::u16string_view text)
{
    window_.setEntryText(box, QStringView(text).toString());
}

bool WidgetRuntime::timerEnabled() { return ticks_.isEnabled(); }

void WidgetRuntime::setTimerEnabled(bool enabled) { ticks_.setEnabled(enabled); }

void WidgetRuntime::beep() { beep_(); }

} // namespace timer::form
