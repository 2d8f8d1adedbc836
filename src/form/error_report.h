#pragma once

#include <QCoreApplication>
#include <QObject>
#include <QString>

#include <functional>

class QWidget;

namespace timer::platform {
class HandlerError;
}

namespace timer::form {

class TimerWindow;

// How a handler's error reaches the user. Tests put a recorder in its place so
// that nothing waits on a dialog.
class ErrorReport {
    Q_DECLARE_TR_FUNCTIONS(timer::form::ErrorReport)

public:
    virtual ~ErrorReport() = default;
    // Shows `message` above `window` and returns at once; `read` runs when the
    // user has dismissed the report, or closed the window under it.
    virtual void show(QWidget& window, const QString& message, std::function<void()> read) = 0;

protected:
    ErrorReport() = default;
    ErrorReport(const ErrorReport&) = default;
    ErrorReport& operator=(const ErrorReport&) = default;
};

// A message box modal to the window, beside it where the window manager
// lets the program place it, laid out right to left. Closing the window
// closes the report too.
class MessageBoxReport final : public ErrorReport {
public:
    void show(QWidget& window, const QString& message, std::function<void()> read) override;
};

// A handler's error as the user is told of it: the words, and the control to
// go back to when the report has been read (none: the focus stays). What went
// wrong and what to do are lines of their own, so that the report is as wide
// as the longer of them, not the two together.
struct ErrorMessage {
    QString message;
    QWidget* returnTo = nullptr;
};

// For a text that is not a number, or minutes below zero that cannot lend a
// minute: which field, by its heading, and the text the count met. That is
// what the user typed in the field's box, unless the display still holds an
// older text that Start has not replaced; then the notice says so and sends
// the user to Start.
ErrorMessage describe(const platform::HandlerError& error, const TimerWindow& window);

} // namespace timer::form
