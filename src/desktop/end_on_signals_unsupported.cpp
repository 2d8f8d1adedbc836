#include "desktop/end_on_signals.h"

// Where the system has no POSIX signals, the program ends only as its window
// closes.
namespace timer::desktop {

struct EndOnSignals::SignalPipe {};

EndOnSignals::EndOnSignals() = default;
EndOnSignals::~EndOnSignals() = default;

} // namespace timer::desktop
