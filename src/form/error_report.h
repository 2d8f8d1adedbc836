#pragma once

#include <QObject>
#include <QSet>
#include <QString>

class QWidget;

namespace timer::platform {
class HandlerError;
}

namespace timer::form {

class TimerWindow;

// How a handler's error reaches the user. Tests put a recorder in its place so
// that nothing waits on a dialog.
class ErrorReport {
public:
    virtual ~ErrorReport() = default;
    // Returns when the user has read the report, or closed the window.
    virtual void show(QWidget& window, const QString& message) = 0;

protected:
    ErrorReport() = default;
    ErrorReport(const ErrorReport&) = default;
    ErrorReport& operator=(const ErrorReport&) = default;
};

// Keeps a key that was already held when it was armed from acting until it
// is released: its auto-repeat would otherwise press the report's button at
// once, and then type over the box the report sends the user back to.
class HeldKeyGuard final : public QObject {
public:
    void arm();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QSet<int> pressedSinceArmed_;
};

// A message box titled "Timer" above the window. It leaves the window free
// to be closed: closing the window closes the report too.
class MessageBoxReport final : public ErrorReport {
public:
    void show(QWidget& window, const QString& message) override;

private:
    HeldKeyGuard heldKeys_;
};

// The report's Hebrew text: which field, by its heading, and for a text that
// is not a number, the text as the user typed it in that field's box.
QString describe(const platform::HandlerError& error, const TimerWindow& window);

// `text` with every character that draws nothing (blanks, bidirectional
// marks, other format and control characters) written out as [U+XXXX].
QString visible(const QString& text);

} // namespace timer::form
