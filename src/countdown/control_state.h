#pragma once

#include "platform/forms_runtime.h"

#include <array>
#include <cstddef>
#include <string>

namespace timer::countdown {

// The count's controls held in memory, as the window holds them when it opens:
// every field "00" and the tick source off. It lets a whole count run without a
// window, and counts the beeps.
class ControlState final : public platform::FormsRuntime {
public:
    std::u16string caption(platform::Display label) override;
    void setCaption(platform::Display label, std::u16string_view text) override;

    std::u16string text(platform::Entry box) override;
    void setText(platform::Entry box, std::u16string_view text) override;

    bool timerEnabled() override;
    void setTimerEnabled(bool enabled) override;

    void beep() override { ++beeps_; }

    std::size_t beeps() const { return beeps_; }

private:
    std::array<std::u16string, 3> captions_{u"00", u"00", u"00"};
    std::array<std::u16string, 3> texts_{u"00", u"00", u"00"};
    bool timerEnabled_ = false;
    std::size_t beeps_ = 0;
};

} // namespace timer::countdown
