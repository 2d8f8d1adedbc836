#include "countdown/control_state.h"

#include "platform/errors.h"

namespace timer::countdown {

using platform::Access;
using platform::Property;

void ControlState::access(std::string_view control, Property property, Access kind)
{
    ++accesses_;
    if (failingAccess_ == accesses_) {
        throw platform::PropertyAccessError(control, property, kind);
    }
}

std::u16string ControlState::caption(platform::Display label)
{
    access(name(label), Property::Caption, Access::Read);
    return captions_.at(static_cast<std::size_t>(label));
}

void ControlState::setCaption(platform::Display label, std::u16string_view text)
{
    access(name(label), Property::Caption, Access::Write);
    captions_.at(static_cast<std::size_t>(label)) = text;
}

std::u16string ControlState::text(platform::Entry box)
{
    access(name(box), Property::Text, Access::Read);
    return texts_.at(static_cast<std::size_t>(box));
}

void ControlState::setText(platform::Entry box, std::u16string_view text)
{
    access(name(box), Property::Text, Access::Write);
    texts_.at(static_cast<std::size_t>(box)) = text;
}

bool ControlState::timerEnabled()
{
    access(platform::kTimerName, Property::Enabled, Access::Read);
    return timerEnabled_;
}

void ControlState::setTimerEnabled(bool enabled)
{
    access(platform::kTimerName, Property::Enabled, Access::Write);
    timerEnabled_ = enabled;
}

} // namespace timer::countdown
