#pragma once

#include <memory>

class QWidget;

namespace timer::form {

// The end-of-count alert.
class Bell {
public:
    virtual ~Bell() = default;
    virtual void ring(QWidget& window) = 0;

protected:
    Bell() = default;
    Bell(const Bell&) = default;
    Bell& operator=(const Bell&) = default;
};

// The sound theme's "bell" through libcanberra: the desktop's sound server
// first, then ALSA directly, and QApplication::beep() where neither can play.
// Then a request for the user's attention, so that a count ending behind
// other windows is seen. libcanberra and its decoders are loaded at the first
// ring, not at start-up.
class DesktopBell final : public Bell {
public:
    DesktopBell();
    ~DesktopBell() override;
    DesktopBell(const DesktopBell&) = delete;
    DesktopBell& operator=(const DesktopBell&) = delete;

    void ring(QWidget& window) override;

private:
    struct Canberra;
    std::unique_ptr<Canberra> canberra_;
};

} // namespace timer::form
