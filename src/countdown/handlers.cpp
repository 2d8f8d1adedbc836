#include "countdown/handlers.h"

#include "countdown/text_rules.h"
#include "platform/errors.h"

#include <cfenv>

namespace timer::countdown {

using platform::Display;
using platform::Entry;
using platform::FormsRuntime;

namespace {

// The handlers' view of the window's controls: every property access clears
// the checked floating-point flags afterwards, so the decrement's check sees
// only the conversion that produced its operand and the subtraction itself.
class Controls {
public:
    explicit Controls(FormsRuntime& runtime)
        : runtime_(runtime)
    {
    }

    std::u16string caption(Display label) { return accessed(runtime_.caption(label)); }
    void setCaption(Display label, std::u16string_view text)
    {
        runtime_.setCaption(label, text);
        clearFlags();
    }

    std::u16string text(Entry box) { return accessed(runtime_.text(box)); }
    void setText(Entry box, std::u16string_view text)
    {
        runtime_.setText(box, text);
        clearFlags();
    }

    bool timerEnabled() { return accessed(runtime_.timerEnabled()); }
    void setTimerEnabled(bool enabled)
    {
        runtime_.setTimerEnabled(enabled);
        clearFlags();
    }

    void beep() { runtime_.beep(); }

    // The label's current text as a number; a text that is not one is a
    // conversion error naming the label.
    double number(Display label)
    {
        std::u16string text = caption(label);
        if (const auto value = NumberFromText(text)) {
            return *value;
        }
        throw platform::ConversionError(label, std::move(text));
    }

private:
    // Only the flags the decrement examines matter; testing them is cheap
    // where clearing them is not, and they are rarely set.
    static void clearFlags()
    {
        if (std::fetestexcept(kCheckedFlags) != 0) {
            std::feclearexcept(kCheckedFlags);
        }
    }

    template <typename T>
    static T accessed(T value)
    {
        clearFlags();
        return value;
    }

    FormsRuntime& runtime_;
};

// Reset and the end of a count share these seven writes.
void zeroReset(Controls& controls)
{
    for (const auto display : {Display::Label1, Display::Label3, Display::Label5}) {
        controls.setCaption(display, u"00");
    }
    for (const auto box : {Entry::Text1, Entry::Text2, Entry::Text3}) {
        controls.setText(box, u"00");
    }
    controls.setTimerEnabled(false);
}

enum class Borrow {
    Minute,
    Hour,
    NothingAbove,     // minutes 0 and hours not above 0
    MinutesBelowZero, // minutes neither above nor equal to 0
};

// When the seconds have run out, a minute turns into 60 seconds, or, with no
// minutes left, an hour into 59 minutes and 60 seconds.
Borrow borrow(Controls& controls)
{
    if (IsAboveZero(controls.number(Display::Label3))) {
        controls.setCaption(Display::Label3, TextFromNumber(Decrement(controls.number(Display::Label3))));
        controls.setCaption(Display::Label5, TextFromInteger(60));
        return Borrow::Minute;
    }
    if (!IsEqualToZero(controls.number(Display::Label3))) {
        return Borrow::MinutesBelowZero;
    }
    if (IsAboveZero(controls.number(Display::Label1))) {
        controls.setCaption(Display::Label1, TextFromNumber(Decrement(controls.number(Display::Label1))));
        controls.setCaption(Display::Label3, TextFromInteger(59));
        controls.setCaption(Display::Label5, TextFromInteger(60));
        return Borrow::Hour;
    }
    return Borrow::NothingAbove;
}

// All three fields are converted before the answer, so a text that is not a
// number is an error wherever it stands.
bool displayIsZero(Controls& controls)
{
    const bool hoursZero = IsEqualToZero(controls.number(Display::Label1));
    const bool minutesZero = IsEqualToZero(controls.number(Display::Label3));
    const bool secondsZero = IsEqualToZero(controls.number(Display::Label5));
    return hoursZero && minutesZero && secondsZero;
}

void endCount(Controls& controls)
{
    controls.beep();
    zeroReset(controls);
}

} // namespace

void Command1_Click(FormsRuntime& runtime)
{
    Controls controls(runtime);
    for (const auto& pair : platform::kFieldPairs) {
        if (IsEmptyText(controls.text(pair.entry))) {
            controls.setText(pair.entry, u"00");
        }
    }
    for (const auto& pair : platform::kFieldPairs) {
        controls.setCaption(pair.display, StartsCopy([&] { return controls.text(pair.entry); }));
    }
    controls.setTimerEnabled(!displayIsZero(controls));
}

void Command2_Click(FormsRuntime& runtime)
{
    Controls controls(runtime);
    controls.setTimerEnabled(!controls.timerEnabled());
}

void Command3_Click(FormsRuntime& runtime)
{
    Controls controls(runtime);
    zeroReset(controls);
}

void Timer1_Timer(FormsRuntime& runtime)
{
    Controls controls(runtime);

    double seconds = controls.number(Display::Label5);
    // A count switched on with the seconds already below 1 (five whole minutes,
    // or Pause/Continue on a zero display) borrows before it counts, rather
    // than write a second below zero. Only such a tick reads the seconds once
    // more, after its borrow.
    if (seconds < 1.0) {
        switch (borrow(controls)) {
        case Borrow::Minute:
        case Borrow::Hour:
            break;
        // Nothing anywhere to count: it stops here, silently, rather than
        // announce an end that never came.
        case Borrow::NothingAbove:
            zeroReset(controls);
            return;
        // Time the hours hold, or an end, lies beyond minutes that cannot
        // lend: the user is told, and the texts stay as they are.
        case Borrow::MinutesBelowZero:
            throw platform::NegativeFieldError(Display::Label3, controls.caption(Display::Label3));
        }
        seconds = controls.number(Display::Label5);
    }

    if (IsBelowEleven(seconds)) {
        const double lowered = Decrement(ValFromText(controls.caption(Display::Label5)));
        controls.setCaption(Display::Label5, ZeroPrefix(TextFromNumber(lowered)));
    } else {
        const double lowered = Decrement(controls.number(Display::Label5));
        controls.setCaption(Display::Label5, TextFromNumber(lowered));
    }

    if (IsEqualToZero(controls.number(Display::Label5)) && borrow(controls) == Borrow::NothingAbove) {
        controls.setCaption(Display::Label1, TextFromInteger(0));
        controls.setCaption(Display::Label3, TextFromInteger(0));
    }

    if (displayIsZero(controls)) {
        endCount(controls);
    }
}

} // namespace timer::countdown
