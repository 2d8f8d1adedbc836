#include "desktop/end_notice.h"

// Built without D-Bus: the desktop is never told of an end, so everything
// else tells it (the attention request, screen readers).
namespace timer::desktop {

class NotificationServer {};

EndNotice::EndNotice() = default;
EndNotice::~EndNotice() = default;

void EndNotice::show() { emit serverKnown({}); }

void EndNotice::withdraw() {}

} // namespace timer::desktop
