#pragma once

#include "countdown/control_state.h"
#include "countdown/handlers.h"
#include "countdown/text_rules.h"

#include <array>
#include <string>

namespace timer::testing {

using platform::Display;
using platform::Entry;

using Texts = std::array<std::u16string, 3>; // hours, minutes, seconds

inline void typeEntries(platform::FormsRuntime& form, const Texts& texts)
{
    for (std::size_t i = 0; i < 3; ++i) {
        form.setText(platform::kFieldPairs[i].entry, texts[i]);
    }
}

inline void showOnDisplay(platform::FormsRuntime& form, const Texts& texts)
{
    for (std::size_t i = 0; i < 3; ++i) {
        form.setCaption(platform::kFieldPairs[i].display, texts[i]);
    }
}

inline Texts entries(platform::FormsRuntime& form)
{
    return {form.text(Entry::Text1), form.text(Entry::Text2), form.text(Entry::Text3)};
}

inline Texts display(platform::FormsRuntime& form)
{
    return {form.caption(Display::Label1), form.caption(Display::Label3),
            form.caption(Display::Label5)};
}

inline const Texts kAllZero{u"00", u"00", u"00"};

} // namespace timer::testing
