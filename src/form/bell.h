#pragma once

class QWidget;
struct ca_context;

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

// The sound theme's "bell" through libcanberra, falling back to
// QApplication::beep() where no sound can be played; and a request for the
// user's attention, so a count that ends behind other windows is seen.
class DesktopBell final : public Bell {
public:
    DesktopBell();
    ~DesktopBell() override;
    DesktopBell(const DesktopBell&) = delete;
    DesktopBell& operator=(const DesktopBell&) = delete;

    void ring(QWidget& window) override;

private:
    ca_context* context_ = nullptr;
};

} // namespace timer::form
