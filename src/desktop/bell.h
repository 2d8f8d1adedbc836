#pragma once

class QWidget;

namespace timer::desktop {

// The end-of-count alert.
class Bell {
public:
    virtual ~Bell() = default;
    virtual void ring(QWidget& window) = 0;
    // A new count has started: what still tells of the last end goes.
    virtual void withdraw() = 0;

protected:
    Bell() = default;
    Bell(const Bell&) = default;
    Bell& operator=(const Bell&) = default;
};

} // namespace timer::desktop
