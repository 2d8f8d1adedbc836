#pragma once

#include "desktop/end_notice.h"
#include "desktop/sound.h"

#include <memory>

class QWidget;

namespace timer::desktop {

// The end of a count, every way the desktop offers: the sound, a request for
// the user's attention, and a notice that brings the window back (where the
// program was built with D-Bus).
class EndOfCountAlert final {
public:
    explicit EndOfCountAlert(SoundSettings sound);

    void alert(QWidget& window);
    // A new count has started: the last end's notice goes.
    void withdraw();

private:
    EndSound sound_;
    std::unique_ptr<EndNotice> notice_;
};

} // namespace timer::desktop
