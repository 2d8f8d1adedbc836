#pragma once

#include <QApplication>
#include <QHash>
#include <QPointer>
#include <QWindow>

class QKeyEvent;

namespace timer::desktop {

// The application, with the one answer to "is this the same key, and is its
// press a repeat?" for every control and report: each press of a key after
// the first, until its release, is an auto-repeat, whatever the window
// system sends. A held Space or Enter then presses a button once. A key held
// from one of the program's windows into another (a report it opened)
// presses nothing there until it is released. Keys down are forgotten when
// the program loses the keyboard, as their release then goes to another
// program.
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
    // How a key event goes on: as the window system sent it, as a repeat
    // (a press of a key already down), or not at all (a press of a key held
    // down from another window).
    enum class Delivery { AsSent, AsRepeat, None };

    // Notes `key` as it reaches `window`, and says how it goes on.
    Delivery judge(const QKeyEvent& key, QWindow* window);

    // The window that took the first press of each key down, by the key's
    // identity: its scan code, or where the window system gives none, what
    // key it is.
    QHash<quint64, QPointer<QWindow>> keysDown_;
};

} // namespace timer::desktop
