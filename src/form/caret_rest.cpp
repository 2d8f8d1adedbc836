#include "form/caret_rest.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QStyleHints>

namespace timer::form {

CaretRest::CaretRest(std::chrono::milliseconds timeout)
{
    idle_.setSingleShot(true);
    idle_.setInterval(timeout);
    connect(&idle_, &QTimer::timeout, this, &CaretRest::rest);
    QCoreApplication::instance()->installEventFilter(this);
    idle_.start();
}

CaretRest::~CaretRest() { blink(); }

bool CaretRest::eventFilter(QObject* /*watched*/, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress || type == QEvent::MouseButtonPress) {
        blink();
        idle_.start();
    }
    return false;
}

void CaretRest::rest()
{
    QGuiApplication::styleHints()->setCursorFlashTime(0); // a caret that never flashes stays on
}

void CaretRest::blink()
{
    QGuiApplication::styleHints()->setCursorFlashTime(-1); // the desktop's own rate
}

} // namespace timer::form
