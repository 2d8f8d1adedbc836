#pragma once

#include <QObject>
#include <QTimer>

#include <chrono>

namespace timer::form {

// Stops the text caret blinking after a while without a key or a click, as
// desktops do (GTK's cursor-blink-timeout): the caret stays on, steady, and
// an idle window no longer wakes twice a second all day to blink it. The
// next key or click starts the blink again.
class CaretRest final : public QObject {
public:
    static constexpr std::chrono::seconds kBlinkTimeout{10};

    explicit CaretRest(std::chrono::milliseconds timeout = kBlinkTimeout);
    ~CaretRest() override;
    CaretRest(const CaretRest&) = delete;
    CaretRest& operator=(const CaretRest&) = delete;

    bool resting() const { return blinkTime_ >= 0; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void rest();
    void blink();

    QTimer idle_;
    int blinkTime_ = -1; // the desktop's flash time while resting, else -1
};

} // namespace timer::form
