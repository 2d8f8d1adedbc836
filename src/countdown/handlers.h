#pragma once

#include "countdown/text_rules.h"
#include "platform/forms_runtime.h"

#include <string>

// The four event handlers of the Timer window. Each is a straight run of reads
// and writes on the controls: it keeps no copy of a text from one step to the
// next, so a step sees what an earlier step wrote. An error (see
// platform/errors.h) leaves the handler at the step where it arises.
namespace timer::countdown {

// Start: fills empty entries with "00", copies the entries to the display
// (see StartsCopy) and switches the tick on unless the display reads zero.
void Command1_Click(platform::FormsRuntime& runtime);

// What Start writes on the display for an entry box: its text, or a lone
// character after a "0". `readEntry()` gives the box's text, read afresh for
// each use as every step reads its control.
template <typename ReadEntry>
std::u16string StartsCopy(const ReadEntry& readEntry)
{
    if (TextLength(readEntry()) == 1) {
        return ZeroPrefix(readEntry());
    }
    return readEntry();
}

// Pause/Continue: switches the tick source off when it is on, else on.
void Command2_Click(platform::FormsRuntime& runtime);

// Reset: every display and entry field to "00", the tick source off.
void Command3_Click(platform::FormsRuntime& runtime);

// One second off the display, borrowing from the minutes and then the hours;
// at zero the beep, every field back to "00" and the tick source off. A tick
// that begins with the seconds below 1 first takes a whole minute or hour:
// with none, it switches the tick source off and writes nothing; a field a
// whole unit below zero ends it with NegativeFieldError.
void Timer1_Timer(platform::FormsRuntime& runtime);

} // namespace timer::countdown
