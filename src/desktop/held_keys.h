#pragma once

#include <QApplication>
#include <QSet>

class QKeyEvent;

namespace timer::desktop {

// The application, with one answer to "is this key press a repeat?" for every
// control and report: each press of a key after the first, until its release,
// is an auto-repeat, whatever the window system sends. A held Space or Enter
// then presses a button once, and a report a key opened is not dismissed by
// the key's repeats.
//
// X sends a held key as a release and a press with one timestamp, and Qt
// takes them for a repeat only when it has read both at once, which a busy
// machine breaks. So the server is asked for presses alone while a key is
// held (XKB's detectable auto-repeat), and this class marks them. Wayland's
// repeats come marked already.
class HeldKeyApplication final : public QApplication {
    Q_OBJECT

public:
    HeldKeyApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

private:
    // Notes `key` as it reaches its window, and says whether it is a press of
    // a key already down.
    bool pressesHeldKey(const QKeyEvent& key);

    // The native scan codes of the keys pressed and not yet released.
    QSet<quint32> keysDown_;
};

} // namespace timer::desktop
