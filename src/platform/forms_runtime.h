#pragma once

#include <array>
#include <string>
#include <string_view>

namespace timer::platform {

// The three display labels of the count, in the order hours, minutes, seconds.
enum class Display { Label1, Label3, Label5 };

// The three entry boxes, in the same order.
enum class Entry { Text1, Text2, Text3 };

// Each entry box and the display label it is copied to.
struct FieldPair {
    Entry entry;
    Display display;
};
inline constexpr std::array<FieldPair, 3> kFieldPairs{{
    {Entry::Text1, Display::Label1},
    {Entry::Text2, Display::Label3},
    {Entry::Text3, Display::Label5},
}};

// The entry box whose text is copied to `label`.
constexpr Entry entryOf(Display label)
{
    for (const auto& pair : kFieldPairs) {
        if (pair.display == label) {
            return pair.entry;
        }
    }
    return Entry::Text1; // not reached: every label has its pair
}

constexpr std::string_view name(Display label)
{
    constexpr std::array<std::string_view, 3> names{"Label1", "Label3", "Label5"};
    return names.at(static_cast<std::size_t>(label));
}

constexpr std::string_view name(Entry box)
{
    constexpr std::array<std::string_view, 3> names{"Text1", "Text2", "Text3"};
    return names.at(static_cast<std::size_t>(box));
}

// What the handlers need of the window they run in: the texts of the six count
// controls, the tick switch of Timer1, and the beep. Texts are UTF-16 code
// units, exactly as the controls hold them. Any access may fail: a failure
// throws a HandlerError, which ends the handler there (the widgets this
// program runs on never refuse one).
class FormsRuntime {
public:
    virtual ~FormsRuntime() = default;

    virtual std::u16string caption(Display label) = 0;
    virtual void setCaption(Display label, std::u16string_view text) = 0;

    virtual std::u16string text(Entry box) = 0;
    virtual void setText(Entry box, std::u16string_view text) = 0;

    virtual bool timerEnabled() = 0;
    virtual void setTimerEnabled(bool enabled) = 0;

    virtual void beep() = 0;

protected:
    FormsRuntime() = default;
    FormsRuntime(const FormsRuntime&) = default;
    FormsRuntime& operator=(const FormsRuntime&) = default;
};

} // namespace timer::platform
