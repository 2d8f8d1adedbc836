#pragma once

#include "platform/forms_runtime.h"

#include <functional>

namespace timer::desktop {
class TickSource;
}

namespace timer::form {

class TimerWindow;

// The handlers' window, made of widgets: texts go to and from the labels and
// entry boxes unchanged, as UTF-16 code units. The beep is handed on to
// whoever owns the count's events.
class WidgetRuntime final : public platform::FormsRuntime {
public:
    WidgetRuntime(TimerWindow& window, desktop::TickSource& ticks, std::function<void()> beep);

    std::u16string caption(platform::Display label) override;
    void setCaption(platform::Display label, std::u16string_view text) override;
    std::u16string text(platform::Entry box) override;
    void setText(platform::Entry box, std::u16string_view text) override;
    bool timerEnabled() override;
    void setTimerEnabled(bool enabled) override;
    void beep() override;

private:
    TimerWindow& window_;
    desktop::TickSource& ticks_;
    std::function<void()> beep_;
};

} // namespace timer::form
