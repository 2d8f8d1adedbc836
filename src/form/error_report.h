#pragma once

#include <QString>

class QWidget;

namespace timer::platform {
class HandlerError;
}

namespace timer::form {

// How a handler's error reaches the user. Tests put a recorder in its place so
// that nothing waits on a dialog.
class ErrorReport {
public:
    virtual ~ErrorReport() = default;
    virtual void show(QWidget& window, const QString& message) = 0;

protected:
    ErrorReport() = default;
    ErrorReport(const ErrorReport&) = default;
    ErrorReport& operator=(const ErrorReport&) = default;
};

// A modal message box titled "Timer".
class MessageBoxReport final : public ErrorReport {
public:
    void show(QWidget& window, const QString& message) override;
};

// The report's Hebrew text: which field, and what was wrong with it.
QString describe(const platform::HandlerError& error);

} // namespace timer::form
