#include "countdown/control_state.h"

namespace timer::countdown {

std::u16string ControlState::caption(platform::Display label) { return captions_.at(static_cast<std::size_t>(label)); }

void ControlState::setCaption(platform::Display label, std::u16string_view text)
{
    captions_.at(static_cast<std::size_t>(label)) = text;
}

std::u16string ControlState::text(platform::Entry box) { return texts_.at(static_cast<std::size_t>(box)); }

void ControlState::setText(platform::Entry box, std::u16string_view text)
{
    texts_.at(static_cast<std::size_t>(box)) = text;
}

bool ControlState::timerEnabled() { return timerEnabled_; }

void ControlState::setTimerEnabled(bool enabled) { timerEnabled_ = enabled; }

} // namespace timer::countdown
