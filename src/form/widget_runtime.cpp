#include "form/widget_runtime.h"

#include "form/bell.h"
#include "form/tick_source.h"
#include "form/timer_window.h"

#include <QLabel>
#include <QLineEdit>

namespace timer::form {

namespace {

std::u16string fromQt(const QString& text)
{
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

QString toQt(std::u16string_view text)
{
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

WidgetRuntime::WidgetRuntime(TimerWindow& window, TickSource& ticks, Bell& bell)
    : window_(window)
    , ticks_(ticks)
    , bell_(bell)
{
}

std::u16string WidgetRuntime::caption(platform::Display label) { return fromQt(window_.display(label).text()); }

void WidgetRuntime::setCaption(platform::Display label, std::u16string_view text)
{
    window_.display(label).setText(toQt(text));
}

std::u16string WidgetRuntime::text(platform::Entry box) { return fromQt(window_.entry(box).text()); }

void WidgetRuntime::setText(platform::Entry box, std::u16string_view text)
{
    window_.entry(box).setText(toQt(text));
}

bool WidgetRuntime::timerEnabled() { return ticks_.isEnabled(); }

void WidgetRuntime::setTimerEnabled(bool enabled) { ticks_.setEnabled(enabled); }

void WidgetRuntime::beep() { bell_.ring(window_); }

} // namespace timer::form
