#pragma once

#include <QObject>
#include <QTimer>

#include <chrono>

namespace timer::form {

// Stops the text caret blinking after a while without a key or a click, as
// desktops do (GTK's cursor-blink-timeout): the caret stays on, steady, and
// an idle window no longer wakes twice a second all day to blink it. The
// next key or click starts the blink again, at the desktop's own rate: no
// rate is kept here, so that any number of windows rest and wake together.
class CaretRest final : public QObject {
    Q_OBJECT

public:
    static constexpr std::chrono::seconds kBlinkTimeout{10};

    explicit CaretRest(std::chrono::milliseconds timeout = kBlinkTimeout);
    // The caret blinks again once the window is gone.
    ~CaretRest() override;
    CaretRest(const CaretRest&) = delete;
    CaretRest& operator=(const CaretRest&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static void rest();
    static void blink();

    QTimer idle_;
};

} // namespace timer::form
