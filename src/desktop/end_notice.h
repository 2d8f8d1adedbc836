#pragma once

#include <memory>

class QWidget;

namespace timer::desktop {

// The desktop's notice that a count has ended, which brings the window back
// when the user clicks it.
class EndNotice {
public:
    virtual ~EndNotice() = default;

    // Shows the notice; a click on it brings `window` back. The window must
    // live as long as the event loop runs.
    virtual void show(QWidget& window) = 0;
    // The notice has done its work: it leaves the screen.
    virtual void withdraw() = 0;

protected:
    EndNotice() = default;
    EndNotice(const EndNotice&) = default;
    EndNotice& operator=(const EndNotice&) = default;
};

// A notification through the desktop's notification server (D-Bus), where
// the program was built with D-Bus; else a notice that tells nothing.
std::unique_ptr<EndNotice> makeEndNotice();

} // namespace timer::desktop
