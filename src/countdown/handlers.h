#pragma once

#include "platform/forms_runtime.h"

// The four event handlers of the Timer window. Each is a straight run of reads
// and writes on the controls: it keeps no copy of a text from one step to the
// next, so a step sees what an earlier step wrote. An error (see
// platform/errors.h) leaves the handler at the step where it arises.
namespace timer::countdown {

// Start: fills empty entries with "00", copies the entries to the display
// (a one-character entry gets a "0" in front) and switches the tick on unless
// the display reads zero.
void Command1_Click(platform::FormsRuntime& runtime);

// Pause/Continue: switches the tick source off when it is on, else on.
void Command2_Click(platform::FormsRuntime& runtime);

// Reset: every display and entry field to "00", the tick source off.
void Command3_Click(platform::FormsRuntime& runtime);

// One second off the display, borrowing from the minutes and then the hours;
// at zero the beep, every field back to "00" and the tick source off.
void Timer1_Timer(platform::FormsRuntime& runtime);

} // namespace timer::countdown
