#pragma once

#include <memory>

namespace timer::desktop {

// Ends the program the way closing its window does when the session or a
// terminal asks it to stop with SIGTERM, SIGINT or SIGHUP, also while an
// error report is open: the event loop ends with the status 128 + the
// signal's number, so that main() returns through the same teardown as after
// a close, which ends the sound helper. A signal ignored when the program
// started (nohup) stays ignored. Made after the application object, one at a
// time; where no pipe can be made the signals keep their default action.
// Built where the system has POSIX signals; elsewhere it does nothing.
class EndOnSignals {
public:
    EndOnSignals();
    // The signals take their default action again.
    ~EndOnSignals();
    EndOnSignals(const EndOnSignals&) = delete;
    EndOnSignals& operator=(const EndOnSignals&) = delete;

private:
    // The handler can do no more than write the signal's number into a
    // pipe; the event loop reads it. None where no pipe could be made.
    struct SignalPipe;
    std::unique_ptr<SignalPipe> pipe_;
};

} // namespace timer::desktop
