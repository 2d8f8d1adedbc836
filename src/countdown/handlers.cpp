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

void lendAMinute(Controls& controls)
{
    controls.setCaption(Display::Label3, TextFromNumber(Decrement(controls.number(Display::Label3))));
    controls.setCaption(Display::Label5, TextFromInteger(60));
}

void lendAnHour(Controls& controls)
{
    controls.setCaption(Display::Label1, TextFromNumber(Decrement(controls.number(Display::Label1))));
    controls.setCaption(Display::Label3, TextFromInteger(59));
    controls.setCaption(Display::Label5, TextFromInteger(60));
}

// When the seconds have run out, a minute turns into 60 seconds, or, with no
// minutes left, an hour into 59 minutes and 60 seconds; with neither, hours
// and minutes read 0. Minutes below zero lend nothing.
void borrow(Controls& controls)
{
    if (IsAboveZero(controls.number(Display::Label3))) {
        lendAMinute(controls);
    } else if (IsEqualToZero(controls.number(Display::Label3))) {
        if (IsAboveZero(controls.number(Display::Label1))) {
            lendAnHour(controls);
        } else {
            controls.setCaption(Display::Label1, TextFromInteger(0));
            controls.setCaption(Display::Label3, TextFromInteger(0));
        }
    }
}

// A tick that begins with the seconds below 1 (a count started on whole
// minutes, or switched on by Pause/Continue on a zero display) takes a whole
// minute, else a whole hour, before it counts, and says whether it found
// one. A field a whole unit or more below zero stands where nothing can be
// counted down: it is the user's to mend, and is reported with its text. A
// fraction of a unit, such as the half minute left of a count from ".5"
// minutes, is nothing to count.
bool lendWholeUnit(Controls& controls)
{
    for (const auto field : {Display::Label1, Display::Label3, Display::Label5}) {
        if (controls.number(field) <= -1.0) {
            throw platform::NegativeFieldError(field, controls.caption(field));
        }
    }
    if (controls.number(Display::Label3) >= 1.0) {
        lendAMinute(controls);
        return true;
    }
    if (controls.number(Display::Label1) >= 1.0) {
        lendAnHour(controls);
        return true;
    }
    return false;
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
    if (seconds < 1.0) {
        // Nothing to count: the tick stops, and every text stays as it
        // stands; no end is announced, as none was reached.
        if (!lendWholeUnit(controls)) {
            controls.setTimerEnabled(false);
            return;
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

    if (IsEqualToZero(controls.number(Display::Label5))) {
        borrow(controls);
    }

    if (displayIsZero(controls)) {
        endCount(controls);
    }
}

} // namespace timer::countdown
